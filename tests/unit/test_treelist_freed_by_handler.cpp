// Every event a tree list raises from keys, the mouse, scrolling and expansion may have a
// handler that frees the list (a handler that closes and frees its form, say). For each such
// event and each input that raises it, the handler frees the list: the input must end without
// touching the freed list (the sanitizers stay silent), the handler must have run, and the form
// must go on working.
#include "test_treelist_layout_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace dxtl;
using fw::TObject;
using fw::TPoint;
using fw::TRect;
using treelist_testing::TSearchTreeList;
namespace Msg = fw::Msg;
namespace SB = fw::SB;
namespace VK = fw::VK;

// A list with a band panel, two columns (the second wider than the view, so that it scrolls
// sideways), 40 rows to scroll through, a first node with two collapsed children, the indicator
// column and the input focus.
class FreedByHandlerFixture : public treelist_testing::TreeListLayoutTest {
public:
    FreedByHandlerFixture() {
        List->SetShowBands(true);
        List->SetShowIndicator(true);
        List->SetOptions(List->Options().With(aoMultiSelect).With(aoAutoSort));
        List->SetOptionsEx(List->OptionsEx()
                               .With(aoHeaderButtonClicking)
                               .With(aoBandButtonClicking)
                               .With(aoHotTrack)
                               .Without(aoBandHeaderWidth));
        AddColumn(100, "A");
        AddColumn(400, "B");
        List->Bands().Items(0)->SetWidth(500);
        List->Bands().Add()->SetWidth(200);
        for (int i = 0; i < 40; ++i) {
            TdxTreeListNode* node = List->AddNode();
            node->SetStrings(0, "row " + std::to_string(i));
            Nodes.push_back(node);
        }
        Nodes[0]->AddChild()->SetStrings(0, "child 0");
        Nodes[0]->AddChild()->SetStrings(0, "child 1");
        Form->Show();
        Platform.SetFocusTo(List->Handle());
        Platform.PaintAll();
        Handle = List->Handle();
        ComponentsBefore = Form->ComponentCount();
    }

    using HeadlessTest::Platform;

    // The handler every case installs.
    void FreeList() {
        if (!List)
            return;
        ++Frees;
        TSearchTreeList* list = List;
        List = nullptr;
        list->Free();
    }

