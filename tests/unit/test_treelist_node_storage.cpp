// Where the list keeps its nodes: a pool of node slots that freed nodes go back to, sibling
// lists that give up their first entry cheaply, and a row index keyed by the slots. What such
// storage can get wrong, through the public node model: a reused slot that shows something of
// its previous node, a row number left behind for a slot, a node touched after it was freed
// while walking (free slots are poisoned under AddressSanitizer), nodes a CreateNode override
// makes outside the pool, and a list destroyed while it still holds nodes.
//
// Sections: support; reused slots; freeing while walking; nodes outside the pool; destroying
// a list; row heights; large lists in waves.
#include "test_treelist_support.h"
#include "treelist/dxTL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using namespace dxtl;
using fw::TOwnedPtr;
using treelist_testing::AllByWalk;
using treelist_testing::DisplayedByWalk;

// --- support ---------------------------------------------------------------------------------

// Every row query against a plain walk of the tree: the row of every displayed node, the node
// of every row, the rows' neighbours, and -1 for every node that is not displayed.
void ExpectRowsMatchWalk(TCustomdxTreeList& list) {
    const auto rows = DisplayedByWalk<TdxTreeListNode>(list);
    ASSERT_EQ(list.AbsoluteCount(), int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r]->AbsoluteIndex(), int(r)) << "row " << r;
        ASSERT_EQ(list.NodeAtAbsoluteIndex(int(r)), rows[r]) << "row " << r;
        ASSERT_EQ(rows[r]->GetNextRow(), r + 1 < rows.size() ? rows[r + 1] : nullptr);
    }
    ASSERT_EQ(list.NodeAtAbsoluteIndex(int(rows.size())), nullptr);
    const std::set<TdxTreeListNode*> displayed(rows.begin(), rows.end());
    for (TdxTreeListNode* node : AllByWalk<TdxTreeListNode>(list)) {
        if (!displayed.count(node)) {
            ASSERT_EQ(node->AbsoluteIndex(), -1);
        }
        for (int c = 0; c < node->ChildCount(); ++c)
            ASSERT_EQ(node->Children(c)->Index(), c);
    }
    for (int i = 0; i < list.NodeCount(); ++i)
        ASSERT_EQ(list.NodeAt(i)->Index(), i);
}

// A node with every attribute away from its default, and a text too long to be kept inline.
void Decorate(TdxTreeListNode* node, int i) {
    node->SetImageIndex(i + 7);
    node->SetSelectedIndex(i + 8);
    node->SetStateIndex(i + 9);
    node->SetData(node);
    node->SetStrings(0, "caption " + std::to_string(i));
    node->SetStrings(3, std::string(40, char('a' + i % 26)));
    node->SetCachedRowHeight(30);
}

void ExpectFresh(TdxTreeListNode* node) {
    EXPECT_EQ(node->ImageIndex(), 0);
    EXPECT_EQ(node->SelectedIndex(), -1);
    EXPECT_EQ(node->StateIndex(), -1);
    EXPECT_EQ(node->Data(), nullptr);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(node->Strings(i), "");
    EXPECT_EQ(node->ChildCount(), 0);
    EXPECT_FALSE(node->Expanded());
    EXPECT_FALSE(node->HasChildren());
    EXPECT_FALSE(node->Deleting());
    EXPECT_EQ(node->CachedRowHeight(), 0);
}

class TreeListNodeStorage : public ::testing::Test {
protected:
    TreeListNodeStorage() : List(new TdxTreeList(nullptr)) {}
    void TearDown() override { List->OnDeletion = nullptr; }

    TOwnedPtr<TdxTreeList> List;
};

// --- reused slots ----------------------------------------------------------------------------

