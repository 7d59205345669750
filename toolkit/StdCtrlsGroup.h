#pragma once
// Containers: group boxes (a captioned frame around controls), radio and
// check groups (group boxes that make and lay out their own buttons from a
// list of texts), scrolling containers with the scroll box, and frames.
#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

namespace qs {

class TCustomGroupBox : public TCustomControl {
    QS_DECLARE_CLASS(TCustomGroupBox)
public:
    explicit TCustomGroupBox(TComponent* owner);
    // Children sit below the caption and inside the frame.
    void AdjustClientRect(RECT& r) const override;
    // The caption's text height in the current font.
    int CaptionHeight() const;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
};

class TGroupBox : public TCustomGroupBox {
    QS_DECLARE_CLASS(TGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// The radio buttons are made from Items through the class registry, so this
// container does not depend on the button unit; without a registered
// "TRadioButton" class the group shows its frame only.
class TCustomRadioGroup : public TCustomGroupBox {
    QS_DECLARE_CLASS(TCustomRadioGroup)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;

    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int i);
    int Columns() const { return FColumns; }
    void SetColumns(int c);
    // The button of item i (null when there is none).
    TControl* Button(int i) const;
    int ButtonCount() const { return int(FButtons.size()); }

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void WndProc(TMessage& msg) override;

protected:
    // The buttons' height follows the text's.
    void FontChanged() override;

private:
    void UpdateButtons();
    void ArrangeButtons();
    void ButtonClicked(TControl* button);
    std::vector<std::string> FItems;
    std::vector<TControl*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
    QS_DECLARE_CLASS(TRadioGroup)
public:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

// A group box with one check box per line of Items, any number of them
// checked. The boxes come from the class registry ("TCheckBox"), like the
// radio group's buttons; without that class the group shows its frame only.
class TCustomCheckGroup : public TCustomGroupBox {
    QS_DECLARE_CLASS(TCustomCheckGroup)
public:
    explicit TCustomCheckGroup(TComponent* owner);
    ~TCustomCheckGroup() override;

    const std::vector<std::string>& Items() const { return FItems; }
    // Items that keep their text keep their checked state.
    void SetItems(const std::vector<std::string>& items);
    bool Checked(int i) const { return i >= 0 && i < int(FChecked.size()) && FChecked[size_t(i)]; }
    void SetChecked(int i, bool on);
    int Columns() const { return FColumns; }
    void SetColumns(int c);
    TControl* Button(int i) const;
    int ButtonCount() const { return int(FButtons.size()); }

    // After the user toggled item `index`.
    std::function<void(TObject* sender, int index)> OnItemClick;

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

protected:
    void FontChanged() override;

private:
    void UpdateButtons();
    void ButtonClicked(TControl* button);
    std::vector<std::string> FItems;
    std::vector<bool> FChecked;
    std::vector<TControl*> FButtons;
    int FColumns = 1;
    bool FUpdating = false;
};

class TCheckGroup : public TCustomCheckGroup {
    QS_DECLARE_CLASS(TCheckGroup)
public:
    explicit TCheckGroup(TComponent* owner) : TCustomCheckGroup(owner) {}
};

enum TFormBorderKind { bsNoneBorder, bsSingleBorder };

// A container with scroll bars that appear when its children reach past its
// client area (AutoScroll); scrolling moves the children.
class TScrollingWinControl : public TWinControl {
    QS_DECLARE_CLASS(TScrollingWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v);
    POINT ScrollPos() const { return FScroll; }
    // Recomputes the scroll ranges from the children's extent.
    void UpdateScrollBars();
    void WndProc(TMessage& msg) override;

protected:
    void CreateHandle() override;

private:
    void ScrollBy(int dx, int dy);
    void Scroll(int bar, WPARAM code);
    bool FAutoScroll = true;
    POINT FScroll{0, 0};
    SIZE FRange{0, 0};
};

class TScrollBox : public TScrollingWinControl {
    QS_DECLARE_CLASS(TScrollBox)
public:
    explicit TScrollBox(TComponent* owner);
    TFormBorderKind BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderKind b);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TFormBorderKind FBorderStyle = bsSingleBorder;
};

// A reusable group of controls placed on a form as one control.
class TCustomFrame : public TCustomControl {
    QS_DECLARE_CLASS(TCustomFrame)
public:
    explicit TCustomFrame(TComponent* owner);

protected:
    void Paint() override;
};

class TFrame : public TCustomFrame {
    QS_DECLARE_CLASS(TFrame)
public:
    explicit TFrame(TComponent* owner) : TCustomFrame(owner) {}
};

}  // namespace qs
