// The headless platform's modal message loop, posted pointer input, popups and the cursor
// table: what a control running a loop of its own relies on.
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace fw;
using fw::headless::HeadlessPlatform;

// Writes every message a window receives to a shared log as "name message".
class Recorder : public IWindowSink {
public:
    Recorder(std::vector<std::string>& log, std::string name) : FLog(log), FName(std::move(name)) {}
    void WindowProc(TMessage& m) override {
        FLog.push_back(FName + " " + Describe(m));
        if (OnMessage)
            OnMessage(m);
    }
    std::function<void(TMessage&)> OnMessage;

    static std::string Describe(const TMessage& m) {
        const std::string at =
            std::to_string(LoWordSigned(m.LParam)) + "," + std::to_string(HiWordSigned(m.LParam));
        switch (m.Msg) {
        case Msg::Paint:
            return "paint";
        case Msg::SetCursor:
            return "setcursor " + std::to_string(HiWordSigned(m.LParam));
        case Msg::MouseMove:
            return "move " + at + " keys " + std::to_string(m.WParam);
        case Msg::LButtonDown:
            return "ldown " + at + " keys " + std::to_string(m.WParam);
        case Msg::LButtonUp:
            return "lup " + at + " keys " + std::to_string(m.WParam);
        case Msg::MouseLeave:
            return "leave";
        default:
            if (m.Msg >= Msg::User)
                return "user" + std::to_string(m.Msg - Msg::User) + " " + std::to_string(m.WParam);
            return "msg " + std::to_string(m.Msg);
        }
    }

private:
    std::vector<std::string>& FLog;
    std::string FName;
};

class MessageLoopTest : public ::testing::Test {
protected:
    MessageLoopTest() {
        // Two top-level windows side by side, B in front; client areas at (4, 23) and
        // (204, 23) on the screen.
        A = MakeWindow(RecA, TWindowKind::TopLevel, {0, 0, 150, 100});
        B = MakeWindow(RecB, TWindowKind::TopLevel, {200, 0, 350, 100});
        Platform.PaintAll();
        Log.clear();
    }
    std::unique_ptr<IPlatformWindow> MakeWindow(Recorder& sink, TWindowKind kind, TRect bounds,
                                                bool elliptic = false) {
        TWindowCreateArgs args;
        args.Kind = kind;
        args.Sink = &sink;
        args.Bounds = bounds;
        args.Visible = true;
        args.Elliptic = elliptic;
        return Platform.CreatePlatformWindow(args);
    }
    void PostUser(IPlatformWindow& w, unsigned n, std::uintptr_t wParam = 0) {
        Platform.Post(w.Handle(), Msg::User + n, wParam, 0);
    }
    // A filter that logs what it sees and answers `verdict(message)`. It stops a loop that
    // goes on far longer than any test needs, so that a fault shows as a failure, not a hang.
    std::function<TLoopVerdict(TWindowHandle, TMessage&)>
    LoggingFilter(std::function<TLoopVerdict(TMessage&)> verdict) {
        return [this, verdict, calls = 0](TWindowHandle window, TMessage& m) mutable {
            if (++calls > 100)
                return TLoopVerdict::Stop;
            const std::string who = window == A->Handle() ? "A" : window == B->Handle() ? "B" : "?";
            Log.push_back("filter " + who + " " + Recorder::Describe(m));
            return verdict(m);
        };
    }

    HeadlessPlatform Platform;
    std::vector<std::string> Log;
    Recorder RecA{Log, "A"};
    Recorder RecB{Log, "B"};
    std::unique_ptr<IPlatformWindow> A;
    std::unique_ptr<IPlatformWindow> B;
};

// --- the loop ------------------------------------------------------------------------------

TEST_F(MessageLoopTest, FilterDecidesEachMessageInQueueOrder) {
    PostUser(*A, 1);
    PostUser(*B, 2);
    PostUser(*A, 3, 30);
    PostUser(*A, 4);
    PostUser(*B, 5);
    const bool ended = Platform.RunMessageLoop(LoggingFilter([](TMessage& m) {
        switch (m.Msg - Msg::User) {
        case 2:
            return TLoopVerdict::Swallow;
        case 3:
            m.WParam = 31; // a filter may rewrite what it dispatches
            return TLoopVerdict::Dispatch;
        case 4:
            return TLoopVerdict::Stop;
        default:
            return TLoopVerdict::Dispatch;
        }
    }));
    EXPECT_TRUE(ended);
    EXPECT_EQ(Log,
              (std::vector<std::string>{"filter A user1 0", "A user1 0", "filter B user2 0",
                                        "filter A user3 30", "A user3 31", "filter A user4 0"}));
    // The message after the one that stopped the loop waits for the next loop.
    Log.clear();
    EXPECT_EQ(Platform.ProcessPosted(), 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"B user5 0"}));
}

