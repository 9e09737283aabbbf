#include "HeadlessFixture.h"
#include "framework/Component.h"
#include "framework/StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace fw;

// --- message dispatch --------------------------------------------------------------------

constexpr std::uint32_t kMsgA = Msg::User + 1;
constexpr std::uint32_t kMsgB = Msg::User + 2;
constexpr std::uint32_t kMsgC = Msg::User + 3;

class BaseReceiver : public TObject {
public:
    std::vector<std::string> Log;
    void DefaultHandler(TMessage& m) override {
        Log.push_back("default " + std::to_string(m.Msg - Msg::User));
    }
    void OnA(TMessage& m) {
        Log.push_back("base A");
        m.Result = 1;
    }
    void OnB(TMessage&) { Log.push_back("base B"); }
    FW_DECLARE_MESSAGE_MAP()
};
FW_BEGIN_MESSAGE_MAP(BaseReceiver, TObject)
FW_MESSAGE(kMsgA, OnA)
FW_MESSAGE(kMsgB, OnB)
FW_END_MESSAGE_MAP()

class DerivedReceiver : public BaseReceiver {
public:
    void OnB(TMessage& m) {
        Log.push_back("derived B");
        DispatchInherited(StaticMessageTable(), m);
    }
    FW_DECLARE_MESSAGE_MAP()
};
FW_BEGIN_MESSAGE_MAP(DerivedReceiver, BaseReceiver)
FW_MESSAGE(kMsgB, OnB)
FW_END_MESSAGE_MAP()

TEST(MessageDispatch, FindsHandlerInClassThenBasesThenDefault) {
    DerivedReceiver r;
    TMessage a{kMsgA, 0, 0, 0};
    r.Dispatch(a);
    TMessage b{kMsgB, 0, 0, 0};
    r.Dispatch(b);
    TMessage c{kMsgC, 0, 0, 0};
    r.Dispatch(c);
    EXPECT_EQ(a.Result, 1);
    EXPECT_EQ(r.Log, (std::vector<std::string>{"base A", "derived B", "base B", "default 3"}));
}

TEST(MessageDispatch, BaseObjectWithoutMapUsesDefault) {
    BaseReceiver base;
    TMessage b{kMsgB, 0, 0, 0};
    base.Dispatch(b);
    EXPECT_EQ(base.Log, std::vector<std::string>{"base B"});
}

// --- ownership ---------------------------------------------------------------------------

class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::vector<std::string>& log, std::string name)
        : TComponent(owner), FLog(log) {
        SetName(std::move(name));
    }
    ~Probe() override { FLog.push_back("free " + Name()); }
    // Names are read when the log is checked: an inserted component has none yet.
    std::vector<std::pair<TOperation, TComponent*>> Heard;
    std::vector<std::string> HeardRemovals() const {
        std::vector<std::string> names;
        for (auto [op, c] : Heard)
            if (op == opRemove)
                names.push_back(c->Name());
        return names;
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove)
            FRemovedNames.push_back(c->Name());
        Heard.emplace_back(op, c);
    }
    void BeforeDestruction() override { FLog.push_back("before " + Name()); }

public:
    std::vector<std::string> FRemovedNames;

private:
    std::vector<std::string>& FLog;
};

TEST(Ownership, OwnerFreesWhatItOwnsLastInsertedFirst) {
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, log, "root");
    auto* a = new Probe(root, log, "a");
    new Probe(a, log, "a1");
    new Probe(root, log, "b");
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(a->Owner(), root);
    root->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"before root", "before b", "free b", "before a",
                                             "before a1", "free a1", "free a", "free root"}));
}

TEST(Ownership, FreeingOwnedComponentLeavesOwnerAndTellsSiblings) {
    std::vector<std::string> log;
    TOwnedPtr<Probe> root(new Probe(nullptr, log, "root"));
    auto* a = new Probe(root.get(), log, "a");
    auto* b = new Probe(root.get(), log, "b");
    using Heard = std::vector<std::pair<TOperation, TComponent*>>;
    EXPECT_EQ(a->Heard, (Heard{{opInsert, b}}));
    a->Free();
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(root->Components(0), b);
    EXPECT_EQ(b->FRemovedNames, std::vector<std::string>{"a"});
    EXPECT_EQ(root->Heard.size(), 3u);
    EXPECT_EQ(root->FRemovedNames, std::vector<std::string>{"a"});
}

