// The tree list's node model: node attributes, adding, focus and top-row moves, deletion,
// clearing, expansion, navigation, repaint requests and the update lock.
#include "HeadlessFixture.h"
#include "test_treelist_support.h"
#include "treelist/dxTL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TOwnedPtr;
using treelist_testing::AllByWalk;
using treelist_testing::DecodeStream;

// Exposes the list's protected hooks, so tests can call them as the control's own parts do.
class TTestTreeList : public TdxTreeList {
public:
    using TCustomdxTreeListControl::DeleteColumnValue;
    using TdxTreeList::TdxTreeList;
    int ResortCount = 0;

protected:
    void Resort() override { ++ResortCount; }
};

class TreeListNodes : public ::testing::Test {
protected:
    // Without the header panel the rows start at the top of the client area.
    TreeListNodes() : List(new TTestTreeList(nullptr)) { List->SetShowHeader(false); }
    // Handlers capture locals of the test body, which are gone when the list frees its
    // nodes at the end.
    void TearDown() override {
        List->OnDeletion = nullptr;
        List->OnChangeNode = nullptr;
        List->OnExpanding = nullptr;
        List->OnExpanded = nullptr;
        List->OnCollapsing = nullptr;
        List->OnCollapsed = nullptr;
        List->OnGetImageIndex = nullptr;
        List->OnGetStateIndex = nullptr;
    }

    // A flat list of `count` top-level nodes whose first text is their number.
    std::vector<TdxTreeListNode*> AddFlat(int count) {
        std::vector<TdxTreeListNode*> nodes;
        for (int i = 0; i < count; ++i) {
            nodes.push_back(List->AddNode());
            nodes.back()->SetStrings(0, std::to_string(i));
        }
        return nodes;
    }

    TOwnedPtr<TTestTreeList> List;
};

// --- new nodes and their attributes ----------------------------------------------------------

TEST_F(TreeListNodes, NewTextNodeHasItsDocumentedDefaults) {
    TdxTreeListNode* node = List->AddNode();
    EXPECT_EQ(node->ImageIndex(), 0);
    EXPECT_EQ(node->SelectedIndex(), -1);
    EXPECT_EQ(node->StateIndex(), -1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(node->Strings(i), "");
    EXPECT_EQ(node->Data(), nullptr);
    EXPECT_EQ(node->ChildCount(), 0);
    EXPECT_EQ(node->GetFirstChild(), nullptr);
    EXPECT_FALSE(node->Expanded());
    EXPECT_FALSE(node->HasChildren());
    EXPECT_FALSE(node->Deleting());
    EXPECT_EQ(node->Parent(), nullptr);
    EXPECT_EQ(node->Owner(), List.get());
    EXPECT_EQ(node->Level(), 0);
    EXPECT_EQ(node->CachedRowHeight(), 0);
}

TEST_F(TreeListNodes, NodeWithoutOwnerIsRefused) {
    try {
        new TdxTreeListTextNode(nullptr);
        FAIL() << "a node without owner was created";
    } catch (const EInvaliddxTreeListOperation& e) {
        EXPECT_STREQ(e.what(), "Invalid Owner TdxTreeListNode");
    }
}

TEST_F(TreeListNodes, StringsGrowOnlyAsFarAsTheHighestIndexWritten) {
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(2, "third");
    EXPECT_EQ(node->Strings(0), "");
    EXPECT_EQ(node->Strings(1), "");
    EXPECT_EQ(node->Strings(2), "third");
    EXPECT_EQ(node->Strings(5), "");
    // Entries 0 and 1 exist (empty) and nothing past 2 does: the stream stores the entries.
    const auto stored = DecodeStream(List->WriteData());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].Texts, (std::vector<std::string>{"", "", "third"}));
}

TEST_F(TreeListNodes, NegativeTextIndexRaisesTheListIndexErrorAndChangesNothing) {
    TdxTreeListNode* node = List->AddNode();
    node->SetStrings(0, "kept");
    for (auto access : {0, 1, 2, 3}) {
        try {
            switch (access) {
            case 0:
                (void)node->Strings(-1);
                break;
            case 1:
                node->SetStrings(-2, "x");
                break;
            case 2:
                (void)node->Values(-3);
                break;
            default:
                node->SetValues(-4, TdxValue(std::string("x")));
            }
            FAIL() << "no error for access " << access;
        } catch (const fw::EListError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "List index out of bounds (" + std::to_string(-1 - access) + ")");
        }
    }
    EXPECT_EQ(node->Strings(0), "kept");
    EXPECT_EQ(DecodeStream(List->WriteData())[0].Texts, (std::vector<std::string>{"kept"}));
}

