/* The C interface as a C program sees it: bad skins and misuse give error
   codes (never a crash or a dialog), a plain window and a dialog box get
   skinned and given back, double switching is harmless, a skin change
   reaches the open windows, and another thread is refused. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "qskin/qskin.h"

static int failures = 0;
#define CHECK(cond)                                                          \
    do {                                                                     \
        if (!(cond)) {                                                       \
            ++failures;                                                      \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
        }                                                                    \
    } while (0)
#define CHECK_EQ(a, b)                                                                               \
    do {                                                                                             \
        long long va_ = (long long)(a), vb_ = (long long)(b);                                        \
        if (va_ != vb_) {                                                                            \
            ++failures;                                                                              \
            fprintf(stderr, "%s:%d: failed: %s == %s (%lld vs %lld)\n", __FILE__, __LINE__, #a, #b, va_, \
                    vb_);                                                                            \
        }                                                                                            \
    } while (0)

static void pump(DWORD ms) {
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

static wchar_t *skinPath(const char *name) {
    static wchar_t out[4][MAX_PATH * 2];
    static int next = 0;
    char narrow[MAX_PATH * 2];
    wchar_t *w = out[next++ % 4];
    snprintf(narrow, sizeof narrow, "Z:%s/resources/skins/%s.skn", QS_SOURCE_ROOT, name);
    MultiByteToWideChar(CP_UTF8, 0, narrow, -1, w, MAX_PATH * 2);
    return w;
}

static unsigned char *readAll(const wchar_t *path, size_t *size) {
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD n = 0, got = 0;
    unsigned char *buf;
    if (h == INVALID_HANDLE_VALUE) return NULL;
    n = GetFileSize(h, NULL);
    buf = (unsigned char *)malloc(n ? n : 1);
    if (!ReadFile(h, buf, n, &got, NULL) || got != n) {
        free(buf);
        buf = NULL;
    }
    CloseHandle(h);
    *size = n;
    return buf;
}

/* A checksum of the window's top rows read from its window DC, frame
   included: it changes when the frame is drawn differently. */
static unsigned long frameChecksum(HWND w) {
    RECT r;
    BITMAPINFO bi;
    void *bits = NULL;
    HDC wdc, mdc;
    HBITMAP bmp, old;
    unsigned long sum = 0;
    int width, rows = 24, i;
    GetWindowRect(w, &r);
    width = r.right - r.left;
    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -rows;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    wdc = GetWindowDC(w);
    mdc = CreateCompatibleDC(wdc);
    bmp = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    old = (HBITMAP)SelectObject(mdc, bmp);
    BitBlt(mdc, 0, 0, width, rows, wdc, 0, 0, SRCCOPY);
    GdiFlush();
    for (i = 0; i < width * rows; ++i) sum = sum * 31u + (((const DWORD *)bits)[i] & 0xFFFFFFu);
    SelectObject(mdc, old);
    DeleteObject(bmp);
    DeleteDC(mdc);
    ReleaseDC(w, wdc);
    return sum;
}

static unsigned long repaintedChecksum(HWND w) {
    RedrawWindow(w, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pump(150);
    return frameChecksum(w);
}

static LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

static HWND makePlainWindow(int x, int y) {
    static ATOM atom = 0;
    HWND w;
    if (!atom) {
        WNDCLASSW wc;
        memset(&wc, 0, sizeof wc);
        wc.lpfnWndProc = plainProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.hCursor = LoadCursorW(NULL, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = L"CApiPlain";
        atom = RegisterClassW(&wc);
    }
    w = CreateWindowExW(0, L"CApiPlain", L"Plain C window", WS_OVERLAPPEDWINDOW, x, y, 320, 200, NULL, NULL,
                        GetModuleHandleW(NULL), NULL);
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    pump(150);
    return w;
}

static INT_PTR CALLBACK quietDialog(HWND d, UINT m, WPARAM wp, LPARAM lp) { return FALSE; }

/* A dialog box ("#32770") with one push button, from an in-memory template. */
static HWND makeDialog(void) {
    static WORD tpl[64];
    WORD *p = tpl;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    DWORD bstyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    HWND d;
    memset(tpl, 0, sizeof tpl);
    *p++ = LOWORD(style); *p++ = HIWORD(style);
    *p++ = 0; *p++ = 0;         /* extended style */
    *p++ = 1;                   /* one control */
    *p++ = 60; *p++ = 60; *p++ = 160; *p++ = 80;
    *p++ = 0; *p++ = 0;         /* no menu, default class */
    *p++ = 'D'; *p++ = 'l'; *p++ = 'g'; *p++ = 0;
    if ((p - tpl) % 2) ++p;     /* items start on a DWORD boundary */
    *p++ = LOWORD(bstyle); *p++ = HIWORD(bstyle);
    *p++ = 0; *p++ = 0;
    *p++ = 10; *p++ = 10; *p++ = 60; *p++ = 14;
    *p++ = IDOK;
    *p++ = 0xFFFF; *p++ = 0x0080; /* button class */
    *p++ = 'O'; *p++ = 'K'; *p++ = 0;
    *p++ = 0;                   /* no creation data */
    d = CreateDialogIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)tpl, NULL, quietDialog, 0);
    SetForegroundWindow(d);
    pump(150);
    return d;
}