    TPoint Screen(int x, int y) { return Form->ClientToScreen({x, y}); }
    // The middle of the row's cell in the first column (the list sits at the form's origin).
    TPoint RowPoint(int row) {
        const TRect r = List->NodeRowRect(List->NodeAtAbsoluteIndex(row));
        return {List->ColumnLeft(0) + 60, r.Top + r.Height() / 2};
    }
    void Key(int key, bool shift = false, bool ctrl = false) {
        Platform.SetKeyDown(VK::Shift, shift);
        Platform.SetKeyDown(VK::Control, ctrl);
        Platform.Send(Handle, Msg::KeyDown, static_cast<std::uintptr_t>(key));
        Platform.SetKeyDown(VK::Shift, false);
        Platform.SetKeyDown(VK::Control, false);
    }
    void Char(char32_t c) { Platform.Send(Handle, Msg::Char, static_cast<std::uintptr_t>(c)); }
    void Press(TPoint p, std::uint32_t msg = Msg::LButtonDown) {
        Platform.MouseButton(msg, Screen(p.X, p.Y));
    }
    void Release(TPoint p, std::uint32_t msg = Msg::LButtonUp) {
        Platform.MouseButton(msg, Screen(p.X, p.Y));
    }
    void Move(TPoint p) { Platform.MouseMoveTo(Screen(p.X, p.Y)); }
    void Click(TPoint p) {
        Press(p);
        Release(p);
    }
    void Scroll(int bar, int request) {
        Platform.Send(Handle, bar == SB::Vert ? Msg::VScroll : Msg::HScroll,
                      static_cast<std::uintptr_t>(request));
    }
    void Wheel(int delta) {
        Platform.Send(Handle, Msg::MouseWheel,
                      static_cast<std::uintptr_t>(static_cast<std::uint32_t>(delta) << 16));
    }
    // A press on a row held and dragged below the rows, with the drag-select timer's ticks.
    void DragSelectBelow() {
        List->SetOptionsEx(List->OptionsEx().With(aoMouseScroll));
        const TPoint p = RowPoint(2);
        const int below = List->DataAreaRect().Bottom + 5;
        Press(p);
        Move({p.X, below});
        for (int i = 0; i < 5; ++i)
            Platform.AdvanceTime(60);
        Release({p.X, below});
    }
    // Middle-button panning with the pointer moved away by (dx, dy), for a few timer ticks.
    void Pan(int dx, int dy) {
        const TPoint origin = Screen(150, 100);
        Platform.MouseMoveTo(origin);
        std::vector<std::function<void()>> steps = {
            [&] {
                Platform.PostMouse(Msg::MouseMove, {origin.X + dx, origin.Y + dy});
            },
            [&] { Platform.AdvanceTime(20 * 5); },
            [&] {
                Platform.PostMouse(Msg::RButtonDown, {origin.X + dx, origin.Y + dy});
            }};
        std::size_t next = 0;
        Platform.ModalIdle = [&]() {
            if (next == steps.size())
                return false;
            steps[next++]();
            return true;
        };
        Platform.MouseButton(Msg::MButtonDown, origin);
        Platform.ModalIdle = nullptr;
    }
    TPoint HeaderPoint(int column) {
        const TRect r = List->HeaderRect(column);
        return {r.Left + 10, r.Top + r.Height() / 2};
    }
    TPoint BandPoint(int position) {
        const TRect r = List->BandRect(position);
        return {r.Left + 10, r.Top + r.Height() / 2};
    }
    void Drag(TPoint from, TPoint to) {
        Press(from);
        Move({from.X + 10, from.Y});
        Move(to);
        Release(to);
    }

    TSearchTreeList* Watched() { return List; }
    fw::TWindowHandle Handle = 0;
    int Frees = 0;
    int ComponentsBefore = 0;
};

struct TFreeCase {
    std::string Name;
    // Installs the handler (which calls FreeList) on the list.
    std::function<void(FreedByHandlerFixture&)> Install;
    // The input that raises the event.
    std::function<void(FreedByHandlerFixture&)> Input;
    // What the input needs before the handler is installed.
    std::function<void(FreedByHandlerFixture&)> Prepare = {};
};

using Fixture = FreedByHandlerFixture;

// Handler installers, one per event.
void OnChangeNode(Fixture& f) {
    f.Watched()->OnChangeNode = [&f](TObject*, TdxTreeListNode*, TdxTreeListNode*) {
        f.FreeList();
    };
}
void OnChangeColumn(Fixture& f) {
    f.Watched()->SetOptions(f.Watched()->Options().Without(aoRowSelect));
    f.Watched()->OnChangeColumn = [&f](TObject*, TdxTreeListNode*, int) { f.FreeList(); };
}
void OnChangeTopVisibleNode(Fixture& f) {
    f.Watched()->OnChangeTopVisibleNode = [&f](TObject*) { f.FreeList(); };
}
void OnChangeLeftCoord(Fixture& f) {
    f.Watched()->OnChangeLeftCoord = [&f](TObject*) { f.FreeList(); };
}
void OnSelectedCountChange(Fixture& f) {
    f.Watched()->OnSelectedCountChange = [&f](TObject*) { f.FreeList(); };
}
void OnCanNodeSelected(Fixture& f) {
    f.Watched()->OnCanNodeSelected = [&f](TObject*, TdxTreeListNode*, bool&) { f.FreeList(); };
}
void OnExpanding(Fixture& f) {
    f.Watched()->OnExpanding = [&f](TObject*, TdxTreeListNode*, bool&) { f.FreeList(); };
}
void OnExpanded(Fixture& f) {
    f.Watched()->OnExpanded = [&f](TObject*, TdxTreeListNode*) { f.FreeList(); };
}
void OnCollapsing(Fixture& f) {
    f.Watched()->OnCollapsing = [&f](TObject*, TdxTreeListNode*, bool&) { f.FreeList(); };
}
void OnCollapsed(Fixture& f) {
    f.Watched()->OnCollapsed = [&f](TObject*, TdxTreeListNode*) { f.FreeList(); };
}
void ExpandedFirst(Fixture& f) {
    f.Watched()->NodeAt(0)->SetExpanded(true);
}
void FocusOnFirstChild(Fixture& f) {
    ExpandedFirst(f);
    f.Watched()->ChangeFocus(f.Watched()->NodeAt(0)->Children(0), 0, false);
}
void SelectSeveral(Fixture& f) {
    f.Watched()->SelectRange(f.Watched()->NodeAt(1), f.Watched()->NodeAt(4));
}
void ClickFirstExpandButton(Fixture& f) {
    const TRect r = f.Watched()->NodeRowRect(f.Watched()->NodeAt(0));
    f.Click({f.Watched()->DataAreaRect().Left + 8, r.Top + r.Height() / 2});
}

