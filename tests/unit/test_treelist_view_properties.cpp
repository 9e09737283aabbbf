// Properties of a tree list's view under random input: random trees whose rows differ in height,
// driven by random keys, wheel notches, scroll requests, thumb drags, expansion and resizes.
// After every step the view must keep its rules: the row a move focuses is shown wholly, the
// last row can be reached by End, by the Bottom request and by the thumb, no empty space is
// left below the last row while a row above would fit, and what the window shows after moving
// its pixels (any distance, either axis) equals a full repaint. Seeds are fixed: a failure
// names its seed and step, and replays exactly.
#include "test_treelist_scrolling_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;
using fw::TRect;
using fw::TScrollInfo;
namespace Msg = fw::Msg;
namespace SB = fw::SB;
namespace VK = fw::VK;

namespace Request {
constexpr int LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3, ThumbTrack = 5, Top = 6,
              Bottom = 7;
}

// A list with a second, wide column (so that it scrolls sideways), dotted tree lines, rows of
// 17 pixels plus 12 for every further text line (odd and even heights), and the input focus,
// so that the dotted focus frame is drawn.
class ViewPropertyTest : public treelist_testing::ScrollingTestBase {
protected:
    ViewPropertyTest() {
        AddColumn(430);
        List->SetShowLines(true);
        List->SetOptions(List->Options().With(aoMultiSelect));
        List->SetOptionsEx(List->OptionsEx().With(aoRowAutoHeight));
        List->SetDefaultRowHeight(17);
        List->OnGetRowLineCount = [this](TObject*, TdxTreeListNode* node, int& lines) {
            const auto found = Lines.find(node);
            lines = found == Lines.end() ? 1 : found->second;
        };
        Platform.SetFocusTo(List->Handle());
    }

    // A random tree: top-level nodes with children and grandchildren, some expanded, each row
    // 1 to 4 text lines high (one row now and then taller than the whole rows area).
    void BuildTree(std::mt19937& random) {
        List->BeginUpdate();
        const int topLevel = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < topLevel; ++i) {
            TdxTreeListNode* node = List->AddNode();
            AddNode(random, node, "n" + std::to_string(i));
            const int children = random() % 3 == 0 ? static_cast<int>(random() % 5) : 0;
            for (int c = 0; c < children; ++c) {
                TdxTreeListNode* child = node->AddChild();
                AddNode(random, child, "c" + std::to_string(c));
                if (random() % 4 == 0)
                    AddNode(random, child->AddChild(), "g");
            }
            if (children > 0 && random() % 2 == 0)
                node->SetExpanded(true);
        }
        List->EndUpdate();
    }

    void AddNode(std::mt19937& random, TdxTreeListNode* node, const std::string& text) {
        node->SetStrings(0, text);
        node->SetStrings(1, text + " wide");
        Lines[node] = random() % 40 == 0 ? 20 : 1 + static_cast<int>(random() % 4);
        All.push_back(node);
    }

    TdxTreeListNode* Pick(std::mt19937& random) {
        return All.empty() ? nullptr : All[random() % All.size()];
    }

    void Send(int bar, int request) {
        Platform.Send(List->Handle(), bar == SB::Vert ? Msg::VScroll : Msg::HScroll,
                      static_cast<std::uintptr_t>(request));
    }
    // The thumb dragged as a real bar lets it go: from the minimum to the maximum less the page.
    void DragThumb(int bar, int position) {
        TScrollInfo info = Window().GetScrollInfo(bar);
        const int last = std::max(info.Max - std::max(info.Page, 1) + 1, info.Min);
        info.TrackPos = std::clamp(position, info.Min, last);
        Window().SetScrollInfo(bar, info, Window().ScrollBarVisible(bar));
        Send(bar, Request::ThumbTrack);
    }
    int ThumbEnd(int bar) {
        const TScrollInfo info = Window().GetScrollInfo(bar);
        return info.Max - std::max(info.Page, 1) + 1;
    }
    void Key(int key, fw::TShiftState shift = 0) { List->HandleKeyDown(key, shift); }

    // Empty when the node's row lies wholly in the rows area (or, taller than the area, on
    // top); else what is wrong.
    std::string WhollyShown(TdxTreeListNode* node) {
        const TRect area = List->DataAreaRect();
        const TRect row = List->NodeRowRect(node);
        std::ostringstream out;
        if (row.IsEmpty()) {
            out << "row " << node->AbsoluteIndex() << " not shown (top row " << List->TopRow()
                << ")";
            return out.str();
        }
        const int height = List->NodeHeight(node);
        if (row.Top + height <= area.Bottom)
            return {};
        if (height > area.Height() && node == List->TopVisibleNode())
            return {};
        out << "row " << node->AbsoluteIndex() << " cut: " << row.Top << " + " << height << " > "
            << area.Bottom;
        return out.str();
    }

    // Empty when no row above the top would still fit below the last row.
    std::string NoRoomBelow() {
        const int top = List->TopRow();
        if (top <= 0)
            return {};
        long long used = 0;
        for (TdxTreeListNode* n = List->TopVisibleNode(); n; n = n->GetNextRow())
            used += List->NodeHeight(n);
        const int above = List->NodeHeight(List->NodeAtAbsoluteIndex(top - 1));
        if (used + above > List->DataAreaRect().Height())
            return {};
        std::ostringstream out;
        out << "top row " << top << ": the rows below take " << used << " of "
            << List->DataAreaRect().Height() << " pixels and the row above (" << above
            << ") would fit";
        return out.str();
    }

    // Empty when the window shows what a full repaint paints.
    std::string PaintedAsFullRepaint() {
        Platform.PaintAll();
        const std::vector<fw::TColorRef> moved = Window().Surface().Pixels;
        Repaint(*List);
        const fw::headless::PixelSurface& full = Window().Surface();
        if (moved == full.Pixels)
            return {};
        for (std::size_t i = 0; i < moved.size(); ++i)
            if (moved[i] != full.Pixels[i]) {
                const int width = std::max(full.Width, 1);
                std::ostringstream out;
                out << "pixel " << int(i) % width << "," << int(i) / width
                    << " differs from a full repaint";
                return out.str();
            }
        return "the surface's size differs from a full repaint";
    }

    std::map<TdxTreeListNode*, int> Lines;
    std::vector<TdxTreeListNode*> All;
};

