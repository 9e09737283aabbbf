#include "framework/Timer.h"

#include "framework/Application.h"

namespace fw {

namespace {
constexpr unsigned kTimerId = 1;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    UpdateTimer();
}

TTimer::~TTimer() {
    if (FWindow)
        FWindow->KillTimer(kTimerId);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval) {
    if (interval == FInterval)
        return;
    FInterval = interval;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (FWindow)
        FWindow->KillTimer(kTimerId);
    // A timer that never runs needs no window; nor does one outside an application.
    if (!FEnabled || FInterval == 0 || !HasPlatform())
        return;
    if (!FWindow) {
        TWindowCreateArgs args;
        args.Kind = TWindowKind::Utility;
        args.Sink = this;
        args.ClassName = "TTimerWindow";
        FWindow = Platform().CreatePlatformWindow(args);
    }
    FWindow->SetTimer(kTimerId, FInterval);
}

void TTimer::WindowProc(TMessage& message) {
    if (message.Msg == Msg::Timer) {
        if (FEnabled && OnTimer) {
            try {
                OnTimer(this);
            } catch (const std::exception& e) {
                if (Application())
                    Application()->HandleException(e);
            }
        }
        return;
    }
    if (FWindow)
        message.Result = FWindow->DefaultProc(message);
}

} // namespace fw
