#pragma once
// Tool bars: a wrapped system tool-bar window whose buttons are components of
// their own, so captions, images and click handlers outlive the window (a
// style change or a skin remakes it) and can be named in a form definition.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "Controls.h"
#include "ImgList.h"

namespace qs {

class TToolBar;
class TPopupMenu;

// The custom-draw events. The background event gets the tool bar as sender;
// the button event gets the button being drawn. Clearing defaultDraw leaves
// that part to the handler alone.
using TToolBarCustomDrawEvent = std::function<void(TObject* sender, HDC dc, const RECT& r, bool& defaultDraw)>;
using TToolBarCustomDrawButtonEvent =
    std::function<void(TObject* sender, HDC dc, const RECT& bounds, UINT itemState, TColor& fontColour, bool& defaultDraw)>;

// A check button stays down after a click until clicked again; grouped ones
// next to each other act as radio buttons. A drop-down button has an arrow
// part that opens its DropdownMenu; its main part clicks like a button.
enum TToolButtonStyle { tbsButton, tbsSeparator, tbsCheck, tbsDropDown };
extern const std::vector<std::string> kToolButtonStyleNames;

class TToolButton : public TComponent {
    QS_DECLARE_CLASS(TToolButton)
public:
    // An owner that is a tool bar is also the bar the button joins.
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    TToolBar* ToolBar() const { return FToolBar; }
    // Joins `bar` at its end (nullptr: leaves its bar).
    void SetToolBar(TToolBar* bar);
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& s);
    // An index into the bar's Images; -1 for none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle s);
    // Shown pressed. Setting a grouped check button down lets the others of
    // its group up.
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool v);
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* m);
    // The tooltip, shown while the bar's ShowHint is on.
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& h) { FHint = h; }
    // The command number the window knows the button by.
    int CommandId() const { return FCommandId; }
    // The button's box in the bar's client area (empty without a window).
    RECT BoundsRect() const;

    TNotifyEvent OnClick;
    virtual void Click();

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    friend class TToolBar;
    void Changed();
    bool IsCheck() const { return FStyle == tbsCheck; }
    TToolBar* FToolBar = nullptr;
    std::wstring FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    TToolButtonStyle FStyle = tbsButton;
    int FCommandId = 0;
    bool FDown = false;
    bool FGrouped = false;
    TPopupMenu* FDropdownMenu = nullptr;
    std::wstring FHint;
};

class TToolBar : public TWinControl {
    QS_DECLARE_CLASS(TToolBar)
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    int ButtonCount() const { return int(FButtons.size()); }
    TToolButton* Button(int i) const { return i >= 0 && i < ButtonCount() ? FButtons[size_t(i)] : nullptr; }
    // A new button owned by the bar, at its end.
    TToolButton* AddButton(const std::wstring& caption = {}, int imageIndex = -1);

    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // Captions beside the images instead of below them.
    bool List() const { return FList; }
    void SetList(bool v);
    int ButtonWidth() const { return FButtonWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonSize(int w, int h);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    // Buttons that do not fit the width go on to further rows.
    bool Wrapable() const { return FWrapable; }
    void SetWrapable(bool v);
    // The height follows the rows of buttons.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    int RowCount() const;

    TToolBarCustomDrawEvent OnCustomDraw;
    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

    void WndProc(TMessage& msg) override;
    void ChangeScale(int m, int d) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void Notification(TComponent* c, TOperation op) override;
    void Resize() override;

private:
    friend class TToolButton;
    void FitHeight();
    void Insert(TToolButton* b);
    void Remove(TToolButton* b);
    void RebuildButtons();
    TToolButton* FindByCommand(int id) const;
    LRESULT CustomDraw(NMTBCUSTOMDRAW& cd);
    // The grouped check buttons next to `b` (itself included).
    std::vector<TToolButton*> GroupOf(const TToolButton* b) const;
    void PushDown(const TToolButton* b);
    void DropDown(TToolButton* b);
    std::vector<TToolButton*> FButtons;
    bool FFlat = false;
    bool FList = false;
    bool FWrapable = false;
    bool FAutoSize = false;
    bool FFitting = false;
    int FButtonWidth = 23, FButtonHeight = 22;
    int FNextCommand = 1;
    TImageList* FImages = nullptr;
};

// Makes both classes known to form definitions.
void RegisterToolBarClasses();

}  // namespace qs
