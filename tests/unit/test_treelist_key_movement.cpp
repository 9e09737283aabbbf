// The tree list's key table without a list: what each key asks for (where the focus goes, how
// the selection follows, whether the key is used) in row-select and cell mode, with and without
// Ctrl, Shift and Alt, and what the characters do.
#include "treelist/input/dxTLKeyMovement.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace dxtl;
using Move = TdxFocusMove;
using Follow = TdxSelectionFollow;
namespace VK = fw::VK;

constexpr fw::TShiftState kNone = 0, kShift = fw::ssShift, kCtrl = fw::ssCtrl, kAlt = fw::ssAlt;

constexpr TdxTreeListOptions kRows{aoRowSelect, aoMultiSelect, aoTabs};
constexpr TdxTreeListOptions kCells{aoMultiSelect, aoTabs, aoTabThrough};

struct TKeyCase {
    std::string Rule;
    int Key;
    fw::TShiftState Shift;
    TdxTreeListOptions Options;
    Move ExpectedMove;
    int ExpectedDirection;
    Follow ExpectedFollow;
    bool ExpectedTaken;
};

void ExpectMovements(const std::vector<TKeyCase>& cases, TdxTreeListOptionsEx optionsEx = {}) {
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.Rule);
        const TdxKeyMovement m = TdxKeyMovement::ForKey(c.Key, c.Shift, c.Options, optionsEx);
        EXPECT_EQ(m.Move, c.ExpectedMove);
        EXPECT_EQ(m.Direction, c.ExpectedDirection);
        EXPECT_EQ(m.Selection, c.ExpectedFollow);
        EXPECT_EQ(m.TakesKey, c.ExpectedTaken);
    }
}

TEST(KeyMovement, PlainKeysMoveTheFocusAndTheSelectionGoesWithIt) {
    ExpectMovements({
        {"Down steps a line", VK::Down, kNone, kRows, Move::Line, 1, Follow::Step, true},
        {"Up steps a line back", VK::Up, kNone, kRows, Move::Line, -1, Follow::Step, true},
        {"Page Down pages", VK::Next, kNone, kRows, Move::Page, 1, Follow::AloneWithoutAnchor,
         true},
        {"Page Up pages back", VK::Prior, kNone, kRows, Move::Page, -1, Follow::AloneWithoutAnchor,
         true},
        {"Home goes to the first row", VK::Home, kNone, kRows, Move::FirstRow, 0,
         Follow::AloneWithoutAnchor, true},
        {"End goes to the last row", VK::End, kNone, kRows, Move::LastRow, 0,
         Follow::AloneWithoutAnchor, true},
        {"Left leaves the node", VK::Left, kNone, kRows, Move::OutOfNode, -1, Follow::Alone, true},
        {"Right enters the node", VK::Right, kNone, kRows, Move::IntoNode, 1, Follow::Alone, true},
        {"Tab steps a row", VK::Tab, kNone, kRows, Move::Row, 1, Follow::Alone, true},
        {"Shift+Tab steps a row back", VK::Tab, kShift, kRows, Move::Row, -1, Follow::Alone, true},
    });
}

TEST(KeyMovement, ShiftExtendsFromTheAnchorOnlyWithMultiSelect) {
    const TdxTreeListOptions single = kRows.Without(aoMultiSelect);
    ExpectMovements({
        {"Shift+Down runs", VK::Down, kShift, kRows, Move::Line, 1, Follow::ShiftStep, true},
        {"Shift+Up runs back", VK::Up, kShift, kRows, Move::Line, -1, Follow::ShiftStep, true},
        {"Shift+End takes a range", VK::End, kShift, kRows, Move::LastRow, 0, Follow::Range, true},
        {"Shift+Page Up takes a range", VK::Prior, kShift, kRows, Move::Page, -1, Follow::Range,
         true},
        {"Shift+Down without multi-select only steps", VK::Down, kShift, single, Move::Line, 1,
         Follow::Step, true},
        {"Ctrl+Shift+Home is Shift+Home", VK::Home, kCtrl | kShift, kRows, Move::FirstRow, 0,
         Follow::Range, true},
        {"Ctrl+Shift+Down is Shift+Down", VK::Down, kCtrl | kShift, kRows, Move::Line, 1,
         Follow::ShiftStep, true},
    });
}

