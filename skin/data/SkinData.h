#pragma once
// The skin data component: keeps the packed skin (stored in the form
// definition or read from a skin file), decodes it into element records,
// colours and derived resources, and publishes the switches that decide what
// gets skinned. Everything the frame and control skins draw comes from here.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Graphics.h"
#include "ImgList.h"
#include "SkinDescription.h"
#include "SkinRecords.h"
#include "core/Component.h"

namespace qs {

class TControl;
class TSkinData;
class TSkinReader;

// Which kinds of controls and menus are skinned (bit = member number).
enum TSkinControlType : uint32_t {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport,
};
using TSkinControlTypes = uint32_t;

enum TSkinOption : uint32_t {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
    xoMDIChildBorder, xoMenuBG, xoFormScrollbar,
};
using TSkinOptions = uint32_t;

enum TSkinFormType : int { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

constexpr uint32_t setBit(uint32_t member) { return uint32_t(1) << member; }
constexpr bool inSet(uint32_t set, uint32_t member) { return (set & setBit(member)) != 0; }

inline constexpr TSkinControlTypes kDefaultSkinControls =
    ((uint32_t(1) << (xcFastReport + 1)) - 1) & ~setBit(xcMenuItem) & ~setBit(xcFastReport);
inline constexpr TSkinOptions kDefaultSkinOptions = setBit(xoPreview) | setBit(xoToolbarBK);
inline constexpr char kSkinDataVersion[] = "4.50.01.03";

// (Sender, class name of the window, var DoSkin)
using TFormSkinEvent = std::function<void(TObject* sender, const std::string& aName, bool& doSkin)>;
// (Sender, SkinData, Form, Control, ControlClass, var SkinnedControl)
using TSkinControlEvent = std::function<void(TComponent* sender, TSkinData* skinData, TControl* form,
                                             TControl* control, const std::string& controlClass,
                                             TComponent*& skinnedControl)>;
// (Sender, window, class name)
using TSkinFormEvent = std::function<void(TObject* sender, HWND ahwnd, const std::string& aName)>;

// The class-name-to-kind lines a new component starts with (117 of them).
const TStringList& defaultSkin3rd();

class TSkinData : public TComponent, public TSkinColourTable {
    QS_DECLARE_CLASS(TSkinData)
public:
    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // ---- published properties ----
    // Switching it at run time hands a request to the skin manager (see
    // SkinDataActivation.cpp); while the form is read it is only stored.
    bool Active() const { return FActive; }
    void SetActive(bool v);
    int DisableTag() const { return FBase ? FBase->FDisableTag : FDisableTag; }
    void SetDisableTag(int v) { FDisableTag = v; }
    // A copy made for another display density reads the switches of the
    // component it was made from.
    TSkinControlTypes SkinControls() const { return FBase ? FBase->FSkinControls : FSkinControls; }
    void SetSkinControls(TSkinControlTypes v) { FSkinControls = v; }
    TSkinOptions Options() const { return FBase ? FBase->FOptions : FOptions; }
    void SetOptions(TSkinOptions v) { FOptions = v; }
    const TStringList& Skin3rd() const { return FSkin3rd; }
    void SetSkin3rd(const TStringList& lines) { FSkin3rd = lines; }
    const std::string& SkinFile() const { return FSkinFile; }
    // At run time an existing file replaces the stored skin and is loaded; a
    // missing one is only remembered. At design time a path drops the stored
    // skin (the file is not embedded).
    void SetSkinFile(const std::string& path);
    // "(Good)" at design time when a skin is stored, else "(none)".
    std::string SkinStore() const;
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType v) { FSkinFormtype = v; }
    std::string Version() const { return kSkinDataVersion; }
    bool MenuUpdate() const { return FMenuUpdate; }
    void SetMenuUpdate(bool v) { FMenuUpdate = v; }
    bool MenuMerge() const { return FMenuMerge; }
    void SetMenuMerge(bool v) { FMenuMerge = v; }
    // While this skin is on, the whole process reads its colours from
    // GetSysColor and GetSysColorBrush (see ProcessPalette.h).
    bool ProcessPalette() const { return FProcessPalette; }
    void SetProcessPalette(bool v) { FProcessPalette = v; }

