#include "app/uVarnel.h"

#include "framework/Application.h"
#include "framework/StandardClasses.h"

#include <charconv>
#include <optional>
#include <set>

namespace varnel {

using namespace fw;

const TPropertyRegistry& VarnelClasses() {
    // Built once and read-only afterwards.
    static const TPropertyRegistry registry = [] {
        TPropertyRegistry r;
        RegisterStandardClasses(r);
        quol::RegisterQuolButton(r);
        dxtl::RegisterTreeList(r);
        dxtl::RegisterTreeListGraphicColumn(r);
        RegisterRootClass<TfVarnel>(r, "TfVarnel", "TForm");
        return r;
    }();
    return registry;
}

FW_BEGIN_MESSAGE_MAP(TfVarnel, TForm)
FW_MESSAGE(Msg::HotKey, WMHotKey)
FW_MESSAGE(Msg::Activate, WMActivate)
FW_MESSAGE(TfVarnel::kGiveBackActivation, WMGiveBackActivation)
FW_END_MESSAGE_MAP()

TfVarnel::TfVarnel(TComponent* owner)
    : TForm(owner), FHiddenTags(std::make_unique<THiddenWindowTags>(Platform().Desktop())) {
    WindowClassName = "TfVarnel";
    const std::optional<std::string> layout = Platform().ProgramResource(kLayoutResource);
    if (!layout)
        throw ELayoutError("the program has no resource " + std::string(kLayoutResource));
    LoadLayout(*this, kLayoutResource, *layout, VarnelClasses(), Handlers());
    Panel1 = Bind<TPanel>("Panel1");
    Panel2 = Bind<TPanel>("Panel2");
    btnRefresh = Bind<quol::TQuolButton>("btnRefresh");
    btnHide = Bind<quol::TQuolButton>("btnHide");
    btnShow = Bind<quol::TQuolButton>("btnShow");
    btnMail = Bind<quol::TQuolButton>("btnMail");
    btnClose = Bind<quol::TQuolButton>("btnClose");
    tlWinList = Bind<dxtl::TdxTreeList>("tlWinList");
    clSelect = Bind<dxtl::TdxTreeListColumn>("clSelect");
    lcICon = Bind<dxtl::TdxTreeListGraphicColumn>("lcICon");
    lcCaption = Bind<dxtl::TdxTreeListColumn>("lcCaption");
    ImgLstCheck = Bind<TImageList>("ImgLstCheck");
    tlWinList->OnKeyDown = [this](TObject* sender, int& key, TShiftState shift) {
        tlWinListKeyDown(sender, key, shift);
    };
}

template <class T> T* TfVarnel::Bind(const char* name) {
    auto* component = dynamic_cast<T*>(FindComponent(name));
    if (!component)
        throw ELayoutError(std::string(kLayoutResource) + ": " + name +
                           " is missing or of another class");
    return component;
}

THandlerTable TfVarnel::Handlers() {
    THandlerTable table;
    auto notify = [this](void (TfVarnel::*method)(TObject*)) {
        return TNotifyEvent([this, method](TObject* sender) { (this->*method)(sender); });
    };
    table.Add("FormCreate", notify(&TfVarnel::FormCreate));
    table.Add("FormDestroy", notify(&TfVarnel::FormDestroy));
    table.Add("btnRefreshClick", notify(&TfVarnel::btnRefreshClick));
    table.Add("btnHideClick", notify(&TfVarnel::btnHideClick));
    table.Add("btnShowClick", notify(&TfVarnel::btnShowClick));
    table.Add("btnCloseClick", notify(&TfVarnel::btnCloseClick));
    table.Add("btnMailClick", notify(&TfVarnel::btnMailClick));
    table.Add("tlWinListClick", notify(&TfVarnel::tlWinListClick));
    table.Add("lcIConCustomDrawCell",
              dxtl::TdxTLCustomDrawCell(
                  [this](TObject* sender, TCanvas& canvas, TRect rect, dxtl::TdxTreeListNode* node,
                         dxtl::TdxTreeListColumn* column, bool selected, bool focused,
                         bool newItemRow, std::string& text, TColor& color, TFont& font,
                         TAlignment& alignment, bool& done) {
                      lcIConCustomDrawCell(sender, canvas, rect, node, column, selected, focused,
                                           newItemRow, text, color, font, alignment, done);
                  }));
    return table;
}

void TfVarnel::FormCreate(TObject*) {
    // Windows that a copy killed from outside left hidden come back first, so that the first
    // snapshot lists them.
    FHiddenTags->RecoverOrphans();
    FWindowList = new TWindowList(this);
    FSavedMarks = std::make_unique<TStringList>();
    FillWindowList();
    // Another program may hold either key: then the key does nothing for us, the buttons still
    // work, and the button says so, since a boss key that silently does nothing fails the user.
    IWindowManager& desktop = Platform().Desktop();
    if (!desktop.RegisterHotKey(Handle(), kHideHotKey, 0, VK::F2))
        ShowKeyTaken(*btnHide, "F2");
    if (!desktop.RegisterHotKey(Handle(), kShowHotKey, HotKeyMod::Shift, VK::F2))
        ShowKeyTaken(*btnShow, "Shift+F2");
    // Hidden windows must come back however the program ends: a log-off or shut-down, or an
    // error that kills the process, skips the destroy handler.
    if (Application())
        Application()->OnEndSession = [this] { ShowMarkedWindows(); };
    Platform().SetFatalErrorHandler([this] { ShowMarkedWindows(); });
}

void TfVarnel::ShowKeyTaken(quol::TQuolButton& button, const std::string& key) {
    std::string caption = button.Caption();
    if (const std::size_t at = caption.find("(" + key + ")"); at != std::string::npos)
        caption.erase(at, key.size() + 2);
    button.SetCaption(caption);
    button.SetHint(key + " 키는 다른 프로그램이 쓰고 있습니다. 이 단추를 누르세요.");
    button.SetShowHint(true);
}

void TfVarnel::FormDestroy(TObject*) {
    ShowMarkedWindows();
    Platform().SetFatalErrorHandler(nullptr);
    if (Application())
        Application()->OnEndSession = nullptr;
    IWindowManager& desktop = Platform().Desktop();
    desktop.UnregisterHotKey(Handle(), kHideHotKey);
    desktop.UnregisterHotKey(Handle(), kShowHotKey);
    if (FWindowList) {
        FWindowList->Free();
        FWindowList = nullptr;
    }
    FSavedMarks.reset();
}

namespace {

// Spaces and control characters at both ends do not make a caption.
bool IsBlankCaption(std::string_view caption) {
    for (const char c : caption)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

// The window record a row stands for (none for a row the view did not fill).
const TWindowObject* RecordOf(const dxtl::TdxTreeListNode* node) {
    return static_cast<const TWindowObject*>(node->Data());
}

// The canvas clipped to a rectangle while it lives.
class TCellClip {
public:
    TCellClip(TCanvas& canvas, const TRect& rect) : FCanvas(canvas), FToken(canvas.SaveClip()) {
        canvas.IntersectClipRect(rect);
    }
    ~TCellClip() { FCanvas.RestoreClip(FToken); }
    TCellClip(const TCellClip&) = delete;
    TCellClip& operator=(const TCellClip&) = delete;

private:
    TCanvas& FCanvas;
    int FToken;
};

std::optional<int> ParseMark(std::string_view text) {
    int mark = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), mark);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return mark;
}

} // namespace

