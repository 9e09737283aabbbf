#include "framework/Form.h"

#include "framework/Application.h"

namespace fw {

TForm::TForm(TComponent* owner) : TCustomControl(owner) {
    WindowClassName = "TForm";
    SetVisible(false);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    SetBounds(0, 0, 320, 240);
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TForm::~TForm() = default;

void TForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

void TForm::BeforeDestruction() {
    // The destroy handler still sees the window and every control.
    if (!FDestroyRaised) {
        FDestroyRaised = true;
        if (OnDestroy)
            OnDestroy(this);
    }
    TCustomControl::BeforeDestruction();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    FBorderIcons = icons;
    if (Window())
        Window()->SetBorderIcons(icons & biSystemMenu, icons & biMinimize, icons & biMaximize);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    FBorderStyle = style;
}

TSize TForm::FrameExtra() const {
    if (!HasPlatform())
        return {};
    return Platform().FrameExtra(FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin);
}

TRect TForm::ClientRect() const {
    if (Window())
        return Window()->ClientRect();
    const TSize extra = FrameExtra();
    return {0, 0, std::max(Width() - extra.cx, 0), std::max(Height() - extra.cy, 0)};
}

void TForm::SetClientWidth(int width) {
    SetWidth(width + FrameExtra().cx);
}

void TForm::SetClientHeight(int height) {
    SetHeight(height + FrameExtra().cy);
}

void TForm::CreateParams(TWindowCreateArgs& args) {
    TCustomControl::CreateParams(args);
    args.Kind = TWindowKind::TopLevel;
    args.Parent = Application() ? Application()->Handle() : 0;
    args.Visible = false;
    args.SysMenu = (FBorderIcons & biSystemMenu) != 0;
    args.MinimizeBox = (FBorderIcons & biMinimize) != 0;
    args.MaximizeBox = (FBorderIcons & biMaximize) != 0;
    args.SizeableBorder = FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin;
}

void TForm::CenterOnScreen() {
    const IPlatform& p = Platform();
    const int sw = p.SystemMetric(SM::CxScreen);
    const int sh = p.SystemMetric(SM::CyScreen);
    SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
}

void TForm::Show() {
    if (!FShownOnce) {
        FShownOnce = true;
        if (FPosition == poScreenCenter || FPosition == poDesktopCenter)
            CenterOnScreen();
    }
    HandleNeeded();
    SetVisible(true);
    Window()->Show(SW::ShowNormal);
    Window()->BringToFront();
    if (OnShow)
        OnShow(this);
    if (FActiveControl && FActiveControl->CanFocus())
        FActiveControl->SetFocus();
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    TApplication* app = Application();
    const bool isMain = app && app->MainForm() == this;
    TCloseAction action = isMain ? caFree : caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (isMain) {
        app->Terminate();
        return;
    }
    if (action == caMinimize) {
        if (Window())
            Window()->Show(SW::Minimize);
        return;
    }
    Hide();
}

void TForm::SetActiveControl(TWinControl* control) {
    FActiveControl = control;
    if (control)
        control->FreeNotification(this);
    if (control && Visible() && control->CanFocus())
        control->SetFocus();
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == FActiveControl)
        FActiveControl = nullptr;
}

void TForm::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case Msg::Close:
        // The form decides; the platform must not destroy the window behind our back.
        Close();
        return;
    case Msg::SysCommand:
        if ((message.WParam & 0xFFF0) == SysCmd::Minimize && Application() &&
            Application()->MainForm() == this) {
            Application()->Minimize();
            return;
        }
        break;
    case Msg::SysColorChange:
        // The system tells top-level windows only; controls that follow system colours
        // hear it from their form.
        Perform(Msg::CmSysColorChange);
        break;
    case Msg::SetFocus: {
        // Activating the form focuses the form's own window; the keyboard belongs to the
        // control that had it last, or to the first tab stop.
        TWinControl* target = FActiveControl && FActiveControl->CanFocus()
                                  ? FActiveControl
                                  : FindNextControl(nullptr, true, true);
        if (target && target != this) {
            target->SetFocus();
            return;
        }
        break;
    }
    case Msg::CmFocusChanged:
        if (auto* control = reinterpret_cast<TWinControl*>(message.LParam);
            control && control != this && control != FActiveControl) {
            FActiveControl = control;
            control->FreeNotification(this);
        }
        break;
    default:
        break;
    }
    TCustomControl::DefaultHandler(message);
}

} // namespace fw
