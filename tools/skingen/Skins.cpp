// Puts a skin together: every element bitmap under its entry name and the
// description that names them, with margins matching the art.
#include <filesystem>
#include <fstream>

#include "Art.h"
#include "Bmp.h"
#include "SkinBuilder.h"

namespace qs::gen {

// --- description text -------------------------------------------------------

void IniText::section(std::string_view name) {
    if (!FText.empty()) FText += "\r\n";
    FText += "[";
    FText += name;
    FText += "]\r\n";
}
void IniText::key(std::string_view k, std::string_view v) {
    FText += k;
    FText += "=";
    FText += v;
    FText += "\r\n";
}
void IniText::key(std::string_view k, int v) { key(k, std::to_string(v)); }
void IniText::colour(std::string_view k, Px c) {
    key(k, std::to_string(pr(c)) + " " + std::to_string(pg(c)) + " " + std::to_string(pb(c)));
}
void IniText::comment(std::string_view c) {
    FText += "; ";
    FText += c;
    FText += "\r\n";
}

// --- the skin ---------------------------------------------------------------------

const PixelImage* GeneratedSkin::find(std::string_view entry) const {
    for (const auto& [name, img] : images)
        if (name == entry) return &img;
    return nullptr;
}

std::vector<std::string> GeneratedSkin::order() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i <= images.size(); ++i) {
        if (i == iniPosition) out.push_back(iniName);
        if (i < images.size()) out.push_back(images[i].first);
    }
    return out;
}

std::vector<TSkinArchiveEntry> GeneratedSkin::entries() const {
    std::vector<TSkinArchiveEntry> out;
    for (const std::string& name : order()) {
        if (name == iniName) {
            out.push_back({name, std::vector<uint8_t>(ini.text().begin(), ini.text().end())});
        } else {
            PixelImage copy = *find(name);
            out.push_back({name, WriteBmp24(copy.view())});
        }
    }
    return out;
}

