// Sorting of the tree list: header clicks on the main window's list, multi-key sorting, the
// comparison options, re-sorts after node changes, failing and inconsistent handlers, depths,
// and a property test against the reference quicksort of the sort's description. Captions go
// into text 2 (the caption column), as on the main window.
#include "test_treelist_layout_support.h"
#include "test_treelist_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <stdexcept>

namespace {

using namespace dxtl;
using fw::TOwnedPtr;
using treelist_testing::TreeListLayoutTest;

constexpr int kSelectField = 0;
constexpr int kCaptionField = 2;

class TreeListSorting : public TreeListLayoutTest {
protected:
    TreeListSorting() { MakeWindowList(); }
    // Handlers capture locals of the test body.
    void TearDown() override {
        List->OnCompare = nullptr;
        List->OnColumnClick = nullptr;
        List->OnColumnSorting = nullptr;
        List->OnColumnSorted = nullptr;
    }

    std::vector<TdxTreeListNode*> AddCaptions(const std::vector<std::string>& captions) {
        std::vector<TdxTreeListNode*> nodes;
        for (const std::string& caption : captions) {
            nodes.push_back(List->AddNode());
            nodes.back()->SetStrings(kCaptionField, caption);
        }
        return nodes;
    }
    std::vector<std::string> Texts(int field = kCaptionField, TdxTreeListNode* parent = nullptr) {
        std::vector<std::string> texts;
        const int count = parent ? parent->ChildCount() : List->NodeCount();
        for (int i = 0; i < count; ++i)
            texts.push_back((parent ? parent->Children(i) : List->NodeAt(i))->Strings(field));
        return texts;
    }
    std::vector<TdxTreeListNode*> Order() {
        std::vector<TdxTreeListNode*> nodes;
        for (int i = 0; i < List->NodeCount(); ++i)
            nodes.push_back(List->NodeAt(i));
        return nodes;
    }
    // The displayed rows as the row index answers them, against the order of the nodes.
    void ExpectRowsFollowTheNodes() {
        for (int i = 0; i < List->NodeCount(); ++i) {
            EXPECT_EQ(List->NodeAtAbsoluteIndex(i), List->NodeAt(i)) << "row " << i;
            EXPECT_EQ(List->NodeAt(i)->AbsoluteIndex(), i);
        }
    }
    void Click(int column, bool shift = false, bool ctrl = false) {
        List->ColumnClicked(column, shift, ctrl);
    }
};

std::vector<TdxTreeListNode*> ByAddress(std::vector<TdxTreeListNode*> nodes) {
    std::sort(nodes.begin(), nodes.end(), std::less<TdxTreeListNode*>());
    return nodes;
}

// --- header clicks ---------------------------------------------------------------------------

TEST_F(TreeListSorting, CaptionClicksSortAscendingThenAlternateByBytes) {
    auto nodes = AddCaptions({"banana", "Banana", "한글", "apple", "Zebra", "apple pie"});
    TdxTreeListNode* focused = nodes[3];
    List->ChangeFocus(focused, 0, false);
    List->ClearSelection();
    List->SetNodeSelected(nodes[0], true);
    List->SetNodeSelected(nodes[5], true);

    Click(kCaptionField);
    EXPECT_EQ(Caption->Sorted(), csUp);
    // Capitals before small letters, every Latin text before Korean.
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Banana", "Zebra", "apple", "apple pie", "banana",
                                                 "한글"}));
    ExpectRowsFollowTheNodes();
    // The same nodes keep the focus and the selection, at other rows.
    EXPECT_EQ(List->FocusedNode(), focused);
    EXPECT_EQ(List->SelectedCount(), 2);
    EXPECT_TRUE(nodes[0]->Selected());
    EXPECT_TRUE(nodes[5]->Selected());

    Click(kCaptionField);
    EXPECT_EQ(Caption->Sorted(), csDown);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"한글", "banana", "apple pie", "apple", "Zebra",
                                                 "Banana"}));
    ExpectRowsFollowTheNodes();
    Click(kCaptionField);
    EXPECT_EQ(Caption->Sorted(), csUp);
    EXPECT_EQ(Texts().front(), "Banana");
    EXPECT_EQ(List->SortedColumnCount(), 1);
    EXPECT_EQ(List->SortedColumns(0), Caption);
    EXPECT_EQ(List->UpdateLockCount(), 0);
}

