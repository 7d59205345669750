#pragma once
// Progress bars and track bars: wrapped system controls whose range and
// position live in the control object as well, so they survive a window being
// made again (an orientation change recreates it).
#include <algorithm>

#include "Controls.h"

namespace qs {

enum TProgressBarOrientation { pbHorizontal, pbVertical };
enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };
extern const std::vector<std::string> kProgressBarOrientationNames;
extern const std::vector<std::string> kTrackBarOrientationNames;
extern const std::vector<std::string> kTickMarkNames;
extern const std::vector<std::string> kTickStyleNames;

class TProgressBar : public TWinControl {
    QS_DECLARE_CLASS(TProgressBar)
public:
    explicit TProgressBar(TComponent* owner);
    ~TProgressBar() override;

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    // Min above Max is refused (false); the position is kept inside the range.
    bool SetRange(int min, int max);
    void SetMin(int v) { SetRange(v, std::max(v, FMax)); }
    void SetMax(int v) { SetRange(std::min(FMin, v), v); }
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Step() const { return FStep; }
    void SetStep(int v);
    // Moves by Step (or by `delta`), stopping at the ends of the range.
    void StepIt() { StepBy(FStep); }
    void StepBy(int delta);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation o);
    // A continuous bar instead of separate blocks.
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;

private:
    void PushRange();
    int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
    TProgressBarOrientation FOrientation = pbHorizontal;
    bool FSmooth = false;
};

using TTrackBarChangeEvent = TNotifyEvent;

class TTrackBar : public TWinControl {
    QS_DECLARE_CLASS(TTrackBar)
public:
    explicit TTrackBar(TComponent* owner);
    ~TTrackBar() override;

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    bool SetRange(int min, int max);
    void SetMin(int v) { SetRange(v, std::max(v, FMax)); }
    void SetMax(int v) { SetRange(std::min(FMin, v), v); }
    // The window's position once it has one (the user may have moved the thumb).
    int Position() const;
    void SetPosition(int v);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int v);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int v);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation o);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark t);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle t);
    // A tick at `value` for tsManual.
    void SetTick(int value);

    // The position changed (by the user or by SetPosition).
    TNotifyEvent OnChange;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    virtual void Changed();

private:
    void PushState();
    int FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1, FLineSize = 1, FPageSize = 2;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    std::vector<int> FTicks;
};

}  // namespace qs