// The packed text store against a plain vector of strings, through the node's interface:
// short and long texts, replacements that grow and shrink, entry counts across the 127/128
// boundary of the packed count, and removal of entries (as when a column goes).
TEST_F(TreeListNodes, StringsBehaveLikeAVectorOfStringsUnderRandomWrites) {
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        TdxTreeListNode* node = List->AddNode();
        std::vector<std::string> model;
        const auto randomText = [&] {
            const int lengths[] = {0, 1, 5, 13, 14, 15, 16, 40, 200, 300};
            const int length = lengths[random() % 10];
            std::string text;
            for (int i = 0; i < length; ++i)
                text.push_back(static_cast<char>('a' + random() % 26));
            return text;
        };
        for (int step = 0; step < 600; ++step) {
            const unsigned op = random() % 10;
            if (op < 6) {
                const int index = static_cast<int>(random() % 140);
                const std::string text = randomText();
                node->SetStrings(index, text);
                if (model.size() <= std::size_t(index))
                    model.resize(std::size_t(index) + 1);
                model[std::size_t(index)] = text;
            } else if (op < 8) {
                const int index = static_cast<int>(random() % 150);
                List->DeleteColumnValue(node, index);
                if (std::size_t(index) < model.size())
                    model.erase(model.begin() + index);
            } else {
                // Writing a node's own text back into it.
                const int from = static_cast<int>(random() % 140);
                const int to = static_cast<int>(random() % 140);
                node->SetStrings(to, node->Strings(from));
                const std::string text = std::size_t(from) < model.size() ? model[from] : "";
                if (model.size() <= std::size_t(to))
                    model.resize(std::size_t(to) + 1);
                model[std::size_t(to)] = text;
            }
            for (std::size_t i = 0; i < model.size() + 2; ++i)
                ASSERT_EQ(node->Strings(int(i)), i < model.size() ? model[i] : "")
                    << "seed " << seed << " step " << step << " entry " << i;
        }
        ASSERT_EQ(DecodeStream(List->WriteData()).back().Texts, model) << "seed " << seed;
    }
}

TEST_F(TreeListNodes, DeleteColumnValueRemovesTheEntryFromTheWholeSubtree) {
    TdxTreeListNode* root = List->AddNode();
    TdxTreeListNode* child = root->AddChild();
    TdxTreeListNode* grandChild = child->AddChild();
    TdxTreeListNode* sibling = root->AddChild();
    TdxTreeListNode* other = List->AddNode();
    for (TdxTreeListNode* n : {root, child, grandChild, sibling, other}) {
        n->SetStrings(0, "a");
        n->SetStrings(1, "b");
        n->SetStrings(2, "c");
    }
    List->DeleteColumnValue(child, 0);
    EXPECT_EQ(child->Strings(0), "b");
    EXPECT_EQ(grandChild->Strings(0), "b");
    EXPECT_EQ(sibling->Strings(0), "a");
    EXPECT_EQ(root->Strings(0), "a");
    List->DeleteColumnValue(root, 1);
    for (TdxTreeListNode* n : {root, sibling}) {
        EXPECT_EQ(n->Strings(0), "a");
        EXPECT_EQ(n->Strings(1), "c");
        EXPECT_EQ(n->Strings(2), "");
    }
    for (TdxTreeListNode* n : {child, grandChild}) {
        EXPECT_EQ(n->Strings(0), "b");
        EXPECT_EQ(n->Strings(1), "");
    }
    EXPECT_EQ(other->Strings(1), "b");
}

TEST_F(TreeListNodes, ValuesAreStoredAsText) {
    TdxTreeListNode* node = List->AddNode();
    node->SetValues(0, TdxValue(std::int64_t(-42)));
    node->SetValues(1, TdxValue(true));
    node->SetValues(2, TdxValue(2.5));
    node->SetValues(3, TdxValue());
    node->SetValues(4, TdxValue(std::string("text")));
    EXPECT_EQ(node->Strings(0), "-42");
    EXPECT_EQ(node->Strings(1), "True");
    EXPECT_EQ(node->Strings(2), "2.5");
    EXPECT_EQ(node->Strings(3), "");
    EXPECT_EQ(node->Values(4), TdxValue(std::string("text")));
    EXPECT_EQ(node->Values(0), TdxValue(std::string("-42")));
}

TEST_F(TreeListNodes, GetEventsSubstituteIndexesOnEveryRead) {
    TdxTreeListNode* node = List->AddNode();
    node->SetImageIndex(3);
    int reads = 0;
    List->OnGetImageIndex = [&](fw::TObject* sender, TdxTreeListNode* n, int& index) {
        EXPECT_EQ(sender, List.get());
        EXPECT_EQ(n, node);
        EXPECT_EQ(index, 3);
        ++reads;
        index = 7;
    };
    List->OnGetStateIndex = [](fw::TObject*, TdxTreeListNode*, int& index) { index += 100; };
    EXPECT_EQ(node->ImageIndex(), 7);
    EXPECT_EQ(node->ImageIndex(), 7);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(node->StateIndex(), 99);
    EXPECT_EQ(node->SelectedIndex(), -1);
    // The stream stores what the reads answer.
    const auto stored = DecodeStream(List->WriteData());
    EXPECT_EQ(stored[0].ImageIndex, 7);
    EXPECT_EQ(stored[0].StateIndex, 99);
}

// --- adding: top row and focus ---------------------------------------------------------------