TEST_F(TreeListSorting, TheTopNodeStaysWhileTheViewHasRowsEnoughBelowIt) {
    std::vector<std::string> captions;
    for (int i = 0; i < 30; ++i)
        captions.push_back(std::string(1, char('A' + i / 10)) + char('0' + i % 10));
    const auto nodes = AddCaptions(captions);
    List->SetTopRow(15);
    ASSERT_EQ(List->TopVisibleNode(), nodes[15]);
    Click(kCaptionField);
    Click(kCaptionField);
    EXPECT_EQ(List->TopVisibleNode(), nodes[15]);
    EXPECT_EQ(List->TopRow(), 14);
}

TEST_F(TreeListSorting, CtrlClickTakesTheColumnOutAndKeepsTheOrder) {
    AddCaptions({"b", "c", "a"});
    Click(kCaptionField);
    Click(kCaptionField);
    const auto sorted = Order();
    Click(kCaptionField, false, true);
    EXPECT_EQ(Caption->Sorted(), csNone);
    EXPECT_EQ(List->SortedColumnCount(), 0);
    EXPECT_EQ(Order(), sorted);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(TreeListSorting, EqualKeysFallToTheNodeAddressesInBothDirections) {
    // Only the captions are set: the select column's texts are all empty, and the marks
    // (image indexes) are no key.
    auto nodes = AddCaptions({"x", "y", "z", "w", "v", "u", "t"});
    nodes[2]->SetImageIndex(1);
    const auto expected = ByAddress(nodes);
    Click(kSelectField);
    EXPECT_EQ(Select->Sorted(), csUp);
    EXPECT_EQ(Order(), expected);
    Click(kSelectField);
    EXPECT_EQ(Select->Sorted(), csDown);
    EXPECT_EQ(Order(), expected);
}

TEST_F(TreeListSorting, AnotherHeaderWithoutMultiSortClearsTheFirst) {
    auto nodes = AddCaptions({"b", "a"});
    nodes[0]->SetStrings(kSelectField, "1");
    nodes[1]->SetStrings(kSelectField, "2");
    Click(kCaptionField);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"a", "b"}));
    // Shift counts only with aoMultiSort.
    Click(kSelectField, true);
    EXPECT_EQ(Caption->Sorted(), csNone);
    EXPECT_EQ(Select->Sorted(), csUp);
    EXPECT_EQ(List->SortedColumnCount(), 1);
    EXPECT_EQ(List->SortedColumns(0), Select);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"b", "a"}));
}

TEST_F(TreeListSorting, ShiftClicksWithMultiSortAddKeysInClickOrder) {
    List->SetOptionsEx(List->OptionsEx().With(aoMultiSort));
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"2", "b"}, {"1", "b"}, {"2", "a"}, {"1", "a"}, {"3", "a"}};
    for (const auto& [first, second] : rows) {
        TdxTreeListNode* node = List->AddNode();
        node->SetStrings(kCaptionField, first);
        node->SetStrings(kSelectField, second);
    }
    Click(kSelectField);
    Click(kCaptionField, true);
    ASSERT_EQ(List->SortedColumnCount(), 2);
    EXPECT_EQ(List->SortedColumns(0), Select);
    EXPECT_EQ(List->SortedColumns(1), Caption);
    EXPECT_EQ(Texts(kSelectField), (std::vector<std::string>{"a", "a", "a", "b", "b"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"1", "2", "3", "1", "2"}));
    // The second key turns over on its own; the first stays primary and ascending.
    Click(kCaptionField, true);
    EXPECT_EQ(Caption->Sorted(), csDown);
    EXPECT_EQ(Texts(kSelectField), (std::vector<std::string>{"a", "a", "a", "b", "b"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"3", "2", "1", "2", "1"}));
    // A stored layout keeps the click order.
    EXPECT_EQ(List->GetSortColumn(), Select);
    // A click without Shift starts over with that column alone.
    Click(kCaptionField);
    EXPECT_EQ(Select->Sorted(), csNone);
    EXPECT_EQ(List->SortedColumnCount(), 1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"1", "1", "2", "2", "3"}));
}

