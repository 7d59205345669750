// Container skins on real windows: status-bar panel frames and texts, the
// group box frame, panels that only change colour, foreign child dialogs,
// size grips and tab sheets. Frames come from test skins whose every frame
// has a colour of its own, so each pixel says which frame drew it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "Application.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "SkinBars.h"
#include "SkinContainers.h"
#include "StdCtrlsGroup.h"
#include "test_control_skin_util.h"

using namespace qs;
using namespace qs::test;

namespace {

constexpr uint32_t kLowered = 0xC00000, kRaised = 0x00C000, kFlat = 0x0000C0, kGrip = 0x00C0C0;
constexpr COLORREF kText = RGB(10, 20, 30);
constexpr COLORREF kShadow = RGB(200, 0, 0);

COLORREF rgb(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// Three 8 x 8 frames: a one-pixel ring in the frame's colour around the face.
PixelImage edgeStrip() {
    const uint32_t rings[3] = {kLowered, kRaised, kFlat};
    PixelImage img(24, 8, kFaceRGB);
    for (int f = 0; f < 3; ++f)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (x == 0 || y == 0 || x == 7 || y == 7) img.at(8 * f + x, y) = rings[f];
    return img;
}

SkinBuilder statusSkin(bool withEdges) {
    SkinBuilder b = plainSkin();
    if (withEdges) {
        b.image("edges.bmp", edgeStrip());
        b.text("[StatusBarEdges]\nImage=edges.bmp\nLeftWidth=1\nRightWidth=1\nTopHeight=1\nBottomHeight=1\n"
               "NormalColour2=10 20 30");
    }
    PixelImage extra = stripImage(6, 6, {0x111111, 0x222222, 0x333333, 0x444444, kGrip});
    extra.at(24, 0) = 0xFF00FF;  // the grip's corner sees through
    b.image("extra.bmp", extra);
    b.text("[ExtraImages]\nImage=extra.bmp");
    return b;
}

class ContainerSkins : public ::testing::Test {
protected:
    void load(SkinBuilder b) {
        sd = makeSkinData(std::move(b));
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(10, 10, 960, 240);
        form->Show();
        fs = std::make_unique<ClassifyingFormSkin>(form->Handle(), sd.get(), form.get());
        pumpMessages(20);
    }
    void TearDown() override {
        fs.reset();
        form.reset();
    }
    TStatusBar* statusBar(std::initializer_list<int> widths) {
        auto* bar = new TStatusBar(form.get());
        bar->SetParent(form.get());
        for (int w : widths) bar->Panels()->Add()->SetWidth(w);
        bar->Handle();
        return bar;
    }
    template <class S>
    S* skin(TWinControl* c, bool changeColor = false) {
        auto* s = new S(c);
        s->Attach(fs->fs.get(), sd.get(), changeColor, &(*fs)->FCanvas);
        return s;
    }
    Image shot(HWND h) {
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        pumpMessages(20);
        return captureWindow(h);
    }
    RECT partRect(TStatusBar* bar, int i) {
        RECT r{};
        EXPECT_TRUE(SendMessageW(bar->Handle(), SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r)));
        return r;
    }
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    std::unique_ptr<ClassifyingFormSkin> fs;
};

size_t textPixels(const Image& img, int x0, int x1) {
    return countColour(img, RECT{x0, 0, x1, img.height}, kText);
}

TEST_F(ContainerSkins, PanelFramesAreTwoPixelsWiderAndTheLastReachesTheRightEdge) {
    load(statusSkin(true));
    TStatusBar* bar = statusBar({810, 40});
    bar->Panels()->At(0)->SetText(L"Left");
    bar->Panels()->At(1)->SetBevel(pbRaised);
    skin<TSkinStatusBar>(bar);
    const Image img = shot(bar->Handle());
    const RECT r0 = partRect(bar, 0), r1 = partRect(bar, 1);
    const int mid = img.height / 2, W = img.width;
    ASSERT_GT(r1.left, r0.right + 1);
    EXPECT_EQ(img.colorAt(r0.left, mid), rgb(kLowered));
    EXPECT_EQ(img.colorAt(r0.right + 1, mid), rgb(kLowered));  // two pixels past the reported edge
    EXPECT_EQ(img.colorAt(r0.right, mid), kFace);
    EXPECT_EQ(img.colorAt(r1.left, mid), rgb(kRaised));
    EXPECT_EQ(img.colorAt(W - 1, mid), rgb(kRaised));  // the last panel runs to the edge
    EXPECT_EQ(img.colorAt(W - 2, mid), kFace);
    EXPECT_GT(textPixels(img, r0.left, r0.left + 60), 0u);
    EXPECT_EQ(textPixels(img, r0.left + 60, W), 0u);
}

TEST_F(ContainerSkins, SimpleModeWithoutTextShowsALoweredFrameOnly) {
    load(statusSkin(true));
    TStatusBar* bar = statusBar({100});
    bar->Panels()->At(0)->SetText(L"Hidden in simple mode");
    bar->SetSimplePanel(true);
    skin<TSkinStatusBar>(bar);
    const Image img = shot(bar->Handle());
    const int mid = img.height / 2;
    EXPECT_EQ(img.colorAt(0, mid), rgb(kLowered));
    EXPECT_EQ(img.colorAt(img.width - 1, mid), rgb(kLowered));
    EXPECT_EQ(img.colorAt(img.width / 2, 0), rgb(kLowered));
    EXPECT_EQ(textPixels(img, 0, img.width), 0u);

    bar->SetSimpleText(L"Simple");
    const Image withText = shot(bar->Handle());
    EXPECT_GT(textPixels(withText, 0, 80), 0u);
}

TEST_F(ContainerSkins, RightToLeftPanelDrawsLeftAlignedTextOnTheRight) {
    load(statusSkin(true));
    TStatusBar* bar = statusBar({400, 100});
    TStatusPanel* p = bar->Panels()->At(0);
    p->SetText(L"Xyz");
    p->SetAlignment(taLeftJustify);
    p->SetBiDiMode(TBiDiMode::bdRightToLeft);
    skin<TSkinStatusBar>(bar);
    const Image img = shot(bar->Handle());
    const RECT r0 = partRect(bar, 0);
    EXPECT_EQ(textPixels(img, r0.left, r0.left + 300), 0u);
    EXPECT_GT(textPixels(img, r0.left + 300, r0.right + 2), 0u);
}

TEST_F(ContainerSkins, OwnerDrawPanelGetsItsFrameButNoTextAndEveryPanelIsReported) {
    load(statusSkin(true));
    TStatusBar* bar = statusBar({200, 200});
    bar->Panels()->At(0)->SetText(L"Text");
    bar->Panels()->At(1)->SetText(L"Owner");
    bar->Panels()->At(1)->SetStyle(psOwnerDraw);
    std::vector<std::pair<TStatusPanel*, RECT>> calls;
    bar->OnDrawPanel = [&calls](TCustomStatusBar*, TStatusPanel* panel, const RECT& r) { calls.push_back({panel, r}); };
    skin<TSkinStatusBar>(bar);
    calls.clear();
    const Image img = shot(bar->Handle());
    const RECT r0 = partRect(bar, 0), r1 = partRect(bar, 1);
    EXPECT_GT(textPixels(img, r0.left, r0.right), 0u);
    EXPECT_EQ(textPixels(img, r1.left, img.width), 0u);
    EXPECT_EQ(img.colorAt(r1.left, img.height / 2), rgb(kLowered));
    ASSERT_GE(calls.size(), 2u);
    const auto last = std::vector<std::pair<TStatusPanel*, RECT>>(calls.end() - 2, calls.end());
    EXPECT_EQ(last[0].first, bar->Panels()->At(0));
    EXPECT_EQ(last[1].first, bar->Panels()->At(1));
    RECT in1 = r1;
    InflateRect(&in1, -2, -2);
    EXPECT_TRUE(EqualRect(&last[1].second, &in1));
}

TEST_F(ContainerSkins, WithoutEdgesThePanelsGetClassicFrames) {
    load(statusSkin(false));
    TStatusBar* bar = statusBar({300, 100});
    bar->Panels()->At(1)->SetBevel(pbRaised);
    skin<TSkinStatusBar>(bar);
    const Image img = shot(bar->Handle());
    const RECT r0 = partRect(bar, 0), r1 = partRect(bar, 1);
    const int mid = img.height / 2;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(img.colorAt(r0.left, mid), shadow);
    EXPECT_EQ(img.colorAt(r0.right + 1, mid), light);
    EXPECT_EQ(img.colorAt(r1.left, mid), light);
    EXPECT_EQ(img.colorAt(img.width - 1, mid), shadow);
    EXPECT_EQ(img.colorAt(r0.left + 10, mid), kFace);
}

TEST_F(ContainerSkins, SizeGripComesFromTheFifthExtraImage) {
    load(statusSkin(true));
    form->SetBorderStyle(bsSizeable);
    TStatusBar* bar = statusBar({100});
    ASSERT_TRUE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
    skin<TSkinStatusBar>(bar);
    const Image img = shot(bar->Handle());
    const int W = img.width, H = img.height;
    EXPECT_EQ(img.colorAt(W - 4, H - 4), rgb(kGrip));
    EXPECT_EQ(img.colorAt(W - 1, H - 1), rgb(kLowered));  // the grip stops one pixel short
    EXPECT_NE(img.colorAt(W - 7, H - 7), rgb(kGrip));      // its magenta corner leaves the frame
}

// ---- group boxes ----------------------------------------------------------------------------

// A group box whose Caption property is not its window text.
class TCaptionGroupBox : public TGroupBox {
    QS_DECLARE_CLASS(TCaptionGroupBox)
public:
    using TGroupBox::TGroupBox;
};
const TClassInfo& TCaptionGroupBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCaptionGroupBox>("TCaptionGroupBox", &TGroupBox::StaticClassInfo())
            .wide("Caption", [](const TCaptionGroupBox&) { return std::wstring(L"Fallback"); }, nullptr)
            .build();
    return info;
}