TWindowHandle TfVarnel::ApplicationWindow() {
    return Application() ? Application()->Handle() : 0;
}

void TfVarnel::FillWindowList() {
    tlWinList->ClearNodes();
    if (!FWindowList)
        return;
    // One layout pass for the whole list: laid out node by node, a refresh of 200 windows
    // held a shown list for most of a second under Wine.
    tlWinList->BeginUpdate();
    try {
        AddWindowRows();
    } catch (...) {
        tlWinList->EndUpdate();
        throw;
    }
    tlWinList->EndUpdate();
}

void TfVarnel::AddWindowRows() {
    const TWindowHandle applicationWindow = ApplicationWindow();
    for (int i = 0; i < FWindowList->Count(); ++i) {
        TWindowObject* record = FWindowList->Items(i);
        if (IsBlankCaption(record->Caption) || record->Handle == applicationWindow)
            continue;
        dxtl::TdxTreeListNode* node = tlWinList->AddNode();
        node->SetData(record);
        node->SetStrings(kCaptionField, record->Caption);
        // A selected row shows its selected image: without this, the row the keyboard moves
        // to would lose its check box until it is first marked.
        node->SetSelectedIndex(kUnmarked);
        // A handle that another thread or program got since is not the window the user
        // marked: its mark stays behind.
        const auto owner = FSavedOwners.find(record->Handle);
        if (owner == FSavedOwners.end() || owner->second != record->Owner)
            continue;
        if (const std::optional<int> mark =
                ParseMark(FSavedMarks->Values(std::to_string(record->Handle)))) {
            node->SetImageIndex(*mark);
            node->SetSelectedIndex(*mark);
        }
    }
}