TEST_F(TreeListSorting, RefusedSortingLeavesStateAndOrderButTheClickIsReported) {
    AddCaptions({"b", "a"});
    const auto before = Order();
    std::vector<std::string> events;
    List->OnColumnClick = [&](fw::TObject*, TdxTreeListColumn* column) {
        events.push_back("click " + column->Caption());
    };
    List->OnColumnSorting = [&](fw::TObject*, TdxTreeListColumn* column, bool& allow) {
        events.push_back("sorting " + column->Caption());
        EXPECT_TRUE(allow);
        allow = false;
    };
    Click(kCaptionField);
    EXPECT_EQ(events, (std::vector<std::string>{"click 프로그램명", "sorting 프로그램명"}));
    EXPECT_EQ(Caption->Sorted(), csNone);
    EXPECT_EQ(Order(), before);
    // Without aoAutoSort a click is only reported.
    List->OnColumnSorting = nullptr;
    List->SetOptions(List->Options().Without(aoAutoSort));
    events.clear();
    Click(kCaptionField);
    EXPECT_EQ(events, (std::vector<std::string>{"click 프로그램명"}));
    EXPECT_EQ(Order(), before);
    // A click on no column raises nothing.
    Click(7);
    Click(-1);
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(TreeListSorting, DisplayedStateGoesThroughOnColumnSortedWithoutChangingSorted) {
    AddCaptions({"a"});
    Click(kCaptionField);
    EXPECT_EQ(List->DisplayedSortState(kCaptionField), csUp);
    List->OnColumnSorted = [&](fw::TObject* sender, TdxTreeListColumn* column,
                               TdxTreeListColumnSort& sorted) {
        EXPECT_EQ(sender, List);
        EXPECT_EQ(column, Caption);
        EXPECT_EQ(sorted, column->Sorted());
        sorted = csDown;
    };
    EXPECT_EQ(List->DisplayedSortState(kCaptionField), csDown);
    EXPECT_EQ(Caption->Sorted(), csUp);
    EXPECT_EQ(List->DisplayedSortState(9), csNone);
}

// --- comparisons ---------------------------------------------------------------------------

TEST_F(TreeListSorting, CaseInsensitiveKeysUpperCaseThroughTheLocaleAndTieByAddress) {
    List->SetOptions(List->Options().With(aoCaseInsensitive));
    auto nodes = AddCaptions({"bETA", "Beta", "beta", "Éclair", "éclair", "alpha", "Zulu"});
    Click(kCaptionField);
    const auto betas = ByAddress({nodes[0], nodes[1], nodes[2]});
    const auto eclairs = ByAddress({nodes[3], nodes[4]});
    // "É" upper-cases with the locale (not byte by byte) and so ties with "é".
    EXPECT_EQ(Order(), (std::vector<TdxTreeListNode*>{nodes[5], betas[0], betas[1], betas[2],
                                                      nodes[6], eclairs[0], eclairs[1]}));
    EXPECT_EQ(List->GetNodeSortValue(nodes[4], kCaptionField), "ÉCLAIR");
    // Texts stay as they were.
    EXPECT_EQ(nodes[4]->Strings(kCaptionField), "éclair");
}

TEST_F(TreeListSorting, AnsiSortUsesTheLocaleComparison) {
    AddCaptions({"banana", "Apple", "apple", "Banana", "cherry"});
    Click(kCaptionField);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Apple", "Banana", "apple", "banana", "cherry"}));
    List->SetOptionsEx(List->OptionsEx().With(aoAnsiSort)); // resets the sort state
    EXPECT_EQ(Caption->Sorted(), csNone);
    Click(kCaptionField);
    // The headless locale: letters alike first, the small letter before the capital.
    EXPECT_EQ(Texts(), (std::vector<std::string>{"apple", "Apple", "banana", "Banana", "cherry"}));
    Click(kCaptionField);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"cherry", "Banana", "banana", "Apple", "apple"}));
}