TEST_F(TreeListNodeStorage, NodesInFreedPlacesStartFreshAndTakeOnlyTheirOwnRows) {
    std::vector<TdxTreeListNode*> parents;
    for (int i = 0; i < 40; ++i) {
        TdxTreeListNode* parent = List->AddNode();
        Decorate(parent, i);
        for (int c = 0; c < 3; ++c)
            Decorate(parent->AddChild(), i * 3 + c);
        parent->SetExpanded(i % 2 == 0);
        parents.push_back(parent);
    }
    ExpectRowsMatchWalk(*List);

    // Displayed and hidden nodes go, with their rows in the index.
    std::set<const void*> freed;
    for (int i = 0; i < 40; i += 3) {
        for (const TdxTreeListNode* n : AllByWalk<TdxTreeListNode>(*List))
            if (n == parents[std::size_t(i)] || n->HasAsParent(parents[std::size_t(i)]))
                freed.insert(n);
        parents[std::size_t(i)]->Free();
    }
    parents[1]->GetFirstChild()->Free();
    ExpectRowsMatchWalk(*List);

    // New nodes, top-level and under expanded and collapsed parents: the ones in freed
    // places must show nothing of the nodes before them and must not answer with their rows.
    std::vector<TdxTreeListNode*> added;
    for (int i = 0; i < 60; ++i) {
        TdxTreeListNode* parent = parents[std::size_t(1 + (i % 13) * 3)];
        added.push_back(i % 3 == 0 ? List->AddNode() : parent->AddChild());
    }
    const auto reused = std::count_if(added.begin(), added.end(),
                                      [&](const TdxTreeListNode* n) { return freed.count(n); });
    ASSERT_GT(reused, 0) << "no new node took a freed node's place: the test proves nothing";
    for (TdxTreeListNode* node : added)
        ExpectFresh(node);
    ExpectRowsMatchWalk(*List);

    // The survivors kept what they had.
    for (int i = 1; i < 40; i += 3) {
        EXPECT_EQ(parents[std::size_t(i)]->Strings(0), "caption " + std::to_string(i));
        EXPECT_EQ(parents[std::size_t(i)]->Strings(3), std::string(40, char('a' + i % 26)));
        EXPECT_EQ(parents[std::size_t(i)]->ImageIndex(), i + 7);
    }
}

TEST_F(TreeListNodeStorage, PlacesFreedByClearingServeTheNextNodes) {
    for (int round = 0; round < 3; ++round) {
        List->BeginUpdate();
        for (int i = 0; i < 300; ++i) {
            TdxTreeListNode* node = List->AddNode();
            Decorate(node, i);
            if (i % 10 == 0)
                Decorate(node->AddChild(), i);
        }
        List->EndUpdate();
        List->NodeAt(0)->SetExpanded(true);
        ExpectRowsMatchWalk(*List);
        for (int i = 0; i < List->NodeCount(); ++i)
            ASSERT_EQ(List->NodeAt(i)->Strings(0), "caption " + std::to_string(i));
        List->ClearNodes();
        ASSERT_EQ(List->AbsoluteCount(), 0);
        TdxTreeListNode* fresh = List->AddNode();
        ExpectFresh(fresh);
        EXPECT_EQ(fresh->AbsoluteIndex(), 0);
        List->ClearNodes();
    }
}

// --- freeing while walking -------------------------------------------------------------------

TEST_F(TreeListNodeStorage, FreeingNodesWhileWalkingRowsAndSiblingsLeavesTheRestIntact) {
    for (int i = 0; i < 120; ++i) {
        TdxTreeListNode* node = List->AddNode();
        node->SetStrings(0, "n" + std::to_string(i));
        if (i % 4 == 0) {
            for (int c = 0; c < 4; ++c)
                node->AddChild()->SetStrings(0, "c" + std::to_string(i) + "." + std::to_string(c));
            node->SetExpanded(true);
        }
    }
    // Down the rows, every third row goes (with its subtree); the next row is taken first.
    int row = 0;
    for (TdxTreeListNode* node = List->NodeAtAbsoluteIndex(0); node; ++row) {
        TdxTreeListNode* next = node->GetNextRow();
        while (next && next->HasAsParent(node))
            next = next->GetNextRow();
        if (row % 3 == 0)
            node->Free();
        node = next;
    }
    ExpectRowsMatchWalk(*List);

    // Along the top level from the end, while each deletion's handler frees the node after
    // the one being deleted, when there is one and it is not being freed already.
    std::vector<std::string> gone;
    List->OnDeletion = [&gone](fw::TObject*, TdxTreeListNode* node) {
        gone.push_back(node->Strings(0));
        TdxTreeListNode* next = node->GetNextSibling();
        if (node->Parent() == nullptr && next && next->ChildCount() == 0)
            next->Free();
    };
    for (TdxTreeListNode* node = List->NodeAt(List->NodeCount() - 1); node;) {
        TdxTreeListNode* prev = node->GetPrevSibling();
        if (prev)
            prev = prev->GetPrevSibling();
        node->Free();
        node = prev;
        ExpectRowsMatchWalk(*List);
        if (HasFatalFailure())
            return;
    }
    List->OnDeletion = nullptr;
    const std::set<std::string> goneSet(gone.begin(), gone.end());
    EXPECT_EQ(goneSet.size(), gone.size()) << "OnDeletion twice for one node";
    for (TdxTreeListNode* node : AllByWalk<TdxTreeListNode>(*List)) {
        EXPECT_FALSE(goneSet.count(node->Strings(0))) << node->Strings(0);
        EXPECT_EQ(node->Strings(0)[0], node->Parent() ? 'c' : 'n');
    }
}

