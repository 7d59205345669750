// Classification and attach of every child of a form with 200 controls of
// mixed kinds (containers of this unit and, where their classes are
// registered, buttons, edits, lists and bars of the other control units),
// and the detach that follows; what an unhandled message costs on a skinned
// control against its unskinned twin; the GDI objects the control skins
// hold; and a skin change (with its repaint) of a form of 200 controls
// through the manager. Prints tab-separated rows (metric, value, unit,
// target, peer) for scripts/bench; not a test.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <ranges>
#include <string>
#include <vector>

#include "Application.h"
#include "BenchUtil.h"
#include "Classify.h"
#include "ContentColours.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "SkinData.h"
#include "SkinControl.h"
#include "SkinManage.h"
#include "SkinCreate.h"
#include "SkinRoutines.h"
#include "StdCtrlsGroup.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

using namespace qs;
using namespace qs::bench;

namespace {

constexpr int kControls = 200;

// A control of the registered class `name`, or null when no unit registered it.
TControl* byName(const char* name, TComponent* owner) {
    const TClassInfo* c = FindClass(name);
    return c && c->create ? dynamic_cast<TControl*>(c->create(owner)) : nullptr;
}

// 200 controls: a quarter of them nested in containers. A `tag` equal to the
// skin's DisableTag keeps the form out of a manager's hands when it shows.
std::unique_ptr<TForm> buildForm(int& made, int tag = 0) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetTag(tag);
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

// Nanoseconds per message of `n` unhandled messages sent to `w`.
double sendCost(HWND w, int n) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) ::SendMessageW(w, WM_APP + 0x3F1, WPARAM(i), 0);
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / n;
}

// Nanoseconds per message of `n` unhandled messages handed straight to the
// window's procedure: the skin's part of the cost without the transport
// SendMessage adds alike to both twins (tens of microseconds under Wine,
// whose jitter buries a fraction of a microsecond).
double procCost(HWND w, int n) {
    const auto proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(w, GWLP_WNDPROC));
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) ::CallWindowProcW(proc, w, WM_APP + 0x3F1, WPARAM(i), 0);
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / n;
}

}  // namespace