namespace {

void margins(IniText& ini, int l, int t, int r, int b) {
    ini.key("LeftWidth", l);
    ini.key("RightWidth", r);
    ini.key("TopHeight", t);
    ini.key("BottomHeight", b);
}

void stateColours(IniText& ini, Px normal, Px hot, Px pressed) {
    ini.colour("NormalColour2", normal);
    ini.colour("MouseOverColour2", hot);
    ini.colour("PressedColour2", pressed);
}

// A plain element section: image, frame count, margins, keying, tiling.
void element(IniText& ini, std::string_view section, std::string_view image, int frames, int l, int t, int r,
             int b, int trans, int tile = 0) {
    ini.section(section);
    ini.key("Image", image);
    if (frames > 0) ini.key("Frame", frames);
    margins(ini, l, t, r, b);
    ini.key("Trans", trans);
    ini.key("Tile", tile);
}

void describeFrame(IniText& ini, const Theme& th, const FramePieces& p) {
    const int stretch = th.tiled ? 0 : 1, trans = th.shaped ? 1 : 0;
    ini.section("Personality");
    for (const char* side : {"Left", "Right"}) {
        const std::string s = side;
        ini.key(s, "Frame" + s + ".bmp");
        ini.key(s + "Frame", 2);
        ini.key(s + "Stretch", stretch);
        ini.key(s + "Trans", trans);
        ini.key(s + "TopHeight", th.titleH);
        ini.key(s + "BotHeight", th.bottomH);
    }
    ini.key("Top", "FrameTop.bmp");
    ini.key("TopFrame", 2);
    ini.key("TopStretch", stretch);
    ini.key("TopTrans", trans);
    ini.key("TopTopHeight", p.topLeftFixed);
    ini.key("TopBotHeight", p.topRightFixed);
    ini.key("Bottom", "FrameBottom.bmp");
    ini.key("BottomFrame", 2);
    ini.key("BottomStretch", stretch);
    ini.key("BottomTrans", trans);
    ini.key("BottomTopHeight", 0);
    ini.key("BottomBotHeight", 0);
    ini.key("TextBack", "captionback.bmp");
    ini.key("TextShift", th.textShift);
    ini.key("TextShiftVert", th.textShiftVert);
    ini.key("TextRightClip", th.textRightClip);
    ini.key("TextAlignment", 0);
    ini.key("Textbackground", 0);
    ini.key("TXTBackleft", 0);
    ini.key("TXTBackRight", 0);
    for (auto [prefix, c] : {std::pair{"ActiveText", th.titleText}, std::pair{"InActiveText", th.titleTextI}}) {
        ini.key(std::string(prefix) + "R", pr(c));
        ini.key(std::string(prefix) + "G", pg(c));
        ini.key(std::string(prefix) + "B", pb(c));
    }
    ini.key("menuBar", "menu.bmp");
    ini.key("TileMenu", 1);
    ini.key("TileLeftMenu", 2);
    ini.key("TileRightMenu", 2);
}

void describeColours(IniText& ini, const Theme& t) {
    ini.section("Colours");
    ini.colour("WindowText", t.windowText);
    ini.colour("ButtonFace", t.face);
    ini.colour("Scrollbar", t.track);
    ini.colour("HilightText", t.menuSelText);
    ini.colour("Hilight", t.menuSel);
    ini.colour("Menubar", t.menuBarBottom);
    ini.colour("Menu", t.menu);
    ini.colour("MenuText", t.menuText);
    ini.colour("ButtonText", t.text);
    ini.colour("ButtonHilight", t.hilight);
    ini.colour("Buttonlight", t.light);
    ini.colour("ButtonShadow", t.shadow);
    ini.colour("ButtonDkShadow", t.dkShadow);
    ini.colour("MenuBarText", t.menuBarText);
    ini.colour("TitleTextActive", t.titleText);
    ini.colour("TitleTextNoActive", t.titleTextI);
    ini.colour("Window", t.window);
    for (std::size_t i = 0; i < t.sectionColours.size(); ++i) {
        ini.section("Colour" + std::to_string(i));
        ini.colour("color", t.sectionColours[i]);
    }
    ini.section("Customcolors");
    for (std::size_t i = 0; i < t.customColours.size(); ++i)
        ini.colour("Color" + std::to_string(i), t.customColours[i]);
}

void describeCaptionButtons(IniText& ini, const Theme& t) {
    int n = 0;
    for (const CaptionButtonPlace& b : t.captionButtons) {
        ini.section("Button" + std::to_string(n++));
        ini.key("Action", b.action);
        ini.key("Align", 1);
        ini.key("Xcoord", b.xcoord);
        ini.key("Ycoord", t.capY);
        ini.key("Visibility", b.visibility);
        ini.key("Visibility1", b.visibility1);
        ini.key("CombineOp", -1);  // both visibility rules must hold
        ini.key("ButtonImage", b.image);
    }
    // The icon button: the window's own icon is drawn there, so its image is
    // only a stand-in.
    ini.section("Button" + std::to_string(n));
    ini.key("Action", 3);
    ini.key("Align", 0);
    ini.key("Xcoord", t.iconX);
    ini.key("Ycoord", t.iconY);
    ini.key("Visibility", 0);
    ini.key("Visibility1", 0);
    ini.key("CombineOp", -1);
    ini.key("ButtonImage", "IconButton.bmp");
}

}  // namespace

GeneratedSkin generateSkin(const std::string& id) { return generateSkin(themeByName(id)); }

