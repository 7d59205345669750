#pragma once
// Shared by the gallery window tests: one skin data component for the whole
// run, with the process palette on (as the program has them), switching
// between skins and off, and reading and writing the reference pictures.
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "Application.h"
#include "Forms.h"
#include "Gallery.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "WindowCapture.h"

namespace qs::test {

class GallerySkin {
public:
    static GallerySkin& get() {
        static GallerySkin s;
        return s;
    }
    // "" switches skinning off.
    void use(const std::string& name) {
        if (name.empty()) {
            FData->SetActive(false);
        } else {
            FData->SetSkinFile(std::string(QS_SKINS_DIR) + name + ".skn");
            FData->SetActive(true);
        }
        gallery::pump(700);
    }
    bool active() const { return FData->Active(); }
    // The skin in use, for colours and elements a test reads back.
    TSkinData* data() const { return FData; }

private:
    GallerySkin() {
        Application->Initialize();
        FHost = Application->CreateForm<TForm>();
        FData = new TSkinData(FHost);
        FData->SetName("SD");
        FData->SetProcessPalette(true);  // as the gallery has it
    }
    TForm* FHost = nullptr;
    TSkinData* FData = nullptr;
};

// The gallery page with this id; a test naming a page that is gone fails loudly.
inline const gallery::Page& page(const std::string& id) {
    for (const auto& p : gallery::pages())
        if (p.id == id) return p;
    throw std::runtime_error("no gallery page " + id);
}

// A page on screen, closed when the object goes.
struct OpenPage {
    explicit OpenPage(const gallery::Page& p) : w(p.open()) {
        if (w.form) {
            w.form->Show();
            w.handle = w.form->Handle();
        }
        settle();
    }
    ~OpenPage() {
        gallery::closePage(w);
        gallery::pump(50);
    }
    // No caret and no focus rectangle, so pictures taken apart in time agree.
    void settle() const {
        ::SetForegroundWindow(w.handle);
        gallery::pump(250);
        ::SetFocus(nullptr);
        gallery::pump(100);
    }
    gallery::PageWindow w;
};

inline bool skinned(HWND wnd) { return ::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0) == 1; }

// Reads the 24-bit bottom-up BMPs saveBmp writes; empty on any other form.
Image loadBmp(const std::wstring& path);

// Pixels that differ shown in red on a faded copy of `a`.
Image diffImage(const Image& a, const Image& b);

}  // namespace qs::test
