// Controls of this family: progress bars, track bars and the media player.
#include "ComCtrlsProgress.h"

#include <commctrl.h>

#include "Application.h"
#include "MPlayer.h"
#include "PropertyHelpers.h"

namespace qs {

const std::vector<std::string> kProgressBarOrientationNames = {"pbHorizontal", "pbVertical"};
const std::vector<std::string> kTrackBarOrientationNames = {"trHorizontal", "trVertical"};
const std::vector<std::string> kTickMarkNames = {"tmBottomRight", "tmTopLeft", "tmBoth"};
const std::vector<std::string> kTickStyleNames = {"tsNone", "tsAuto", "tsManual"};

namespace {
bool intSetter(int64_t v, int& out) {
    if (v < INT32_MIN || v > INT32_MAX) return false;
    out = int(v);
    return true;
}
}  // namespace

// ---- TProgressBar ----

const TClassInfo& TProgressBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TProgressBar>("TProgressBar", &TWinControl::StaticClassInfo())
            .creatable()
            .integer("Min", [](const TProgressBar& p) { return int64_t(p.Min()); },
                     [](TProgressBar& p, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x)) return false;
                         // While a definition is read Min may come before Max.
                         if (p.IsLoading()) return p.SetRange(x, std::max(x, p.Max()));
                         return p.SetRange(x, p.Max());
                     })
            .integer("Max", [](const TProgressBar& p) { return int64_t(p.Max()); },
                     [](TProgressBar& p, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x)) return false;
                         if (p.IsLoading()) return p.SetRange(std::min(p.Min(), x), x);
                         return p.SetRange(p.Min(), x);
                     })
            .integer("Position", [](const TProgressBar& p) { return int64_t(p.Position()); },
                     [](TProgressBar& p, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x)) return false;
                         p.SetPosition(x);
                         return true;
                     })
            .integer("Step", [](const TProgressBar& p) { return int64_t(p.Step()); },
                     [](TProgressBar& p, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x)) return false;
                         p.SetStep(x);
                         return true;
                     })
            .enumeration("Orientation", kProgressBarOrientationNames,
                         [](const TProgressBar& p) { return int(p.Orientation()); },
                         [](TProgressBar& p, int v) { p.SetOrientation(TProgressBarOrientation(v)); })
            .boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
            .build();
    return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 16);
}

TProgressBar::~TProgressBar() { DestroyHandle(); }

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = PROGRESS_CLASSW;
    if (FOrientation == pbVertical) p.Style |= PBS_VERTICAL;
    if (FSmooth) p.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateHandle() {
    TWinControl::CreateHandle();
    PushRange();
}

void TProgressBar::PushRange() {
    if (!FHandle) return;
    SendMessageW(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
    SendMessageW(FHandle, PBM_SETSTEP, WPARAM(FStep), 0);
    SendMessageW(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

bool TProgressBar::SetRange(int min, int max) {
    if (min > max) return false;
    FMin = min;
    FMax = max;
    FPosition = std::clamp(FPosition, FMin, FMax);
    PushRange();
    return true;
}

void TProgressBar::SetPosition(int v) {
    v = std::clamp(v, FMin, FMax);
    if (v == FPosition) return;
    FPosition = v;
    if (FHandle) SendMessageW(FHandle, PBM_SETPOS, WPARAM(v), 0);
}

void TProgressBar::SetStep(int v) {
    FStep = v;
    if (FHandle) SendMessageW(FHandle, PBM_SETSTEP, WPARAM(v), 0);
}

void TProgressBar::StepBy(int delta) {
    // In 64 bits: a step near the limits of int must not wrap to the other end.
    SetPosition(int(std::clamp<int64_t>(int64_t(FPosition) + delta, FMin, FMax)));
}

void TProgressBar::SetOrientation(TProgressBarOrientation o) {
    if (o == FOrientation) return;
    FOrientation = o;
    // Turning the bar turns its box with it.
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    if (FHandle) RecreateWnd();
}

void TProgressBar::SetSmooth(bool v) {
    if (ChangeField(FSmooth, v)) RecreateWnd();
}

// ---- TTrackBar ----

const TClassInfo& TTrackBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTrackBar>("TTrackBar", &TWinControl::StaticClassInfo())
            .creatable()
            .integer("Min", [](const TTrackBar& t) { return int64_t(t.Min()); },
                     [](TTrackBar& t, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x)) return false;
                         if (t.IsLoading()) return t.SetRange(x, std::max(x, t.Max()));
                         return t.SetRange(x, t.Max());
                     })
            .integer("Max", [](const TTrackBar& t) { return int64_t(t.Max()); },
                     [](TTrackBar& t, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x)) return false;
                         if (t.IsLoading()) return t.SetRange(std::min(t.Min(), x), x);
                         return t.SetRange(t.Min(), x);
                     })
            .integer("Position", [](const TTrackBar& t) { return int64_t(t.Position()); },
                     [](TTrackBar& t, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x)) return false;
                         t.SetPosition(x);
                         return true;
                     })
            .integer("Frequency", [](const TTrackBar& t) { return int64_t(t.Frequency()); },
                     [](TTrackBar& t, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x) || x < 1) return false;
                         t.SetFrequency(x);
                         return true;
                     })
            .integer("LineSize", [](const TTrackBar& t) { return int64_t(t.LineSize()); },
                     [](TTrackBar& t, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x) || x < 1) return false;
                         t.SetLineSize(x);
                         return true;
                     })
            .integer("PageSize", [](const TTrackBar& t) { return int64_t(t.PageSize()); },
                     [](TTrackBar& t, int64_t v) -> bool {
                         int x;
                         if (!intSetter(v, x) || x < 1) return false;
                         t.SetPageSize(x);
                         return true;
                     })
            .enumeration("Orientation", kTrackBarOrientationNames,
                         [](const TTrackBar& t) { return int(t.Orientation()); },
                         [](TTrackBar& t, int v) { t.SetOrientation(TTrackBarOrientation(v)); })
            .enumeration("TickMarks", kTickMarkNames, [](const TTrackBar& t) { return int(t.TickMarks()); },
                         [](TTrackBar& t, int v) { t.SetTickMarks(TTickMark(v)); })
            .enumeration("TickStyle", kTickStyleNames, [](const TTrackBar& t) { return int(t.TickStyle()); },
                         [](TTrackBar& t, int v) { t.SetTickStyle(TTickStyle(v)); })
            .event<TNotifyEvent>("OnChange", [](const TTrackBar& t) { return t.OnChange; },
                                 [](TTrackBar& t, const TNotifyEvent& f) { t.OnChange = f; })
            .build();
    return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