void TfVarnel::SaveMarks() {
    FSavedMarks->Clear();
    FSavedOwners.clear();
    for (int i = 0; i < tlWinList->NodeCount(); ++i) {
        dxtl::TdxTreeListNode* node = tlWinList->NodeAt(i);
        const TWindowObject* record = RecordOf(node);
        if (!record)
            continue;
        FSavedMarks->Add(std::to_string(record->Handle) + "=" + std::to_string(node->ImageIndex()));
        FSavedOwners[record->Handle] = record->Owner;
    }
}

std::vector<const TWindowObject*> TfVarnel::MarkedWindows() {
    IWindowManager& desktop = Platform().Desktop();
    std::vector<const TWindowObject*> marked;
    for (int i = 0; i < tlWinList->NodeCount(); ++i) {
        dxtl::TdxTreeListNode* node = tlWinList->NodeAt(i);
        const TWindowObject* record = RecordOf(node);
        if (!record || node->ImageIndex() != kMarked)
            continue;
        // The platform reuses the handles of closed windows: a handle that another thread or
        // program owns now is not the window the user marked. A closed window fails this
        // test too and is skipped.
        if (desktop.WindowThreadProcess(record->Handle) != record->Owner)
            continue;
        marked.push_back(record);
    }
    return marked;
}

void TfVarnel::HideMarkedWindows() {
    IWindowManager& desktop = Platform().Desktop();
    FHiddenFamilies.TakeGiveBack(0);
    const TWindowHandle foreground = desktop.ForegroundWindow();
    const TDesktopFamilies families(desktop);
    std::set<TWindowHandle> hidden;
    for (const TWindowObject* record : MarkedWindows()) {
        const std::vector<TWindowHandle> owned = families.VisibleOwned(record->Handle);
        std::vector<TSeenWindow> seen;
        // The tag goes on before the window is hidden and comes off after it is shown, so
        // whenever this process may die a hidden window carries it.
        for (const TWindowHandle window : owned) {
            FHiddenTags->BeforeHide(window);
            seen.push_back(See(desktop, window));
        }
        FHiddenTags->BeforeHide(record->Handle);
        // The owned windows go first: hidden after their owner, a dialog would stand alone on
        // the screen for a moment.
        for (const TWindowHandle window : owned)
            desktop.ShowWindow(window, SW::Hide);
        desktop.ShowWindow(record->Handle, SW::Hide);
        FHiddenFamilies.AddOwned(record->Handle, seen);
        hidden.insert(owned.begin(), owned.end());
        hidden.insert(record->Handle);
    }
    // A second F2 from another program keeps the window the first one took the user from.
    if (foreground != 0 && (hidden.count(foreground) || IsOwnWindow(foreground)))
        FHiddenFamilies.SetActive(See(desktop, foreground));
    desktop.ShowWindow(Handle(), SW::Hide);
    if (Application())
        desktop.ShowWindow(Application()->Handle(), SW::Hide);
}

