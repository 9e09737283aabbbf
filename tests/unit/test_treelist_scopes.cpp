// The tree list's scoped guards: each gives back what it took on every way out of its scope,
// reports an error of giving back only when no other error is leaving, and touches nothing once
// a handler freed the list.
#include "test_treelist_layout_support.h"
#include "treelist/dxTLScopes.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;

struct TFirstError : std::runtime_error {
    TFirstError() : std::runtime_error("first") {}
};
struct THandlerError : std::runtime_error {
    THandlerError() : std::runtime_error("handler") {}
};

class ScopesTest : public treelist_testing::TreeListLayoutTest {
protected:
    ScopesTest() {
        AddColumn(80);
        List->SetOptions(List->Options().With(aoMultiSelect));
        for (int i = 0; i < 4; ++i)
            Nodes.push_back(List->AddNode());
        List->ClearSelection();
        List->OnSelectedCountChange = [this](TObject*) {
            Counts.push_back(List->SelectedCount());
            if (ThrowFromHandler)
                throw THandlerError();
        };
        Form->Show();
        Platform.PaintAll();
    }

    void FreeList() {
        List->Free();
        List = nullptr;
    }

    std::vector<TdxTreeListNode*> Nodes;
    std::vector<int> Counts;
    bool ThrowFromHandler = false;
};

// --- the update lock ------------------------------------------------------------------------

TEST_F(ScopesTest, UpdateLockIsHeldForTheScopeAndGivenBackOnEveryWayOut) {
    {
        const TUpdateLock lock(*List);
        EXPECT_EQ(List->UpdateLockCount(), 1);
        {
            const TUpdateLock inner(*List);
            EXPECT_EQ(List->UpdateLockCount(), 2);
        }
        EXPECT_EQ(List->UpdateLockCount(), 1);
    }
    EXPECT_EQ(List->UpdateLockCount(), 0);

    EXPECT_THROW(
        {
            const TUpdateLock lock(*List);
            throw TFirstError();
        },
        TFirstError);
    EXPECT_EQ(List->UpdateLockCount(), 0);
}

TEST_F(ScopesTest, UpdateLockHoldsTheSelectionEventBackToItsEnd) {
    {
        const TUpdateLock lock(*List);
        List->SetNodeSelected(Nodes[0], true);
        List->SetNodeSelected(Nodes[1], true);
        EXPECT_TRUE(Counts.empty());
    }
    EXPECT_EQ(Counts, std::vector<int>{2});
}

TEST_F(ScopesTest, AnErrorOfGivingTheLockBackLeavesTheScopeWhenNothingElseDoes) {
    ThrowFromHandler = true;
    EXPECT_THROW(
        {
            const TUpdateLock lock(*List);
            List->SetNodeSelected(Nodes[0], true);
        },
        THandlerError);
    EXPECT_EQ(List->UpdateLockCount(), 0);
}

TEST_F(ScopesTest, TheFirstErrorIsReportedWhenGivingTheLockBackFailsToo) {
    ThrowFromHandler = true;
    EXPECT_THROW(
        {
            const TUpdateLock lock(*List);
            List->SetNodeSelected(Nodes[0], true);
            throw TFirstError();
        },
        TFirstError);
    EXPECT_EQ(List->UpdateLockCount(), 0);
    EXPECT_EQ(Counts, std::vector<int>{1});
}

// The sanitizers report any touch of the freed list.
TEST_F(ScopesTest, GuardsOfAListFreedInTheirScopeTouchNothingOnEitherWayOut) {
    const int componentsBefore = Form->ComponentCount();
    {
        const TUpdateLock update(*List);
        const TSelectionLock selection(*List);
        const TPaintLock paint(*List);
        List->SetNodeSelected(Nodes[0], true);
        FreeList();
    }
    EXPECT_EQ(Form->ComponentCount(), componentsBefore - 1);

    List = new treelist_testing::TSearchTreeList(Form);
    EXPECT_THROW(
        {
            const TUpdateLock update(*List);
            const TSelectionLock selection(*List);
            FreeList();
            throw TFirstError();
        },
        TFirstError);
    EXPECT_EQ(Form->ComponentCount(), componentsBefore - 1);
}

// --- the selection and paint locks ----------------------------------------------------------

TEST_F(ScopesTest, SelectionLockAnnouncesTheCountOnceAtItsEndAlsoWhenTheScopeRaises) {
    {
        const TSelectionLock lock(*List);
        List->SetNodeSelected(Nodes[0], true);
        List->SetNodeSelected(Nodes[1], true);
        List->SetNodeSelected(Nodes[2], true);
    }
    EXPECT_EQ(Counts, std::vector<int>{3});

    EXPECT_THROW(
        {
            const TSelectionLock lock(*List);
            List->SetNodeSelected(Nodes[3], true);
            throw TFirstError();
        },
        TFirstError);
    EXPECT_EQ(Counts, (std::vector<int>{3, 4}));
    // The lock is given back: a change outside any lock is announced at once.
    List->SetNodeSelected(Nodes[3], false);
    EXPECT_EQ(Counts, (std::vector<int>{3, 4, 3}));
}

TEST_F(ScopesTest, PaintLockNestsAndIsGivenBackWhenTheScopeRaises) {
    EXPECT_THROW(
        {
            const TPaintLock outer(*List);
            const TPaintLock inner(*List);
            EXPECT_EQ(List->PaintLockCount(), 2);
            throw TFirstError();
        },
        TFirstError);
    EXPECT_EQ(List->PaintLockCount(), 0);
}

// --- values for one scope -------------------------------------------------------------------

TEST_F(ScopesTest, TemporaryValueHoldsForTheScopeAndTheEarlierValueComesBack) {
    int value = 7;
    {
        const TTemporaryValue held(*List, value, 9);
        EXPECT_EQ(value, 9);
    }
    EXPECT_EQ(value, 7);
    EXPECT_THROW(
        {
            const TTemporaryValue held(*List, value, 11);
            throw TFirstError();
        },
        TFirstError);
    EXPECT_EQ(value, 7);
}

TEST_F(ScopesTest, TemporaryValueOfAFreedOwnerIsNotWrittenBack) {
    int value = 7;
    {
        const TTemporaryValue held(*List, value, 9);
        FreeList();
    }
    EXPECT_EQ(value, 9);
}

TEST_F(ScopesTest, ScopeExitRunsOnEveryWayOutWhileItsOwnerLives) {
    int runs = 0;
    {
        const TScopeExit exit(*List, [&] { ++runs; });
    }
    EXPECT_THROW(
        {
            const TScopeExit exit(*List, [&] { ++runs; });
            throw TFirstError();
        },
        TFirstError);
    EXPECT_EQ(runs, 2);
    {
        const TScopeExit exit(*List, [&] { ++runs; });
        FreeList();
    }
    EXPECT_EQ(runs, 2);
}

TEST_F(ScopesTest, ScopeExitReportsItsOwnErrorOnlyWhenNoOtherLeaves) {
    EXPECT_THROW({ const TScopeExit exit(*List, [] { throw THandlerError(); }); }, THandlerError);
    EXPECT_THROW(
        {
            const TScopeExit exit(*List, [] { throw THandlerError(); });
            throw TFirstError();
        },
        TFirstError);
}

} // namespace