TTrackBar::~TTrackBar() { DestroyHandle(); }

void TTrackBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = TRACKBAR_CLASSW;
    p.Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
    if (FTickStyle == tsNone)
        p.Style |= TBS_NOTICKS;
    else if (FTickStyle == tsAuto)
        p.Style |= TBS_AUTOTICKS;
    if (FTickMarks == tmBoth)
        p.Style |= TBS_BOTH;
    else if (FTickMarks == tmTopLeft)
        p.Style |= TBS_TOP;  // the same bit as TBS_LEFT
}

void TTrackBar::CreateHandle() {
    TWinControl::CreateHandle();
    PushState();
}

void TTrackBar::PushState() {
    if (!FHandle) return;
    SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, LPARAM(FMin));
    SendMessageW(FHandle, TBM_SETRANGEMAX, FALSE, LPARAM(FMax));
    SendMessageW(FHandle, TBM_SETLINESIZE, 0, LPARAM(FLineSize));
    SendMessageW(FHandle, TBM_SETPAGESIZE, 0, LPARAM(FPageSize));
    if (FTickStyle == tsAuto) SendMessageW(FHandle, TBM_SETTICFREQ, WPARAM(FFrequency), 0);
    if (FTickStyle == tsManual) {
        SendMessageW(FHandle, TBM_CLEARTICS, FALSE, 0);
        for (int t : FTicks) SendMessageW(FHandle, TBM_SETTIC, 0, LPARAM(t));
    }
    SendMessageW(FHandle, TBM_SETPOS, TRUE, LPARAM(FPosition));
}

bool TTrackBar::SetRange(int min, int max) {
    if (min > max) return false;
    FMin = min;
    FMax = max;
    FPosition = std::clamp(Position(), FMin, FMax);
    PushState();
    return true;
}

int TTrackBar::Position() const {
    if (FHandle) return int(SendMessageW(FHandle, TBM_GETPOS, 0, 0));
    return FPosition;
}

void TTrackBar::SetPosition(int v) {
    v = std::clamp(v, FMin, FMax);
    if (v == Position() && v == FPosition) return;
    FPosition = v;
    if (FHandle) SendMessageW(FHandle, TBM_SETPOS, TRUE, LPARAM(v));
    Changed();
}

void TTrackBar::SetFrequency(int v) {
    FFrequency = std::max(v, 1);
    PushState();
}
void TTrackBar::SetLineSize(int v) {
    FLineSize = std::max(v, 1);
    PushState();
}
void TTrackBar::SetPageSize(int v) {
    FPageSize = std::max(v, 1);
    PushState();
}

void TTrackBar::SetOrientation(TTrackBarOrientation o) {
    if (o == FOrientation) return;
    FOrientation = o;
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    if (FHandle) {
        FPosition = Position();
        RecreateWnd();
    }
}

void TTrackBar::SetTickMarks(TTickMark t) {
    if (t == FTickMarks) return;
    FTickMarks = t;
    if (FHandle) {
        FPosition = Position();
        RecreateWnd();
    }
}

void TTrackBar::SetTickStyle(TTickStyle t) {
    if (t == FTickStyle) return;
    FTickStyle = t;
    if (FHandle) {
        FPosition = Position();
        RecreateWnd();
    }
}

void TTrackBar::SetTick(int value) {
    FTicks.push_back(value);
    if (FHandle && FTickStyle == tsManual) SendMessageW(FHandle, TBM_SETTIC, 0, LPARAM(value));
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& msg) {
    if (msg.Msg == CN_HSCROLL || msg.Msg == CN_VSCROLL) {
        // The system control moved its thumb (mouse or keys).
        int pos = Position();
        if (pos != FPosition) {
            FPosition = pos;
            Changed();
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

void RegisterProgressControlClasses() {
    RegisterComponentClass(TProgressBar::StaticClassInfo());
    RegisterComponentClass(TTrackBar::StaticClassInfo());
    RegisterComponentClass(TMediaPlayer::StaticClassInfo());
}

}  // namespace qs
