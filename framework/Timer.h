// A component that raises OnTimer at an interval, through a platform window timer.
#pragma once

#include "framework/Component.h"
#include "framework/Control.h"

namespace fw {

class TTimer : public TComponent, private IWindowSink {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    // Milliseconds; 0 stops the timer.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned interval);

    TNotifyEvent OnTimer;

private:
    void WindowProc(TMessage& message) override;
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    std::unique_ptr<IPlatformWindow> FWindow;
};

} // namespace fw