TEST_F(TreeListNodeStorage, FreeingAnExpandedParentReportsItsChildrenInOrderThenItself) {
    TdxTreeListNode* before = List->AddNode();
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* after = List->AddNode();
    for (int c = 0; c < 3000; ++c)
        parent->AddChild()->SetStrings(0, std::to_string(c));
    parent->SetExpanded(true);
    parent->GetLastChild()->SetFocused(true);
    ASSERT_EQ(after->AbsoluteIndex(), 3002);

    std::vector<std::string> order;
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) {
        order.push_back(node == parent ? "parent" : node->Strings(0));
        // Each child has left the parent when its handler runs; the others are there, in
        // their order.
        if (node != parent) {
            const int next = std::stoi(node->Strings(0)) + 1;
            EXPECT_EQ(parent->ChildCount(), 3000 - next);
            if (next < 3000) {
                EXPECT_EQ(parent->GetFirstChild()->Strings(0), std::to_string(next));
                EXPECT_EQ(parent->GetLastChild()->Strings(0), "2999");
            }
        }
    };
    parent->Free();
    List->OnDeletion = nullptr;
    ASSERT_EQ(order.size(), 3001u);
    for (int c = 0; c < 3000; ++c)
        ASSERT_EQ(order[std::size_t(c)], std::to_string(c));
    EXPECT_EQ(order.back(), "parent");
    // The focus was inside: it moves to the freed node's previous sibling.
    EXPECT_EQ(List->FocusedNode(), before);
    EXPECT_EQ(after->AbsoluteIndex(), 1);
    ExpectRowsMatchWalk(*List);
}

// Nodes added at the end and freed from the front, at the top level and under a parent, with
// insertions at the front now and then: order, Index and the rows stay right throughout.
TEST_F(TreeListNodeStorage, SiblingListsUsedAsQueuesKeepOrderAndPositions) {
    TdxTreeListNode* parent = List->AddNode();
    parent->SetStrings(0, "parent");
    int next = 0;
    int first = 0;
    std::vector<int> expected;
    for (int step = 0; step < 400; ++step) {
        for (int i = 0; i < 3; ++i) {
            List->AddNode()->SetStrings(0, std::to_string(next));
            parent->AddChild()->SetStrings(0, std::to_string(next++));
        }
        if (step % 7 == 0) {
            parent->InsertChild(parent->GetFirstChild())->SetStrings(0, "front");
            parent->GetFirstChild()->Free();
        }
        List->NodeAt(1)->Free();
        parent->GetFirstChild()->Free();
        ++first;
        if (step == 200)
            parent->SetExpanded(true);
        if (step % 50 != 0)
            continue;
        ASSERT_EQ(List->NodeCount(), 1 + next - first);
        for (int i = 1; i < List->NodeCount(); ++i) {
            ASSERT_EQ(List->NodeAt(i)->Strings(0), std::to_string(first + i - 1));
            ASSERT_EQ(List->NodeAt(i)->Index(), i);
        }
        ASSERT_EQ(parent->ChildCount(), next - first);
        for (int c = 0; c < parent->ChildCount(); ++c)
            ASSERT_EQ(parent->Children(c)->Strings(0), std::to_string(first + c));
        ExpectRowsMatchWalk(*List);
    }
}

// --- nodes outside the pool ------------------------------------------------------------------

// A list whose CreateNode makes nodes three ways: a text node in the pool, a larger node class
// in the pool, and a node class on the heap with new. Each counts its destructions in the list.
class TMixedList : public TdxTreeList {
public:
    using TdxTreeList::TdxTreeList;
    int Made = 0;
    int Destroyed = 0;

protected:
    TdxTreeListNode* CreateNode() override;
};