std::vector<TFreeCase> Cases() {
    using F = Fixture;
    const auto rowClick = [](F& f) { f.Click(f.RowPoint(3)); };
    const auto down = [](F& f) { f.Key(VK::Down); };
    std::vector<TFreeCase> cases = {
        // Keys.
        {"OnKeyDown_Down",
         [](F& f) {
             f.Watched()->OnKeyDown = [&f](TObject*, int&, fw::TShiftState) { f.FreeList(); };
         },
         down},
        {"OnKeyPress_Plus",
         [](F& f) { f.Watched()->OnKeyPress = [&f](TObject*, char32_t&) { f.FreeList(); }; },
         [](F& f) { f.Char(U'+'); }},
        {"OnChangeNode_Down", OnChangeNode, down},
        {"OnChangeNode_End", OnChangeNode, [](F& f) { f.Key(VK::End); }},
        {"OnChangeNode_PageDown", OnChangeNode, [](F& f) { f.Key(VK::Next); }},
        {"OnChangeNode_ShiftDown", OnChangeNode, [](F& f) { f.Key(VK::Down, true); }},
        {"OnChangeNode_CtrlDown", OnChangeNode, [](F& f) { f.Key(VK::Down, false, true); }},
        {"OnChangeNode_LeftToParent", OnChangeNode, [](F& f) { f.Key(VK::Left); },
         FocusOnFirstChild},
        {"OnChangeNode_RightToChild", OnChangeNode, [](F& f) { f.Key(VK::Right); }, ExpandedFirst},
        {"OnChangeNode_RowPress", OnChangeNode, rowClick},
        {"OnChangeNode_DragSelect", OnChangeNode, [](F& f) { f.DragSelectBelow(); }},
        {"OnChangeColumn_Right", OnChangeColumn, [](F& f) { f.Key(VK::Right); }},
        {"OnChangeColumn_CtrlRight", OnChangeColumn, [](F& f) { f.Key(VK::Right, false, true); }},
        {"OnChangeColumn_CellPress", OnChangeColumn,
         [](F& f) {
             const TPoint p = f.RowPoint(0);
             f.Click({f.Watched()->ColumnLeft(1) + 20, p.Y});
         }},
        // Scrolling.
        {"OnChangeTopVisibleNode_End", OnChangeTopVisibleNode, [](F& f) { f.Key(VK::End); }},
        {"OnChangeTopVisibleNode_PageDownTwice", OnChangeTopVisibleNode,
         [](F& f) {
             f.Key(VK::Next);
             f.Key(VK::Next);
         }},
        {"OnChangeTopVisibleNode_ShiftEnd", OnChangeTopVisibleNode,
         [](F& f) { f.Key(VK::End, true); }},
        {"OnChangeTopVisibleNode_Wheel", OnChangeTopVisibleNode, [](F& f) { f.Wheel(-120); }},
        {"OnChangeTopVisibleNode_LineDown", OnChangeTopVisibleNode,
         [](F& f) { f.Scroll(SB::Vert, 1); }},
        {"OnChangeTopVisibleNode_Bottom", OnChangeTopVisibleNode,
         [](F& f) { f.Scroll(SB::Vert, 7); }},
        {"OnChangeTopVisibleNode_DragSelect", OnChangeTopVisibleNode,
         [](F& f) { f.DragSelectBelow(); }},
        {"OnChangeTopVisibleNode_PressOnCutRow", OnChangeTopVisibleNode,
         [](F& f) {
             // The last row shown is cut by the area's bottom: focusing it scrolls.
             const TRect area = f.Watched()->DataAreaRect();
             f.Click({f.Watched()->ColumnLeft(0) + 60, area.Bottom - 2});
         }},
        {"OnChangeTopVisibleNode_CollapseAboveTop", OnChangeTopVisibleNode,
         [](F& f) { f.Char(U'-'); },
         [](F& f) {
             ExpandedFirst(f);
             f.Watched()->SetTopRow(1);
             f.Watched()->ChangeFocus(f.Watched()->NodeAt(0), 0, false);
         }},
        {"OnChangeTopVisibleNode_GrownTaller", OnChangeTopVisibleNode,
         [](F& f) { f.Watched()->SetBounds(0, 0, 340, 500); },
         [](F& f) { f.Watched()->SetTopRow(39); }},
        {"OnChangeTopVisibleNode_GrownTallerAndWider", OnChangeTopVisibleNode,
         [](F& f) { f.Watched()->SetBounds(0, 0, 700, 1200); },
         [](F& f) { f.Watched()->SetTopRow(39); }},
        {"OnChangeTopVisibleNode_Panning", OnChangeTopVisibleNode, [](F& f) { f.Pan(0, 100); }},
        {"OnChangeLeftCoord_Panning", OnChangeLeftCoord, [](F& f) { f.Pan(100, 0); }},
        {"OnChangeLeftCoord_LineRight", OnChangeLeftCoord, [](F& f) { f.Scroll(SB::Horz, 1); }},
        {"OnChangeLeftCoord_RightEnd", OnChangeLeftCoord, [](F& f) { f.Scroll(SB::Horz, 7); }},
        {"OnChangeLeftCoord_CellModeEnd", OnChangeLeftCoord, [](F& f) { f.Key(VK::End); },
         [](F& f) { f.Watched()->SetOptions(f.Watched()->Options().Without(aoRowSelect)); }},
        {"OnChangeLeftCoord_BandDragScroll", OnChangeLeftCoord,
         [](F& f) {
             const TPoint p = f.BandPoint(0);
             const int beyond = f.Watched()->ClientWidth() + 20;
             f.Press(p);
             f.Move({p.X + 10, p.Y});
             f.Move({beyond, p.Y});
             for (int i = 0; i < 3; ++i)
                 f.Platform.AdvanceTime(100);
             f.Release({beyond, p.Y});
         }},
        // Selection.
        {"OnSelectedCountChange_Down", OnSelectedCountChange, down},
        {"OnSelectedCountChange_Escape", OnSelectedCountChange, [](F& f) { f.Key(VK::Escape); },
         [](F& f) {
             f.Watched()->SetNodeSelected(f.Watched()->NodeAt(5), true);
             f.Watched()->SetNodeSelected(f.Watched()->NodeAt(6), true);
         }},
        {"OnSelectedCountChange_CtrlSpace", OnSelectedCountChange,
         [](F& f) { f.Key(VK::Space, false, true); }},
        {"OnSelectedCountChange_RowPress", OnSelectedCountChange, rowClick},
        {"OnSelectedCountChange_ShiftPress", OnSelectedCountChange,
         [](F& f) {
             f.Platform.SetKeyDown(VK::Shift, true);
             f.Click(f.RowPoint(4));
             f.Platform.SetKeyDown(VK::Shift, false);
         }},
        {"OnSelectedCountChange_DeferredSelect", OnSelectedCountChange,
         [](F& f) { f.Click(f.RowPoint(3)); }, SelectSeveral},
        {"OnSelectedCountChange_DragSelectBack", OnSelectedCountChange,
         [](F& f) {
             // The press on a selected row keeps the selection; back inside it goes.
             const TPoint p = f.RowPoint(2);
             const TPoint back = f.RowPoint(5);
             const int above = f.Watched()->DataAreaRect().Top - 5;
             f.Press(p);
             f.Move({p.X, above});
             f.Move(back);
             f.Release(back);
         },
         [](F& f) {
             f.Watched()->SetOptionsEx(f.Watched()->OptionsEx().With(aoMouseScroll));
             f.Watched()->SelectRange(f.Watched()->NodeAt(2), f.Watched()->NodeAt(3));
         }},
        {"OnCanNodeSelected_Down", OnCanNodeSelected, down},
        {"OnCanNodeSelected_ShiftDown", OnCanNodeSelected, [](F& f) { f.Key(VK::Down, true); }},
        {"OnCanNodeSelected_ShiftEnd", OnCanNodeSelected, [](F& f) { f.Key(VK::End, true); }},
        {"OnCanNodeSelected_CtrlSpace", OnCanNodeSelected,
         [](F& f) { f.Key(VK::Space, false, true); }},
        {"OnCanNodeSelected_LeftToParent", OnCanNodeSelected, [](F& f) { f.Key(VK::Left); },
         FocusOnFirstChild},
        {"OnCanNodeSelected_RowPress", OnCanNodeSelected, rowClick},
        {"OnCanNodeSelected_CtrlPress", OnCanNodeSelected,
         [](F& f) {
             f.Platform.SetKeyDown(VK::Control, true);
             f.Click(f.RowPoint(4));
             f.Platform.SetKeyDown(VK::Control, false);
         }},
        {"OnCanNodeSelected_ShiftPress", OnCanNodeSelected,
         [](F& f) {
             f.Platform.SetKeyDown(VK::Shift, true);
             f.Click(f.RowPoint(6));
             f.Platform.SetKeyDown(VK::Shift, false);
         }},
        {"OnCanNodeSelected_DeferredSelect", OnCanNodeSelected,
         [](F& f) { f.Click(f.RowPoint(3)); }, SelectSeveral},
        // Expansion.
        {"OnExpanding_Right", OnExpanding, [](F& f) { f.Key(VK::Right); }},
        {"OnExpanding_Plus", OnExpanding, [](F& f) { f.Char(U'+'); }},
        {"OnExpanding_Star", OnExpanding, [](F& f) { f.Char(U'*'); }},
        {"OnExpanding_DoubleClick", OnExpanding,
         [](F& f) {
             const TPoint p = f.RowPoint(0);
             f.Click(p);
             f.Press(p, Msg::LButtonDblClk);
             f.Release(p);
         }},
        {"OnExpanded_Right", OnExpanded, [](F& f) { f.Key(VK::Right); }},
        {"OnExpanded_Star", OnExpanded, [](F& f) { f.Char(U'*'); }},
        {"OnExpanded_ExpandButton", OnExpanded, ClickFirstExpandButton},
        {"OnCollapsing_Left", OnCollapsing, [](F& f) { f.Key(VK::Left); }, ExpandedFirst},
        {"OnCollapsing_Minus", OnCollapsing, [](F& f) { f.Char(U'-'); }, ExpandedFirst},
        {"OnCollapsed_Left", OnCollapsed, [](F& f) { f.Key(VK::Left); }, ExpandedFirst},
        {"OnCollapsed_ButtonWithTheFocusInside", OnCollapsed, ClickFirstExpandButton,
         [](F& f) {
             ExpandedFirst(f);
             f.Watched()->ChangeFocus(f.Watched()->NodeAt(0)->Children(1), 0, false);
         }},
        {"OnChangeNode_ButtonWithTheFocusInside", OnChangeNode, ClickFirstExpandButton,
         [](F& f) {
             ExpandedFirst(f);
             f.Watched()->ChangeFocus(f.Watched()->NodeAt(0)->Children(1), 0, false);
         }},
        // The mouse.
        {"OnMouseDown",
         [](F& f) {
             f.Watched()->OnMouseDown = [&f](TObject*, fw::TMouseButton, fw::TShiftState, int,
                                             int) { f.FreeList(); };
         },
         rowClick},
        {"OnMouseMove",
         [](F& f) {
             f.Watched()->OnMouseMove = [&f](TObject*, fw::TShiftState, int, int) { f.FreeList(); };
         },
         [](F& f) { f.Move(f.RowPoint(3)); }},
        {"OnMouseUp",
         [](F& f) {
             f.Watched()->OnMouseUp = [&f](TObject*, fw::TMouseButton, fw::TShiftState, int, int) {
                 f.FreeList();
             };
         },
         rowClick},
        {"OnClick", [](F& f) { f.Watched()->OnClick = [&f](TObject*) { f.FreeList(); }; },
         rowClick},
        {"OnDblClick_Row", [](F& f) { f.Watched()->OnDblClick = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) {
             const TPoint p = f.RowPoint(3);
             f.Click(p);
             f.Press(p, Msg::LButtonDblClk);
             f.Release(p);
         }},
        {"OnDblClick_Empty",
         [](F& f) { f.Watched()->OnDblClick = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) {
             // Below the last row.
             const TPoint p{200, f.Watched()->DataAreaRect().Bottom - 3};
             f.Click(p);
             f.Press(p, Msg::LButtonDblClk);
             f.Release(p);
         },
         [](F& f) {
             for (int i = 39; i >= 5; --i)
                 f.Watched()->NodeAt(i)->Free();
         }},
        {"OnHotTrackNode",
         [](F& f) {
             f.Watched()->OnHotTrackNode = [&f](TObject*, TdxTreeListNode*) { f.FreeList(); };
         },
         [](F& f) { f.Move(f.RowPoint(3)); }},
        {"OnColumnClick",
         [](F& f) {
             f.Watched()->OnColumnClick = [&f](TObject*, TdxTreeListColumn*) { f.FreeList(); };
         },
         [](F& f) { f.Click(f.HeaderPoint(0)); }},
        {"OnColumnSorting",
         [](F& f) {
             f.Watched()->OnColumnSorting = [&f](TObject*, TdxTreeListColumn*, bool&) {
                 f.FreeList();
             };
         },
         [](F& f) { f.Click(f.HeaderPoint(0)); }},
        {"OnBandClick",
         [](F& f) {
             f.Watched()->OnBandClick = [&f](TObject*, TdxTreeListBand*) { f.FreeList(); };
         },
         [](F& f) { f.Click(f.BandPoint(0)); }},
        {"OnCanBandDragging",
         [](F& f) {
             f.Watched()->OnCanBandDragging = [&f](TObject*, TdxTreeListBand*, bool&) {
                 f.FreeList();
             };
         },
         [](F& f) { f.Drag(f.BandPoint(0), f.BandPoint(1)); }},
        {"OnStartBandDragging",
         [](F& f) {
             f.Watched()->OnStartBandDragging = [&f](TObject*, TdxTreeListBand*) { f.FreeList(); };
         },
         [](F& f) { f.Drag(f.BandPoint(0), f.BandPoint(1)); }},
        {"OnDragEndBand",
         [](F& f) {
             f.Watched()->OnDragEndBand = [&f](TObject*, TdxTreeListBand*, TPoint, int, int, int&,
                                               bool&) { f.FreeList(); };
         },
         [](F& f) { f.Drag(f.BandPoint(0), f.BandPoint(1)); }},
        {"OnCanHeaderDragging",
         [](F& f) {
             f.Watched()->OnCanHeaderDragging = [&f](TObject*, TdxTreeListColumn*, bool&) {
                 f.FreeList();
             };
         },
         [](F& f) { f.Drag(f.HeaderPoint(0), f.HeaderPoint(1)); }},
        {"OnStartHeaderDragging",
         [](F& f) {
             f.Watched()->OnStartHeaderDragging = [&f](TObject*, TdxTreeListColumn*) {
                 f.FreeList();
             };
         },
         [](F& f) { f.Drag(f.HeaderPoint(0), f.HeaderPoint(1)); }},
        {"OnDragEndHeader",
         [](F& f) {
             f.Watched()->OnDragEndHeader = [&f](TObject*, TdxTreeListColumn*, TPoint, int&,
                                                 bool&) { f.FreeList(); };
         },
         [](F& f) { f.Drag(f.HeaderPoint(0), f.HeaderPoint(1)); }},
        {"OnChangedColumnsWidth_EdgeDrag",
         [](F& f) { f.Watched()->OnChangedColumnsWidth = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) {
             const TRect r = f.Watched()->HeaderRect(0);
             f.Press({r.Right - 1, r.Top + 4});
             f.Move({r.Right + 30, r.Top + 4});
             f.Release({r.Right + 30, r.Top + 4});
         }},
        {"OnChangedColumnsWidth_EdgeDoubleClick",
         [](F& f) { f.Watched()->OnChangedColumnsWidth = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) {
             const TRect r = f.Watched()->HeaderRect(0);
             const TPoint p{r.Right - 1, r.Top + 4};
             f.Click(p);
             f.Press(p, Msg::LButtonDblClk);
             f.Release(p);
         }},
        {"OnHeaderButtonClick",
         [](F& f) { f.Watched()->OnHeaderButtonClick = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) {
             const TRect r = f.Watched()->HeaderRect(0);
             f.Click({4, r.Top + 4});
         }},
        {"OnBandButtonClick",
         [](F& f) { f.Watched()->OnBandButtonClick = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) {
             const TRect r = f.Watched()->BandRect(0);
             f.Click({4, r.Top + 4});
         }},
        {"OnExit_FocusLeaves", [](F& f) { f.Watched()->OnExit = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) { f.Platform.SetFocusTo(0); }},
        {"OnExit_FocusLeavesDuringARowPress",
         [](F& f) { f.Watched()->OnExit = [&f](TObject*) { f.FreeList(); }; },
         [](F& f) {
             const TPoint p = f.RowPoint(3);
             f.Press(p);
             f.Platform.SetFocusTo(0);
             f.Release(p);
         }},
        {"OnCompare_HeaderClick",
         [](F& f) {
             f.Watched()->OnCompare = [&f](TObject*, TdxTreeListNode*, TdxTreeListNode*,
                                           int& compare) {
                 compare = 0;
                 f.FreeList();
             };
         },
         [](F& f) { f.Click(f.HeaderPoint(0)); }},
        {"OnEnter_RowPress",
         [](F& f) {
             f.Platform.SetFocusTo(0);
             f.Watched()->OnEnter = [&f](TObject*) { f.FreeList(); };
         },
         rowClick},
    };
    return cases;
}

class FreedByHandler : public FreedByHandlerFixture,
                       public testing::WithParamInterface<TFreeCase> {};

TEST_P(FreedByHandler, TheInputEndsWithoutTouchingTheFreedList) {
    const TFreeCase& c = GetParam();
    if (c.Prepare)
        c.Prepare(*this);
    ASSERT_NE(List, nullptr);
    c.Install(*this);
    c.Input(*this);
    EXPECT_EQ(Frees, 1) << "the handler never ran: the case does not raise its event";
    EXPECT_EQ(List, nullptr);
    // The form goes on: it paints and takes more input.
    Platform.PaintAll();
    Platform.MouseButton(Msg::LButtonDown, Screen(100, 100));
    Platform.MouseButton(Msg::LButtonUp, Screen(100, 100));
    EXPECT_EQ(Form->ComponentCount(), ComponentsBefore - 1);
}

INSTANTIATE_TEST_SUITE_P(EveryInputEvent, FreedByHandler, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<TFreeCase>& info) {
                             return info.param.Name;
                         });

} // namespace
