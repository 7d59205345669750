#pragma once
// Routines every control skin shares: reading published properties by name
// (so a skin works with any control class that publishes the same names),
// window text, background fills, caption and icon text, skin elements and
// keyed frames, and the control-skin list of a form skin.
#include <windows.h>

#include <string>
#include <string_view>

#include "SkinControl.h"

namespace qs {

class TWinSkinForm;
class TDataSkinObject;
class TImageList;

// Property access by name. A null object or a property the class does not
// publish is not an error: the neutral value comes back.
namespace prop {
// An integer (or colour) property; -1 when missing or of another kind.
int64_t GetIntProp(const TObject* obj, std::string_view name);
// The member name of an enumeration (or "True"/"False" of a Boolean); empty when missing.
std::string GetEnumPropName(const TObject* obj, std::string_view name);
// A wide or narrow text property as wide text; empty when missing.
std::wstring GetWideTextProp(const TObject* obj, std::string_view name);
// The object an object property holds when it is of `cls`; null otherwise.
TObject* GetObjectPropOf(const TObject* obj, std::string_view name, const TClassInfo& cls);
// Integer from its decimal text, enumeration and Boolean by member name, text
// as is; other kinds and values that do not convert are left alone (false).
bool SetPropFromString(TObject* obj, std::string_view name, const std::string& value);
}  // namespace prop

std::wstring GetWindowTextWide(HWND handle);
// A pop-up window, or one whose parent is the desktop.
bool IsPopupWindow(HWND handle);
// Our own windows inside a program's windows (scroll-bar covers, the date
// picker's button, the media player's strip) carry this id: outside the
// 16 bits of dialog-template and menu-command ids, so GetDlgItem,
// SetDlgItemText and SendDlgItemMessage of the program never find them.
inline constexpr LONG_PTR kHelperWindowId = LONG_PTR(0x5C0F0000);
void MarkHelperWindow(HWND handle);
// `dest` gets the size of `source` and its picture.
void CopyBitmap(TBitmap& source, TBitmap& dest);
void FillColor(HDC dc, const RECT& r, TColor colour);
// The colour a skinned caption is written in: a control font still in the
// system's default text colour takes the skin's button text instead (a dark
// skin would otherwise get black captions on its dark faces); a colour the
// program chose stays.
TColor SkinTextColor(const TSkinControl* skin, TColor fontColour);
// `flags` plus DT_RTLREADING for a right-to-left control.
UINT TextFlags(const TSkinControl* skin, UINT flags);
// Alignment is DrawText's: 0 left, DT_CENTER (1), DT_RIGHT (2). The text is
// centred vertically; disabled text takes the button-shadow colour.
void DrawCaptionText(const TSkinControl* skin, TCanvas& canvas, const RECT& r, UINT alignment, bool enabled,
                     const std::wstring& text);
// A caption with an optional image-list icon in front of it.
void DrawIconText(const TSkinControl* skin, TCanvas& canvas, const RECT& r, UINT alignment, const std::wstring& text,
                  int imageIndex, TImageList* images);
// Frame `frameIndex` (from 1) of `frameCount` of the element, nine-sliced to
// `r` with the element's margins and tiling, keyed on magenta when the
// element is transparent.
void DrawSkinElement(const TSkinControl* skin, HDC dc, const RECT& r, int frameCount, int frameIndex,
                     TDataSkinObject* element);
// Frame `frameIndex` of `frameCount` side by side, stretched to `r`, magenta
// transparent: through a temporary canvas on `dc`, onto a canvas, or through
// the mask blit.
void DrawKeyedFrame(const TSkinControl* skin, HDC dc, const RECT& r, int frameCount, int frameIndex, TBitmap& bmp);
void DrawKeyedFrame(const TSkinControl* skin, TCanvas& canvas, const RECT& r, int frameCount, int frameIndex,
                    TBitmap& bmp);
void DrawKeyedFrameMasked(const TSkinControl* skin, HDC dc, const RECT& r, int frameCount, int frameIndex,
                          TBitmap& bmp);
// One line of text centred both ways in `r`.
void DrawCenteredText(TCanvas& canvas, const RECT& r, const std::wstring& text, TAlignment alignment, bool enabled);
// A small line-drawn arrow with its tip at (x, y): 0 up, 1 down, 2 left, 3 right.
void DrawArrowGlyph(TCanvas& canvas, int x, int y, int direction);

// ---- the control-skin list of a form skin ----
// False when the skin is listed already.
bool AddControlSkin(TWinSkinForm* form, TSkinControl* skin);
void RemoveControlSkin(TWinSkinForm* form, TSkinControl* skin);
bool HasControlSkin(const TWinSkinForm* form, const TSkinControl* skin);
// Searched from the end: the last attached skin is the live one.
TSkinControl* FindSkinByHandle(const TWinSkinForm* form, HWND handle);
TSkinControl* FindSkinByControl(const TWinSkinForm* form, const TControl* control);
// Frees the skins whose window was destroyed.
void PurgeControlSkins(TWinSkinForm& form);
// Frees every skin, restoring first those whose window still exists.
void FreeControlSkins(TWinSkinForm& form);
// Lets the form skin free its control skins through FreeControlSkins.
void InstallControlSkinRelease();

}  // namespace qs