TEST_F(MessageLoopTest, IdleHookRunsOnlyWhenTheQueueIsEmptyAndEndsTheLoop) {
    PostUser(*A, 1);
    PostUser(*A, 2);
    int idleCalls = 0;
    Platform.ModalIdle = [&] {
        Log.push_back("idle");
        ++idleCalls;
        if (idleCalls == 1)
            PostUser(*B, 3);
        return idleCalls < 3;
    };
    EXPECT_TRUE(
        Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Swallow; })));
    EXPECT_EQ(Log, (std::vector<std::string>{"filter A user1 0", "filter A user2 0", "idle",
                                             "filter B user3 0", "idle", "idle"}));

    // Without a hook an empty queue ends the loop at once.
    Platform.ModalIdle = nullptr;
    Log.clear();
    EXPECT_TRUE(
        Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Dispatch; })));
    EXPECT_TRUE(Log.empty());
}

TEST_F(MessageLoopTest, QuitEndsTheLoopAfterThePostedMessagesAndStaysForTheApplication) {
    RecA.OnMessage = [&](TMessage& m) {
        if (m.Msg == Msg::User + 1)
            Platform.PostQuit();
    };
    PostUser(*A, 1);
    PostUser(*B, 2);
    bool idleRan = false;
    Platform.ModalIdle = [&] {
        idleRan = true;
        return false;
    };
    EXPECT_FALSE(
        Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Dispatch; })));
    EXPECT_EQ(Log, (std::vector<std::string>{"filter A user1 0", "A user1 0", "filter B user2 0",
                                             "B user2 0"}));
    EXPECT_FALSE(idleRan);
    EXPECT_TRUE(Platform.QuitPosted());
    EXPECT_FALSE(Platform.HandleMessage()); // the application's own loop ends too

    // A quit asked for while idle ends it the same way.
    Platform.ResetQuit();
    int idleCalls = 0;
    Platform.ModalIdle = [&] {
        if (++idleCalls == 1)
            Platform.PostQuit();
        return idleCalls < 3;
    };
    EXPECT_FALSE(
        Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Dispatch; })));
    EXPECT_TRUE(Platform.QuitPosted());
}

TEST_F(MessageLoopTest, InvalidVisibleWindowsPaintThroughTheFilterOnceTheQueueIsEmpty) {
    auto hidden = std::make_unique<Recorder>(Log, "H");
    TWindowCreateArgs args;
    args.Kind = TWindowKind::TopLevel;
    args.Sink = hidden.get();
    args.Bounds = {0, 200, 50, 250};
    auto hiddenWindow = Platform.CreatePlatformWindow(args);
    B->Invalidate(nullptr);
    A->Invalidate(nullptr);
    PostUser(*B, 1);
    Platform.ModalIdle = [&] {
        Log.push_back("idle");
        return false;
    };
    EXPECT_TRUE(
        Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Dispatch; })));
    EXPECT_EQ(Log, (std::vector<std::string>{"filter B user1 0", "B user1 0", "filter A paint",
                                             "A paint", "filter B paint", "B paint", "idle"}));
    EXPECT_TRUE(Platform.Find(hiddenWindow->Handle())->NeedsPaint());

    // A paint the filter swallows still validates the window: the loop goes on to idle
    // instead of being asked to paint forever.
    A->Invalidate(nullptr);
    Log.clear();
    EXPECT_TRUE(
        Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Swallow; })));
    EXPECT_EQ(Log, (std::vector<std::string>{"filter A paint", "idle"}));
    EXPECT_FALSE(Platform.Find(A->Handle())->NeedsPaint());
    hiddenWindow.reset();
}

// --- posted pointer input --------------------------------------------------------------------

TEST_F(MessageLoopTest, PostedInputWaitsInTheQueueForTheWindowUnderThePointer) {
    const TPoint overB{230, 50}; // (26, 27) in B's client area
    EXPECT_EQ(Platform.PostMouse(Msg::LButtonDown, overB), B->Handle());
    // Pointer and button change at once; the message only when a loop takes it.
    EXPECT_EQ(Platform.CursorPos(), overB);
    EXPECT_LT(Platform.KeyState(VK::LButton), 0);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(Platform.PostMouse(Msg::LButtonUp, overB), B->Handle());
    // Nothing is under a point outside every client area: no message at all.
    EXPECT_EQ(Platform.PostMouse(Msg::MouseMove, {175, 50}), 0u);
    EXPECT_EQ(Platform.PostMouse(Msg::MouseMove, {200, 10}), 0u); // B's frame

    Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Dispatch; }));
    const std::string left = std::to_string(MouseKey::Left);
    EXPECT_EQ(Log, (std::vector<std::string>{"B setcursor " + std::to_string(Msg::LButtonDown),
                                             "filter B ldown 26,27 keys " + left,
                                             "B ldown 26,27 keys " + left,
                                             "filter B lup 26,27 keys 0", "B lup 26,27 keys 0"}));
}