GeneratedSkin generateSkin(const Theme& t) {
    GeneratedSkin s;
    s.name = t.id;
    s.theme = t;
    s.iniName = t.iniName;
    IniText& ini = s.ini;
    const FramePieces frame = drawFrame(t);
    const int mdiA = 16;

    // Entries in the order skin authors are used to, the description after
    // the bitmaps it grew up with.
    s.add("FrameTop.bmp", frame.top);
    s.add("FrameBottom.bmp", frame.bottom);
    s.add("FrameLeft.bmp", frame.left);
    s.add("FrameRight.bmp", frame.right);
    s.add("menu.bmp", drawMenuBar(t));
    s.add("dialog.bmp", drawTabPane(t));
    s.add("button.bmp", drawButtons(t));
    s.add("checkbox.bmp", drawCheckBoxes(t));
    s.add("radio.bmp", drawRadioButtons(t));
    s.add("progress.bmp", drawProgress(t));
    s.add("tabborder.bmp", drawTabBorder(t));
    s.add("tabs.bmp", drawTabs(t));
    s.add("combo.bmp", drawComboButton(t));
    s.add("sunkedge.bmp", drawSunkEdge(t));
    s.add("combo-arrows.bmp", drawExtraImages(t));
    s.add("header.bmp", drawHeader(t));
    s.add("menutool.bmp", drawMenuItem(t));
    s.add("menuborder.bmp", drawMenuBackground(t));
    s.add("arrows.bmp", drawScrollParts(t));
    s.add("hscroll_back.bmp", drawScrollTrack(t, false));
    s.add("vscroll_back.bmp", drawScrollTrack(t, true));
    s.add("hscroll_bar.bmp", drawScrollThumb(t, false));
    s.add("vscroll_bar.bmp", drawScrollThumb(t, true));
    s.add("button-mdi.bmp", drawMdiControls(t, mdiA));
    s.add("groupboxlabel.bmp", drawGroupLabel(t));
    s.add("button-toolbar.bmp", drawToolbarButtons(t));
    s.iniPosition = s.images.size();
    s.add("CloseButton.bmp", drawCaptionButton(t, Glyph::Close));
    s.add("MaxButton.bmp", drawCaptionButton(t, Glyph::Maximize));
    s.add("MinButton.bmp", drawCaptionButton(t, Glyph::Minimize));
    s.add("RestroreButton.bmp", drawCaptionButton(t, Glyph::Restore));
    if (t.helpButton) s.add("HelpButton.bmp", drawCaptionButton(t, Glyph::Help));
    s.add("IconButton.bmp", drawIconButton(t));
    // The frame and caption buttons drawn again at twice the size, for
    // displays at 175 % and above; the description does not name them.
    {
        const Theme t2 = doubledTheme(t);
        const FramePieces big = drawFrame(t2);
        s.add("FrameTop@2x.bmp", big.top);
        s.add("FrameBottom@2x.bmp", big.bottom);
        s.add("FrameLeft@2x.bmp", big.left);
        s.add("FrameRight@2x.bmp", big.right);
        s.add("CloseButton@2x.bmp", drawCaptionButton(t2, Glyph::Close));
        s.add("MaxButton@2x.bmp", drawCaptionButton(t2, Glyph::Maximize));
        s.add("MinButton@2x.bmp", drawCaptionButton(t2, Glyph::Minimize));
        s.add("RestroreButton@2x.bmp", drawCaptionButton(t2, Glyph::Restore));
        if (t.helpButton) s.add("HelpButton@2x.bmp", drawCaptionButton(t2, Glyph::Help));
    }
    s.add("captionback.bmp", drawTextBack(t));
    s.add("groupbox.bmp", drawGroupEdge(t));
    s.add("statusbar.bmp", drawStatusEdges(t));
    s.add("progress-chunk.bmp", drawProgressChunk(t));
    s.add("track.bmp", drawTrack(t, false));
    s.add("trackvert.bmp", drawTrack(t, true));
    s.add("thumb-horz.bmp", drawTrackThumb(t, ThumbKind::Horz));
    s.add("thumb-vert.bmp", drawTrackThumb(t, ThumbKind::Vert));
    s.add("thumb-left.bmp", drawTrackThumb(t, ThumbKind::Left));
    s.add("thumb-right.bmp", drawTrackThumb(t, ThumbKind::Right));
    s.add("thumb-up.bmp", drawTrackThumb(t, ThumbKind::Up));
    s.add("thumb-down.bmp", drawTrackThumb(t, ThumbKind::Down));
    s.add("updown-horz.bmp", drawUpDown(t, true));
    s.add("updown-horz-glyphs.bmp", drawUpDownGlyphs(t, true));
    s.add("updown-vert.bmp", drawUpDown(t, false));
    s.add("updown-vert-glyphs.bmp", drawUpDownGlyphs(t, false));

    ini.comment(t.skinName + ": drawn by skingen; regenerate rather than edit.");
    ini.section("TitlebarSkin");
    ini.key("SkinName", t.skinName);
    describeFrame(ini, t, frame);
    ini.section("Fonts");
    ini.key("FontHeight", t.fontHeight);
    describeColours(ini, t);
    describeCaptionButtons(ini, t);
    ini.section("MDICONTROLS");
    ini.key("Image", "button-mdi.bmp");

    const int bm = std::max(4, t.radius + 1);
    ini.section("Buttons");
    ini.key("Bitmap", "button.bmp");
    margins(ini, bm, bm, bm, bm);
    ini.key("Trans", 1);
    ini.key("Tile", 0);
    ini.key("CheckButton", "checkbox.bmp");
    ini.key("RadioButton", "radio.bmp");
    stateColours(ini, t.text, t.text, t.text);

    const int pm = std::min(t.radius + 2, 7);
    ini.section("Progress");
    ini.key("Bitmap", "progress.bmp");
    ini.key("Style", 0);
    margins(ini, pm, 3, pm, 3);
    ini.key("Trans", 1);
    ini.key("Tile", 0);
    element(ini, "Progress.Chunk", "progress-chunk.bmp", 1, 0, 0, 2, 0, 0);

    const int gm = std::min(t.radius + 2, 6);
    element(ini, "GroupBoxEdge", "groupbox.bmp", 2, gm, gm, gm, gm, 1);
    element(ini, "GroupBox", "groupboxlabel.bmp", 0, 8, 4, 8, 4, 1);
    ini.key("BackgroundAlignment", 0);
    ini.key("BackgroundLeftShift", 4);
    ini.key("BackgroundRightShift", 4);

    const int tm = std::min(t.radius + 2, 7);
    element(ini, "Tabs", "tabs.bmp", 0, tm, tm, tm, 2, 1);
    ini.key("Style", 0);
    ini.key("Border", "tabborder.bmp");
    stateColours(ini, t.text, t.text, t.text);
    element(ini, "StatusBarEdges", "statusbar.bmp", 3, 2, 2, 2, 2, 0);
    stateColours(ini, t.text, t.text, t.text);
    element(ini, "Tab.Pane", "dialog.bmp", 1, 4, 4, 4, 4, 0);
    element(ini, "ToolBars", "button-toolbar.bmp", 5, bm, bm, bm, bm, 1);

    const int em = std::min(t.radius, 4) + 1;
    element(ini, "ComboButton", "combo.bmp", 0, 2, em, em, em, 1);
    element(ini, "SunkEdge", "sunkedge.bmp", 4, em, em, em, em, 1);
    element(ini, "ExtraImages", "combo-arrows.bmp", 5, 0, 0, 0, 0, 1);
    element(ini, "Headerbar", "header.bmp", 5, 3, 3, 3, 3, 0);
    stateColours(ini, t.text, t.text, t.text);
    element(ini, "MenuItem", "menutool.bmp", 5, 3, 3, 3, 3, 1);
    element(ini, "MenuBackground", "menuborder.bmp", 1, kMenuGutter, 3, 3, 3, 0);

    element(ini, "Scrollbar", "arrows.bmp", 23, 0, 0, 0, 0, 1);
    element(ini, "HorzScroll", "hscroll_back.bmp", 4, 0, 0, 0, 0, 0);
    element(ini, "VertScroll", "vscroll_back.bmp", 4, 0, 0, 0, 0, 0);
    const int thm = std::min(t.radius + 3, 8);
    for (auto [section, image, vertical] : {std::tuple{"HorzScrollThumb", "hscroll_bar.bmp", false},
                                            std::tuple{"VertScrollThumb", "vscroll_bar.bmp", true}}) {
        element(ini, section, image, 0, vertical ? 0 : thm, vertical ? thm : 0, vertical ? 0 : thm,
                vertical ? thm : 0, 1);
        ini.key("FrameCount", 3);
    }
    for (auto [section, image] : {std::pair{"Trackbar.ThumbHorz", "thumb-horz.bmp"},
                                  std::pair{"Trackbar.ThumbVert", "thumb-vert.bmp"},
                                  std::pair{"Trackbar.ThumbLeft", "thumb-left.bmp"},
                                  std::pair{"Trackbar.ThumbRight", "thumb-right.bmp"},
                                  std::pair{"Trackbar.ThumbUp", "thumb-up.bmp"},
                                  std::pair{"Trackbar.ThumbDown", "thumb-down.bmp"}})
        element(ini, section, image, 5, 0, 0, 0, 0, 1);
    element(ini, "UpDown.Horz", "updown-horz.bmp", 0, 3, 3, 3, 3, 1);
    ini.key("GlyphImage", "updown-horz-glyphs.bmp");
    element(ini, "UpDown.Vert", "updown-vert.bmp", 0, 3, 3, 3, 3, 1);
    ini.key("GlyphImage", "updown-vert-glyphs.bmp");
    element(ini, "Track", "track.bmp", 1, 3, 2, 3, 2, 0);
    element(ini, "TRACKVERT", "trackvert.bmp", 1, 2, 3, 2, 3, 0);
    return s;
}

std::string writeSkinFolder(const GeneratedSkin& skin, const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return "cannot create " + dir + ": " + ec.message();
    std::string order;
    for (const TSkinArchiveEntry& e : skin.entries()) {
        std::ofstream f(std::filesystem::path(dir) / e.Name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(e.Data.data()), std::streamsize(e.Data.size()));
        if (!f) return "cannot write " + (std::filesystem::path(dir) / e.Name).string();
        order += e.Name + "\n";
    }
    std::ofstream o(std::filesystem::path(dir) / "order.txt", std::ios::binary);
    o << order;
    if (!o) return "cannot write order.txt in " + dir;
    return {};
}

}  // namespace qs::gen
