// The plain C interface: one skin data component per process, driven
// directly instead of through a form definition, with every request carried
// out before the call returns so a caller never depends on our timer.
#include "qskin/qskin.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "SkinData.h"
#include "SkinDataManager.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinPalette.h"
#include "SkinReader.h"

#ifndef QSKIN_VERSION_STRING
#define QSKIN_VERSION_STRING "0.0.0"
#endif

namespace {

using namespace qs;

struct State {
    DWORD thread = 0;
    std::unique_ptr<TSkinData> skin;
    bool enabled = false;
};

// Never destroyed by static teardown: the manager it talks to is freed at
// exit on its own schedule, and the process is ending anyway.
State* gState = nullptr;

// Whether the process palette follows the skin; asked for before or after
// a skin is loaded.
bool gPaletteWanted = false;

// The skin data component carries the setting; the manager puts the
// palette in force and takes it away with the skin. A change while
// skinning is on takes effect at once.
bool syncPalette() {
    if (!gState || !gState->skin) return true;
    TSkinData& sd = *gState->skin;
    if (sd.ProcessPalette() == gPaletteWanted) return true;
    if (!gPaletteWanted) SyncSkinPalette(sd, false);
    sd.SetProcessPalette(gPaletteWanted);
    return SyncSkinPalette(sd, gState->enabled);
}

// Set by the quiet notice while an archive is opened: the engine's usual
// notice is a modal box, which a library call must never show.
thread_local bool tOldArchive = false;
void quietNotice(const char*) { tOldArchive = true; }

bool onOwnerThread() { return !gState || gState->thread == ::GetCurrentThreadId(); }

// Carries out a request on the manager now rather than from its timer.
void runNow(TSkinData* sd, int action) {
    TSkinManage* m = SkinManager();
    if (!m) return;
    m->FPendingSkinData = sd;
    m->FPendingAction = action;
    m->OnTimer();
}

int checkArchive(const std::vector<uint8_t>& bytes) {
    const OlderSkinNotice previous = olderSkinNotice();
    setOlderSkinNotice(&quietNotice);
    tOldArchive = false;
    bool ok = false;
    try {
        TSkinReader reader;
        ok = reader.Open(bytes);
        // The reader forgives entries cut off at the end (they read as
        // absent); a caller handing us a whole skin wants to hear that its
        // file was cut short instead of getting a skin with pieces missing.
        for (std::size_t i = 0; ok && i < reader.count(); ++i)
            if (!reader.entryPresent(i)) ok = false;
    } catch (...) {
        ok = false;
    }
    setOlderSkinNotice(previous);
    if (ok) return QSKIN_OK;
    return tOldArchive ? QSKIN_E_OLD_SKIN : QSKIN_E_BAD_SKIN;
}

int loadBytes(std::vector<uint8_t> bytes) {
    if (bytes.empty()) return QSKIN_E_ARGUMENT;
    if (!onOwnerThread()) return QSKIN_E_WRONG_THREAD;
    // Checked before anything is touched, so a bad archive can never take
    // the skin of the open windows away.
    if (const int r = checkArchive(bytes); r != QSKIN_OK) return r;
    if (!gState) {
        gState = new State;
        gState->thread = ::GetCurrentThreadId();
    }
    if (!gState->skin) gState->skin = std::make_unique<TSkinData>(nullptr);
    TSkinData* sd = gState->skin.get();
    const bool live = gState->enabled && SkinManager();
    if (live) {
        // Caption buttons point into the records about to be replaced.
        SkinManager()->FPendingSkinData = sd;
        SkinManager()->ReleaseCaptionButtons();
    }
    sd->SetStoredSkin(std::move(bytes));
    if (!sd->LoadSkin()) return QSKIN_E_BAD_SKIN;
    sd->CreateCaptionFont();
    sd->BuildAppIcon();
    if (live) runNow(sd, srSkinChanged);
    return QSKIN_OK;
}

template <class F>
int guarded(F&& f) {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return QSKIN_E_INTERNAL;
    } catch (...) {
        return QSKIN_E_INTERNAL;
    }
}

bool readFile(const wchar_t* path, std::vector<uint8_t>& out) {
    HANDLE h = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(h, &size) != FALSE && size.QuadPart >= 0 && size.QuadPart < (LONGLONG(1) << 30);
    if (ok) {
        out.resize(std::size_t(size.QuadPart));
        std::size_t done = 0;
        while (ok && done < out.size()) {
            DWORD got = 0;
            const DWORD want = DWORD(std::min<std::size_t>(out.size() - done, 1u << 20));
            ok = ::ReadFile(h, out.data() + done, want, &got, nullptr) != FALSE && got > 0;
            done += got;
        }
    }
    ::CloseHandle(h);
    return ok;
}

}  // namespace