// What one step did, for the failure message, and which rules apply after it.
struct TStep {
    std::string Name;
    bool FocusMove = false;      // a key or MakeVisible that moves or shows the focus
    bool LastRowShown = false;   // End, Bottom, the thumb at its end
    bool LastRowFocused = false; // End
    bool ShowsFocus = false;     // makes the focused row visible whether it moved or not
};

TEST_F(ViewPropertyTest, RandomInputKeepsTheViewsRulesOnBothAxes) {
    // Each step paints twice: a few seconds in all under the sanitizers.
    constexpr int kSeeds = 5;
    constexpr int kSteps = 70;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        List->ClearNodes();
        Lines.clear();
        All.clear();
        List->SetBounds(0, 0, 340, 253);
        std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
        BuildTree(random);
        Platform.PaintAll();
        for (int step = 0; step < kSteps; ++step) {
            TStep done;
            TdxTreeListNode* focusedBefore = List->FocusedNode();
            switch (random() % 16) {
            case 0:
            case 1: {
                static constexpr int kKeys[] = {VK::Up,   VK::Down, VK::Prior, VK::Next,
                                                VK::Home, VK::End,  VK::Left,  VK::Right};
                const int key = kKeys[random() % 8];
                const fw::TShiftState shift =
                    random() % 4 == 0 ? static_cast<fw::TShiftState>(fw::ssShift) : 0;
                // End moves the focus to the last row unless it is there already (then, as
                // every move to the focused row, it does nothing).
                const bool toLast = key == VK::End && focusedBefore != List->LastRowNode();
                Key(key, shift);
                done = {"key " + std::to_string(key) + (shift ? " with Shift" : ""), true, toLast,
                        toLast};
                break;
            }
            case 2: {
                const int delta = random() % 2 ? 120 : -120;
                Platform.Send(List->Handle(), Msg::MouseWheel,
                              static_cast<std::uintptr_t>(static_cast<std::uint32_t>(delta) << 16));
                done.Name = "wheel " + std::to_string(delta);
                break;
            }
            case 3:
            case 4: {
                const int request = static_cast<int>(random() % 8);
                if (request == 4 || request == 5)
                    break;
                Send(SB::Vert, request);
                done.Name = "vertical request " + std::to_string(request);
                done.LastRowShown = request == Request::Bottom;
                break;
            }
            case 5: {
                const int request = static_cast<int>(random() % 8);
                if (request == 4 || request == 5)
                    break;
                Send(SB::Horz, request);
                done.Name = "horizontal request " + std::to_string(request);
                break;
            }
            case 6: {
                const bool toEnd = random() % 3 == 0;
                const int position =
                    toEnd ? ThumbEnd(SB::Vert) : static_cast<int>(random() % (All.size() + 2));
                DragThumb(SB::Vert, position);
                done.Name = "vertical thumb to " + std::to_string(position);
                done.LastRowShown = toEnd && Window().GetScrollInfo(SB::Vert).Max > 0;
                break;
            }
            case 7: {
                const int position = static_cast<int>(random() % 300);
                DragThumb(SB::Horz, position);
                done.Name = "horizontal thumb to " + std::to_string(position);
                break;
            }
            case 8: {
                // Odd and even distances sideways.
                const int x = List->LeftCoord() + static_cast<int>(random() % 41) - 20;
                List->SetLeftCoord(x);
                done.Name = "LeftCoord " + std::to_string(x);
                break;
            }
            case 9:
            case 10:
                if (TdxTreeListNode* node = Pick(random)) {
                    const bool expand = !node->Expanded();
                    node->SetExpanded(expand);
                    done.Name = std::string(expand ? "expand " : "collapse ") +
                                std::to_string(node->AbsoluteIndex());
                }
                break;
            case 11: {
                const bool plus = random() % 2 == 0;
                char32_t c = plus ? U'+' : U'-';
                List->HandleKeyPress(c);
                done.Name = plus ? "character +" : "character -";
                done.ShowsFocus = true;
                break;
            }
            case 12:
                if (TdxTreeListNode* node = Pick(random)) {
                    List->MakeVisible(node);
                    done.Name = "MakeVisible";
                    if (const std::string shown = WhollyShown(node); !shown.empty())
                        ADD_FAILURE()
                            << "seed " << seed << " step " << step << " MakeVisible: " << shown;
                }
                break;
            case 13: {
                const int width = 200 + static_cast<int>(random() % 220);
                const int height = 60 + static_cast<int>(random() % 270);
                List->SetBounds(0, 0, width, height);
                done.Name = "resize to " + std::to_string(width) + "x" + std::to_string(height);
                break;
            }
            case 14:
                List->SetTopRow(static_cast<int>(random() % (All.size() + 4)) - 2);
                done.Name = "SetTopRow";
                break;
            case 15:
                if (TdxTreeListNode* node = Pick(random)) {
                    Lines[node] = 1 + static_cast<int>(random() % 5);
                    List->NodeChanged(node, true);
                    done.Name = "row height changed";
                }
                break;
            }
            const std::string where = "seed " + std::to_string(seed) + " step " +
                                      std::to_string(step) + " (" + done.Name + "): ";
            ASSERT_GT(List->AbsoluteCount(), 0) << where;
            TdxTreeListNode* focused = List->FocusedNode();
            ASSERT_NE(focused, nullptr) << where;
            if ((done.FocusMove && focused != focusedBefore) || done.ShowsFocus)
                if (const std::string shown = WhollyShown(focused); !shown.empty())
                    ADD_FAILURE() << where << "the focused " << shown;
            if (done.LastRowFocused) {
                EXPECT_EQ(focused, List->LastRowNode()) << where;
            }
            if (done.LastRowShown)
                if (const std::string shown = WhollyShown(List->LastRowNode()); !shown.empty())
                    ADD_FAILURE() << where << "the last " << shown;
            if (const std::string room = NoRoomBelow(); !room.empty())
                ADD_FAILURE() << where << room;
            if (const std::string paint = PaintedAsFullRepaint(); !paint.empty())
                ADD_FAILURE() << where << paint;
            if (HasFailure())
                return;
        }
    }
}

} // namespace