TEST_F(TreeListNodes, FirstNodeBecomesTopAndFocusedWithoutAFocusEvent) {
    int focusEvents = 0;
    List->OnChangeNode = [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode*) { ++focusEvents; };
    EXPECT_EQ(List->FocusedNode(), nullptr);
    TdxTreeListNode* first = List->AddNode();
    EXPECT_EQ(List->TopVisibleNode(), first);
    EXPECT_EQ(List->FocusedNode(), first);
    EXPECT_TRUE(first->Focused());
    EXPECT_TRUE(first->Selected());
    List->AddNode();
    first->AddChild();
    EXPECT_EQ(List->FocusedNode(), first);
    EXPECT_EQ(List->TopVisibleNode(), first);
    EXPECT_EQ(focusEvents, 0);

    // A focus change of its own does raise the event, once.
    TdxTreeListNode* second = List->NodeAt(1);
    TdxTreeListNode* oldSeen = nullptr;
    TdxTreeListNode* newSeen = nullptr;
    List->OnChangeNode = [&](fw::TObject*, TdxTreeListNode* oldNode, TdxTreeListNode* node) {
        ++focusEvents;
        oldSeen = oldNode;
        newSeen = node;
    };
    second->SetFocused(true);
    second->SetFocused(true);
    EXPECT_EQ(focusEvents, 1);
    EXPECT_EQ(oldSeen, first);
    EXPECT_EQ(newSeen, second);
    EXPECT_FALSE(first->Focused());
}

TEST_F(TreeListNodes, IndexLookupsAnswerNoneOutOfRange) {
    AddFlat(3);
    TdxTreeListNode* parent = List->NodeAt(0);
    parent->AddChild();
    EXPECT_EQ(List->NodeAt(-1), nullptr);
    EXPECT_EQ(List->NodeAt(3), nullptr);
    EXPECT_NE(List->NodeAt(2), nullptr);
    EXPECT_EQ(parent->Children(-1), nullptr);
    EXPECT_EQ(parent->Children(1), nullptr);
    EXPECT_EQ(List->NodeAtAbsoluteIndex(-1), nullptr);
    EXPECT_EQ(List->NodeAtAbsoluteIndex(3), nullptr);
    EXPECT_EQ(List->NodeAtAbsoluteIndex(2), List->NodeAt(2));
}

TEST_F(TreeListNodes, InsertChildPlacesBeforeTheReferenceChild) {
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* a = parent->AddChild();
    TdxTreeListNode* c = parent->AddChild();
    TdxTreeListNode* b = parent->InsertChild(c);
    TdxTreeListNode* first = parent->InsertChild(a);
    EXPECT_EQ(parent->Children(0), first);
    EXPECT_EQ(parent->Children(1), a);
    EXPECT_EQ(parent->Children(2), b);
    EXPECT_EQ(parent->Children(3), c);
    EXPECT_EQ(b->Index(), 2);
    EXPECT_EQ(b->Parent(), parent);
    EXPECT_TRUE(parent->HasChildren());
    // A reference that is not a child is refused rather than misplacing the node.
    TdxTreeListNode* stranger = List->AddNode();
    TdxTreeListNode* strangerChild = stranger->AddChild();
    EXPECT_THROW(parent->InsertChild(strangerChild), EInvaliddxTreeListOperation);
    EXPECT_EQ(parent->ChildCount(), 4);
    // Without children a reference is ignored, wherever it stands in its own list.
    TdxTreeListNode* leaf = List->AddNode();
    TdxTreeListNode* inserted = leaf->InsertChild(parent->Children(3));
    EXPECT_EQ(inserted->Parent(), leaf);
    EXPECT_EQ(leaf->ChildCount(), 1);
    EXPECT_EQ(inserted->Index(), 0);
    EXPECT_EQ(parent->ChildCount(), 4);
}

// --- deletion --------------------------------------------------------------------------------

TEST_F(TreeListNodes, DeletingTheFocusedNodeMovesTheFocusToItsPreviousSibling) {
    auto nodes = AddFlat(5);
    int focusEvents = 0;
    List->OnChangeNode = [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode*) { ++focusEvents; };
    nodes[3]->SetFocused(true);
    focusEvents = 0;
    nodes[3]->Free();
    EXPECT_EQ(List->FocusedNode(), nodes[2]);
    EXPECT_EQ(List->NodeCount(), 4);
    EXPECT_EQ(focusEvents, 0);
}

TEST_F(TreeListNodes, DeletingTheFocusedFirstNodeFocusesTheNodeThatFollowed) {
    auto nodes = AddFlat(3);
    ASSERT_EQ(List->FocusedNode(), nodes[0]);
    nodes[0]->Free();
    EXPECT_EQ(List->FocusedNode(), nodes[1]);
    EXPECT_EQ(List->TopVisibleNode(), nodes[1]);
    EXPECT_EQ(List->NodeAt(0), nodes[1]);
}

