#pragma once
// Shared pieces of the control-skin tests: skins made in the test, a form
// skin that only classifies (no frame), and a skin that records what it is
// asked to do.
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <memory>
#include <string>
#include <vector>

#include "Classify.h"
#include "SkinControl.h"
#include "SkinForm.h"
#include "SkinRoutines.h"
#include "WindowCapture.h"
#include "test_skin_data_util.h"

namespace qs::test {

inline constexpr uint32_t kFaceRGB = 0xE0E0E0;  // ButtonFace 224 224 224
inline constexpr COLORREF kFace = RGB(224, 224, 224);

// A skin data component loaded from a test skin; `extra` adds description lines.
inline std::unique_ptr<TSkinData> makeSkinData(SkinBuilder b) {
    auto sd = std::make_unique<TSkinData>(nullptr);
    loadArchive(*sd, b.archive());
    return sd;
}

inline SkinBuilder plainSkin() {
    SkinBuilder b;
    b.text("[Colours]\nButtonFace=224 224 224\nButtonShadow=200 0 0");
    return b;
}

// A plain child window class (the system's default procedure).
inline const wchar_t* testWindowClassName() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QsControlSkinTest";
        RegisterClassW(&wc);
        return L"QsControlSkinTest";
    }();
    return name;
}

// A form skin that classifies the children of `wnd` without touching its
// frame; its control skins are freed before it goes.
struct ClassifyingFormSkin {
    std::unique_ptr<TWinSkinForm> fs;
    ClassifyingFormSkin(HWND wnd, TSkinData* data, TCustomForm* form = nullptr) {
        fs = std::make_unique<TWinSkinForm>(nullptr);
        fs->FHandle = wnd;
        fs->FSkinData = data;
        fs->FControl = form;
        fs->FSkinFrame = false;
        fs->FSkinState = 1;
    }
    ~ClassifyingFormSkin() {
        if (fs) FreeControlSkins(*fs);
    }
    TWinSkinForm& operator*() { return *fs; }
    TWinSkinForm* operator->() { return fs.get(); }
};

// Paints the whole window in one colour and counts what it sees.
class TProbeSkin : public TSkinControl {
public:
    explicit TProbeSkin(TComponent* owner, COLORREF colour = RGB(255, 0, 0)) : TSkinControl(owner), colour_(colour) {}
    int paints = 0;
    int restores = 0;
    int changes = 0;
    bool throwInPaint = false;
    std::vector<UINT> before;
    void Paint(HDC dc, const RECT& r) override {
        ++paints;
        if (throwInPaint) throw std::runtime_error("paint failed");
        FillColor(dc, r, TColor(colour_));
    }
    bool BeforeMessage(TMessage& m) override {
        before.push_back(m.Msg);
        return TSkinControl::BeforeMessage(m);
    }
    void Restore() override {
        ++restores;
        TSkinControl::Restore();
    }
    void SkinChanged() override {
        ++changes;
        TSkinControl::SkinChanged();
    }

private:
    COLORREF colour_;
};

// Records every classification decision; the skins it makes are probes
// (so the rows of families not built yet can be checked too).
struct DecisionLog {
    struct Entry {
        TSkinClass kind;
        TComponent* owner;
        int imageKind;
        std::string graphicProperty;
        int pageMode;
        TProbeSkin* skin;
    };
    std::vector<Entry> entries;
    DecisionLog() {
        SetSkinFactory([this](TSkinClass k, const TSkinCreateArgs& a) -> TSkinControl* {
            auto* s = new TProbeSkin(a.owner);
            entries.push_back({k, a.owner, a.imageKind, a.graphicProperty ? a.graphicProperty : "", a.pageMode, s});
            return s;
        });
    }
    ~DecisionLog() { SetSkinFactory(nullptr); }
    // The classes decided for `owner`, in order.
    std::vector<TSkinClass> For(const TComponent* owner) const {
        std::vector<TSkinClass> out;
        for (auto& e : entries)
            if (e.owner == owner) out.push_back(e.kind);
        return out;
    }
    const Entry* Find(const TComponent* owner) const {
        for (auto& e : entries)
            if (e.owner == owner) return &e;
        return nullptr;
    }
};

}  // namespace qs::test