static DWORD WINAPI otherThread(LPVOID arg) {
    int *results = (int *)arg;
    static const unsigned char junk[] = "not a skin";
    results[0] = qskin_enable();
    results[1] = qskin_disable();
    results[2] = qskin_load_memory(junk, sizeof junk);
    return 0;
}

static void misuseBeforeAnySkin(void) {
    CHECK_EQ(qskin_enable(), QSKIN_E_NO_SKIN);
    CHECK_EQ(qskin_disable(), QSKIN_UNCHANGED);
    CHECK_EQ(qskin_is_enabled(), 0);
    CHECK_EQ(qskin_is_skinned(NULL), QSKIN_E_ARGUMENT);
    CHECK_EQ(qskin_is_skinned((HWND)(INT_PTR)0x7FFF0), QSKIN_E_ARGUMENT);
    CHECK_EQ(qskin_load_file(NULL), QSKIN_E_ARGUMENT);
    CHECK_EQ(qskin_load_file(L""), QSKIN_E_ARGUMENT);
    CHECK_EQ(qskin_load_memory(NULL, 10), QSKIN_E_ARGUMENT);
    CHECK_EQ(qskin_load_memory("x", 0), QSKIN_E_ARGUMENT);
    CHECK(strlen(qskin_result_text(QSKIN_E_BAD_SKIN)) > 0);
    CHECK(qskin_result_text(12345) != NULL);
    CHECK(strchr(qskin_version(), '.') != NULL);
}

/* Cut-off and damaged copies of a real skin: documented results, never a
   crash; archives that claim more than they hold are refused. */
static void badSkins(const unsigned char *good, size_t size) {
    static const unsigned char junk[] = "[Title]\r\nnot packed at all";
    unsigned char *copy = (unsigned char *)malloc(size);
    size_t cut;
    int r;
    CHECK_EQ(qskin_load_file(skinPath("no-such-skin")), QSKIN_E_FILE);
    CHECK_EQ(qskin_load_memory(junk, sizeof junk), QSKIN_E_BAD_SKIN);
    for (cut = 1; cut < 4; ++cut) CHECK_EQ(qskin_load_memory(good, cut), QSKIN_E_BAD_SKIN);
    for (cut = 4; cut < size; cut += (cut < 64 ? 1 : size / 37)) {
        r = qskin_load_memory(good, cut);
        CHECK(r == QSKIN_OK || r == QSKIN_E_BAD_SKIN);
    }
    /* Unpacked sizes that point far past what the bytes can hold. */
    memcpy(copy, good, size);
    copy[0] = copy[1] = copy[2] = 0xFF;
    copy[3] = 0x7F;
    CHECK_EQ(qskin_load_memory(copy, size), QSKIN_E_BAD_SKIN);
    memcpy(copy, good, size);
    copy[3] = 0x01; /* 16 MB and more from a few kilobytes */
    CHECK_EQ(qskin_load_memory(copy, size), QSKIN_E_BAD_SKIN);
    /* Damaged bytes all over: whatever the result, it is a documented one. */
    for (cut = 4; cut < size; cut += size / 23 + 1) {
        memcpy(copy, good, size);
        copy[cut] ^= 0xA5;
        if (cut + 1 < size) copy[cut + 1] = 0xFF;
        r = qskin_load_memory(copy, size);
        CHECK(r == QSKIN_OK || r == QSKIN_E_BAD_SKIN || r == QSKIN_E_OLD_SKIN);
    }
    free(copy);
    /* None of that turned skinning on. */
    CHECK_EQ(qskin_is_enabled(), 0);
}

