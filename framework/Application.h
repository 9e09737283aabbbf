// The application object: the top-level application window, the forms, the message loop.
#pragma once

#include "framework/Component.h"
#include "framework/Platform.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace fw {

class TForm;

// Root of the ownership tree. It owns the forms and the application window: an owner-less
// window, visible with zero size, that carries the program's taskbar button and owns every
// form, so that hiding it and the forms leaves nothing on the taskbar.
class TApplication : public TComponent, private IWindowSink {
public:
    explicit TApplication(IPlatform& platform);
    // Frees the forms (their destroy handlers run while their windows exist), then the
    // application window.
    ~TApplication() override;

    IPlatform& Platform() const { return FPlatform; }

    // Creates the application window.
    void Initialize();
    // The first form created becomes the main form.
    template <class TFormClass> TFormClass* CreateForm() {
        auto* form = new TFormClass(this);
        AfterFormCreated(form);
        return form;
    }
    // Shows the main form and handles messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    TForm* MainForm() const { return FMainForm; }
    // The application window's handle (created on demand).
    TWindowHandle Handle();
    IPlatformWindow* Window() const { return FWindow.get(); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(std::string title);

    void Minimize();

    // Asks OnHelp to show the help topic `context`; false when nobody showed it.
    bool HelpContext(int context);
    std::function<bool(int context)> OnHelp;

    // Errors that escaped a message handler end here: OnException, or the platform's message.
    void HandleException(const std::exception& error);
    std::function<void(const std::exception&)> OnException;
    // Raised when the session ends (log-off or shut-down) while the program runs.
    std::function<void()> OnEndSession;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void WindowProc(TMessage& message) override;
    void HandleApplicationMessage(TMessage& message);
    void AfterFormCreated(TForm* form);

    IPlatform& FPlatform;
    std::unique_ptr<IPlatformWindow> FWindow;
    TForm* FMainForm = nullptr;
    std::string FTitle;
    bool FTerminated = false;
    bool FHandlingException = false;
};

} // namespace fw