// A locale that calls every pair of texts equal.
class TIndifferentLocale : public fw::headless::HeadlessPlatform {
public:
    int CompareTextLocale(std::string_view, std::string_view) const override { return 0; }
};

TEST(TreeListSortingLocale, TextsTheLocaleCallsEqualKeepOneConsistentOrder) {
    TIndifferentLocale platform;
    fw::TApplication application(platform);
    application.Initialize();
    auto* form = application.CreateForm<fw::TForm>();
    auto* list = new TdxTreeList(form);
    list->SetOptions(list->Options().With(aoAutoSort));
    list->SetOptionsEx(list->OptionsEx().With(aoAnsiSort));
    TdxTreeListColumn* column = list->CreateColumn();
    for (const char* text : {"b", "c", "a", "b"})
        list->AddNode()->SetStrings(0, text);
    column->SetSorted(csUp);
    std::vector<std::string> texts;
    for (int i = 0; i < list->NodeCount(); ++i)
        texts.push_back(list->NodeAt(i)->Strings(0));
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "b", "c"}));
}

TEST_F(TreeListSorting, KeysEndAtTheirFirstZeroByte) {
    using namespace std::string_literals;
    auto nodes = AddCaptions({"ab\0z"s, "ab\0a"s, "ab"s, "a"s});
    Click(kCaptionField);
    const auto ties = ByAddress({nodes[0], nodes[1], nodes[2]});
    EXPECT_EQ(Order(), (std::vector<TdxTreeListNode*>{nodes[3], ties[0], ties[1], ties[2]}));
}

TEST_F(TreeListSorting, OnCompareDecidesAloneAndKeepsTheOrderOfEqualNodes) {
    auto nodes = AddCaptions({"1", "22", "333", "4", "55"});
    // By length, longest first; the keys' own order and the addresses play no part.
    List->OnCompare = [&](fw::TObject* sender, TdxTreeListNode* a, TdxTreeListNode* b,
                          int& compare) {
        EXPECT_EQ(sender, List);
        EXPECT_EQ(compare, 0);
        compare = int(b->Strings(kCaptionField).size()) - int(a->Strings(kCaptionField).size());
    };
    Click(kCaptionField);
    Click(kCaptionField); // csDown does not turn the handler's answers round
    EXPECT_EQ(Order(),
              (std::vector<TdxTreeListNode*>{nodes[2], nodes[1], nodes[4], nodes[0], nodes[3]}));
}

// --- re-sorts after node changes ---------------------------------------------------------

TEST_F(TreeListSorting, WithoutAutoSortRefreshNewAndChangedNodesStayWhereTheyAre) {
    AddCaptions({"b", "d"});
    Click(kCaptionField);
    TdxTreeListNode* added = List->AddNode();
    added->SetStrings(kCaptionField, "a");
    List->NodeAt(0)->SetStrings(kCaptionField, "z");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"z", "d", "a"}));
    EXPECT_EQ(Caption->Sorted(), csUp);
    EXPECT_FALSE(List->ResortPending());
    // After a refill the rows are in insertion order and the column keeps its state.
    List->ClearNodes();
    AddCaptions({"q", "p"});
    EXPECT_EQ(Texts(), (std::vector<std::string>{"q", "p"}));
    EXPECT_EQ(Caption->Sorted(), csUp);
}

// Counts the re-sorts that reach the list.
class TCountingTreeList : public TdxTreeList {
public:
    using TdxTreeList::TdxTreeList;
    int Resorts = 0;
    void Resort() override {
        ++Resorts;
        TdxTreeList::Resort();
    }
};