int main(void) {
    size_t size = 0;
    unsigned char *good = readAll(skinPath("default"), &size);
    HWND plain, dlg, button;
    WNDPROC original;
    unsigned long before, withDefault, withDark;
    int results[3] = {0, 0, 0};
    HANDLE t;
    unsigned char *oversized;

    if (!good) {
        fprintf(stderr, "default skin not found\n");
        return 2;
    }
    oversized = (unsigned char *)malloc(size);
    memcpy(oversized, good, size);
    oversized[3] = 0x7F;
    misuseBeforeAnySkin();
    badSkins(good, size);

    plain = makePlainWindow(40, 40);
    original = (WNDPROC)GetWindowLongPtrW(plain, GWLP_WNDPROC);
    before = frameChecksum(plain);
    CHECK_EQ(qskin_is_skinned(plain), 0);

    /* On: the open window is skinned at once, not on its next activation. */
    CHECK_EQ(qskin_load_memory(good, size), QSKIN_OK);
    CHECK_EQ(qskin_is_skinned(plain), 0);
    CHECK_EQ(qskin_enable(), QSKIN_OK);
    pump(300);
    CHECK_EQ(qskin_is_enabled(), 1);
    CHECK_EQ(qskin_is_skinned(plain), 1);
    withDefault = frameChecksum(plain);
    CHECK(withDefault != before);

    /* Twice on is once on: one switch off gives the window back whole. */
    CHECK_EQ(qskin_enable(), QSKIN_UNCHANGED);
    pump(100);
    CHECK_EQ(qskin_is_skinned(plain), 1);

    /* Another thread may not take over this thread's skinning. */
    t = CreateThread(NULL, 0, otherThread, results, 0, NULL);
    CHECK(WaitForSingleObject(t, 5000) == WAIT_OBJECT_0);
    CloseHandle(t);
    CHECK_EQ(results[0], QSKIN_E_WRONG_THREAD);
    CHECK_EQ(results[1], QSKIN_E_WRONG_THREAD);
    CHECK_EQ(results[2], QSKIN_E_WRONG_THREAD);
    CHECK_EQ(qskin_is_skinned(plain), 1);

    /* A dialog box shown while on is skinned, its button too. */
    dlg = makeDialog();
    CHECK(dlg != NULL);
    button = GetDlgItem(dlg, IDOK);
    CHECK_EQ(qskin_is_skinned(dlg), 1);
    CHECK_EQ(qskin_is_skinned(button), 1);

    /* A new skin reaches the open windows; a bad one leaves it in place. */
    CHECK_EQ(qskin_load_file(skinPath("dark")), QSKIN_OK);
    pump(300);
    withDark = repaintedChecksum(plain);
    CHECK(withDark != withDefault);
    CHECK(withDark != before);
    CHECK_EQ(qskin_load_memory(oversized, size), QSKIN_E_BAD_SKIN);
    CHECK_EQ(qskin_load_file(skinPath("no-such-skin")), QSKIN_E_FILE);
    CHECK_EQ(qskin_is_skinned(plain), 1);
    CHECK_EQ(repaintedChecksum(plain), withDark);

    /* Off: everything given back, the window procedure included. */
    CHECK_EQ(qskin_disable(), QSKIN_OK);
    pump(300);
    CHECK_EQ(qskin_is_enabled(), 0);
    CHECK_EQ(qskin_is_skinned(plain), 0);
    CHECK_EQ(qskin_is_skinned(dlg), 0);
    CHECK_EQ(qskin_is_skinned(button), 0);
    CHECK((WNDPROC)GetWindowLongPtrW(plain, GWLP_WNDPROC) == original);
    /* Compared active with active: the dialog took the activation meanwhile,
       and the system's caption shows that once the skin has gone. */
    SetForegroundWindow(plain);
    pump(100);
    CHECK_EQ(frameChecksum(plain), before);
    CHECK_EQ(qskin_disable(), QSKIN_UNCHANGED);

    /* On again with the skin last loaded. */
    CHECK_EQ(qskin_enable(), QSKIN_OK);
    pump(300);
    CHECK_EQ(qskin_is_skinned(plain), 1);
    CHECK_EQ(qskin_is_skinned(dlg), 1);

    /* Shutting down gives everything back and may be repeated. */
    qskin_shutdown();
    pump(200);
    CHECK_EQ(qskin_is_skinned(plain), 0);
    CHECK_EQ(qskin_is_skinned(dlg), 0);
    qskin_shutdown();
    CHECK_EQ(qskin_enable(), QSKIN_E_NO_SKIN);

    DestroyWindow(dlg);
    DestroyWindow(plain);
    free(good);
    free(oversized);
    if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
    else printf("all C interface checks passed\n");
    return failures ? 1 : 0;
}
