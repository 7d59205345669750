#pragma once
// Common controls that go with text entry: up-down buttons, date-time
// pickers and tree views.
#include "StdCtrlsEdit.h"

namespace qs {

enum TUDOrientation { udHorizontal, udVertical };
enum TUDAlignButton { udLeft, udRight };
// Scoped: the media player names its buttons btNext/btPrev too, and both
// headers must be usable in one file.
enum class TUDBtnType { btNext, btPrev };
enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };

extern const std::vector<std::string> kUDOrientationNames;
extern const std::vector<std::string> kUDAlignButtonNames;
extern const std::vector<std::string> kDateTimeKindNames;
extern const std::vector<std::string> kDTDateFormatNames;

using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
// (sender, allow): clearing allow keeps the position.
using TUDChangingEvent = std::function<void(TObject* sender, bool& allow)>;

class TCustomUpDown : public TWinControl {
    QS_DECLARE_CLASS(TCustomUpDown)
public:
    explicit TCustomUpDown(TComponent* owner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    void SetMin(int v);
    void SetMax(int v);
    // The window's position while there is one (the user changes it there).
    int Position() const;
    void SetPosition(int v);
    int Increment() const { return FIncrement; }
    void SetIncrement(int v);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation o);
    TUDAlignButton AlignButton() const { return FAlignButton; }
    void SetAlignButton(TUDAlignButton a);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool v);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool v);
    bool Thousands() const { return FThousands; }
    void SetThousands(bool v);
    // The control whose text shows the position; the up-down sits at its side.
    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* c);

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void Notification(TComponent* c, TOperation op) override;

private:
    void RecreateKeepingPosition();
    int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
    TUDOrientation FOrientation = udVertical;
    TUDAlignButton FAlignButton = udRight;
    bool FWrap = false, FArrowKeys = true, FThousands = true;
    TWinControl* FAssociate = nullptr;
};

class TUpDown : public TCustomUpDown {
    QS_DECLARE_CLASS(TUpDown)
public:
    explicit TUpDown(TComponent* owner) : TCustomUpDown(owner) {}
};

class TDateTimePicker : public TWinControl {
    QS_DECLARE_CLASS(TDateTimePicker)
public:
    explicit TDateTimePicker(TComponent* owner);

    SYSTEMTIME DateTime() const;
    void SetDateTime(const SYSTEMTIME& t);
    // "YYYY-MM-DD" and "HH:MM:SS": the stored form of the two halves.
    std::string DateText() const;
    bool SetDateText(const std::string& s);
    std::string TimeText() const;
    bool SetTimeText(const std::string& s);
    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind k);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat f);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool v);
    // With a check box: whether a date is set at all.
    bool Checked() const;
    void SetChecked(bool v);
    bool DroppedDown() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void DestroyWnd() override;

private:
    SYSTEMTIME FDateTime{};
    TDateTimeKind FKind = dtkDate;
    TDTDateFormat FDateFormat = dfShort;
    bool FShowCheckbox = false;
    bool FChecked = true;
};

// Nodes live in the control (index = creation order, parent by index) and
// are copied into the window whenever one is made.
class TCustomTreeView : public TWinControl {
    QS_DECLARE_CLASS(TCustomTreeView)
public:
    explicit TCustomTreeView(TComponent* owner);

    // Adds a node under `parent` (-1: at the top); gives its index.
    int AddNode(int parent, const std::wstring& text);
    void ClearNodes();
    int NodeCount() const { return int(FNodes.size()); }
    std::wstring NodeText(int i) const;
    int NodeParent(int i) const;
    void Expand(int i, bool expand = true);
    // The selected node, or -1.
    int Selected() const;
    void SetSelected(int i);
    // One line per node in order, each indented by one space per level.
    TStringList ItemsText() const;
    // Refused (false, nothing changed) when a line is indented deeper than one
    // level below the line before it.
    bool SetItemsText(const TStringList& lines);

    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool v);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool v);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    TEditBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TEditBorderStyle b);

    TNotifyEvent OnChange;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void DestroyWnd() override;

private:
    struct Node {
        std::wstring text;
        int parent = -1;
        bool expanded = false;
        void* item = nullptr;  // HTREEITEM while there is a window
    };
    void InsertIntoWindow(size_t i);
    void SetStyle(bool& field, bool v);
    std::vector<Node> FNodes;
    int FSelected = -1;
    bool FShowLines = true, FShowRoot = true, FShowButtons = true, FReadOnly = false, FHideSelection = true;
    TEditBorderStyle FBorderStyle = ebsSingle;
};

class TTreeView : public TCustomTreeView {
    QS_DECLARE_CLASS(TTreeView)
public:
    explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};

}  // namespace qs
