// Middle-button panning of a tree list: a marker at the press point, and the view scrolled a
// line at a time toward the pointer, faster the farther it is, until another button, Escape,
// the end of the capture or of the focus ends it. Internal to treelist/.
#pragma once

#include "framework/Component.h"
#include "framework/Platform.h"

#include <memory>

namespace dxtl {

class TCustomdxTreeListControl;

class TdxTreeListPanning : private fw::IWindowSink {
public:
    // The list's timer that drives the scrolling while panning runs.
    static constexpr unsigned kTimerId = 40;
    static constexpr unsigned kTimerInterval = 20;

    TdxTreeListPanning(TCustomdxTreeListControl& list, bool horizontalBar, bool verticalBar);
    ~TdxTreeListPanning();
    TdxTreeListPanning(const TdxTreeListPanning&) = delete;
    TdxTreeListPanning& operator=(const TdxTreeListPanning&) = delete;

    // Runs the mode's own message loop until it ends; the marker, the timer and the capture go
    // on every way out.
    void Run();
    // Ends the mode at the next message (the list lost the focus or was hidden).
    void Stop();
    // One timer tick: a line scrolled when the speed says it is time.
    void Tick();

    enum TDirection { pdNone, pdUp, pdDown, pdLeft, pdRight };
    TDirection Direction() const { return FDirection; }
    int Speed() const { return FSpeed; }

private:
    void WindowProc(fw::TMessage& message) override;
    fw::TLoopVerdict Filter(fw::TWindowHandle window, fw::TMessage& message);
    void PointerMoved(fw::TPoint screen);
    void ShowCursor() const;
    void PaintMarker(fw::ICanvasDevice& device) const;

    TCustomdxTreeListControl& FList;
    // A scroll the mode makes may raise a handler that frees the list: the mode then ends
    // without touching it.
    const fw::TLifeToken FListAlive;
    const bool FHorizontal;
    const bool FVertical;
    fw::TPoint FOrigin;
    fw::TRect FNeutral;
    int FMarkerSize = 0;
    std::unique_ptr<fw::IPlatformWindow> FMarker;
    TDirection FDirection = pdNone;
    int FSpeed = 0;
    unsigned FTicks = 0;
    bool FLeftNeutralZone = false;
    bool FStopRequested = false;
};

} // namespace dxtl