TEST_F(TreeListNodes, DeletingTheLastNodeLeavesNoFocusedAndNoTopNode) {
    TdxTreeListNode* only = List->AddNode();
    only->Free();
    EXPECT_EQ(List->NodeCount(), 0);
    EXPECT_EQ(List->FocusedNode(), nullptr);
    EXPECT_EQ(List->TopVisibleNode(), nullptr);
    EXPECT_EQ(List->AbsoluteCount(), 0);
    // And the next node added takes both again.
    TdxTreeListNode* next = List->AddNode();
    EXPECT_EQ(List->FocusedNode(), next);
    EXPECT_EQ(List->TopVisibleNode(), next);
}

TEST_F(TreeListNodes, DeletingAFocusedFirstChildFocusesItsParent) {
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* first = parent->AddChild();
    TdxTreeListNode* second = parent->AddChild();
    parent->SetExpanded(true);
    first->SetFocused(true);
    first->Free();
    EXPECT_EQ(List->FocusedNode(), parent);
    // A focused node inside a freed subtree ends on a node that remains.
    TdxTreeListNode* grandChild = second->AddChild();
    TdxTreeListNode* after = List->AddNode();
    grandChild->SetFocused(true);
    parent->Free();
    EXPECT_EQ(List->FocusedNode(), after);
    EXPECT_EQ(List->TopVisibleNode(), after);
}

TEST_F(TreeListNodes, FreeingANodeRaisesOnDeletionForTheSubtreeChildrenFirst) {
    TdxTreeListNode* root = List->AddNode();
    TdxTreeListNode* a = root->AddChild();
    TdxTreeListNode* a1 = a->AddChild();
    TdxTreeListNode* b = root->AddChild();
    TdxTreeListNode* kept = List->AddNode();
    std::vector<TdxTreeListNode*> order;
    List->OnDeletion = [&](fw::TObject* sender, TdxTreeListNode* node) {
        EXPECT_EQ(sender, List.get());
        EXPECT_TRUE(node->Deleting());
        order.push_back(node);
    };
    root->Free();
    EXPECT_EQ(order, (std::vector<TdxTreeListNode*>{a1, a, b, root}));
    EXPECT_EQ(List->NodeCount(), 1);
    EXPECT_EQ(List->NodeAt(0), kept);
}

TEST_F(TreeListNodes, DeleteChildrenLeavesTheNodeCollapsedAndNotExpandable) {
    TdxTreeListNode* parent = List->AddNode();
    parent->AddChild();
    parent->AddChild();
    parent->SetExpanded(true);
    int collapseEvents = 0;
    List->OnCollapsing = [&](fw::TObject*, TdxTreeListNode*, bool&) { ++collapseEvents; };
    List->OnCollapsed = [&](fw::TObject*, TdxTreeListNode*) { ++collapseEvents; };
    parent->DeleteChildren();
    EXPECT_EQ(parent->ChildCount(), 0);
    EXPECT_FALSE(parent->Expanded());
    EXPECT_FALSE(parent->HasChildren());
    EXPECT_EQ(collapseEvents, 0);
    EXPECT_EQ(List->AbsoluteCount(), 1);
}

TEST_F(TreeListNodes, AThrowingDeletionHandlerStillFreesTheNodeAndMovesTheFocus) {
    auto nodes = AddFlat(3);
    TdxTreeListNode* child = nodes[1]->AddChild();
    nodes[1]->SetFocused(true);
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) {
        if (node == child)
            throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(nodes[1]->Free(), std::runtime_error);
    EXPECT_EQ(List->NodeCount(), 2);
    EXPECT_EQ(List->FocusedNode(), nodes[0]);
    EXPECT_EQ(List->NodeAt(1), nodes[2]);
    EXPECT_EQ(List->AbsoluteCount(), 2);
}

TEST_F(TreeListNodes, HandlersCannotFreeWhatADeletionIsWalking) {
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* child = parent->AddChild();
    TdxTreeListNode* other = List->AddNode();
    std::vector<std::string> refusals;
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) {
        if (node != child)
            return;
        for (auto attempt : {0, 1, 2}) {
            try {
                if (attempt == 0)
                    parent->Free();
                else if (attempt == 1)
                    List->ClearNodes();
                else
                    parent->DeleteChildren();
            } catch (const EInvaliddxTreeListOperation& e) {
                refusals.push_back(e.what());
            }
        }
        // An unrelated node may go.
        other->Free();
    };
    parent->Free();
    EXPECT_EQ(refusals.size(), 3u);
    EXPECT_EQ(List->NodeCount(), 0);
    EXPECT_EQ(List->FocusedNode(), nullptr);
}

// --- clearing --------------------------------------------------------------------------------