TEST_F(TreeListSorting, AutoSortRefreshResortsOnceAtTheLastEndUpdate) {
    auto* list = new TCountingTreeList(Form);
    list->SetOptions(list->Options().With(aoAutoSort));
    list->SetOptionsEx(list->OptionsEx().With(aoAutoSortRefresh));
    TdxTreeListColumn* column = list->CreateColumn();
    column->SetSorted(csDown);
    list->Resorts = 0;
    list->BeginUpdate();
    list->BeginUpdate();
    for (const char* text : {"m", "x", "a"})
        list->AddNode()->SetStrings(0, text);
    list->NodeAt(0)->SetStrings(0, "n");
    list->EndUpdate();
    EXPECT_EQ(list->Resorts, 0);
    EXPECT_TRUE(list->ResortPending());
    list->EndUpdate();
    EXPECT_EQ(list->Resorts, 1);
    EXPECT_FALSE(list->ResortPending());
    EXPECT_EQ(list->NodeAt(0)->Strings(0), "x");
    EXPECT_EQ(list->NodeAt(2)->Strings(0), "a");
    // Without the lock each change re-sorts at once: the new node moves into place.
    list->AddNode()->SetStrings(0, "b");
    EXPECT_EQ(list->NodeAt(2)->Strings(0), "b");
    EXPECT_EQ(list->Resorts, 3); // the node, then its text
}

TEST_F(TreeListSorting, TextsWrittenDuringASortAskForNoFurtherSort) {
    List->SetOptionsEx(List->OptionsEx().With(aoAutoSortRefresh));
    AddCaptions({"c", "a", "b"});
    int calls = 0;
    List->OnCompare = [&](fw::TObject*, TdxTreeListNode* a, TdxTreeListNode* b, int& compare) {
        ++calls;
        a->SetStrings(kSelectField, "seen");
        compare = a->Strings(kCaptionField).compare(b->Strings(kCaptionField));
    };
    List->BeginUpdate();
    Caption->SetSorted(csUp);
    EXPECT_FALSE(List->ResortPending());
    List->EndUpdate();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_LT(calls, 10);
    EXPECT_FALSE(List->Sorting());
}

// --- failures --------------------------------------------------------------------------------

TEST_F(TreeListSorting, ARaisingCompareHandlerLeavesTheListAsItWasAndEveryLockReleased) {
    List->SetOptionsEx(List->OptionsEx().With(aoShowHourGlass));
    AddCaptions({"d", "b", "e", "a", "c"});
    const auto before = Order();
    Platform.SetCursor(fw::crIBeam);
    int calls = 0;
    List->OnCompare = [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode*, int& compare) {
        EXPECT_EQ(Platform.CurrentCursor(), fw::crHourGlass);
        if (++calls == 3)
            throw std::runtime_error("no");
        compare = -1;
    };
    EXPECT_THROW(Click(kCaptionField), std::runtime_error);
    EXPECT_EQ(Order(), before);
    // The state was written before the sort: the next click turns it round.
    EXPECT_EQ(Caption->Sorted(), csUp);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    EXPECT_FALSE(List->Sorting());
    EXPECT_EQ(Platform.CurrentCursor(), fw::crIBeam);
    ExpectRowsFollowTheNodes();
    // The next click works: the flags of the failed one are gone.
    List->OnCompare = nullptr;
    Click(kCaptionField);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"e", "d", "c", "b", "a"}));
}

TEST_F(TreeListSorting, InconsistentComparisonsStayWithinTheSiblingList) {
    std::vector<std::string> captions;
    for (int i = 0; i < 300; ++i)
        captions.push_back(std::to_string(i));
    const auto nodes = AddCaptions(captions);
    std::mt19937 random(5);
    for (const auto& answer : std::vector<std::function<int()>>{
             [] { return -1; }, [] { return 1; }, [&] { return int(random() % 3) - 1; }}) {
        List->OnCompare = [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode*, int& compare) {
            compare = answer();
        };
        List->SortNodes(-1, kCaptionField, false);
        EXPECT_EQ(ByAddress(Order()), ByAddress(nodes));
        ExpectRowsFollowTheNodes();
    }
}