    TFormSkinEvent OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TSkinControlEvent OnSkinControl;
    TSkinFormEvent OnBeforeSkinForm;
    TSkinFormEvent OnAfterSkinForm;

    // ---- the stored skin ----
    // The "SkinStream" value of a form definition: a 32-bit little-endian
    // length, then that many bytes of skin archive (a zero length when nothing
    // is stored).
    TBytes SkinStreamValue() const;
    // Takes the stored skin from such a value and, unless designing, loads it.
    // A value whose length runs past its end keeps nothing (false).
    bool SetSkinStreamValue(const TBytes& value);
    const std::vector<uint8_t>& StoredSkin() const { return FStored; }
    // Replaces the stored bytes without loading them.
    void SetStoredSkin(std::vector<uint8_t> bytes) { FStored = std::move(bytes); }

    // Decodes the stored skin. False when the archive does not open; the
    // previous records then stay and SkinLoaded stays false. Nothing is
    // decoded at design time.
    bool LoadSkin();
    bool SkinLoaded() const { return FSkinLoaded; }

    // Loads the skin an author keeps in a folder (its description and
    // bitmaps, not packed) and hands it to the open windows. False, with the
    // reason in `why`, when the folder holds no skin; the current skin then
    // stays. A skin file or stream set later replaces it.
    bool LoadSkinFolder(const std::string& folder, std::string* why = nullptr);
    const std::string& SkinFolder() const { return FSkinFolder; }

    // Off only while a menu change runs through the previous window
    // procedure: frames are not painted meanwhile.
    bool FPaintNonClient = true;

    // ---- what a load produces ----
    std::string SkinName;
    int32_t BorderColour = int32_t(0xFF00000Fu);
    std::vector<int32_t> ColourSections;
    std::array<int32_t, 10> CustomColors{};
    // A solid brush of ButtonFace, made by each load (null before the first).
    HBRUSH FaceBrush() const { return FFaceBrush.get(); }
    // Content areas (edits, lists, trees): the background (Window), the text
    // colour that reads on it (ContentTextColour) and a solid brush of the
    // background, all made by each load.
    COLORREF ContentBack() const { return FContentBack; }
    COLORREF ContentText() const { return FContentText; }
    HBRUSH WindowBrush() const { return FWindowBrush.get(); }

