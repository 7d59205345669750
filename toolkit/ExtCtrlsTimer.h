#pragma once
// TTimer: calls OnTimer every Interval milliseconds while Enabled. All timers
// share one hidden message-only window; a timer runs only once its component
// has finished loading, and never after it is freed.
#include <windows.h>

#include "Graphics.h"  // TNotifyEvent
#include "core/Component.h"

namespace qs {

class TTimer : public TComponent {
    QS_DECLARE_CLASS(TTimer)
public:
    explicit TTimer(TComponent* owner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);
    // Milliseconds; 0 stops the timer. A new interval starts counting afresh.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent handler);

    // True while the system timer is set (enabled, interval > 0, a handler,
    // loaded).
    bool Running() const { return FId != 0; }

    void Loaded() override;

protected:
    // The tick; runs OnTimer.
    virtual void Timer();

private:
    friend struct TimerWindow;
    void UpdateTimer();
    void StopTimer();
    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
    UINT_PTR FId = 0;
};

}  // namespace qs