int rowOfFirst(const Image& img, int x, COLORREF c) {
    for (int y = 0; y < img.height; ++y)
        if (img.colorAt(x, y) == c) return y;
    return -1;
}

TEST_F(ContainerSkins, GroupBoxFrameStartsHalfwayDownASixteenPixelCaption) {
    load(plainSkin());
    auto* box = new TGroupBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 200, 120);
    box->SetCaption(L"Group");
    // The font whose "0" is 16 pixels high.
    int found = 0;
    for (int h : {16, -12, -13, -14, -11, 15, 17}) {
        box->Font()->SetHeight(h);
        if (box->CaptionHeight() == 16) {
            found = h;
            break;
        }
    }
    ASSERT_NE(found, 0) << "no font with a 16-pixel caption";
    box->Font()->SetColor(clBlue);
    auto* s = skin<TSkinGroupBox>(box, true);
    EXPECT_EQ(s->FKind, 1);
    const Image img = shot(box->Handle());
    EXPECT_EQ(rowOfFirst(img, 150, kShadow), 7);
    EXPECT_GT(rowOfFirst(img, 1, kShadow), 7);            // rounded corner
    EXPECT_EQ(img.colorAt(199 - 1, 60), kShadow);         // right side at Right - 2
    EXPECT_EQ(img.colorAt(100, 118), kShadow);            // bottom at Bottom - 2
    EXPECT_GT(countColour(img, RECT{8, 0, 60, 16}, RGB(0, 0, 255)), 0u);
    EXPECT_EQ(img.colorAt(100, 60), kFace);
}