void TfVarnel::ShowMarkedWindows() {
    IWindowManager& desktop = Platform().Desktop();
    const std::optional<TSeenWindow> active = FHiddenFamilies.TakeActive();
    const TWindowHandle userIn = desktop.ForegroundWindow();
    std::set<TWindowHandle> shown;
    // Everything shown, front first as it is to stand.
    std::vector<TWindowHandle> stack;
    for (const TWindowObject* record : MarkedWindows()) {
        // A window that another copy still running hid is that copy's to show.
        if (!FHiddenTags->HiddenByAnotherRunningCopy(record->Handle))
            ShowFamily(record->Handle, shown, stack);
    }
    // A window this copy hid has no row after a refresh that found it hidden (a click on the
    // refresh button still queued when F2 came, say): it is shown all the same.
    const std::vector<TWindowHandle> dropped = FHiddenTags->HiddenBySelf();
    for (const TWindowHandle window : dropped) {
        desktop.ShowWindow(window, SW::ShowNA);
        FHiddenTags->AfterShow(window);
        shown.insert(window);
    }
    StackFamilies(desktop, dropped);
    stack.insert(stack.end(), dropped.begin(), dropped.end());
    FHiddenFamilies.Clear();
    const bool ownWasActive = active && IsOwnWindow(active->Handle);
    const TWindowHandle application = ApplicationWindow();
    // Back where the user left off. Otherwise the window the user is in keeps the activation:
    // a window manager that activates every window it maps (Wine's desktop) takes it, as soon
    // as the form is shown, and it goes back.
    std::optional<TSeenWindow> target;
    if (active && !ownWasActive && shown.count(active->Handle) && StillTheSame(desktop, *active))
        target = active;
    else if (!ownWasActive && userIn != 0 && !shown.count(userIn) && !IsOwnWindow(userIn) &&
             desktop.IsVisible(userIn))
        target = See(desktop, userIn);
    if (target)
        FHiddenFamilies.SetGiveBack(*target, Platform().TickCount() + kGiveBackMs);
    ShowOwnWindows(ownWasActive);
    if (!target)
        return;
    // A window shown comes up in front, activated or not: all of it goes behind the window the
    // user is in.
    if (target->Handle == userIn) {
        stack.insert(stack.begin(), userIn);
        if (application == 0 || !desktop.IsIconic(application))
            stack.push_back(Handle());
        StackInOrder(desktop, stack);
    }
    desktop.Activate(target->Handle);
}

void TfVarnel::WMActivate(TMessage& message) {
    DefaultHandler(message);
    // The window manager activated the form as it mapped it, after the show sweep gave the
    // activation to another window: it goes back there, once.
    if ((message.WParam & 0xFFFF) != kInactive &&
        FHiddenFamilies.GiveBackPending(Platform().TickCount()))
        Window()->Post(kGiveBackActivation, 0, 0);
}

void TfVarnel::WMGiveBackActivation(TMessage&) {
    IWindowManager& desktop = Platform().Desktop();
    const std::optional<TSeenWindow> target = FHiddenFamilies.TakeGiveBack(Platform().TickCount());
    if (target && StillTheSame(desktop, *target) && desktop.IsVisible(target->Handle))
        desktop.Activate(target->Handle);
}

void TfVarnel::ShowFamily(TWindowHandle head, std::set<TWindowHandle>& shown,
                          std::vector<TWindowHandle>& stack) {
    IWindowManager& desktop = Platform().Desktop();
    // Shown without taking the activation from the window the user is in.
    desktop.ShowWindow(head, SW::ShowNA);
    FHiddenTags->AfterShow(head);
    shown.insert(head);
    std::vector<TWindowHandle> family;
    for (const TSeenWindow& window : FHiddenFamilies.TakeOwned(head))
        if (StillTheSame(desktop, window) &&
            !FHiddenTags->HiddenByAnotherRunningCopy(window.Handle))
            family.push_back(window.Handle);
    // Back to front, then each put behind the one it stood behind when it was hidden.
    for (auto it = family.rbegin(); it != family.rend(); ++it) {
        desktop.ShowWindow(*it, SW::ShowNA);
        FHiddenTags->AfterShow(*it);
        shown.insert(*it);
    }
    family.push_back(head);
    StackInOrder(desktop, family);
    stack.insert(stack.end(), family.begin(), family.end());
}

