#include "framework/Application.h"

#include "framework/Form.h"

namespace fw {

TApplication::TApplication(IPlatform& platform) : TComponent(nullptr), FPlatform(platform) {
    SetApplication(this);
}

TApplication::~TApplication() {
    // Forms first, while the application window that owns them still exists.
    DestroyComponents();
    FMainForm = nullptr;
    FWindow.reset();
}

void TApplication::Initialize() {
    (void)Handle();
}

TWindowHandle TApplication::Handle() {
    if (!FWindow) {
        TWindowCreateArgs args;
        args.Kind = TWindowKind::Application;
        args.Sink = this;
        args.Caption = FTitle;
        args.ClassName = "TApplication";
        args.MaximizeBox = false;
        args.SizeableBorder = false;
        const int sw = FPlatform.SystemMetric(SM::CxScreen);
        const int sh = FPlatform.SystemMetric(SM::CyScreen);
        args.Bounds = {sw / 2, sh / 2, sw / 2, sh / 2};
        args.Visible = true;
        FWindow = FPlatform.CreatePlatformWindow(args);
    }
    return FWindow->Handle();
}

void TApplication::SetTitle(std::string title) {
    FTitle = std::move(title);
    if (FWindow)
        FWindow->SetCaption(FTitle);
}

void TApplication::AfterFormCreated(TForm* form) {
    form->DoCreate();
    if (!FMainForm) {
        form->HandleNeeded();
        FMainForm = form;
    }
}

void TApplication::Run() {
    if (FMainForm && !FTerminated)
        FMainForm->Show();
    while (!FTerminated) {
        if (!FPlatform.HandleMessage())
            break;
    }
    FTerminated = true;
}

void TApplication::Terminate() {
    if (FTerminated)
        return;
    FTerminated = true;
    FPlatform.PostQuit();
}

void TApplication::Minimize() {
    if (FWindow)
        FWindow->Show(SW::Minimize);
}

bool TApplication::HelpContext(int context) {
    return OnHelp && OnHelp(context);
}

void TApplication::HandleException(const std::exception& error) {
    // An error while reporting an error must not recurse.
    if (FHandlingException)
        return;
    FHandlingException = true;
    try {
        if (OnException)
            OnException(error);
        else
            FPlatform.ShowErrorMessage(error.what());
    } catch (...) {
    }
    FHandlingException = false;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm)
        FMainForm = nullptr;
}

void TApplication::WindowProc(TMessage& message) {
    try {
        HandleApplicationMessage(message);
    } catch (const std::exception& e) {
        HandleException(e);
    }
}

void TApplication::HandleApplicationMessage(TMessage& message) {
    switch (message.Msg) {
    case Msg::Close:
        if (FMainForm)
            FMainForm->Close();
        else
            Terminate();
        return;
    case Msg::QueryEndSession:
        message.Result = 1;
        return;
    case Msg::EndSession:
        if (message.WParam && OnEndSession)
            OnEndSession();
        return;
    case Msg::Activate:
        // Keep the keyboard in the main form when the taskbar button activates us.
        if ((message.WParam & 0xFFFF) != 0 && FMainForm && FMainForm->Visible() &&
            FMainForm->HandleAllocated()) {
            FMainForm->Window()->SetFocus();
            return;
        }
        break;
    default:
        break;
    }
    if (FWindow)
        message.Result = FWindow->DefaultProc(message);
}

} // namespace fw