TEST_F(TreeListSorting, HandlersCannotAddOrFreeNodesWhileASortRuns) {
    auto nodes = AddCaptions({"b", "a"});
    nodes[0]->AddChild();
    const auto before = Order();
    for (const auto& change : std::vector<std::function<void()>>{
             [&] { List->AddNode(); }, [&] { nodes[1]->Free(); }, [&] { List->ClearNodes(); },
             [&] { nodes[0]->DeleteChildren(); }}) {
        List->OnCompare = [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode*, int&) { change(); };
        EXPECT_THROW(List->SortNodes(0, kCaptionField, false), EInvaliddxTreeListOperation);
        EXPECT_EQ(Order(), before);
        EXPECT_EQ(nodes[0]->ChildCount(), 1);
        EXPECT_EQ(List->UpdateLockCount(), 0);
    }
}

TEST_F(TreeListSorting, AHandlerMayFreeTheListItSorts) {
    auto* list = new TdxTreeList(Form);
    list->SetName("Doomed");
    for (const char* text : {"b", "a", "c"})
        list->AddNode()->SetStrings(0, text);
    bool freed = false;
    list->OnCompare = [&](fw::TObject* sender, TdxTreeListNode*, TdxTreeListNode*, int&) {
        if (!freed) {
            freed = true;
            static_cast<TdxTreeList*>(sender)->Free();
        }
    };
    list->SortNodes(-1, 0, false);
    EXPECT_TRUE(freed);
    EXPECT_EQ(Form->FindComponent("Doomed"), nullptr);
}

// --- depths ----------------------------------------------------------------------------------

TEST_F(TreeListSorting, DepthsChooseTheSiblingListsToSort) {
    // Two levels below two top-level nodes; one parent collapsed.
    const auto build = [&] {
        List->ClearNodes();
        for (const char* top : {"t2", "t1"}) {
            TdxTreeListNode* parent = List->AddNode();
            parent->SetStrings(kCaptionField, top);
            for (const char* child : {"c2", "c1"}) {
                TdxTreeListNode* c = parent->AddChild();
                c->SetStrings(kCaptionField, child);
                for (const char* leaf : {"l2", "l1"})
                    c->AddChild()->SetStrings(kCaptionField, leaf);
            }
        }
        List->NodeAt(0)->SetExpanded(true);
    };
    const auto unsortedLists = [&] {
        int count = 0;
        std::vector<TdxTreeListNode*> parents{nullptr};
        for (std::size_t i = 0; i < parents.size(); ++i) {
            const auto texts = Texts(kCaptionField, parents[i]);
            count += !std::is_sorted(texts.begin(), texts.end());
            const int n = parents[i] ? parents[i]->ChildCount() : List->NodeCount();
            for (int k = 0; k < n; ++k)
                parents.push_back(parents[i] ? parents[i]->Children(k) : List->NodeAt(k));
        }
        return count;
    };
    build();
    ASSERT_EQ(unsortedLists(), 7);
    List->SortNodes(0, kCaptionField, false);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"t1", "t2"}));
    EXPECT_EQ(unsortedLists(), 6);
    build();
    List->SortNodes(1, kCaptionField, false);
    EXPECT_EQ(unsortedLists(), 5); // the top list and the four lists of leaves
    EXPECT_EQ(Texts(kCaptionField, List->NodeAt(1)), (std::vector<std::string>{"c1", "c2"}));
    build();
    List->SortNodes(2, kCaptionField, false);
    EXPECT_EQ(unsortedLists(), 3);
    build();
    List->SortNodes(-1, kCaptionField, false);
    EXPECT_EQ(unsortedLists(), 0);
    ExpectRowsFollowTheNodes();
    // t1 (collapsed), t2, then t2's children.
    EXPECT_EQ(List->NodeAtAbsoluteIndex(2)->Strings(kCaptionField), "c1");
    build();
    List->SortNodes(7, kCaptionField, false);
    EXPECT_EQ(unsortedLists(), 7);
}