TEST_F(TreeListNodes, ClearNodesRaisesOnDeletionOnceForEveryNode) {
    auto nodes = AddFlat(3);
    nodes[1]->AddChild()->AddChild();
    nodes[2]->AddChild();
    nodes[1]->SetFocused(true);
    const auto all = AllByWalk<TdxTreeListNode>(*List);
    std::vector<TdxTreeListNode*> deleted;
    int focusEvents = 0;
    List->OnChangeNode = [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode*) { ++focusEvents; };
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) { deleted.push_back(node); };
    List->ClearNodes();
    EXPECT_EQ(deleted.size(), all.size());
    for (TdxTreeListNode* node : all)
        EXPECT_EQ(std::count(deleted.begin(), deleted.end(), node), 1);
    // Children before their parents.
    EXPECT_LT(std::find(deleted.begin(), deleted.end(), all[2]),
              std::find(deleted.begin(), deleted.end(), all[1]));
    EXPECT_EQ(List->NodeCount(), 0);
    EXPECT_EQ(List->FocusedNode(), nullptr);
    EXPECT_EQ(List->TopVisibleNode(), nullptr);
    EXPECT_EQ(List->AbsoluteCount(), 0);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    EXPECT_EQ(focusEvents, 0);
}

TEST_F(TreeListNodes, ClearNodesRestoresItsStateWhenAHandlerRaises) {
    AddFlat(5);
    List->NodeAt(2)->AddChild();
    int deletions = 0;
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode*) {
        if (++deletions == 3)
            throw std::runtime_error("third deletion failed");
    };
    List->BeginUpdate();
    try {
        List->ClearNodes();
        FAIL() << "the handler's exception was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "third deletion failed");
    }
    // Every node went, the caller's lock is all that is held, and the list works on.
    EXPECT_EQ(deletions, 6);
    EXPECT_EQ(List->NodeCount(), 0);
    EXPECT_EQ(List->FocusedNode(), nullptr);
    EXPECT_EQ(List->UpdateLockCount(), 1);
    List->EndUpdate();
    EXPECT_EQ(List->UpdateLockCount(), 0);
    List->OnDeletion = nullptr;
    TdxTreeListNode* node = List->AddNode();
    EXPECT_EQ(List->FocusedNode(), node);
    EXPECT_EQ(node->AbsoluteIndex(), 0);
    TdxTreeListNode* second = List->AddNode();
    EXPECT_EQ(second->AbsoluteIndex(), 1);
    second->Free();
    EXPECT_EQ(List->AbsoluteCount(), 1);
}

TEST_F(TreeListNodes, TheTreeCannotChangeWhileClearNodesRuns) {
    AddFlat(2);
    std::vector<std::string> refusals;
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) {
        try {
            List->AddNode();
        } catch (const EInvaliddxTreeListOperation& e) {
            refusals.push_back(e.what());
        }
        try {
            node->AddChild();
        } catch (const EInvaliddxTreeListOperation& e) {
            refusals.push_back(e.what());
        }
        // The top-level list is detached: no node that went before can be reached.
        EXPECT_EQ(List->NodeCount(), 0);
    };
    List->ClearNodes();
    EXPECT_EQ(refusals.size(), 4u);
    EXPECT_EQ(List->NodeCount(), 0);
}

TEST_F(TreeListNodes, DestroyingTheListRaisesOnDeletionForEveryNode) {
    int deletions = 0;
    {
        TOwnedPtr<TdxTreeList> list(new TdxTreeList(nullptr));
        list->AddNode()->AddChild()->AddChild();
        list->AddNode();
        list->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) {
            ++deletions;
            // The node is whole while its handler runs.
            EXPECT_EQ(node->Strings(0), "");
        };
    }
    EXPECT_EQ(deletions, 4);
}

// --- expansion -------------------------------------------------------------------------------

TEST_F(TreeListNodes, ExpandingAndCollapsingRaiseTheirEventsInOrder) {
    TdxTreeListNode* parent = List->AddNode();
    parent->AddChild();
    std::vector<std::string> events;
    List->OnExpanding = [&](fw::TObject*, TdxTreeListNode* n, bool& allow) {
        EXPECT_TRUE(allow);
        EXPECT_FALSE(n->Expanded());
        events.push_back("expanding");
    };
    List->OnExpanded = [&](fw::TObject*, TdxTreeListNode* n) {
        EXPECT_TRUE(n->Expanded());
        events.push_back("expanded");
    };
    List->OnCollapsing = [&](fw::TObject*, TdxTreeListNode*, bool&) {
        events.push_back("collapsing");
    };
    List->OnCollapsed = [&](fw::TObject*, TdxTreeListNode*) { events.push_back("collapsed"); };
    parent->SetExpanded(true);
    parent->SetExpanded(true);
    EXPECT_EQ(List->AbsoluteCount(), 2);
    parent->SetExpanded(false);
    EXPECT_EQ(List->AbsoluteCount(), 1);
    EXPECT_EQ(events,
              (std::vector<std::string>{"expanding", "expanded", "collapsing", "collapsed"}));
    // A node without children does not expand and raises nothing.
    events.clear();
    TdxTreeListNode* leaf = List->AddNode();
    leaf->SetExpanded(true);
    EXPECT_FALSE(leaf->Expanded());
    EXPECT_TRUE(events.empty());
}

