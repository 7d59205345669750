#include "ExtCtrlsTimer.h"

#include <map>
#include <memory>
#include <set>

#include "Controls.h"  // ReportCurrentException
#include "UtilWindow.h"

namespace qs {

// The window all timers share, alive while any TTimer exists. Ticks are
// routed by timer id, never by pointer, so a tick that arrives for a timer
// already stopped or freed finds nothing and is dropped.
struct TimerWindow {
    std::unique_ptr<TUtilWindow> window;
    std::map<UINT_PTR, TTimer*> running;
    std::set<UINT_PTR> busy;
    UINT_PTR nextId = 1;
    int instances = 0;

    static TimerWindow& get() {
        static TimerWindow w;
        return w;
    }
    HWND handle() {
        if (!window)
            window = std::make_unique<TUtilWindow>(
                [this](UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
                    if (msg != WM_TIMER) return false;
                    result = 0;
                    const UINT_PTR id = UINT_PTR(wParam);
                    auto it = running.find(id);
                    // A handler that pumps messages (its own error report is
                    // modal) must not be entered again by its next tick.
                    if (it == running.end() || busy.count(id)) return true;
                    busy.insert(id);
                    try {
                        it->second->Timer();  // may free the timer
                    } catch (...) {
                        // Reported while the tick is still marked, so the
                        // report's own message loop does not tick into it.
                        ReportCurrentException();
                    }
                    busy.erase(id);
                    return true;
                },
                true);
        return window->Handle();
    }
};

const TClassInfo& TTimer::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTimer>("TTimer", &TComponent::StaticClassInfo())
            .creatable()
            .boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
            .integer("Interval", [](const TTimer& t) { return int64_t(t.Interval()); },
                     [](TTimer& t, int64_t v) -> bool {
                         if (v < 0 || v > int64_t(USER_TIMER_MAXIMUM)) return false;
                         t.SetInterval(unsigned(v));
                         return true;
                     })
            .event<TNotifyEvent>("OnTimer", [](const TTimer& t) { return t.OnTimer(); },
                                 [](TTimer& t, const TNotifyEvent& f) { t.SetOnTimer(f); })
            .build();
    return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) { ++TimerWindow::get().instances; }

TTimer::~TTimer() {
    StopTimer();
    auto& tw = TimerWindow::get();
    if (--tw.instances == 0) tw.window.reset();
}

void TTimer::SetEnabled(bool on) {
    if (on == FEnabled) return;
    FEnabled = on;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == FInterval) return;
    FInterval = ms;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    FOnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::StopTimer() {
    if (!FId) return;
    auto& tw = TimerWindow::get();
    if (tw.window) ::KillTimer(tw.window->Handle(), FId);
    tw.running.erase(FId);
    FId = 0;
}

void TTimer::UpdateTimer() {
    StopTimer();
    if (!FEnabled || FInterval == 0 || !FOnTimer || IsLoading() || IsDesigning() || IsDestroying()) return;
    auto& tw = TimerWindow::get();
    HWND wnd = tw.handle();
    if (!wnd) return;
    UINT_PTR id = tw.nextId++;
    if (!::SetTimer(wnd, id, FInterval, nullptr)) return;
    FId = id;
    tw.running[id] = this;
}

void TTimer::Timer() {
    if (FOnTimer) {
        // A copy: the handler may replace itself or free this timer.
        TNotifyEvent handler = FOnTimer;
        handler(this);
    }
}

}  // namespace qs