void TfVarnel::ShowOwnWindows(bool toFront) {
    IWindowManager& desktop = Platform().Desktop();
    const int command = toFront ? SW::Show : SW::ShowNA;
    const TWindowHandle application = ApplicationWindow();
    // Minimised, the application window keeps the form hidden, as the platform hides what a
    // minimised window owns; shown, the form would stand alone on the screen.
    if (application == 0 || !desktop.IsIconic(application))
        desktop.ShowWindow(Handle(), command);
    // Activated, the application window would take the activation from the form.
    if (application != 0)
        desktop.ShowWindow(application, SW::ShowNA);
}

bool TfVarnel::IsOwnWindow(TWindowHandle window) {
    return window == Handle() || (window != 0 && window == ApplicationWindow());
}

void TfVarnel::WMHotKey(TMessage& message) {
    switch (message.WParam) {
    case kHideHotKey:
        HideMarkedWindows();
        break;
    case kShowHotKey:
        ShowMarkedWindows();
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TfVarnel::btnRefreshClick(TObject*) {
    // The saved lines read the old records through the nodes, so they go before the refresh
    // frees those records, and the refill drops the nodes before anything reads them again.
    SaveMarks();
    FWindowList->Refresh();
    FillWindowList();
}

void TfVarnel::btnHideClick(TObject*) {
    HideMarkedWindows();
}

void TfVarnel::btnShowClick(TObject*) {
    ShowMarkedWindows();
}

void TfVarnel::btnCloseClick(TObject*) {
    Close();
}

void TfVarnel::btnMailClick(TObject*) {
    Platform().Desktop().ShellOpen(ApplicationWindow(), "mailto:" + std::string(kBugReportAddress));
}

void TfVarnel::tlWinListClick(TObject*) {
    ToggleFocusedMark();
}

void TfVarnel::tlWinListKeyDown(TObject*, int& key, TShiftState shift) {
    // Ctrl+Space stays the list's selection toggle; the key goes on to the list either way, so
    // its selection rule still applies.
    if (key == VK::Space && (shift & (ssCtrl | ssAlt)) == 0)
        ToggleFocusedMark();
}

void TfVarnel::ToggleFocusedMark() {
    dxtl::TdxTreeListNode* node = tlWinList->FocusedNode();
    if (!node)
        return;
    // Anything but unmarked (a stray value too) becomes unmarked.
    const int mark = node->ImageIndex() == kUnmarked ? kMarked : kUnmarked;
    node->SetImageIndex(mark);
    node->SetSelectedIndex(mark);
}

void TfVarnel::lcIConCustomDrawCell(TObject*, TCanvas& canvas, TRect rect,
                                    dxtl::TdxTreeListNode* node, dxtl::TdxTreeListColumn*, bool,
                                    bool, bool, std::string&, TColor&, TFont&, TAlignment&,
                                    bool& done) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(kIconCellColor);
    canvas.FillRect(rect);
    // The window's icon is borrowed; the fallback is made for this cell and released with it.
    const TWindowObject* record = node ? RecordOf(node) : nullptr;
    TIconHandle icon = record ? record->SmallIcon : 0;
    TIcon fallback;
    if (icon == 0) {
        fallback = ImgLstCheck->GetIcon(kFallbackIconImage);
        icon = fallback.Handle();
    }
    // An icon larger than the row stays inside its cell: below the last row it would cover
    // what the list painted before the rows and never paints again.
    {
        const TCellClip clip(canvas, rect);
        canvas.DrawIcon(rect.Left, rect.Top, icon, 0, 0);
    }
    done = true;
}

} // namespace varnel
