#pragma once
// Tool bars and rebars of windows without toolkit controls. A tool bar asks
// its parent how to draw (custom-draw notifications): whichever window of
// the skinned form receives that question hands it to the bar's skin, which
// answers with the skin's button strip and text colour unless the program
// draws the bar itself. A rebar takes the skin's face and text colours for
// itself and its bands, and has them back when it is restored.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "SkinControl.h"

namespace qs {

class TSkinToolbarH : public TSkinControl {
    QS_DECLARE_CLASS(TSkinToolbarH)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& msg) override;
    // The answer to one custom-draw notification; `program` runs the
    // program's own answer (the bar is left to it when it draws itself).
    LRESULT CustomDraw(NMTBCUSTOMDRAW& cd, const std::function<LRESULT()>& program);
    // The bar's background: the skin's tool-bar picture, or its face.
    void PaintBackground(HDC dc, const RECT& r) const;

    // Set while a question is being answered: a window further up that is
    // asked the same question (the rebar passes it on) leaves it to the
    // program.
    bool FAnswering = false;

private:
    bool FTakenOver = false;  // this paint's items are ours
};

class TSkinRebarH : public TSkinControl {
    QS_DECLARE_CLASS(TSkinRebarH)
public:
    using TSkinControl::TSkinControl;
    void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    void Restore() override;
    void SkinChanged() override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;

private:
    void ApplyColours();
    void ApplyBandColours(int index, COLORREF text, COLORREF face);
    // The colours a band had before the skin, found again by the band itself
    // (its child window, else its id), wherever it has moved to.
    struct Band {
        HWND child;
        UINT id;
        COLORREF fore, back;
    };
    Band ReadBand(int index) const;
    // The record of the band now at `index`; null when there is none.
    Band* FindBand(int index);
    // The program changed the bands: records follow before the skin's colours go on again.
    void BandsChanging(const TMessage& msg);
    void BandsChanged(const TMessage& msg, int deletedRecord);
    // The chevrons of bands too narrow for their bar: the system draws them
    // in its frame colour, which vanishes on a dark face.
    void PaintChevrons();
    bool FSaved = false;
    COLORREF FOldBack = CLR_NONE, FOldText = CLR_NONE;
    std::vector<Band> FOldBands;
    int FDeleting = -1;      // the record of a band being deleted
    bool FOwnChange = false;  // the band colours being set are the skin's, not the program's
};

// A WM_NOTIFY that is a skinned tool bar's custom-draw question gets the
// skin's answer in msg.Result (true); anything else is left alone (false).
bool AnswerToolbarCustomDraw(TMessage& msg, const std::function<LRESULT()>& program);

}  // namespace qs