int main(int argc, char** argv) {
    // Sections to run (all by default): classify, messages, switch.
    auto wanted = [&](const char* section) {
        if (argc < 2) return true;
        for (int i = 1; i < argc; ++i)
            if (std::string(argv[i]) == section) return true;
        return false;
    };
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
    // Where attaching spends its time, by skin class: the time from one
    // skin's creation to the next (its attach and the next control's
    // classification) is booked to it.
    std::map<std::string, double> attachByClass;
    std::string attachLast;
    auto attachMark = std::chrono::steady_clock::now();
    struct Figures {
        double classify = 0, detach = 0, content = 0;
        size_t skins = 0;
    };
    int made = 0;
    std::vector<double> bareWalk;
    // Median of nine rounds, each on a freshly built form.
    // The content colours are given (and given back) as part of the attach
    // (and the detach), as a form skin's activation does.
    auto measure = [&](bool timeClasses) {
        std::vector<double> classify, detach, contentOnly;
        Figures f;
        for (int round = 0; round < 9; ++round) {
            auto form = buildForm(made);
            TWinSkinForm fs(nullptr);
            fs.FHandle = form->Handle();
            fs.FSkinData = sd.get();
            fs.FControl = form.get();
            fs.FSkinState = 1;
            auto t0 = std::chrono::steady_clock::now();
            attachMark = t0;
            attachLast = "(before the first skin)";
            SkinAllControls(fs, form.get());
            const auto tc = std::chrono::steady_clock::now();
            ApplyContentColours(fs);
            auto t1 = std::chrono::steady_clock::now();
            contentOnly.push_back(std::chrono::duration<double, std::micro>(t1 - tc).count());
            attachByClass[attachLast] += std::chrono::duration<double, std::micro>(t1 - attachMark).count();
            f.skins = fs.FControls.size();
            RestoreContentColours(fs);
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
            // The walk for windows a program put on the form without a
            // toolkit control: part of every classification of a toolkit form.
            SkinBareChildWindows(fs, form->Handle());
            bareWalk.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t2).count());
            classify.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            detach.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
        }
        std::sort(classify.begin(), classify.end());
        std::sort(detach.begin(), detach.end());
        f.classify = classify[classify.size() / 2];
        f.detach = detach[detach.size() / 2];
        std::sort(contentOnly.begin(), contentOnly.end());
        f.content = contentOnly[contentOnly.size() / 2];
        return f;
    };
    if (wanted("classify")) {
    std::map<std::string, double> attachTimes;
    {
        SetSkinFactory([&](TSkinClass k, const TSkinCreateArgs& a) {
            const auto now = std::chrono::steady_clock::now();
            attachByClass[attachLast] += std::chrono::duration<double, std::micro>(now - attachMark).count();
            TSkinControl* s = NewSkinControl(k, a);
            attachLast = s ? s->ClassName() : "none";
            attachMark = std::chrono::steady_clock::now();
            return s;
        });
        measure(false);
        SetSkinFactory(nullptr);
        attachByClass.erase("");
        attachTimes = attachByClass;
    }
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
    std::printf("classify+attach %d controls, every family (ms)\t%.2f\tms\t<=10\n", made, all.classify / 1000);
    // The content colours against the rest of the same rounds: on a busy
    // machine two separate runs of the classification differ by more than
    // the content colours cost.
    std::printf("content colours of %d controls (part of classify+attach)\t%.0f\tus\n", made, all.content);
    std::printf("classify+attach %d controls with content colours vs without (same rounds)\t%.3f\tratio\t<=1.2\n",
                made, all.classify / std::max(1.0, all.classify - all.content));
    for (auto& [name, us] : attachTimes)
        std::printf("note: attach of %s (and the next classification): %.0f us in nine rounds\n", name.c_str(), us);
    for (auto& [name, us] : byClass) std::printf("note: detach of %s: %.0f us in nine rounds\n", name.c_str(), us);
    std::printf("note: %zu of %d controls got a skin (families not built yet make none)\n", all.skins, made);
    std::printf("note: of that, the walk for bare child windows: %.0f us (median)\n", median(bareWalk));
    }

    // Unhandled messages and GDI objects: the same form built twice, one
    // skinned, one left alone; the twin of a skinned control is the control
    // at the same place in the other form.
    if (wanted("messages")) {
        auto plainForm = buildForm(made);
        auto skinnedForm = buildForm(made);
        TWinSkinForm fs(nullptr);
        fs.FHandle = skinnedForm->Handle();
        fs.FSkinData = sd.get();
        fs.FControl = skinnedForm.get();
        fs.FSkinState = 1;
        const long before = liveGdiObjects();
        SkinAllControls(fs, skinnedForm.get());
        ::RedrawWindow(fs.FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        test::pumpMessages(30);
        const long gdi = liveGdiObjects() - before;
        const size_t skins = fs.FControls.size();
        std::printf("GDI objects per skinned control (%zu skins, painted)\t%.2f\tobjects\t<=2\n", skins,
                    skins ? double(gdi) / double(skins) : 0.0);
        // Kinds of skinned control, each against its twin; the dearest counts.
        std::map<std::string, std::pair<HWND, HWND>> twins;
        const auto& a = skinnedForm->Components();
        const auto& b = plainForm->Components();
        for (TSkinControl* sc : fs.FControls) {
            if (!sc->FHandle || !sc->FControl) continue;
            for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
                if (a[i] != sc->FControl) continue;
                auto* twin = dynamic_cast<TWinControl*>(b[i]);
                if (twin && twin->HandleAllocated()) twins.emplace(sc->ClassName(), std::pair{sc->FHandle, twin->Handle()});
            }
        }
        constexpr int kMessages = 1000000, kRounds = 20, kSent = 100000;
        double worst = -1e9;
        std::string worstName;
        for (auto& [name, pair] : twins) {
            // Alternating rounds, a million messages a side; the figure is the
            // median of the rounds' differences, which the machine's load
            // shifts alike on both sides of a pair.
            std::vector<double> skinnedNs, plainNs, diffNs, sentSkinned, sentPlain;
            for (int r = 0; r < kRounds; ++r) {
                const double a = procCost(pair.first, kMessages / kRounds);
                const double b = procCost(pair.second, kMessages / kRounds);
                skinnedNs.push_back(a);
                plainNs.push_back(b);
                diffNs.push_back(a - b);
            }
            for (int r = 0; r < 10; ++r) {
                sentSkinned.push_back(sendCost(pair.first, kSent / 10));
                sentPlain.push_back(sendCost(pair.second, kSent / 10));
            }
            const double extra = median(diffNs) / 1000;
            std::printf("note: unhandled message on %s: %.1f ns skinned, %.1f ns unskinned in the procedure (paired "
                        "difference %.1f ns); sent: %.0f ns and %.0f ns\n",
                        name.c_str(), median(skinnedNs), median(plainNs), median(diffNs), median(sentSkinned),
                        median(sentPlain));
            if (extra > worst) worst = extra, worstName = name;
        }
        if (!twins.empty())
            std::printf("unhandled message, skinned control vs twin, extra (%s)\t%.3f\tus\t<=0.2\n",
                        worstName.c_str(), worst);
        else
            std::printf("note: no skinned control with a window to send messages to\n");
        while (!fs.FControls.empty()) {
            TSkinControl* sc = fs.FControls.back();
            fs.FControls.pop_back();
            sc->FSkinForm = nullptr;
            if (sc->FState != scsDestroyed) sc->Restore();
            delete sc;
        }
    }

    // A skin change with its repaint on a shown form of 200 controls, through
    // the manager as a program would ask for it; the load of the new skin
    // file is timed apart.
    if (wanted("switch")) {
        auto msd = std::make_unique<TSkinData>(nullptr);
        msd->BeginLoading();
        msd->SetSkinFile(skinPath("default"));
        msd->SetActive(true);
        msd->Loaded();
        TSkinManage* m = SkinManager();
        auto form = buildForm(made);
        drain();
        if (m) m->SkinVisibleForm(form.get());
        drain();
        TWinSkinForm* fs = m ? m->FindFormSkin(form->Handle()) : nullptr;
        if (!fs) {
            std::printf("note: the manager did not skin the form of %d controls\n", made);
        } else {
            const char* names[] = {"dark", "default"};
            std::vector<double> loads, switches;
            for (int i = 0; i < 12; ++i) {
                const auto t0 = std::chrono::steady_clock::now();
                msd->SetSkinFile(skinPath(names[i % 2]));
                const auto t1 = std::chrono::steady_clock::now();
                m->OnTimer();
                ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                drain();
                const auto t2 = std::chrono::steady_clock::now();
                if (i >= 2) {  // the first two warm up both skins
                    loads.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
                    switches.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
                }
            }
            std::sort(loads.begin(), loads.end());
            std::sort(switches.begin(), switches.end());
            TWinSkinForm* now = m->FindFormSkin(form->Handle());
            std::printf("skin change (request 3 + repaint), form of %d controls, %zu skins\t%.2f\tms\t<=30\n", made,
                        now ? now->FControls.size() : size_t(0), switches[switches.size() / 2]);
            std::printf("note: loading the skin file for that change took %.2f ms (median)\n", loads[loads.size() / 2]);
            // The floor under the change: a full repaint of the same form
            // without a change, skinned, then of an unskinned twin alone on
            // the screen.
            const UINT all = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW;
            auto repaints = [&](HWND w) {
                std::vector<double> v;
                for (int i = 0; i < 12; ++i) {
                    const auto t0 = std::chrono::steady_clock::now();
                    ::RedrawWindow(w, nullptr, nullptr, all);
                    drain();
                    if (i >= 2) v.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
                }
                return median(v);
            };
            const double skinnedRepaint = repaints(form->Handle());
            // Where a repaint of the skinned form goes: each child of the form
            // (with what it holds) repainted alone, summed by control class.
            std::map<std::string, std::pair<double, int>> byKind;
            for (int round = 0; round < 5; ++round)
                for (TControl* c : form->Components() | std::views::transform([](TComponent* k) { return dynamic_cast<TControl*>(k); })) {
                    auto* w = dynamic_cast<TWinControl*>(c);
                    if (!w || w->Parent() != form.get() || !w->HandleAllocated()) continue;
                    const auto t0 = std::chrono::steady_clock::now();
                    ::RedrawWindow(w->Handle(), nullptr, nullptr, all);
                    drain();
                    auto& e = byKind[w->ClassName()];
                    e.first += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / 5;
                    if (round == 0) ++e.second;
                }
            for (auto& [kind, cost] : byKind)
                std::printf("note: repainting the skinned form's %d %s alone (with their children): %.2f ms\n",
                            cost.second, kind.c_str(), cost.first);
            ::ShowWindow(form->Handle(), SW_HIDE);
            drain();
            // The manager skins every form it sees activated; the twin opts out.
            auto plain = buildForm(made, msd->DisableTag());
            drain();
            if (m->FindFormSkin(plain->Handle())) {
                std::printf("note: the manager skinned the twin, so it cannot stand for the unskinned form\n");
                return 1;
            }
            const double plainRepaint = repaints(plain->Handle());
            std::printf("note: a full repaint of that form without a change takes %.2f ms skinned, %.2f ms for an "
                        "unskinned twin (medians)\n",
                        skinnedRepaint, plainRepaint);
            // The ratio from separate series swung 0.84-1.46 between runs of
            // one machine: whatever slowed the machine during one series and
            // not the other went into it. Paired rounds put a change and a
            // twin's repaint side by side in time, each with the screen to
            // itself, and the median of the paired ratios drops what a round
            // shares.
            std::vector<double> ratios;
            auto alone = [&](HWND show, HWND hide) {
                ::ShowWindow(hide, SW_HIDE);
                ::SetWindowPos(show, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
                ::UpdateWindow(show);
                drain();
            };
            ::ShowWindow(plain->Handle(), SW_HIDE);
            auto timeChange = [&](int i) {
                alone(form->Handle(), plain->Handle());
                msd->SetSkinFile(skinPath(names[i % 2]));
                const auto t0 = std::chrono::steady_clock::now();
                m->OnTimer();
                ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                drain();
                return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            };
            auto timeTwin = [&] {
                alone(plain->Handle(), form->Handle());
                const auto t0 = std::chrono::steady_clock::now();
                ::RedrawWindow(plain->Handle(), nullptr, nullptr, all);
                drain();
                return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            };
            // The side that goes first in a round alternates, so that what
            // follows a window's showing (or a skin's load) weighs on both.
            std::vector<double> changes, twins;
            for (int i = 0; i < 32; ++i) {
                double change = 0, twin = 0;
                if (i % 2 == 0) {
                    change = timeChange(i);
                    twin = timeTwin();
                } else {
                    twin = timeTwin();
                    change = timeChange(i);
                }
                if (i >= 2 && twin > 0) {
                    ratios.push_back(change / twin);
                    changes.push_back(change);
                    twins.push_back(twin);
                }
            }
            std::sort(ratios.begin(), ratios.end());
            const double mid = median(ratios);
            const double q1 = ratios[ratios.size() / 4], q3 = ratios[ratios.size() * 3 / 4];
            std::printf("note: paired rounds of a skin change and a twin's full repaint: %zu rounds, ratios %.3f "
                        "(lowest) %.3f (first quartile) %.3f (median) %.3f (third quartile) %.3f (highest); "
                        "medians %.2f ms (change) and %.2f ms (twin)\n",
                        ratios.size(), ratios.front(), q1, mid, q3, ratios.back(), median(changes), median(twins));
            std::printf("skin change vs a full repaint of an unskinned twin of that form, median of paired rounds"
                        "\t%.3f\tratio\t<=1.0\n", mid);
        }
        form.reset();
        msd.reset();
        FreeSkinManager();
    }
    return 0;
}