TEST_F(TreeListNodes, CollapsingAroundTheFocusedNodeFocusesTheCollapsingNode) {
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* child = parent->AddChild();
    TdxTreeListNode* grandChild = child->AddChild();
    parent->Expand(true);
    grandChild->SetFocused(true);
    std::vector<TdxTreeListNode*> focusMoves;
    List->OnChangeNode = [&](fw::TObject*, TdxTreeListNode*, TdxTreeListNode* node) {
        focusMoves.push_back(node);
    };
    parent->SetExpanded(false);
    EXPECT_FALSE(parent->Expanded());
    EXPECT_EQ(List->FocusedNode(), parent);
    EXPECT_EQ(focusMoves, (std::vector<TdxTreeListNode*>{parent}));
    EXPECT_EQ(grandChild->AbsoluteIndex(), -1);
}

TEST_F(TreeListNodes, ARefusingCollapseHandlerLeavesEverythingUnchanged) {
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* child = parent->AddChild();
    parent->SetExpanded(true);
    child->SetFocused(true);
    bool collapsed = false;
    List->OnCollapsing = [](fw::TObject*, TdxTreeListNode*, bool& allow) { allow = false; };
    List->OnCollapsed = [&](fw::TObject*, TdxTreeListNode*) { collapsed = true; };
    parent->SetExpanded(false);
    EXPECT_TRUE(parent->Expanded());
    EXPECT_EQ(List->FocusedNode(), child);
    EXPECT_EQ(child->AbsoluteIndex(), 1);
    EXPECT_FALSE(collapsed);
    // The same for a refused expansion.
    parent->SetExpanded(true);
    TdxTreeListNode* other = List->AddNode();
    other->AddChild();
    List->OnExpanding = [](fw::TObject*, TdxTreeListNode*, bool& allow) { allow = false; };
    other->SetExpanded(true);
    EXPECT_FALSE(other->Expanded());
    EXPECT_EQ(List->AbsoluteCount(), 3);
}

TEST_F(TreeListNodes, CollapsingAroundTheTopRowMakesTheCollapsingNodeTheTopRow) {
    List->SetBounds(0, 0, 100, 48); // three rows
    TdxTreeListNode* parent = List->AddNode();
    std::vector<TdxTreeListNode*> children;
    for (int i = 0; i < 10; ++i)
        children.push_back(parent->AddChild());
    parent->SetExpanded(true);
    children[9]->MakeVisible();
    EXPECT_EQ(List->TopVisibleNode(), children[7]);
    parent->SetExpanded(false);
    EXPECT_EQ(List->TopVisibleNode(), parent);
}

TEST_F(TreeListNodes, HasChildrenCannotBeClearedWhileChildrenExist) {
    TdxTreeListNode* parent = List->AddNode();
    parent->AddChild();
    parent->SetHasChildren(false);
    EXPECT_TRUE(parent->HasChildren());
    // A leaf can be shown as expandable and then expands without children.
    TdxTreeListNode* leaf = List->AddNode();
    leaf->SetHasChildren(true);
    EXPECT_TRUE(leaf->HasChildren());
    leaf->SetExpanded(true);
    EXPECT_TRUE(leaf->Expanded());
    EXPECT_EQ(List->AbsoluteCount(), 2);
    leaf->SetHasChildren(false);
    EXPECT_FALSE(leaf->HasChildren());
}

