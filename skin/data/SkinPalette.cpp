#include "SkinPalette.h"

#include "Colour.h"
#include "SkinData.h"

namespace qs {

palette::TPaletteTable SkinPaletteOf(const TSkinData& sd) {
    palette::TPaletteTable t;
    auto put = [&t](int index, ColourNum c) {
        t.colour[index] = COLORREF(resolveColour(c)) & 0xFFFFFF;
        t.covered[index] = true;
    };
    const ColourNum back = ColourNum(sd.ContentBack()), text = ColourNum(sd.ContentText());
    const ColourNum face = sd.ButtonFace, faceText = sd.ButtonText;
    put(COLOR_SCROLLBAR, MixColours(face, back, 50));
    put(COLOR_MENU, sd.Menu);
    put(COLOR_WINDOW, back);
    put(COLOR_WINDOWFRAME, sd.ButtonDkShadow);
    put(COLOR_MENUTEXT, sd.MenuText);
    put(COLOR_WINDOWTEXT, text);
    put(COLOR_CAPTIONTEXT, sd.TitleTextActive);
    put(COLOR_ACTIVEBORDER, face);
    put(COLOR_INACTIVEBORDER, face);
    put(COLOR_APPWORKSPACE, sd.ButtonShadow);
    put(COLOR_HIGHLIGHT, sd.Hilight);
    put(COLOR_HIGHLIGHTTEXT, sd.HilightText);
    put(COLOR_BTNFACE, face);
    put(COLOR_BTNSHADOW, sd.ButtonShadow);
    put(COLOR_GRAYTEXT, MixColours(faceText, face, 50));
    put(COLOR_BTNTEXT, faceText);
    put(COLOR_INACTIVECAPTIONTEXT, sd.TitleTextNoActive);
    put(COLOR_BTNHIGHLIGHT, sd.ButtonHilight);
    put(COLOR_3DDKSHADOW, sd.ButtonDkShadow);
    put(COLOR_3DLIGHT, sd.Buttonlight);
    put(COLOR_INFOTEXT, text);
    put(COLOR_INFOBK, back);
    put(COLOR_HOTLIGHT, sd.Hilight);
    put(COLOR_MENUHILIGHT, sd.Hilight);
    put(COLOR_MENUBAR, sd.Menubar);
    return t;
}

bool SyncSkinPalette(const TSkinData& sd, bool on) {
    if (!sd.ProcessPalette()) return true;
    if (on && sd.SkinLoaded()) return palette::Apply(SkinPaletteOf(sd));
    palette::Withdraw();
    return true;
}

}  // namespace qs