    TDataSkinObject* Slot(TSkinSlot s) const { return FSlots[std::size_t(s)].get(); }
    TDataSkinBorder* BorderLeft() const { return border(TSkinSlot::BorderLeft); }
    TDataSkinBorder* BorderRight() const { return border(TSkinSlot::BorderRight); }
    TDataSkinBorder* BorderTop() const { return border(TSkinSlot::BorderTop); }
    TDataSkinBorder* BorderBottom() const { return border(TSkinSlot::BorderBottom); }
    TDataSkinTitle* Title() const { return static_cast<TDataSkinTitle*>(Slot(TSkinSlot::Title)); }
    TDataSkinButton* Buttons() const { return static_cast<TDataSkinButton*>(Slot(TSkinSlot::Buttons)); }
    const std::vector<std::unique_ptr<TDataSkinSysButton>>& CaptionButtons() const { return FCaptionButtons; }
    TDataSkinObject* MenuBar() const { return Slot(TSkinSlot::MenuBar); }
    TDataSkinBorder* Progress() const { return border(TSkinSlot::Progress); }
    TDataSkinObject* ProgressChunk() const { return Slot(TSkinSlot::ProgressChunk); }
    TDataSkinObject* GroupBoxEdge() const { return Slot(TSkinSlot::GroupBoxEdge); }
    TDataSkinBoxLabel* GroupBox() const { return static_cast<TDataSkinBoxLabel*>(Slot(TSkinSlot::GroupBox)); }
    TDataSkinBorder* Tabs() const { return border(TSkinSlot::Tabs); }
    TDataSkinObject* StatusBarEdges() const { return Slot(TSkinSlot::StatusBarEdges); }
    TDataSkinObject* TabPane() const { return Slot(TSkinSlot::TabPane); }
    TDataSkinObject* ToolBars() const { return Slot(TSkinSlot::ToolBars); }
    TDataSkinBorder* ComboButton() const { return border(TSkinSlot::ComboButton); }
    TDataSkinObject* SunkEdge() const { return Slot(TSkinSlot::SunkEdge); }
    TDataSkinObject* ExtraImages() const { return Slot(TSkinSlot::ExtraImages); }
    TDataSkinObject* Headerbar() const { return Slot(TSkinSlot::Headerbar); }
    TDataSkinObject* MenuItem() const { return Slot(TSkinSlot::MenuItem); }
    TDataSkinObject* MenuBackground() const { return Slot(TSkinSlot::MenuBackground); }
    TDataSkinObject* Scrollbar() const { return Slot(TSkinSlot::Scrollbar); }
    TDataSkinObject* HorzScroll() const { return Slot(TSkinSlot::HorzScroll); }
    TDataSkinObject* VertScroll() const { return Slot(TSkinSlot::VertScroll); }
    TDataSkinObject* HorzScrollThumb() const { return Slot(TSkinSlot::HorzScrollThumb); }
    TDataSkinObject* VertScrollThumb() const { return Slot(TSkinSlot::VertScrollThumb); }
    TDataSkinObject* TrackbarThumbHorz() const { return Slot(TSkinSlot::TrackbarThumbHorz); }
    TDataSkinObject* TrackbarThumbVert() const { return Slot(TSkinSlot::TrackbarThumbVert); }
    TDataSkinObject* TrackbarThumbLeft() const { return Slot(TSkinSlot::TrackbarThumbLeft); }
    TDataSkinObject* TrackbarThumbRight() const { return Slot(TSkinSlot::TrackbarThumbRight); }
    TDataSkinObject* TrackbarThumbUp() const { return Slot(TSkinSlot::TrackbarThumbUp); }
    TDataSkinObject* TrackbarThumbDown() const { return Slot(TSkinSlot::TrackbarThumbDown); }
    TDataSkinBorder* UpDownHorz() const { return border(TSkinSlot::UpDownHorz); }
    TDataSkinBorder* UpDownVert() const { return border(TSkinSlot::UpDownVert); }
    TDataSkinObject* Track() const { return Slot(TSkinSlot::Track); }
    TDataSkinObject* TrackVert() const { return Slot(TSkinSlot::TrackVert); }
    TDataSkinObject* ComboxArrow() const { return FComboxArrow.get(); }
    TDataSkinObject* Toolbar() const { return FToolbar.get(); }

    // The system caption font, made by the "loaded" step.
    TFont& CaptionFont() { return FCaptionFont; }
    // The application's small icon on magenta (transparent colour), made by
    // the "loaded" step.
    TBitmap& AppIcon() { return FAppIcon; }
    // Restore, maximise, minimise and close glyphs, 16 x 16, white transparent.
    TImageList& MenuImages() { return *FMenuImages; }
    // The screen's maximised-window size when the component was made.
    SIZE MaximizedSize() const { return FMaximized; }

