#include "NCObjects.h"

#include "FrameLayout.h"
#include "Graphics.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinRecords.h"

namespace qs {

TNCObject*& TNCObject::hotObject() { return FForm->FHotObject; }

void TNCObject::MouseDown() {
    if (!FForm) return;
    TNCObject* hot = hotObject();
    if (hot && hot != this) hot->MouseLeave();
    if (!FVisible) return;
    hotObject() = this;
    FState = ncsPressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!FVisible) return;
    FState = ncsHot;
    Paint();
}

void TNCObject::MouseEnter() {
    if (!FForm) return;
    TNCObject* hot = hotObject();
    if (hot == this) return;
    if (hot) hot->MouseLeave();
    if (!FVisible) return;
    hotObject() = this;
    FState = ncsHot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!FVisible) return;
    if (FForm && hotObject() == this) hotObject() = nullptr;
    FState = ncsNormal;
    Paint();
}

bool TWinSysButton::IsIconButton() const { return FData && (FData->Action == 3 || FData->Action == 11); }

void TWinSysButton::Paint() {
    if (!FForm || !FForm->FHandle || !FData) return;
    WindowDCScope dc(FForm->FHandle);
    if (!dc) return;
    if (IsIconButton()) {
        if (FForm->PaintCaptionButton(*this, dc.get(), 1)) return;
        FForm->DrawIconButton(dc.get(), FBoundsRect);
        return;
    }
    const int f = StateButtonFrame(FState, FEnabled, FData->Frame, FData->Visibility);
    if (FForm->PaintCaptionButton(*this, dc.get(), f)) return;
    DrawFrame(dc.get(), FBoundsRect, FData->Bitmap, true, FData->Frame, f);
}

void TMenuBtn::Paint() {
    if (!FForm || !FForm->FHandle) return;
    WindowDCScope wdc(FForm->FHandle);
    if (!wdc) return;
    TCanvas canvas(wdc.get());
    if (FRestoreBackground) {
        FRestoreBackground(wdc.get(), FBoundsRect);
    } else if (FSkinData) {
        canvas.Brush().SetColor(FSkinData->Menubar);
        canvas.FillRect(FBoundsRect);
    }
    if ((FState == ncsPressed || FState == ncsHot) && FSkinData) {
        canvas.Brush().SetColor(FSkinData->ButtonHilight);
        canvas.FrameRect(FBoundsRect);
    }
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
        ncm.lfMenuFont.lfWeight = FW_NORMAL;
        ncm.lfMenuFont.lfItalic = ncm.lfMenuFont.lfUnderline = ncm.lfMenuFont.lfStrikeOut = 0;
        canvas.Font().AssignLogFont(ncm.lfMenuFont);
    }
    if (FSkinData) canvas.Font().SetColor(FItemEnabled ? FSkinData->MenuBarText : FSkinData->ButtonShadow);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    RECT r = FBoundsRect;
    canvas.DrawTextRect(FCaption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas.ReleaseSelections();
}

}  // namespace qs