// --- stored sort state -----------------------------------------------------------------------

TEST_F(TreeListSorting, LayoutsKeepTheOrderOfSeveralSortedColumnsAndLoadingDoesNotSort) {
    List->SetName("List");
    List->SetOptionsEx(List->OptionsEx().With(aoMultiSort));
    Click(kCaptionField);
    Click(kSelectField, true);
    const auto orderOf = [](const TdxTreeListColumn* column) {
        for (const fw::TLayoutProperty& p : column->StoredProperties())
            if (p.Name == "SortedOrder")
                return int(p.Value.Int);
        return -1;
    };
    EXPECT_EQ(orderOf(Caption), 0);
    EXPECT_EQ(orderOf(Select), 1);
    EXPECT_EQ(orderOf(Icon), -1);
    // One sorted column stores no order.
    Click(kSelectField, false, true);
    EXPECT_EQ(orderOf(Caption), -1);

    // Two nodes, "b" then "a", as the stored node stream holds them.
    std::string hex;
    for (unsigned char byte : treelist_testing::EncodeStream(
             {{0, -1, -1, 0, {"b"}, {}, {}}, {0, -1, -1, 0, {"a"}, {}, {}}})) {
        const char* digits = "0123456789ABCDEF";
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    // The list's sorting events can be named in a layout.
    fw::THandlerTable handlers;
    int compared = 0;
    handlers.Add<TdxTLCompareEvent>(
        "Counting", [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode*, int&) { ++compared; });
    auto* form = LoadForm("object F: TForm\n"
                          "  object L: TdxTreeList\n"
                          "    Options = [aoAutoSort]\n"
                          "    OptionsEx = [aoMultiSort]\n"
                          "    OnCompare = Counting\n"
                          "    Data = '" +
                              hex +
                              "'\n"
                              "  end\n"
                              "  object A: TdxTreeListColumn\n"
                              "    TreeList = L\n"
                              "    Sorted = csUp\n"
                              "    SortedOrder = 1\n"
                              "  end\n"
                              "  object B: TdxTreeListColumn\n"
                              "    TreeList = L\n"
                              "    Sorted = csDown\n"
                              "    SortedOrder = 0\n"
                              "  end\n"
                              "end",
                          treelist_testing::TreeListClasses(), handlers);
    auto* list = dynamic_cast<TdxTreeList*>(form->FindComponent("L"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->SortedColumnCount(), 2);
    EXPECT_EQ(list->SortedColumns(0)->Name(), "B");
    EXPECT_EQ(list->SortedColumns(1)->Name(), "A");
    EXPECT_EQ(list->NodeAt(0)->Strings(0), "b");
    EXPECT_EQ(list->NodeAt(1)->Strings(0), "a");
    EXPECT_EQ(compared, 0);
    list->SortNodes(-1, 0, false);
    EXPECT_EQ(compared, 1);
    list->OnCompare = nullptr;
}

// --- against the reference quicksort ---------------------------------------------------------

// The sort's description: records of a sibling list sorted by a quicksort on the middle
// element, compared key by key (bytes as unsigned values up to a zero byte, each key in its own
// direction), ties by the lower node address. Written here from the description alone.
struct TReferenceRecord {
    TdxTreeListNode* Node;
    std::vector<std::string> Keys;
};

int ReferenceCompare(const TReferenceRecord& a, const TReferenceRecord& b,
                     const std::vector<bool>& descending) {
    for (std::size_t k = 0; k < a.Keys.size(); ++k) {
        const std::string& x = a.Keys[k];
        const std::string& y = b.Keys[k];
        std::size_t i = 0;
        while (i < x.size() && i < y.size() && x[i] != 0 && x[i] == y[i])
            ++i;
        const int cx = i < x.size() ? static_cast<unsigned char>(x[i]) : 0;
        const int cy = i < y.size() ? static_cast<unsigned char>(y[i]) : 0;
        if (cx != cy) {
            const int result = cx < cy ? -1 : 1;
            return descending[k] ? -result : result;
        }
    }
    if (a.Node == b.Node)
        return 0;
    return std::less<TdxTreeListNode*>()(a.Node, b.Node) ? -1 : 1;
}

void ReferenceQuickSort(std::vector<TReferenceRecord>& r, int lo, int hi,
                        const std::vector<bool>& descending) {
    int i;
    do {
        i = lo;
        int j = hi;
        const TReferenceRecord pivot = r[std::size_t((lo + hi) / 2)];
        do {
            while (ReferenceCompare(r[std::size_t(i)], pivot, descending) < 0)
                ++i;
            while (ReferenceCompare(r[std::size_t(j)], pivot, descending) > 0)
                --j;
            if (i <= j) {
                std::swap(r[std::size_t(i)], r[std::size_t(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j)
            ReferenceQuickSort(r, lo, j, descending);
        lo = i;
    } while (i < hi);
}

TEST_F(TreeListSorting, EverySiblingListMatchesTheReferenceQuicksortOnRandomTrees) {
    using namespace std::string_literals;
    const std::vector<std::string> alphabet = {"a",        "b",  "B",   "z", "0",
                                               "\xC3\xA9", "한", "\0"s, " ", "\xFF"};
    std::mt19937 random(20240611);
    const auto text = [&] {
        std::string t;
        for (int n = int(random() % 4); n > 0; --n)
            t += alphabet[random() % alphabet.size()];
        return t;
    };
    List->SetOptionsEx(List->OptionsEx().With(aoMultiSort));
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        List->ClearNodes();
        std::vector<TdxTreeListNode*> all;
        for (int n = 1 + int(random() % 120); n > 0; --n) {
            TdxTreeListNode* parent =
                all.empty() || random() % 3 == 0 ? nullptr : all[random() % all.size()];
            TdxTreeListNode* node = parent ? parent->AddChild() : List->AddNode();
            for (int field = 0; field < 3; ++field)
                node->SetStrings(field, text());
            all.push_back(node);
        }
        // One to three keys in random directions: the first written, the others joining as
        // with Shift held (one click ascending, a second descending).
        std::vector<int> fields = {0, 1, 2};
        std::shuffle(fields.begin(), fields.end(), random);
        fields.resize(1 + random() % 3);
        std::vector<bool> descending;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            descending.push_back(random() % 2 == 0);
            TdxTreeListColumn* column = List->Columns(fields[k]);
            if (k == 0) {
                column->SetSorted(descending.back() ? csDown : csUp);
                continue;
            }
            List->ColumnClicked(fields[k], true, false);
            if (descending.back())
                List->ColumnClicked(fields[k], true, false);
            ASSERT_EQ(column->Sorted(), descending.back() ? csDown : csUp);
        }
        ASSERT_EQ(List->SortedColumnCount(), int(fields.size()));

        std::vector<TdxTreeListNode*> parents{nullptr};
        for (TdxTreeListNode* node : all)
            if (node->ChildCount() > 0)
                parents.push_back(node);
        for (TdxTreeListNode* parent : parents) {
            std::vector<TReferenceRecord> records;
            const int count = parent ? parent->ChildCount() : List->NodeCount();
            std::vector<TdxTreeListNode*> actual;
            for (int i = 0; i < count; ++i) {
                TdxTreeListNode* node = parent ? parent->Children(i) : List->NodeAt(i);
                actual.push_back(node);
                TReferenceRecord record{node, {}};
                for (int field : fields)
                    record.Keys.push_back(node->Strings(field));
                records.push_back(record);
            }
            std::shuffle(records.begin(), records.end(), random);
            if (records.size() > 1)
                ReferenceQuickSort(records, 0, int(records.size()) - 1, descending);
            std::vector<TdxTreeListNode*> expected;
            for (const TReferenceRecord& record : records)
                expected.push_back(record.Node);
            ASSERT_EQ(actual, expected);
        }
        for (int field : fields)
            List->Columns(field)->SetSorted(csNone);
    }
}

} // namespace