    // After form streaming: makes the skin manager if needed, registers with
    // it and (main-form components) installs its hook and asks for skinning.
    void Loaded() override;
    // Hands a skin that was just loaded at run time to the open windows.
    void ApplyChangedSkin();
    // The last word on whether a window gets a form skin (doSkin comes in as
    // the manager's proposal).
    void AskFormSkin(HWND wnd, const std::string& className, bool& doSkin);
    // The window the manager is asking about right now.
    HWND FormHandle() const { return FFormHandle; }
    // The kind Skin3rd names for a control class ("button", "nil", ...), or
    // empty when no line names the class.
    std::string Skin3rdKind(const std::string& className) const;
    // The same skin with every length and image made for `dpi` dots per inch
    // (this component itself at 96, or at the density it was made for). Made
    // on first use and kept for the component's life; a new load remakes the
    // kept copies in place, so pointers to them stay good. A density whose
    // copy does not fit in memory (or in the scaling budget) is reported once
    // and drawn with the unscaled art from then on.
    TSkinData* ForDpi(int dpi);
    // The density this component's lengths are for.
    int Dpi() const { return FDpi; }
    // The component a density copy was made from; null for a loaded one.
    TSkinData* ScaledFrom() const { return FBase; }
    // The twice-as-large image ("name@2x.bmp") the skin holds beside the one
    // in `bmp`; empty when it holds none or one of another size. Read from
    // the stored archive when asked, so a skin shown at 96 dpi never holds it.
    PixelImage LargeImage(const TBitmap& bmp) const;
    // After a load: the kept density copies follow the new skin.
    void RescaleCopies();

    // Remakes the caption font and the application icon bitmap.
    void CreateCaptionFont();
    void BuildAppIcon();

private:
    friend class TSkinLoader;
    // Fills this copy from `base` at `dpi` (SkinDataScale.cpp).
    void BuildScaled(TSkinData& base, int dpi);
    TDataSkinBorder* border(TSkinSlot s) const { return static_cast<TDataSkinBorder*>(Slot(s)); }

    bool FActive = false;
    int FDisableTag = 99;
    TSkinControlTypes FSkinControls = kDefaultSkinControls;
    TSkinOptions FOptions = kDefaultSkinOptions;
    TStringList FSkin3rd;
    std::string FSkinFile;
    TSkinFormType FSkinFormtype = sfMainform;
    bool FMenuUpdate = true;
    bool FMenuMerge = false;
    bool FProcessPalette = false;

    std::vector<uint8_t> FStored;
    std::string FSkinFolder;  // set while the skin in use came from a folder
    bool FSkinLoaded = false;
    // Opens what the skin in use was read from: the folder, else the stored archive.
    bool OpenSource(TSkinReader& reader) const;

    std::array<std::unique_ptr<TDataSkinObject>, kSkinSlotCount> FSlots;
    std::vector<std::unique_ptr<TDataSkinSysButton>> FCaptionButtons;
    std::unique_ptr<TDataSkinObject> FComboxArrow;
    std::unique_ptr<TDataSkinObject> FToolbar;
    UniqueBrush FFaceBrush;
    UniqueBrush FWindowBrush;
    COLORREF FContentBack = 0xFFFFFF;
    COLORREF FContentText = 0;
    TFont FCaptionFont;
    TBitmap FAppIcon;
    std::unique_ptr<TImageList> FMenuImages;
    SIZE FMaximized{};
    HWND FFormHandle = nullptr;

    TSkinData* FBase = nullptr;  // set on a density copy
    int FDpi = 96;
    std::vector<std::pair<int, std::unique_ptr<TSkinData>>> FScaled;
    std::vector<int> FUnscaledDpis;  // densities that could not be made, drawn at 96
    std::unordered_map<const TBitmap*, std::string> FLarge;  // entry of each image's @2x partner
};

// Optional functions of the system, looked up by name once: absent on old
// systems, and the features that need them degrade quietly.
bool HasGetScrollBarInfo();
bool HasTrackMouseEvent();
// False when the system cannot tell; else what GetScrollBarInfo says. `bar`
// is OBJID_VSCROLL or OBJID_HSCROLL.
bool SafeGetScrollBarInfo(HWND wnd, LONG bar, SCROLLBARINFO& info);
// Asks for WM_MOUSELEAVE on the window when the system can send it.
void StartLeaveTracking(HWND wnd);
// GetComboBoxInfo when the system has it; false otherwise.
bool SafeGetComboBoxInfo(HWND wnd, COMBOBOXINFO& info);

// Registers TSkinData for form definitions (also done when this file's code
// is linked in).
void RegisterSkinDataClasses();

}  // namespace qs
