#include "QvPageNotice.h"

#include "Colour.h"
#include "QvShell.h"
#include "SkinData.h"

namespace qv {

const wchar_t TQvPageNotice::kHeading[] = L"频道页面无法在此窗口内显示";
const wchar_t TQvPageNotice::kHint[] = L"请用默认浏览器打开下面的频道页面观看：";
const wchar_t TQvPageNotice::kOpenCaption[] = L"用默认浏览器打开";

namespace {
constexpr int kHeadingHeight = 28, kLineHeight = 20, kButtonWidth = 168, kButtonHeight = 28;
constexpr int kBlockHeight = kHeadingHeight + 12 + 2 * kLineHeight + 18 + kButtonHeight;
}  // namespace

const TClassInfo& TQvPageNotice::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TQvPageNotice>("TQvPageNotice", &TCustomControl::StaticClassInfo()).build();
    return info;
}

TQvPageNotice::TQvPageNotice(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle((ControlStyle() | csOpaque) & ~csSetCaption);
    FOpen = new TButton(this);
    FOpen->SetParent(this);
    FOpen->SetCaption(kOpenCaption);
    FOpen->SetTabStop(true);
    FOpen->OnClick = [this](TObject*) { openChannelPage(); };
}

void TQvPageNotice::SetSkinData(TSkinData* skin) {
    if (FSkin == skin) return;
    if (FSkin) FSkin->RemoveFreeNotification(this);
    FSkin = skin;
    if (FSkin) FSkin->FreeNotification(this);
    Invalidate();
}

void TQvPageNotice::SetAddress(const std::wstring& address) {
    FAddress = address;
    // The window text says the same as the picture, for anyone reading it out.
    SetCaption(std::wstring(kHeading) + L"\r\n" + kHint + L"\r\n" + FAddress);
    Invalidate();
}

void TQvPageNotice::Notification(TComponent* c, TOperation op) {
    TCustomControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FSkin) FSkin = nullptr;
}

void TQvPageNotice::WndProc(TMessage& msg) {
    TCustomControl::WndProc(msg);
    if (msg.Msg == WM_SIZE) Layout();
}

void TQvPageNotice::Layout() {
    const int top = (Height() - kBlockHeight) / 2;
    FOpen->SetBounds((Width() - kButtonWidth) / 2, top + kBlockHeight - kButtonHeight, kButtonWidth, kButtonHeight);
}

void TQvPageNotice::Paint() {
    const bool skinned = FSkin && FSkin->Active() && FSkin->SkinLoaded();
    const TColor face = skinned ? TColor(resolveColour(FSkin->ButtonFace)) : clBtnFace;
    const TColor text = skinned ? TColor(resolveColour(FSkin->WindowText)) : clWindowText;
    TCanvas* canvas = Canvas();
    RECT all = ClientRect();
    canvas->Brush().SetStyle(TBrushStyle::bsSolid);
    canvas->Brush().SetColor(face);
    canvas->FillRect(all);
    canvas->Brush().SetStyle(TBrushStyle::bsClear);

    TFont font;
    font.Assign(*Font());
    font.SetColor(text);
    const UINT centred = DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    int y = (Height() - kBlockHeight) / 2;
    font.SetHeight(-19);
    font.SetStyle(fsBold);
    canvas->SetFont(font);
    RECT line{0, y, Width(), y + kHeadingHeight};
    canvas->DrawTextRect(kHeading, line, centred);
    y += kHeadingHeight + 12;
    font.SetHeight(-13);
    font.SetStyle(0);
    canvas->SetFont(font);
    line = RECT{0, y, Width(), y + kLineHeight};
    canvas->DrawTextRect(kHint, line, centred);
    y += kLineHeight;
    line = RECT{0, y, Width(), y + kLineHeight};
    canvas->DrawTextRect(FAddress, line, centred | DT_PATH_ELLIPSIS);
}

}  // namespace qv