TEST_F(ContainerSkins, GroupBoxWithoutWindowTextUsesItsCaptionProperty) {
    load(plainSkin());
    auto* plain = new TGroupBox(form.get());
    auto* named = new TCaptionGroupBox(form.get());
    for (TGroupBox* b : {plain, static_cast<TGroupBox*>(named)}) {
        b->SetParent(form.get());
        b->SetCaption(L"");
        b->Font()->SetColor(clBlue);
    }
    plain->SetBounds(10, 10, 150, 80);
    named->SetBounds(200, 10, 150, 80);
    auto* s = skin<TSkinGroupBox>(named);
    skin<TSkinGroupBox>(plain);
    const Image a = shot(named->Handle()), b = shot(plain->Handle());
    EXPECT_EQ(s->FCaption, L"Fallback");
    EXPECT_GT(countColour(a, RECT{8, 0, 100, 20}, RGB(0, 0, 255)), 0u);
    EXPECT_EQ(countColour(b, RECT{0, 0, b.width, b.height}, RGB(0, 0, 255)), 0u);
}

TEST_F(ContainerSkins, ForeignGroupBoxCoversTheSystemBorder) {
    load(plainSkin());
    HWND gb = CreateWindowExW(0, L"BUTTON", L"System", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10, 200, 100,
                              form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    auto* s = new TSkinGroupBox(fs->fs.get());
    s->AttachHandle(gb, sd.get(), fs->fs.get(), &(*fs)->FCanvas);
    EXPECT_EQ(s->FKind, 0);
    const Image img = shot(gb);
    const int t = rowOfFirst(img, 150, kShadow);
    EXPECT_GT(t, 0);
    // The system's etched line under the skin's is painted over with the face.
    EXPECT_EQ(img.colorAt(0, 60), kFace);
    EXPECT_EQ(img.colorAt(199, 60), kFace);
    EXPECT_EQ(img.colorAt(1, 60), kShadow);
    DestroyWindow(gb);
}

// A band inserted, moved and deleted while skinned: each band still has its
// own colours back at restore.
TEST_F(ContainerSkins, RebarBandsGetTheirOwnColoursBackWhereverTheyMoved) {
    load(plainSkin());
    HWND rb = CreateWindowExW(0, REBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT | CCS_NODIVIDER, 0, 0,
                              600, 40, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    auto add = [&](int at, int n) {
        HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, rb, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        REBARBANDINFOW b{};
        b.cbSize = sizeof b;
        b.fMask = RBBIM_CHILD | RBBIM_COLORS | RBBIM_SIZE | RBBIM_CHILDSIZE;
        b.hwndChild = child;
        b.clrFore = RGB(n, 0, 0);
        b.clrBack = RGB(0, n, 0);
        b.cx = 120;
        b.cxMinChild = b.cyMinChild = 20;
        SendMessageW(rb, RB_INSERTBANDW, WPARAM(at), LPARAM(&b));
        return child;
    };
    auto colours = [&](HWND child) {
        const int n = int(SendMessageW(rb, RB_GETBANDCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            REBARBANDINFOW b{};
            b.cbSize = sizeof b;
            b.fMask = RBBIM_CHILD | RBBIM_COLORS;
            SendMessageW(rb, RB_GETBANDINFOW, WPARAM(i), LPARAM(&b));
            if (b.hwndChild == child) return std::make_pair(b.clrFore, b.clrBack);
        }
        return std::make_pair(CLR_NONE, CLR_NONE);
    };
    HWND a = add(-1, 1), b = add(-1, 2), c = add(-1, 3);
    auto* s = new TSkinRebarH(fs->fs.get());
    s->AttachHandle(rb, sd.get(), fs->fs.get(), &(*fs)->FCanvas);
    HWND d = add(0, 4);
    EXPECT_EQ(colours(d).second, kFace);
    SendMessageW(rb, RB_MOVEBAND, 1, 3);    // a to the end
    SendMessageW(rb, RB_DELETEBAND, 1, 0);  // b
    s->Restore();
    auto own = [](int n) { return std::make_pair(COLORREF(RGB(n, 0, 0)), COLORREF(RGB(0, n, 0))); };
    EXPECT_EQ(colours(a), own(1));
    EXPECT_EQ(colours(c), own(3));
    EXPECT_EQ(colours(d), own(4));
    (void)b;
    DestroyWindow(rb);
}

namespace {
struct EmfCount {
    int bitBlts = 0, drawing = 0;
};
int CALLBACK countRecord(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM p) {
    auto* c = reinterpret_cast<EmfCount*>(p);
    switch (rec->iType) {
        case EMR_BITBLT:
        case EMR_STRETCHBLT:
        case EMR_STRETCHDIBITS: ++c->bitBlts; break;
        case EMR_ROUNDRECT:
        case EMR_EXTTEXTOUTW:
        case EMR_EXTTEXTOUTA:
        case EMR_POLYLINE16:
        case EMR_FILLRGN:
        case EMR_FRAMERGN:
        case EMR_RECTANGLE:
        case EMR_POLYGON16: ++c->drawing; break;
        default: break;
    }
    return 1;
}
}  // namespace

TEST_F(ContainerSkins, GroupBoxIsComposedOffScreenAndCopiedOnceWithoutLeaking) {
    load(plainSkin());
    auto* box = new TGroupBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 220, 120);
    box->SetCaption(L"Composed");
    auto* s = skin<TSkinGroupBox>(box, true);
    // What reaches the paint DC, recorded: one copy and no drawing of its own.
    HDC ref = GetDC(box->Handle());
    HDC emf = CreateEnhMetaFileW(ref, nullptr, nullptr, nullptr);
    ReleaseDC(box->Handle(), ref);
    ASSERT_TRUE(emf);
    s->Paint(emf, RECT{0, 0, 220, 120});
    HENHMETAFILE meta = CloseEnhMetaFile(emf);
    ASSERT_TRUE(meta);
    EmfCount count;
    EnumEnhMetaFile(nullptr, meta, countRecord, &count, nullptr);
    DeleteEnhMetaFile(meta);
    EXPECT_EQ(count.bitBlts, 1);
    EXPECT_EQ(count.drawing, 0);
    // The picture is the one painted before: frame, caption and face.
    const Image img = shot(box->Handle());
    EXPECT_GT(rowOfFirst(img, 150, kShadow), 0);
    EXPECT_EQ(img.colorAt(110, 60), kFace);
    // Many paints leave no GDI object behind.
    for (int i = 0; i < 5; ++i) shot(box->Handle());
    const DWORD before = gdiObjectCount();
    for (int i = 0; i < 200; ++i) RedrawWindow(box->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(20);
    EXPECT_LE(gdiObjectCount(), before + 1);
    // An empty rectangle paints nothing and makes nothing.
    HDC dc = GetDC(box->Handle());
    s->Paint(dc, RECT{0, 0, 0, 0});
    ReleaseDC(box->Handle(), dc);
    EXPECT_LE(gdiObjectCount(), before + 1);
}

// ---- panels, foreign containers, grips, sheets -------------------------------------------------

TEST_F(ContainerSkins, PanelSkinOnlyChangesTheColourAndGivesItBack) {
    load(plainSkin());
    auto* p = new TPanel(form.get());
    p->SetParent(form.get());
    p->SetColor(clAqua);
    const HWND h = p->Handle();
    auto* s = skin<TSkinBox>(p, true);
    EXPECT_EQ(ColorToRGB(p->Color()), kFace);
    // Hooked only to hear the program switch it off: the query still reaches the panel.
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 0);
    EXPECT_TRUE(HasControlSkin(fs->fs.get(), s));
    s->Restore();
    EXPECT_EQ(p->Color(), clAqua);
    EXPECT_EQ(s->FState, scsRestored);
    // A panel whose window is being destroyed keeps the skin colour.
    p->SetColor(clAqua);
    auto* t = skin<TSkinBox>(p, true);
    t->FState = 4;
    t->Restore();
    EXPECT_EQ(ColorToRGB(p->Color()), kFace);
}

// On a dark face the system's black caption would vanish: a caption in the
// system's text colour takes the skin's button text while skinned; one the
// program chose keeps its colour. Restoring gives back the colour and the
// following of the parent's font.
TEST_F(ContainerSkins, PanelCaptionInTheSystemColourTakesTheSkinText) {
    load(plainSkin());
    constexpr COLORREF kSkinText = RGB(250, 210, 40);
    sd->ButtonText = int32_t(kSkinText);
    auto* p = new TPanel(form.get());
    p->SetParent(form.get());
    p->SetBounds(10, 10, 200, 60);
    p->SetCaption(L"MMMMMMMM");
    ASSERT_TRUE(p->ParentFont());
    const TColor original = p->Font()->Color();
    auto* s = skin<TSkinBox>(p, true);
    EXPECT_EQ(ColorToRGB(p->Font()->Color()), kSkinText);
    const RECT all{0, 0, 200, 60};
    EXPECT_GT(countColour(shot(p->Handle()), all, kSkinText), 0u);
    s->Restore();
    EXPECT_EQ(p->Font()->Color(), original);
    EXPECT_TRUE(p->ParentFont());
    EXPECT_EQ(countColour(shot(p->Handle()), all, kSkinText), 0u);

    auto* q = new TPanel(form.get());
    q->SetParent(form.get());
    q->Font()->SetColor(clRed);
    skin<TSkinBox>(q, true);
    EXPECT_EQ(q->Font()->Color(), clRed);
}

// A skin switch hands the panel the new skin's text colour, and the group box
// inside that takes the panel's font writes in it too; unskinned, both have
// their own colour back.
TEST_F(ContainerSkins, PanelCaptionAndItsChildrenFollowASkinSwitch) {
    load(plainSkin());
    constexpr COLORREF kFirst = RGB(250, 210, 40), kSecond = RGB(30, 90, 200);
    sd->ButtonText = int32_t(kFirst);
    auto* p = new TPanel(form.get());
    p->SetParent(form.get());
    p->SetBounds(10, 10, 300, 120);
    const TColor original = p->Font()->Color();
    auto* g = new TGroupBox(form.get());
    g->SetParent(p);
    g->SetBounds(10, 10, 200, 80);
    g->SetCaption(L"MMMMMMMM");
    auto* s = skin<TSkinBox>(p, true);
    skin<TSkinGroupBox>(g);
    ASSERT_EQ(ColorToRGB(g->Font()->Color()), kFirst);

    sd->ButtonText = int32_t(kSecond);
    s->SkinChanged();
    EXPECT_EQ(ColorToRGB(p->Font()->Color()), kSecond);
    EXPECT_EQ(ColorToRGB(g->Font()->Color()), kSecond);
    const Image img = shot(g->Handle());
    const RECT caption{0, 0, 200, 20};
    EXPECT_GT(countColour(img, caption, kSecond), 0u);
    EXPECT_EQ(countColour(img, caption, kFirst), 0u);

    s->Restore();
    EXPECT_EQ(p->Font()->Color(), original);
    EXPECT_TRUE(p->ParentFont());
    EXPECT_EQ(g->Font()->Color(), original);
}

TEST_F(ContainerSkins, ForeignChildDialogPaintsStaticsOnTheFace) {
    load(plainSkin());
    HWND child = CreateWindowExW(0, testWindowClassName(), L"", WS_CHILD | WS_VISIBLE, 10, 10, 120, 60,
                                 form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(child);
    auto* s = new TSkinBoxH(fs->fs.get());
    s->AttachHandle(child, sd.get(), fs->fs.get(), &(*fs)->FCanvas);
    EXPECT_EQ(SendMessageW(child, WM_CTLCOLORSTATIC, 0, 0), reinterpret_cast<LRESULT>(sd->FaceBrush()));
    const Image img = shot(child);
    EXPECT_EQ(countColour(img, RECT{0, 0, 120, 60}, kFace), 120u * 60u);
    DestroyWindow(child);
}

TEST_F(ContainerSkins, SizeGripOfAForeignWindowIsPaintedFlat) {
    load(plainSkin());
    HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 10, 10, 18, 18,
                                form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ClassifyWindow(**fs, grip);
    TSkinControl* s = FindSkinByHandle(fs->fs.get(), grip);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->ClassName(), "TSkinSizer");
    const Image img = shot(grip);
    EXPECT_EQ(countColour(img, RECT{0, 0, 18, 18}, kFace), 18u * 18u);
    DestroyWindow(grip);
}

TEST_F(ContainerSkins, TabSheetFillsTheFaceAndPaintsItsWindowlessChildren) {
    load(plainSkin());
    auto* sheet = new TPanel(form.get());  // stands for a page: the skin only needs a windowed container
    sheet->SetParent(form.get());
    sheet->SetBounds(10, 10, 150, 100);
    sheet->SetColor(clYellow);
    skin<TSkinTabSheet>(sheet);
    const Image img = shot(sheet->Handle());
    EXPECT_EQ(countColour(img, RECT{0, 0, 150, 100}, kFace), 150u * 100u);
}

}  // namespace