class TCountedNode : public TdxTreeListTextNode {
public:
    explicit TCountedNode(TCustomdxTreeList* owner) : TdxTreeListTextNode(owner) {}

protected:
    ~TCountedNode() override { ++static_cast<TMixedList*>(Owner())->Destroyed; }
};

class TWideNode : public TdxTreeListTextNode {
public:
    explicit TWideNode(TCustomdxTreeList* owner) : TdxTreeListTextNode(owner) {
        std::fill(std::begin(Extra), std::end(Extra), 0x5A);
    }
    char Extra[40];

protected:
    ~TWideNode() override {
        EXPECT_EQ(Extra[39], 0x5A);
        ++static_cast<TMixedList*>(Owner())->Destroyed;
    }
};

class THeapNode : public TdxTreeListTextNode {
public:
    explicit THeapNode(TCustomdxTreeList* owner) : TdxTreeListTextNode(owner) {}

protected:
    ~THeapNode() override { ++static_cast<TMixedList*>(Owner())->Destroyed; }
};

TdxTreeListNode* TMixedList::CreateNode() {
    switch (Made++ % 3) {
    case 0:
        return NewNode<TCountedNode>();
    case 1:
        return NewNode<TWideNode>();
    default:
        return new THeapNode(this);
    }
}

TEST(TreeListNodeStorageMixed, NodesMadeOnTheHeapOrInThePoolShareOneRowIndexAndAllGo) {
    TOwnedPtr<TMixedList> list(new TMixedList(nullptr));
    std::mt19937 random(5);
    std::vector<TdxTreeListNode*> live;
    int deletions = 0;
    list->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) {
        ++deletions;
        live.erase(std::find(live.begin(), live.end(), node));
    };
    for (int step = 0; step < 700; ++step) {
        const unsigned op = random() % 10;
        TdxTreeListNode* node = live.empty() ? nullptr : live[random() % live.size()];
        if (op < 3 || !node) {
            live.push_back(list->AddNode());
            live.back()->SetStrings(0, "t" + std::to_string(step));
        } else if (op < 6) {
            live.push_back(node->AddChild());
            node->SetExpanded(random() % 4 != 0);
        } else if (op < 8) {
            node->Free();
        } else if (op < 9) {
            node->SetExpanded(!node->Expanded());
        } else {
            list->BeginUpdate();
            live.push_back(list->AddNode());
            if (node->Parent())
                node->Parent()->Free();
            list->EndUpdate();
        }
        ExpectRowsMatchWalk(*list);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    // Every kind of node was made, and every node made so far and freed was destroyed once.
    ASSERT_GT(list->Made, 30);
    EXPECT_EQ(list->Made - int(live.size()), deletions);
    list->ClearNodes();
    EXPECT_TRUE(live.empty());
    EXPECT_EQ(list->Destroyed, list->Made) << "a node was destroyed twice or not at all";
    list->OnDeletion = nullptr;
}

// --- destroying a list -----------------------------------------------------------------------

TEST(TreeListNodeStorageLifetime, ADestroyedListFreesEveryNodeItStillHolds) {
    int deletions = 0;
    int made = 0;
    {
        fw::TComponent owner(nullptr);
        auto* list = new TMixedList(&owner);
        list->OnDeletion = [&deletions](fw::TObject*, TdxTreeListNode*) { ++deletions; };
        // A deep chain, a wide parent, and long texts kept outside the nodes.
        TdxTreeListNode* chain = list->AddNode();
        for (int i = 0; i < 200; ++i) {
            chain = chain->AddChild();
            chain->SetStrings(2, std::string(100, 'x'));
        }
        TdxTreeListNode* wide = list->AddNode();
        for (int i = 0; i < 500; ++i)
            wide->AddChild()->SetStrings(0, std::string(i % 60, 'y'));
        wide->SetExpanded(true);
        made = list->Made;
        // The owner frees the list with its 702 nodes; LeakSanitizer reports what is left.
    }
    EXPECT_EQ(made, 702);
    EXPECT_EQ(deletions, made);
}

// --- row heights -----------------------------------------------------------------------------

