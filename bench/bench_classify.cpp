// Classification and attach of every child of a form with 200 controls of
// mixed kinds (containers of this unit and, where their classes are
// registered, buttons, edits, lists and bars of the other control units),
// and the detach that follows. Prints tab-separated rows (metric, value, unit)
// for scripts/bench; not a test.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "Classify.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "SkinData.h"
#include "SkinCreate.h"
#include "SkinRoutines.h"
#include "StdCtrlsGroup.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

using namespace qs;

namespace {

constexpr int kControls = 200;

std::unique_ptr<TSkinData> loadSkin(const char* name) {
    std::string path = std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn";
    if (path[0] == '/') path = "Z:" + path;
    std::ifstream in(path, std::ios::binary);
    auto sd = std::make_unique<TSkinData>(nullptr);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sd->SetStoredSkin(std::move(bytes));
    sd->LoadSkin();
    return sd;
}

// A control of the registered class `name`, or null when no unit registered it.
TControl* byName(const char* name, TComponent* owner) {
    const TClassInfo* c = FindClass(name);
    return c && c->create ? dynamic_cast<TControl*>(c->create(owner)) : nullptr;
}

// 200 controls: a quarter of them nested in containers.
std::unique_ptr<TForm> buildForm(int& made) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 900, 700);
    const char* others[] = {"TButton", "TEdit", "TCheckBox", "TRadioButton", "TComboBox", "TListBox",
                            "TMemo", "TProgressBar", "TTrackBar", "TBitBtn", "TSpeedButton", "TScrollBar"};
    std::vector<TWinControl*> containers;
    made = 0;
    for (int i = 0; made < kControls; ++i) {
        TWinControl* parent = containers.empty() || i % 4 ? static_cast<TWinControl*>(form.get())
                                                          : containers[size_t(i) % containers.size()];
        TControl* c = nullptr;
        switch (i % 8) {
            case 0: c = new TPanel(form.get()); break;
            case 1: c = new TGroupBox(form.get()); break;
            case 2: {
                auto* bar = new TStatusBar(form.get());
                bar->Panels()->Add()->SetWidth(100);
                bar->Panels()->Add()->SetWidth(50);
                bar->SetAlign(alNone);
                c = bar;
                break;
            }
            case 3: c = new TScrollBox(form.get()); break;
            default: c = byName(others[size_t(i) % std::size(others)], form.get()); break;
        }
        if (!c) c = new TPanel(form.get());
        c->SetParent(parent);
        c->SetBounds((i * 37) % 800, (i * 23) % 600, 80, 24);
        if (auto* w = dynamic_cast<TWinControl*>(c); w && (i % 8) < 2) containers.push_back(w);
        ++made;
    }
    form->Show();
    test::pumpMessages(30);
    return form;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    // Only the families whose controls the form uses.
    RegisterGroupControlClasses();
    RegisterButtonControlClasses();
    RegisterEditControlClasses();
    RegisterProgressControlClasses();
    auto sd = loadSkin("default");
    if (!sd->SkinLoaded()) {
        std::printf("note: the default skin did not load\n");
        return 1;
    }
    std::map<std::string, double> byClass;
    struct Figures {
        double classify = 0, detach = 0;
        size_t skins = 0;
    };
    int made = 0;
    // Median of nine rounds, each on a freshly built form.
    auto measure = [&](bool timeClasses) {
        std::vector<double> classify, detach;
        Figures f;
        for (int round = 0; round < 9; ++round) {
            auto form = buildForm(made);
            TWinSkinForm fs(nullptr);
            fs.FHandle = form->Handle();
            fs.FSkinData = sd.get();
            fs.FControl = form.get();
            fs.FSkinState = 1;
            auto t0 = std::chrono::steady_clock::now();
            SkinAllControls(fs, form.get());
            auto t1 = std::chrono::steady_clock::now();
            f.skins = fs.FControls.size();
            while (!fs.FControls.empty()) {
                TSkinControl* s = fs.FControls.back();
                const std::string name = s->ClassName();
                auto a = std::chrono::steady_clock::now();
                fs.FControls.pop_back();
                s->FSkinForm = nullptr;
                if (s->FState != scsDestroyed) s->Restore();
                delete s;
                if (timeClasses)
                    byClass[name] += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count();
            }
            auto t2 = std::chrono::steady_clock::now();
            classify.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            detach.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
        }
        std::sort(classify.begin(), classify.end());
        std::sort(detach.begin(), detach.end());
        f.classify = classify[classify.size() / 2];
        f.detach = detach[detach.size() / 2];
        return f;
    };
    const Figures all = measure(true);
    // The same decisions, but only this unit's container skins are made:
    // the cost of the classification itself.
    SetSkinFactory([](TSkinClass k, const TSkinCreateArgs& a) { return NewContainerSkin(k, a); });
    const Figures own = measure(false);
    SetSkinFactory(nullptr);
    std::printf("classify+attach %d controls, every family\t%.0f\tus\n", made, all.classify);
    std::printf("classify+attach per control, every family\t%.1f\tus\n", all.classify / made);
    std::printf("detach %zu skins, every family\t%.0f\tus\n", all.skins, all.detach);
    std::printf("classify+attach %d controls, container skins only\t%.0f\tus\n", made, own.classify);
    std::printf("detach %zu container skins\t%.0f\tus\n", own.skins, own.detach);
    for (auto& [name, us] : byClass) std::printf("note: detach of %s: %.0f us in nine rounds\n", name.c_str(), us);
    std::printf("note: %zu of %d controls got a skin (families not built yet make none)\n", all.skins, made);
    return 0;
}
