// The row index against a plain walk of the tree, after random sequences of every kind of
// change (fixed seeds, bounded sizes). Row queries answer from the index outside the update
// lock and from tree walks inside it; both must agree with the walk after every step.
#include "test_treelist_support.h"
#include "treelist/dxTL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TOwnedPtr;
using treelist_testing::AllByWalk;
using treelist_testing::DisplayedByWalk;

class TreeListRowIndex : public ::testing::Test {
protected:
    TreeListRowIndex() : List(new TdxTreeList(nullptr)) {
        List->SetBounds(0, 0, 100, 80);
        List->OnDeletion = [this](fw::TObject*, TdxTreeListNode* node) { Deleted(node); };
    }

    // The handler uses members that go before the list does.
    void TearDown() override { List->OnDeletion = nullptr; }

    void Deleted(TdxTreeListNode* node) {
        const auto it = std::find(Live.begin(), Live.end(), node);
        ASSERT_NE(it, Live.end()) << "OnDeletion twice for a node, or for an unknown one";
        Live.erase(it);
        // Now and then a handler frees another node; what a deletion in progress is walking
        // is refused, anything else goes.
        if (Live.empty() || Random() % 12 != 0)
            return;
        TdxTreeListNode* victim = Live[Random() % Live.size()];
        try {
            victim->Free();
            ++HandlerFrees;
        } catch (const EInvaliddxTreeListOperation&) {
            ++HandlerRefusals;
        }
    }

    TdxTreeListNode* Created(TdxTreeListNode* node) {
        Live.push_back(node);
        return node;
    }

    TdxTreeListNode* AnyNode() { return Live.empty() ? nullptr : Live[Random() % Live.size()]; }

    void RandomStep(bool insideLock) {
        const unsigned op = Random() % 100;
        TdxTreeListNode* node = AnyNode();
        if (op < 15 || !node) {
            if (Live.size() < 160)
                Created(List->AddNode());
        } else if (op < 35) {
            if (Live.size() < 160)
                Created(node->AddChild());
        } else if (op < 42) {
            if (Live.size() < 160)
                Created(node->InsertChild(node->Children(int(Random() % 3))));
        } else if (op < 55) {
            node->Free();
        } else if (op < 58) {
            node->DeleteChildren();
        } else if (op < 75) {
            node->SetExpanded(Random() % 3 != 0);
        } else if (op < 80) {
            node->Expand(Random() % 2 == 0);
        } else if (op < 85) {
            node->MakeVisible();
        } else if (op < 89) {
            node->SetFocused(true);
        } else if (op < 92) {
            node->SetHasChildren(Random() % 2 == 0);
        } else if (op < 98 && !insideLock) {
            List->BeginUpdate();
            const int steps = 1 + int(Random() % 6);
            for (int i = 0; i < steps; ++i)
                RandomStep(true);
            CheckAgainstWalk("inside the lock");
            List->EndUpdate();
        } else if (op < 99) {
            List->ClearNodes();
        } else {
            // A round trip through the node stream rebuilds the tree (all collapsed).
            const std::string stream = List->WriteData();
            List->ReadData(stream);
            Live = AllByWalk<TdxTreeListNode>(*List);
            ASSERT_EQ(List->WriteData(), stream);
        }
    }

    void CheckAgainstWalk(const char* where) {
        SCOPED_TRACE(where);
        const auto rows = DisplayedByWalk<TdxTreeListNode>(*List);
        const auto all = AllByWalk<TdxTreeListNode>(*List);
        ASSERT_EQ(std::set<TdxTreeListNode*>(all.begin(), all.end()),
                  std::set<TdxTreeListNode*>(Live.begin(), Live.end()))
            << "nodes went without OnDeletion or OnDeletion came for a node still there";

        ASSERT_EQ(List->AbsoluteCount(), int(rows.size()));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(List->NodeAtAbsoluteIndex(int(r)), rows[r]) << "row " << r;
            ASSERT_EQ(rows[r]->AbsoluteIndex(), int(r)) << "row " << r;
            ASSERT_EQ(rows[r]->GetNextRow(), r + 1 < rows.size() ? rows[r + 1] : nullptr);
            ASSERT_EQ(rows[r]->GetPrevRow(), r > 0 ? rows[r - 1] : nullptr);
            ASSERT_TRUE(rows[r]->IsVisible());
        }
        ASSERT_EQ(List->NodeAtAbsoluteIndex(int(rows.size())), nullptr);
        ASSERT_EQ(List->LastRowNode(), rows.empty() ? nullptr : rows.back());

        const std::set<TdxTreeListNode*> displayed(rows.begin(), rows.end());
        for (std::size_t i = 0; i < all.size(); ++i) {
            TdxTreeListNode* node = all[i];
            ASSERT_EQ(node->GetNext(), i + 1 < all.size() ? all[i + 1] : nullptr);
            ASSERT_EQ(node->GetPrev(), i > 0 ? all[i - 1] : nullptr);
            if (!displayed.count(node)) {
                ASSERT_EQ(node->AbsoluteIndex(), -1);
                ASSERT_FALSE(node->IsVisible());
            }
            if (node->ChildCount() > 0) {
                ASSERT_TRUE(node->HasChildren());
            }
            for (int c = 0; c < node->ChildCount(); ++c) {
                ASSERT_EQ(node->Children(c)->Parent(), node);
                ASSERT_EQ(node->Children(c)->Index(), c);
            }
        }
        for (int i = 0; i < List->NodeCount(); ++i)
            ASSERT_EQ(List->NodeAt(i)->Index(), i);

        if (all.empty()) {
            ASSERT_EQ(List->FocusedNode(), nullptr);
            ASSERT_EQ(List->TopVisibleNode(), nullptr);
        } else {
            ASSERT_TRUE(displayed.count(List->TopVisibleNode()) ||
                        std::count(all.begin(), all.end(), List->TopVisibleNode()));
            ASSERT_TRUE(std::count(all.begin(), all.end(), List->FocusedNode()));
        }
    }

    TOwnedPtr<TdxTreeList> List;
    std::vector<TdxTreeListNode*> Live;
    std::mt19937 Random;
    int HandlerFrees = 0;
    int HandlerRefusals = 0;
};

TEST_F(TreeListRowIndex, AgreesWithATreeWalkAfterRandomChanges) {
    for (unsigned seed : {11u, 23u, 37u, 41u, 59u, 73u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random.seed(seed);
        List->ClearNodes();
        for (int step = 0; step < 1500; ++step) {
            RandomStep(false);
            ASSERT_EQ(List->UpdateLockCount(), 0);
            CheckAgainstWalk(("after step " + std::to_string(step)).c_str());
            if (HasFatalFailure())
                return;
        }
    }
    // The handlers really did free and get refused along the way.
    EXPECT_GT(HandlerFrees, 0);
    EXPECT_GT(HandlerRefusals, 0);
}

} // namespace