TEST(Ownership, FreeNotificationReachesComponentsOfOtherOwners) {
    std::vector<std::string> log;
    TOwnedPtr<Probe> owner1(new Probe(nullptr, log, "o1"));
    TOwnedPtr<Probe> owner2(new Probe(nullptr, log, "o2"));
    auto* watcher = new Probe(owner1.get(), log, "watcher");
    auto* watched = new Probe(owner2.get(), log, "watched");
    watched->FreeNotification(watcher);
    watched->Free();
    EXPECT_EQ(watcher->FRemovedNames, std::vector<std::string>{"watched"});
    // The watcher going first must not leave a dangling subscription behind.
    auto* watched2 = new Probe(owner2.get(), log, "watched2");
    auto* watcher2 = new Probe(owner1.get(), log, "watcher2");
    watched2->FreeNotification(watcher2);
    watcher2->Free();
    watched2->Free();
}

TEST(Ownership, ComponentsIndexErrorNamesTheIndex) {
    std::vector<std::string> log;
    TOwnedPtr<Probe> root(new Probe(nullptr, log, "root"));
    try {
        root->Components(5);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
}

TEST(Ownership, FindComponentIgnoresCase) {
    std::vector<std::string> log;
    TOwnedPtr<Probe> root(new Probe(nullptr, log, "root"));
    auto* button = new Probe(root.get(), log, "btnClose");
    EXPECT_EQ(root->FindComponent("BTNCLOSE"), button);
    EXPECT_EQ(root->FindComponent("btnOpen"), nullptr);
    EXPECT_EQ(root->FindComponent(""), nullptr);
}

TEST(Ownership, DesigningStateReachesOwnedComponents) {
    std::vector<std::string> log;
    TOwnedPtr<Probe> root(new Probe(nullptr, log, "root"));
    auto* a = new Probe(root.get(), log, "a");
    root->SetDesigning(true);
    EXPECT_TRUE(a->IsDesigning());
    root->SetDesigning(false);
    EXPECT_FALSE(a->IsDesigning());
}

// --- string list -------------------------------------------------------------------------

TEST(StringList, ValuesTakesTheFirstMatchingName) {
    TStringList list;
    list.Add("123=1");
    list.Add("456=0");
    list.Add("123=0");
    list.Add("plain line");
    EXPECT_EQ(list.Values("123"), "1");
    EXPECT_EQ(list.Values("456"), "0");
    EXPECT_EQ(list.Values("789"), "");
    EXPECT_EQ(list.Values("plain line"), "");
    EXPECT_EQ(list.IndexOfName("123"), 0);
    EXPECT_EQ(list.Names(1), "456");
    EXPECT_EQ(list.ValueFromIndex(1), "0");
    EXPECT_EQ(list.Names(3), "plain line");
}

TEST(StringList, NamesAreMatchedWhole) {
    TStringList list;
    list.Add("12=5");
    list.Add("1234=7");
    EXPECT_EQ(list.Values("1234"), "7");
    EXPECT_EQ(list.Values("123"), "");
    EXPECT_EQ(list.Values("1"), "");
}

TEST(StringList, SetValueReplacesAppendsAndRemoves) {
    TStringList list;
    list.SetValue("a", "1");
    list.SetValue("b", "2");
    list.SetValue("a", "3");
    EXPECT_EQ(list.Text(), "a=3\r\nb=2\r\n");
    list.SetValue("a", "");
    EXPECT_EQ(list.Text(), "b=2\r\n");
}

TEST(StringList, TextRoundTripAndIndexErrors) {
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], "four");
    list.Delete(1);
    list.Insert(0, "zero");
    EXPECT_EQ(list.Text(), "zero\r\none\r\nthree\r\nfour\r\n");
    EXPECT_THROW(list[4], EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(6, "x"), EListError);
    EXPECT_EQ(list.IndexOf("three"), 2);
}

} // namespace