TEST(KeyMovement, CtrlMovesTheFocusAloneAndEndsTheShiftRun) {
    ExpectMovements({
        {"Ctrl+Down steps a row", VK::Down, kCtrl, kRows, Move::Row, 1, Follow::Keep, true},
        {"Ctrl+Up steps a row back", VK::Up, kCtrl, kRows, Move::Row, -1, Follow::Keep, true},
        {"Ctrl+Page Down pages", VK::Next, kCtrl, kRows, Move::Page, 1, Follow::Keep, true},
        {"Ctrl+Home goes to the first row", VK::Home, kCtrl, kRows, Move::FirstRow, 0, Follow::Keep,
         true},
        {"Ctrl+Left goes to the first column", VK::Left, kCtrl, kCells, Move::FirstColumn, 0,
         Follow::Keep, true},
        {"Ctrl+Right goes to the last column", VK::Right, kCtrl, kCells, Move::LastColumn, 0,
         Follow::Keep, true},
        {"Ctrl+Space toggles the focused row", VK::Space, kCtrl, kRows, Move::None, 0,
         Follow::Toggle, true},
        {"Ctrl+Shift+Left does nothing", VK::Left, kCtrl | kShift, kRows, Move::None, 0,
         Follow::Keep, false},
        {"Ctrl+Q does nothing", 'Q', kCtrl, kRows, Move::None, 0, Follow::Keep, false},
    });
    for (int key : {VK::Down, VK::Space, int('Q')}) {
        const TdxKeyMovement m = TdxKeyMovement::ForKey(key, kCtrl, kRows, {});
        EXPECT_TRUE(m.EndsShiftRun) << key;
        EXPECT_FALSE(m.KeepsARowSelected) << key;
    }
    const TdxKeyMovement shiftDown = TdxKeyMovement::ForKey(VK::Down, kCtrl | kShift, kRows, {});
    EXPECT_TRUE(shiftDown.EndsShiftRun);
    EXPECT_TRUE(shiftDown.KeepsARowSelected);
}

TEST(KeyMovement, InCellModeLeftRightHomeAndEndStayInTheRow) {
    ExpectMovements({
        {"Left goes a column back", VK::Left, kNone, kCells, Move::Column, -1, Follow::Alone, true},
        {"Right goes a column on", VK::Right, kNone, kCells, Move::Column, 1, Follow::Alone, true},
        {"Home goes to the first column", VK::Home, kNone, kCells, Move::FirstColumn, 0,
         Follow::Keep, true},
        {"End goes to the last column", VK::End, kNone, kCells, Move::LastColumn, 0, Follow::Keep,
         true},
        {"Shift+Home still selects rows", VK::Home, kShift, kCells, Move::FirstRow, 0,
         Follow::Range, true},
        {"Tab goes to the next tab stop", VK::Tab, kNone, kCells, Move::TabStop, 1, Follow::Alone,
         true},
    });
    EXPECT_FALSE(TdxKeyMovement::ForKey(VK::Right, kNone, kCells, {}).ThroughRows);
    EXPECT_TRUE(TdxKeyMovement::ForKey(VK::Right, kNone, kCells, {aoHorzThrough}).ThroughRows);
    EXPECT_TRUE(TdxKeyMovement::ForKey(VK::Tab, kNone, kCells, {}).ThroughRows);
    EXPECT_FALSE(
        TdxKeyMovement::ForKey(VK::Tab, kNone, kCells.Without(aoTabThrough), {}).ThroughRows);
}

TEST(KeyMovement, KeysThatAreNotTheListsGoOnButAPlainOneStillKeepsARowSelected) {
    const TdxTreeListOptions editingCells = kCells.With(aoEditing);
    ExpectMovements({
        {"Tab without aoTabs", VK::Tab, kNone, kRows.Without(aoTabs), Move::None, 0, Follow::Keep,
         false},
        {"Alt+Tab", VK::Tab, kAlt, kRows, Move::None, 0, Follow::Keep, false},
        {"a letter", 'Q', kNone, kRows, Move::None, 0, Follow::Keep, false},
        {"Escape clears but goes on", VK::Escape, kNone, kRows, Move::None, 0, Follow::Clear,
         false},
        {"Ctrl+Space while editing cells", VK::Space, kCtrl, editingCells, Move::None, 0,
         Follow::Keep, false},
    });
    EXPECT_TRUE(TdxKeyMovement::ForKey('Q', kNone, kRows, {}).KeepsARowSelected);
    EXPECT_EQ(TdxKeyMovement::ForKey(VK::Escape, kNone, kRows, {}).Action,
              TdxKeyAction::CancelEditing);
    EXPECT_EQ(TdxKeyMovement::ForKey(VK::Insert, kCtrl, kRows, {}).Action,
              TdxKeyAction::CopySelection);
    EXPECT_EQ(TdxKeyMovement::ForKey(VK::Insert, kNone, kRows, {}).Action, TdxKeyAction::None);
}

TEST(KeyMovement, CharactersExpandCollapseAndCopyOnlyWhenAsked) {
    EXPECT_EQ(TdxKeyMovement::ForCharacter(U'+', {}).Action, TdxKeyAction::Expand);
    EXPECT_EQ(TdxKeyMovement::ForCharacter(U'-', {}).Action, TdxKeyAction::Collapse);
    EXPECT_EQ(TdxKeyMovement::ForCharacter(U'*', {}).Action, TdxKeyAction::ExpandAll);
    const TdxKeyMovement copy = TdxKeyMovement::ForCharacter(3, {});
    EXPECT_EQ(copy.Action, TdxKeyAction::None);
    EXPECT_FALSE(copy.TakesKey);
    const TdxKeyMovement asked = TdxKeyMovement::ForCharacter(3, {aoAutoCopySelectedToClipboard});
    EXPECT_EQ(asked.Action, TdxKeyAction::CopySelection);
    EXPECT_TRUE(asked.TakesKey);
    const TdxKeyMovement letter = TdxKeyMovement::ForCharacter(U'x', {});
    EXPECT_EQ(letter.Action, TdxKeyAction::None);
    EXPECT_FALSE(letter.TakesKey);
}

} // namespace