TEST_F(TreeListNodes, ExpandRecurseOpensTheWholeSubtreeUnderOneLock) {
    TdxTreeListNode* root = List->AddNode();
    TdxTreeListNode* a = root->AddChild();
    TdxTreeListNode* a1 = a->AddChild();
    a1->AddChild();
    TdxTreeListNode* b = root->AddChild();
    b->AddChild();
    std::vector<int> locksSeen;
    List->OnExpanded = [&](fw::TObject*, TdxTreeListNode*) {
        locksSeen.push_back(List->UpdateLockCount());
    };
    root->Expand(true);
    EXPECT_EQ(locksSeen, (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(List->UpdateLockCount(), 0);
    EXPECT_EQ(List->AbsoluteCount(), 6);
    TdxTreeListNode* other = List->AddNode();
    other->AddChild()->AddChild();
    other->Expand(false);
    EXPECT_TRUE(other->Expanded());
    EXPECT_FALSE(other->GetFirstChild()->Expanded());
}

TEST_F(TreeListNodes, MakeVisibleExpandsTheAncestorsAndScrollsTheRowIntoView) {
    List->SetBounds(0, 0, 100, 64); // four rows
    auto top = AddFlat(6);
    TdxTreeListNode* child = top[4]->AddChild();
    TdxTreeListNode* grandChild = child->AddChild();
    std::vector<TdxTreeListNode*> expanded;
    List->OnExpanded = [&](fw::TObject*, TdxTreeListNode* n) { expanded.push_back(n); };
    grandChild->MakeVisible();
    EXPECT_EQ(expanded, (std::vector<TdxTreeListNode*>{child, top[4]}));
    EXPECT_TRUE(grandChild->IsVisible());
    EXPECT_EQ(grandChild->AbsoluteIndex(), 6);
    // Shown as the last of the four rows.
    EXPECT_EQ(List->TopVisibleNode(), top[3]);
    // Above the top row: it becomes the top row.
    top[1]->MakeVisible();
    EXPECT_EQ(List->TopVisibleNode(), top[1]);
    // Already in view: nothing moves.
    top[2]->MakeVisible();
    EXPECT_EQ(List->TopVisibleNode(), top[1]);
    EXPECT_EQ(List->UpdateLockCount(), 0);
}

// --- navigation ------------------------------------------------------------------------------

TEST_F(TreeListNodes, NavigationFollowsTheTreeAndTheDisplayedRows) {
    // r0 (a (a1 a2) b) r1 (c) r2
    TdxTreeListNode* r0 = List->AddNode();
    TdxTreeListNode* a = r0->AddChild();
    TdxTreeListNode* a1 = a->AddChild();
    TdxTreeListNode* a2 = a->AddChild();
    TdxTreeListNode* b = r0->AddChild();
    TdxTreeListNode* r1 = List->AddNode();
    TdxTreeListNode* c = r1->AddChild();
    TdxTreeListNode* r2 = List->AddNode();
    const std::vector<TdxTreeListNode*> preOrder{r0, a, a1, a2, b, r1, c, r2};

    for (std::size_t i = 0; i < preOrder.size(); ++i) {
        EXPECT_EQ(preOrder[i]->GetNext(), i + 1 < preOrder.size() ? preOrder[i + 1] : nullptr);
        EXPECT_EQ(preOrder[i]->GetPrev(), i > 0 ? preOrder[i - 1] : nullptr);
    }
    EXPECT_EQ(a2->Level(), 2);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_TRUE(b->IsLast());
    EXPECT_FALSE(a->IsLast());
    EXPECT_TRUE(r2->IsLast());
    EXPECT_TRUE(a2->HasAsParent(r0));
    EXPECT_FALSE(a2->HasAsParent(b));
    EXPECT_FALSE(r0->HasAsParent(nullptr));
    EXPECT_EQ(a->GetNextSibling(), b);
    EXPECT_EQ(b->GetNextSibling(), nullptr);
    EXPECT_EQ(r1->GetPrevSibling(), r0);
    EXPECT_EQ(r0->GetPrevSibling(), nullptr);
    EXPECT_EQ(a->GetFirstChild(), a1);
    EXPECT_EQ(a->GetLastChild(), a2);

    // Collapsed: only the top-level nodes are rows.
    EXPECT_FALSE(a1->IsVisible());
    EXPECT_EQ(a1->AbsoluteIndex(), -1);
    EXPECT_EQ(r0->GetNextRow(), r1);
    EXPECT_EQ(r2->GetPrevRow(), r1);
    EXPECT_EQ(List->LastRowNode(), r2);
    r0->SetExpanded(true);
    a->SetExpanded(true);
    const std::vector<TdxTreeListNode*> rows{r0, a, a1, a2, b, r1, r2};
    ASSERT_EQ(List->AbsoluteCount(), int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r]->AbsoluteIndex(), int(r));
        EXPECT_EQ(List->NodeAtAbsoluteIndex(int(r)), rows[r]);
        EXPECT_EQ(rows[r]->GetNextRow(), r + 1 < rows.size() ? rows[r + 1] : nullptr);
        EXPECT_EQ(rows[r]->GetPrevRow(), r > 0 ? rows[r - 1] : nullptr);
    }
    EXPECT_EQ(c->AbsoluteIndex(), -1);
    r2->Free();
    EXPECT_EQ(List->LastRowNode(), r1);
    r1->SetExpanded(true);
    EXPECT_EQ(List->LastRowNode(), c);
}

// --- cached row heights -----------------------------------------------------------------------

TEST_F(TreeListNodes, ALastChildComingOrGoingForgetsThePreviousLastChildsRowHeight) {
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* a = parent->AddChild();
    TdxTreeListNode* b = parent->AddChild();
    parent->SetExpanded(true);
    ASSERT_EQ(b->AbsoluteIndex(), 2);
    a->SetCachedRowHeight(17);
    b->SetCachedRowHeight(17);
    TdxTreeListNode* c = parent->AddChild();
    EXPECT_EQ(a->CachedRowHeight(), 17);
    EXPECT_EQ(b->CachedRowHeight(), 0);
    b->SetCachedRowHeight(17);
    c->SetCachedRowHeight(17);
    c->Free();
    EXPECT_EQ(a->CachedRowHeight(), 17);
    EXPECT_EQ(b->CachedRowHeight(), 0);
    // The update lock forgets every row height, at every depth.
    b->SetCachedRowHeight(17);
    parent->SetCachedRowHeight(17);
    List->BeginUpdate();
    EXPECT_EQ(a->CachedRowHeight(), 0);
    EXPECT_EQ(b->CachedRowHeight(), 0);
    EXPECT_EQ(parent->CachedRowHeight(), 0);
    List->EndUpdate();
}

// --- update lock and re-sort requests --------------------------------------------------------

