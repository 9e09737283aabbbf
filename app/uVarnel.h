// The main form: the list of the desktop's application windows, the five command buttons,
// the global hot keys and the hide and show sweeps.
#pragma once

#include "app/uHiddenTags.h"
#include "app/uWindowFamilies.h"
#include "flatbutton/QuolButton.h"
#include "framework/Form.h"
#include "framework/ImageList.h"
#include "framework/Layout.h"
#include "framework/Panel.h"
#include "framework/StringList.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms.h"
#include "windowlist/uWindowList.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

class TfVarnel : public fw::TForm {
public:
    static constexpr int kHideHotKey = 101;
    static constexpr int kShowHotKey = 102;
    static constexpr std::string_view kLayoutResource = "TFVARNEL";
    static constexpr std::string_view kBugReportAddress = "varnel-bugs@users.noreply.github.io";
    // Index of the caption text in every node's strings (the caption column's field index).
    static constexpr int kCaptionField = 2;
    // A row's mark is its ImageIndex (and SelectedIndex): the image of ImgLstCheck it shows.
    static constexpr int kUnmarked = 0;
    static constexpr int kMarked = 1;
    // The icon of a window that answers with none.
    static constexpr int kFallbackIconImage = 2;
    static constexpr fw::TColor kIconCellColor = 0x00FFFFFF;

    // Loads the stored layout "TFVARNEL" from the program's resources.
    explicit TfVarnel(fw::TComponent* owner);

    // Controls of the stored layout.
    fw::TPanel* Panel1 = nullptr;
    fw::TPanel* Panel2 = nullptr;
    quol::TQuolButton* btnRefresh = nullptr;
    quol::TQuolButton* btnHide = nullptr;
    quol::TQuolButton* btnShow = nullptr;
    quol::TQuolButton* btnMail = nullptr;
    quol::TQuolButton* btnClose = nullptr;
    dxtl::TdxTreeList* tlWinList = nullptr;
    dxtl::TdxTreeListColumn* clSelect = nullptr;
    dxtl::TdxTreeListGraphicColumn* lcICon = nullptr;
    dxtl::TdxTreeListColumn* lcCaption = nullptr;
    fw::TImageList* ImgLstCheck = nullptr;

    void FormCreate(fw::TObject* sender);
    void FormDestroy(fw::TObject* sender);
    void btnRefreshClick(fw::TObject* sender);
    void btnHideClick(fw::TObject* sender);
    void btnShowClick(fw::TObject* sender);
    void btnCloseClick(fw::TObject* sender);
    void btnMailClick(fw::TObject* sender);
    void tlWinListClick(fw::TObject* sender);
    // Space marks as a click does, so the keyboard alone can mark a window.
    void tlWinListKeyDown(fw::TObject* sender, int& key, fw::TShiftState shift);
    // Paints an icon cell white with the window's small icon, or image 2 of ImgLstCheck for a
    // window without one, at the cell's top-left corner in the icon's own size; the cell is done.
    void lcIConCustomDrawCell(fw::TObject* sender, fw::TCanvas& canvas, fw::TRect rect,
                              dxtl::TdxTreeListNode* node, dxtl::TdxTreeListColumn* column,
                              bool selected, bool focused, bool newItemRow, std::string& text,
                              fw::TColor& color, fw::TFont& font, fw::TAlignment& alignment,
                              bool& done);

    void HideMarkedWindows();
    void ShowMarkedWindows();
    void FillWindowList();
    void SaveMarks();

    TWindowList* WindowList() const { return FWindowList; }
    const fw::TStringList* SavedMarks() const { return FSavedMarks.get(); }

    // How long after a show sweep an activation of the form counts as the window manager's
    // doing (it activates what it maps) rather than the user's.
    static constexpr std::uint32_t kGiveBackMs = 1000;
    static constexpr std::uint32_t kGiveBackActivation = fw::Msg::User + 1;

protected:
    void WMHotKey(fw::TMessage& message);
    void WMActivate(fw::TMessage& message);
    void WMGiveBackActivation(fw::TMessage& message);
    FW_DECLARE_MESSAGE_MAP()

private:
    fw::THandlerTable Handlers();
    template <class T> T* Bind(const char* name);
    // The marked rows' windows, in row order, that are still the windows marked.
    std::vector<const TWindowObject*> MarkedWindows();
    // A marked window, then the windows of its family the hide sweep hid, in their order.
    void ShowFamily(fw::TWindowHandle head, std::set<fw::TWindowHandle>& shown,
                    std::vector<fw::TWindowHandle>& stack);
    // The form and the application window; activated when the user left off in the form.
    void ShowOwnWindows(bool toFront);
    bool IsOwnWindow(fw::TWindowHandle window);
    // The key another program holds: the button's caption loses it and its hint says why.
    static constexpr std::uintptr_t kInactive = 0;
    void ShowKeyTaken(quol::TQuolButton& button, const std::string& key);
    // FillWindowList's rows, one per listed window with a caption, marks restored.
    void AddWindowRows();
    void ToggleFocusedMark();
    // The application's own window (0 without an application).
    fw::TWindowHandle ApplicationWindow();

    TWindowList* FWindowList = nullptr;
    std::unique_ptr<fw::TStringList> FSavedMarks;
    // Whose window each saved handle was: a mark is restored only to the same window.
    std::map<fw::TWindowHandle, fw::TThreadProcess> FSavedOwners;
    // Which windows this copy hid, told to the windows themselves.
    std::unique_ptr<THiddenWindowTags> FHiddenTags;
    // What the hide sweeps hid of each marked window's family, and where the user was.
    THiddenFamilies FHiddenFamilies;
};

// Every class the stored layouts of the program may name.
const fw::TPropertyRegistry& VarnelClasses();

} // namespace varnel
