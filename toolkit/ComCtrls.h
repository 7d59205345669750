#pragma once
// The status bar: a wrapped system status-bar window with a collection of
// panels, or one simple text.
#include "Controls.h"

namespace qs {

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };
extern const std::vector<std::string> kStatusPanelBevelNames;
extern const std::vector<std::string> kStatusPanelStyleNames;

class TCustomStatusBar;

class TStatusPanel : public TCollectionItem {
    QS_DECLARE_CLASS(TStatusPanel)
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

    const std::wstring& Text() const { return FText; }
    void SetText(const std::wstring& t);
    int Width() const { return FWidth; }
    void SetWidth(int w);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel b);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle s);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode m);

private:
    std::wstring FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
};

class TStatusPanels : public TTypedCollection<TStatusPanel> {
    QS_DECLARE_CLASS(TStatusPanels)
public:
    explicit TStatusPanels(TCustomStatusBar* bar) : FBar(bar) {}
    TStatusPanel* Add() override { return static_cast<TStatusPanel*>(TTypedCollection<TStatusPanel>::Add()); }
    TCustomStatusBar* StatusBar() const { return FBar; }
    void Update(TCollectionItem* item) override;

private:
    TCustomStatusBar* FBar;
};

// (the status bar, the panel, the panel's rectangle in the bar); the bar's
// Canvas draws into the panel while the event runs.
using TDrawPanelEvent = std::function<void(TCustomStatusBar* bar, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
    QS_DECLARE_CLASS(TCustomStatusBar)
public:
    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    const std::wstring& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::wstring& t);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v);
    TCanvas* Canvas() { return FCanvas.get(); }

    // The smallest height that shows the font's text.
    int MinimumHeight();

    TDrawPanelEvent OnDrawPanel;

    void WndProc(TMessage& msg) override;
    void SetBounds(int left, int top, int width, int height) override;
    void ChangeScale(int m, int d) override;
    // Pushes parts and texts to the window.
    void UpdatePanels();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void FontChanged() override;
    virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);

private:
    std::unique_ptr<TStatusPanels> FPanels;
    std::unique_ptr<TCanvas> FCanvas;
    bool FSimplePanel = false;
    std::wstring FSimpleText;
    bool FSizeGrip = true;
};

class TStatusBar : public TCustomStatusBar {
    QS_DECLARE_CLASS(TStatusBar)
public:
    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};

}  // namespace qs