TEST_F(TreeListNodes, UpdateLockNestsAndToleratesAnExtraEndUpdate) {
    List->BeginUpdate();
    List->BeginUpdate();
    auto nodes = AddFlat(3);
    nodes[1]->AddChild();
    nodes[1]->SetExpanded(true);
    // Row queries answer while the lock is held too.
    EXPECT_EQ(List->AbsoluteCount(), 4);
    EXPECT_EQ(nodes[2]->AbsoluteIndex(), 3);
    List->EndUpdate();
    EXPECT_EQ(List->UpdateLockCount(), 1);
    List->EndUpdate();
    List->EndUpdate();
    EXPECT_EQ(List->UpdateLockCount(), 0);
    EXPECT_EQ(nodes[2]->AbsoluteIndex(), 3);
}

TEST_F(TreeListNodes, ChangesUnderTheLockAskForOneResortAtTheEnd) {
    List->SetOptionsEx(List->OptionsEx().With(aoAutoSortRefresh));
    List->BeginUpdate();
    auto nodes = AddFlat(4);
    nodes[0]->SetStrings(1, "changed");
    nodes[1]->Free();
    EXPECT_TRUE(List->ResortPending());
    EXPECT_EQ(List->ResortCount, 0);
    List->EndUpdate();
    EXPECT_FALSE(List->ResortPending());
    EXPECT_EQ(List->ResortCount, 1);
    // Without the lock every change asks at once; clearing does not ask.
    List->AddNode();
    nodes[0]->SetStrings(0, "x");
    EXPECT_EQ(List->ResortCount, 3);
    List->ClearNodes();
    EXPECT_EQ(List->ResortCount, 3);
}

// --- data ------------------------------------------------------------------------------------

// --- repaint requests ------------------------------------------------------------------------

class TreeListRepaint : public testing_support::HeadlessTest {
protected:
    TreeListRepaint() {
        Form = Application.CreateForm<fw::TForm>();
        Form->SetBounds(0, 0, 300, 200);
        List = new TdxTreeList(Form);
        List->SetBounds(0, 0, 200, 160); // less the horizontal bar: nine 16-pixel rows
        List->SetShowHeader(false);      // from the top of the client area
        List->SetParent(Form);
        List->HandleNeeded();
        for (int i = 0; i < 12; ++i)
            List->AddNode();
        Validate();
    }
    void Validate() { WindowOf(*List).Update(); }
    // Rows reach the client's right edge (left of the vertical scroll bar).
    int Right() { return List->ClientWidth(); }
    int Bottom() { return List->ClientHeight(); }
    const fw::headless::PixelRegion& Pending() { return WindowOf(*List).UpdateRegion(); }

    fw::TForm* Form = nullptr;
    TdxTreeList* List = nullptr;
};

TEST_F(TreeListRepaint, IndexWritesRepaintTheRowEvenWithTheSameValue) {
    TdxTreeListNode* node = List->NodeAt(3);
    ASSERT_TRUE(Pending().IsEmpty());
    node->SetImageIndex(node->ImageIndex());
    EXPECT_EQ(Pending().BoundingBox(), (fw::TRect{0, 48, Right(), 64}));
    Validate();
    node->SetStateIndex(5);
    EXPECT_EQ(Pending().BoundingBox(), (fw::TRect{0, 48, Right(), 64}));
    Validate();
    // Texts do not repaint; values do.
    node->SetStrings(0, "text");
    EXPECT_TRUE(Pending().IsEmpty());
    node->SetValues(0, TdxValue(std::int64_t(1)));
    EXPECT_EQ(Pending().BoundingBox(), (fw::TRect{0, 48, Right(), 64}));
}

TEST_F(TreeListRepaint, NoRepaintWhileTheLockIsHeldAndAllOfItAtTheEnd) {
    List->BeginUpdate();
    List->NodeAt(2)->SetImageIndex(4);
    List->AddNode();
    List->NodeAt(1)->Free();
    EXPECT_TRUE(Pending().IsEmpty());
    List->EndUpdate();
    EXPECT_EQ(Pending().BoundingBox(), (fw::TRect{0, 0, Right(), Bottom()}));
}

TEST_F(TreeListRepaint, AddingAndDeletingRepaintFromTheirRowDownward) {
    TdxTreeListNode* node = List->NodeAt(5);
    // Adding repaints from the reference row (here the parent's) downward.
    node->AddChild();
    EXPECT_EQ(Pending().BoundingBox(), (fw::TRect{0, 80, Right(), Bottom()}));
    Validate();
    node->SetExpanded(true);
    EXPECT_EQ(Pending().BoundingBox(), (fw::TRect{0, 80, Right(), Bottom()}));
    Validate();
    List->NodeAt(7)->Free();
    // From the previous sibling's row (row 7 now that node 5 shows a child) downward.
    EXPECT_EQ(Pending().BoundingBox(), (fw::TRect{0, 112, Right(), Bottom()}));
    Validate();
    // Hidden nodes repaint nothing.
    TdxTreeListNode* hidden = List->NodeAt(0)->AddChild();
    Validate();
    hidden->SetImageIndex(2);
    EXPECT_TRUE(Pending().IsEmpty());
}

} // namespace
