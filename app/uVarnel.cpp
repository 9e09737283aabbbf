#include "app/uVarnel.h"

#include "framework/Application.h"
#include "framework/StandardClasses.h"

namespace varnel {

using namespace fw;

const TPropertyRegistry& VarnelClasses() {
    // Built once and read-only afterwards.
    static const TPropertyRegistry registry = [] {
        TPropertyRegistry r;
        RegisterStandardClasses(r);
        quol::RegisterQuolButton(r);
        dxtl::RegisterTreeList(r);
        RegisterRootClass<TfVarnel>(r, "TfVarnel", "TForm");
        return r;
    }();
    return registry;
}

FW_BEGIN_MESSAGE_MAP(TfVarnel, TForm)
FW_MESSAGE(Msg::HotKey, WMHotKey)
FW_END_MESSAGE_MAP()

TfVarnel::TfVarnel(TComponent* owner) : TForm(owner) {
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
    ImgLstCheck = Bind<TImageList>("ImgLstCheck");
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
    return table;
}

void TfVarnel::FormCreate(TObject*) {
    FWindowList = new TWindowList(this);
    FSavedMarks = std::make_unique<TStringList>();
    FillWindowList();
    // Another program may hold either key: then that key does nothing for us, the buttons
    // still work, and nobody needs to be told.
    IWindowManager& desktop = Platform().Desktop();
    desktop.RegisterHotKey(Handle(), kHideHotKey, 0, VK::F2);
    desktop.RegisterHotKey(Handle(), kShowHotKey, HotKeyMod::Shift, VK::F2);
}

void TfVarnel::FormDestroy(TObject*) {
    ShowMarkedWindows();
    IWindowManager& desktop = Platform().Desktop();
    desktop.UnregisterHotKey(Handle(), kHideHotKey);
    desktop.UnregisterHotKey(Handle(), kShowHotKey);
    if (FWindowList) {
        FWindowList->Free();
        FWindowList = nullptr;
    }
    FSavedMarks.reset();
}

void TfVarnel::FillWindowList() {}

void TfVarnel::SweepShow(int showCommand) {
    IWindowManager& desktop = Platform().Desktop();
    desktop.ShowWindow(Handle(), showCommand);
    if (Application())
        desktop.ShowWindow(Application()->Handle(), showCommand);
}

void TfVarnel::HideMarkedWindows() {
    SweepShow(SW::Hide);
}

void TfVarnel::ShowMarkedWindows() {
    SweepShow(SW::Show);
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

void TfVarnel::btnRefreshClick(TObject*) {}

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
    const TWindowHandle parent = Application() ? Application()->Handle() : 0;
    Platform().Desktop().ShellOpen(parent, "mailto:" + std::string(kBugReportAddress));
}

void TfVarnel::tlWinListClick(TObject*) {}

} // namespace varnel