extern "C" {

int qskin_load_file(const wchar_t* path) {
    if (!path || !*path) return QSKIN_E_ARGUMENT;
    return guarded([&] {
        if (!onOwnerThread()) return int(QSKIN_E_WRONG_THREAD);
        std::vector<uint8_t> bytes;
        if (!readFile(path, bytes)) return int(QSKIN_E_FILE);
        if (bytes.empty()) return int(QSKIN_E_BAD_SKIN);
        return loadBytes(std::move(bytes));
    });
}

int qskin_load_memory(const void* data, size_t size) {
    if (!data || size == 0) return QSKIN_E_ARGUMENT;
    return guarded([&] {
        const auto* p = static_cast<const uint8_t*>(data);
        return loadBytes(std::vector<uint8_t>(p, p + size));
    });
}

int qskin_enable(void) {
    return guarded([] {
        if (!onOwnerThread()) return int(QSKIN_E_WRONG_THREAD);
        if (!gState || !gState->skin || !gState->skin->SkinLoaded()) return int(QSKIN_E_NO_SKIN);
        if (gState->enabled) return int(QSKIN_UNCHANGED);
        // A manager made elsewhere in the process hooks the thread that made
        // it; windows of this thread would never be seen.
        if (TSkinManage* m = SkinManager(); m && m->FHook && m->FThreadId != ::GetCurrentThreadId())
            return int(QSKIN_E_WRONG_THREAD);
        TSkinData* sd = gState->skin.get();
        sd->SetActive(true);
        if (!SkinManager() || !sd->Active()) return int(QSKIN_E_INTERNAL);
        if (!SkinManager()->FHook) SkinManager()->InstallHook();
        syncPalette();
        runNow(sd, srActivate);
        gState->enabled = true;
        return int(QSKIN_OK);
    });
}

int qskin_disable(void) {
    return guarded([] {
        if (!onOwnerThread()) return int(QSKIN_E_WRONG_THREAD);
        if (!gState || !gState->enabled) return int(QSKIN_UNCHANGED);
        TSkinData* sd = gState->skin.get();
        sd->SetActive(false);
        runNow(sd, srDeactivate);
        gState->enabled = false;
        return int(QSKIN_OK);
    });
}

int qskin_set_process_palette(int on) {
    return guarded([on] {
        if (!onOwnerThread()) return int(QSKIN_E_WRONG_THREAD);
        const bool was = gPaletteWanted;
        gPaletteWanted = on != 0;
        if (!syncPalette()) {
            gPaletteWanted = false;
            syncPalette();
            return int(QSKIN_E_INTERNAL);
        }
        return int(was == gPaletteWanted ? QSKIN_UNCHANGED : QSKIN_OK);
    });
}
int qskin_is_enabled(void) { return gState && gState->enabled ? 1 : 0; }

int qskin_is_skinned(HWND window) {
    if (!window || !::IsWindow(window)) return QSKIN_E_ARGUMENT;
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(window, WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer)) return 0;
    return answer == 1 ? 1 : 0;
}

void qskin_shutdown(void) {
    if (!gState || !onOwnerThread()) return;
    try {
        if (gState->enabled) qskin_disable();
        gState->skin.reset();
        FreeSkinManager();
    } catch (...) {
    }
    delete gState;
    gState = nullptr;
}

const char* qskin_result_text(int result) {
    switch (result) {
        case QSKIN_OK: return "success";
        case QSKIN_UNCHANGED: return "success, nothing changed";
        case QSKIN_E_ARGUMENT: return "invalid argument";
        case QSKIN_E_FILE: return "the skin file cannot be read";
        case QSKIN_E_BAD_SKIN: return "not a readable skin archive";
        case QSKIN_E_OLD_SKIN: return "skin archive of an unsupported older format";
        case QSKIN_E_NO_SKIN: return "no skin loaded";
        case QSKIN_E_WRONG_THREAD: return "skinning belongs to another thread";
        case QSKIN_E_INTERNAL: return "internal error";
        default: return "unknown result";
    }
}

const char* qskin_version(void) { return QSKIN_VERSION_STRING; }

}  // extern "C"
