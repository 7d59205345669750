#include "SkinData.h"

#include <cstring>

#include <utility>

#include "Application.h"
#include "SkinDataManager.h"
#include "SkinLoader.h"
#include "SkinPalette.h"
#include "SkinReader.h"

namespace qs {

namespace {

const std::vector<std::string> kSkinControlNames = {
    "xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
    "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton",
    "xcSpin", "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport",
};
const std::vector<std::string> kSkinOptionNames = {
    "xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround",
    "xoNoFocusRect", "xoToolbarBK", "xoMDIChildBorder", "xoMenuBG", "xoFormScrollbar",
};
const std::vector<std::string> kSkinFormTypeNames = {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"};

// The whole file, or false when it cannot be opened or read or is larger than
// any skin can be (judged from its size before anything is read).
bool readWholeFile(const std::string& utf8Path, std::vector<uint8_t>& out) {
    const std::wstring path = Utf8ToWide(utf8Path);
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = false;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h, &size) && size.QuadPart >= 0 && uint64_t(size.QuadPart) <= kSkinMaxFileBytes) {
        std::vector<uint8_t> bytes(std::size_t(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() || (::ReadFile(h, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
        if (ok) out = std::move(bytes);
    }
    ::CloseHandle(h);
    return ok;
}

struct Registrar {
    Registrar() { RegisterSkinDataClasses(); }
} gRegistrar;

}  // namespace

const TClassInfo& TSkinData::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinData>("TSkinData", &TComponent::StaticClassInfo())
            .creatable()
            .boolean("Active", &TSkinData::Active, &TSkinData::SetActive)
            .integer("DisableTag", [](const TSkinData& s) { return int64_t(s.DisableTag()); },
                     [](TSkinData& s, int64_t v) { s.SetDisableTag(int(v)); })
            .set("SkinControls", kSkinControlNames, &TSkinData::SkinControls,
                 [](TSkinData& s, uint64_t v) { s.SetSkinControls(TSkinControlTypes(v)); })
            .set("Options", kSkinOptionNames, &TSkinData::Options,
                 [](TSkinData& s, uint64_t v) { s.SetOptions(TSkinOptions(v)); })
            .strings("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd)
            .string("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
            // Display only: a written value is accepted and ignored.
            .string("SkinStore", &TSkinData::SkinStore, [](TSkinData&, const std::string&) {})
            .enumeration("SkinFormtype", kSkinFormTypeNames, &TSkinData::SkinFormtype,
                         [](TSkinData& s, int v) { s.SetSkinFormtype(TSkinFormType(v)); })
            .string("Version", &TSkinData::Version, [](TSkinData&, const std::string&) {})
            .boolean("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
            .boolean("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
            .boolean("ProcessPalette", &TSkinData::ProcessPalette, &TSkinData::SetProcessPalette)
            .event<TFormSkinEvent>("OnFormSkin", [](const TSkinData& s) { return s.OnFormSkin; },
                                   [](TSkinData& s, const TFormSkinEvent& f) { s.OnFormSkin = f; })
            .event<TNotifyEvent>("OnSkinChanged", [](const TSkinData& s) { return s.OnSkinChanged; },
                                 [](TSkinData& s, const TNotifyEvent& f) { s.OnSkinChanged = f; })
            .event<TSkinControlEvent>("OnSkinControl", [](const TSkinData& s) { return s.OnSkinControl; },
                                      [](TSkinData& s, const TSkinControlEvent& f) { s.OnSkinControl = f; })
            .event<TSkinFormEvent>("OnBeforeSkinForm", [](const TSkinData& s) { return s.OnBeforeSkinForm; },
                                   [](TSkinData& s, const TSkinFormEvent& f) { s.OnBeforeSkinForm = f; })
            .event<TSkinFormEvent>("OnAfterSkinForm", [](const TSkinData& s) { return s.OnAfterSkinForm; },
                                   [](TSkinData& s, const TSkinFormEvent& f) { s.OnAfterSkinForm = f; })
            .binary("SkinStream", &TSkinData::SkinStreamValue, &TSkinData::SetSkinStreamValue)
            .build();
    return info;
}

void RegisterSkinDataClasses() { RegisterComponentClass(TSkinData::StaticClassInfo()); }

TSkinData::TSkinData(TComponent* owner) : TComponent(owner), FSkin3rd(defaultSkin3rd()) {
    FSlots[std::size_t(TSkinSlot::BorderLeft)] = std::make_unique<TDataSkinBorder>("Left");
    FSlots[std::size_t(TSkinSlot::BorderRight)] = std::make_unique<TDataSkinBorder>("Right");
    FSlots[std::size_t(TSkinSlot::BorderTop)] = std::make_unique<TDataSkinBorder>("Top");
    FSlots[std::size_t(TSkinSlot::BorderBottom)] = std::make_unique<TDataSkinBorder>("Bottom");
    FSlots[std::size_t(TSkinSlot::Title)] = std::make_unique<TDataSkinTitle>("Title");
    FSlots[std::size_t(TSkinSlot::Buttons)] = std::make_unique<TDataSkinButton>("Buttons");
    CustomColors.fill(0xFFFFFF);

    FMenuImages = std::make_unique<TImageList>(nullptr);
    FMenuImages->SetSize(16, 16);
    TBitmap glyphs;
    if (TSkinLoader::LoadBuiltinBitmap(glyphs, L"TRELLIQMENU")) FMenuImages->AddMasked(glyphs, clWhite);

    FMaximized = SIZE{::GetSystemMetrics(SM_CXMAXIMIZED), ::GetSystemMetrics(SM_CYMAXIMIZED)};
}

TSkinData::~TSkinData() {
    SyncSkinPalette(*this, false);
    if (TSkinManageBase* m = SkinManagerBase()) m->UnregisterSkinData(this);
}

void TSkinData::SetSkinFile(const std::string& path) {
    FSkinFile = path;
    if (IsDesigning()) {
        FSkinLoaded = false;
        if (!path.empty()) FStored.clear();
        return;
    }
    // A file that cannot be read leaves the current skin as it is, loaded
    // state included: its records are still whole and in use.
    std::vector<uint8_t> bytes;
    if (path.empty() || !readWholeFile(path, bytes)) return;
    // A file that is not a skin must not take the open windows' skin away:
    // the stored bytes and the loaded state stay as they were (the records
    // are untouched by a load that fails to open).
    const bool wasLoaded = FSkinLoaded;
    std::vector<uint8_t> previous = std::exchange(FStored, std::move(bytes));
    std::string folder = std::exchange(FSkinFolder, std::string());
    if (!LoadSkin()) {
        FStored = std::move(previous);
        FSkinFolder = std::move(folder);
        FSkinLoaded = wasLoaded;
        return;
    }
    ApplyChangedSkin();
}

bool TSkinData::LoadSkinFolder(const std::string& folder, std::string* why) {
    if (IsDesigning()) return false;
    TSkinReader reader;
    if (!reader.OpenFolder(folder)) {
        if (why) *why = reader.lastError();
        return false;
    }
    FSkinFolder = folder;
    TSkinLoader::Load(*this, reader);
    RescaleCopies();
    ApplyChangedSkin();
    return true;
}

bool TSkinData::OpenSource(TSkinReader& reader) const {
    return FSkinFolder.empty() ? reader.Open(FStored) : reader.OpenFolder(FSkinFolder);
}

std::string TSkinData::SkinStore() const { return IsDesigning() && !FStored.empty() ? "(Good)" : "(none)"; }

TBytes TSkinData::SkinStreamValue() const {
    const uint32_t n = uint32_t(FStored.size());
    TBytes out(4 + FStored.size());
    for (int i = 0; i < 4; ++i) out[std::size_t(i)] = uint8_t(n >> (8 * i));
    if (!FStored.empty()) std::memcpy(out.data() + 4, FStored.data(), FStored.size());
    return out;
}

bool TSkinData::SetSkinStreamValue(const TBytes& value) {
    if (value.size() < 4) return false;
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n |= uint32_t(value[std::size_t(i)]) << (8 * i);
    // A length of 0 or below carries no skin.
    if (int32_t(n) <= 0) return true;
    if (n > value.size() - 4 || n > kSkinMaxFileBytes) return false;
    FStored.assign(value.begin() + 4, value.begin() + 4 + std::ptrdiff_t(n));
    FSkinFolder.clear();
    if (!IsDesigning()) LoadSkin();
    return true;
}

bool TSkinData::LoadSkin() {
    if (!TSkinLoader::Load(*this)) {
        for (auto& [dpi, copy] : FScaled) copy->FSkinLoaded = false;
        return false;
    }
    RescaleCopies();
    return true;
}

void TSkinData::CreateCaptionFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) FCaptionFont.AssignLogFont(ncm.lfCaptionFont);
}

void TSkinData::BuildAppIcon() {
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    // The application window's small icon, else its large one, else the
    // program's icon (none of them ours to destroy).
    HICON icon = nullptr;
    if (Application) {
        if (HWND w = Application->Handle()) {
            icon = reinterpret_cast<HICON>(::SendMessageW(w, WM_GETICON, ICON_SMALL, 0));
            if (!icon) icon = reinterpret_cast<HICON>(::SendMessageW(w, WM_GETICON, ICON_BIG, 0));
        }
        if (!icon) icon = Application->Icon();
    }
    if (!icon) icon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */);

    FAppIcon.SetSize(cx, cy);
    const PixelView v = FAppIcon.View();
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) v.at(x, y) = 0xFF00FF;
    if (icon && !FAppIcon.Empty()) {
        UniqueIcon small(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, cx, cy, 0)));
        UniqueDC dc(::CreateCompatibleDC(nullptr));
        if (dc) {
            SelectObjectScope keep(dc.get(), FAppIcon.Handle());
            ::DrawIconEx(dc.get(), 0, 0, small ? small.get() : icon, cx, cy, 0, nullptr, DI_NORMAL);
            ::GdiFlush();
        }
    }
    FAppIcon.SetTransparentColor(clFuchsia);
    FAppIcon.SetTransparent(true);
}

}  // namespace qs