TEST_F(MessageLoopTest, PostedInputGoesToTheCaptureWindowWhereverThePointerIs) {
    A->SetCapture();
    const TPoint overB{230, 50};
    EXPECT_EQ(Platform.PostMouse(Msg::MouseMove, overB), A->Handle());
    EXPECT_EQ(Platform.PostMouse(Msg::LButtonUp, {500, 500}), A->Handle());
    Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Dispatch; }));
    // In A's client coordinates, and no cursor request: the capturing window owns the shape.
    EXPECT_EQ(Log,
              (std::vector<std::string>{"filter A move 226,27 keys 0", "A move 226,27 keys 0",
                                        "filter A lup 496,477 keys 0", "A lup 496,477 keys 0"}));
}

TEST_F(MessageLoopTest, CursorRequestComesWhenTheLoopTakesAMoveEvenOneItSwallows) {
    PostUser(*B, 1);
    Platform.PostMouse(Msg::MouseMove, {30, 40});
    EXPECT_TRUE(Log.empty());
    Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Swallow; }));
    EXPECT_EQ(Log, (std::vector<std::string>{"filter B user1 0",
                                             "A setcursor " + std::to_string(Msg::MouseMove),
                                             "filter A move 26,17 keys 0"}));
}

TEST_F(MessageLoopTest, PostedMoveOffATrackingWindowQueuesItsLeaveFirst) {
    Platform.PostMouse(Msg::MouseMove, {30, 40});
    A->TrackMouseLeave();
    Platform.PostMouse(Msg::MouseMove, {230, 40});
    Platform.PostMouse(Msg::MouseMove, {30, 40});
    Platform.PostMouse(Msg::MouseMove, {230, 40}); // A no longer tracks: no second leave
    Platform.RunMessageLoop(LoggingFilter([](TMessage&) { return TLoopVerdict::Swallow; }));
    std::vector<std::string> seen;
    for (const std::string& line : Log)
        if (line.rfind("filter", 0) == 0)
            seen.push_back(line);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"filter A move 26,17 keys 0", "filter A leave",
                                        "filter B move 26,17 keys 0", "filter A move 26,17 keys 0",
                                        "filter B move 26,17 keys 0"}));
}

// --- popups ----------------------------------------------------------------------------------

TEST_F(MessageLoopTest, PopupHasNoFrameAndStaysInFrontOfOrdinaryWindows) {
    Recorder recP{Log, "P"};
    auto popup = MakeWindow(recP, TWindowKind::Popup, {220, 30, 260, 70}, true);
    auto* p = Platform.Find(popup->Handle());
    EXPECT_EQ(p->Kind(), TWindowKind::Popup);
    EXPECT_TRUE(p->Elliptic());
    EXPECT_FALSE(Platform.Find(A->Handle())->Elliptic());
    // Its bounds are its client area on the screen.
    EXPECT_EQ(popup->ClientRect(), (TRect{0, 0, 40, 40}));
    EXPECT_EQ(popup->ClientToScreen({0, 0}), (TPoint{220, 30}));
    EXPECT_NE(Platform.Desktop().ExStyle(popup->Handle()) & WSEx::ToolWindow, 0u);

    // Other windows brought forward or opened later stay behind it.
    B->BringToFront();
    Platform.FakeDesktop().Add({});
    EXPECT_EQ(Platform.FakeDesktop().ZOrder().front(), popup->Handle());
    EXPECT_EQ(Platform.WindowFromPoint({230, 40}), popup->Handle());
    EXPECT_EQ(Platform.PostMouse(Msg::MouseMove, {230, 40}), popup->Handle());

    // It paints like any window.
    Log.clear();
    Platform.PaintAll();
    EXPECT_EQ(Log, (std::vector<std::string>{"P paint"}));
    popup.reset();
}

// --- the cursor table ------------------------------------------------------------------------

TEST_F(MessageLoopTest, CursorSlotHoldsEitherAResourceOrAPicture) {
    TPixelImage arrow = TPixelImage::Blank(3, 2);
    arrow.Set(1, 1, Opaque(0x0000FF));
    Platform.LoadCursorResource(5, "DRAG");
    Platform.CreateCursor(5, arrow, {1, 1});
    ASSERT_NE(Platform.CursorPictureAt(5), nullptr);
    EXPECT_EQ(Platform.CursorPictureAt(5)->Image.Pixels, arrow.Pixels);
    EXPECT_EQ(Platform.CursorPictureAt(5)->HotSpot, (TPoint{1, 1}));
    EXPECT_FALSE(Platform.CursorTable().contains(5));

    Platform.LoadCursorResource(5, "DRAG");
    EXPECT_EQ(Platform.CursorPictureAt(5), nullptr);
    EXPECT_EQ(Platform.CursorTable().at(5), "DRAG");

    // An empty picture leaves the slot empty (the arrow shows); built-in shapes are no slots.
    Platform.CreateCursor(5, {}, {0, 0});
    EXPECT_EQ(Platform.CursorPictureAt(5), nullptr);
    EXPECT_FALSE(Platform.CursorTable().contains(5));
    Platform.CreateCursor(crArrow, arrow, {0, 0});
    EXPECT_EQ(Platform.CursorPictureAt(crArrow), nullptr);
}

} // namespace