TEST_F(TreeListNodeStorage, TheUpdateLockClearsEveryCachedRowHeightEachTime) {
    TdxTreeListNode* flat = List->AddNode();
    TdxTreeListNode* parent = List->AddNode();
    TdxTreeListNode* child = parent->AddChild();
    for (int round = 0; round < 3; ++round) {
        flat->SetCachedRowHeight(20 + round);
        child->SetCachedRowHeight(30 + round);
        ASSERT_EQ(flat->CachedRowHeight(), 20 + round);
        List->BeginUpdate();
        EXPECT_EQ(flat->CachedRowHeight(), 0);
        EXPECT_EQ(child->CachedRowHeight(), 0);
        List->EndUpdate();
    }
    // A height too large for the cache is not cached, so it is measured again.
    flat->SetCachedRowHeight(70000);
    EXPECT_EQ(flat->CachedRowHeight(), 0);
    flat->SetCachedRowLineCount(300);
    EXPECT_EQ(flat->CachedRowLineCount(), 0);
}

// Freeing the last child clears the cached height of the child that becomes last (its tree
// line changes), whether the freed child had displayed children of its own or not.
TEST_F(TreeListNodeStorage, FreeingTheLastChildClearsTheNewLastChildsHeight) {
    for (bool expandedVictim : {false, true}) {
        SCOPED_TRACE(expandedVictim ? "expanded" : "collapsed");
        List->ClearNodes();
        TdxTreeListNode* parent = List->AddNode();
        TdxTreeListNode* a = parent->AddChild();
        TdxTreeListNode* b = parent->AddChild();
        TdxTreeListNode* victim = parent->AddChild();
        victim->AddChild();
        victim->AddChild();
        parent->SetExpanded(true);
        victim->SetExpanded(expandedVictim);
        ASSERT_EQ(victim->AbsoluteIndex(), 3);
        a->SetCachedRowHeight(17);
        b->SetCachedRowHeight(17);
        victim->Free();
        EXPECT_EQ(a->CachedRowHeight(), 17);
        EXPECT_EQ(b->CachedRowHeight(), 0);
        ExpectRowsMatchWalk(*List);
    }
}

// --- large lists in waves --------------------------------------------------------------------

// Adds, deletes and adds again in waves at a size where slots are reused across many blocks,
// with and without the update lock, and checks the row index against a plain walk after each
// wave.
TEST_F(TreeListNodeStorage, ALargeListKeepsItsRowsThroughWavesOfAddingAndDeleting) {
    std::mt19937 random(2024);
    // The live nodes, each with its place in `live`; a freed node is swapped out.
    std::vector<TdxTreeListNode*> live;
    std::unordered_map<const TdxTreeListNode*, std::size_t> place;
    List->OnDeletion = [&](fw::TObject*, TdxTreeListNode* node) {
        const auto it = place.find(node);
        ASSERT_NE(it, place.end()) << "OnDeletion for a node already gone";
        live[it->second] = live.back();
        place[live.back()] = it->second;
        live.pop_back();
        place.erase(node);
    };
    const auto add = [&](int count) {
        for (int i = 0; i < count; ++i) {
            TdxTreeListNode* parent =
                live.empty() || random() % 3 == 0 ? nullptr : live[random() % live.size()];
            TdxTreeListNode* node = parent ? parent->AddChild() : List->AddNode();
            node->SetStrings(0, "r" + std::to_string(i));
            place[node] = live.size();
            live.push_back(node);
            if (parent && random() % 8 == 0)
                parent->SetExpanded(!parent->Expanded());
        }
    };
    const auto remove = [&](int count) {
        for (int i = 0; i < count && !live.empty(); ++i) {
            TdxTreeListNode* node = live[random() % live.size()];
            if (random() % 50 == 0)
                node->DeleteChildren();
            else
                node->Free();
        }
    };
    for (int wave = 0; wave < 3; ++wave) {
        SCOPED_TRACE("wave " + std::to_string(wave));
        // Unlocked: every change updates the index in place.
        add(600);
        remove(300);
        ExpectRowsMatchWalk(*List);
        // Locked: the index is built again at the end.
        List->BeginUpdate();
        add(8000);
        remove(3000);
        List->EndUpdate();
        ExpectRowsMatchWalk(*List);
        if (HasFatalFailure())
            return;
        EXPECT_EQ(int(live.size()), int(AllByWalk<TdxTreeListNode>(*List).size()));
    }
    List->ClearNodes();
    EXPECT_TRUE(live.empty());
    EXPECT_TRUE(place.empty());
    add(1000);
    ExpectRowsMatchWalk(*List);
}

} // namespace
