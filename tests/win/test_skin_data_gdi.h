#pragma once
// Counts the GDI objects this program makes and has not freed, by routing the
// program's own calls that make and free them (its import table entries)
// through counting hooks. Wine reports no GDI object count for a process
// (GetGuiResources gives 0), so leak tests need a count of their own; objects
// made inside system libraries are not seen, those made by our code are.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <set>

namespace qs::test {

class GdiTracker {
public:
    // Live objects made through the hooked calls since install().
    static std::size_t live() { return objects().size(); }
    // Patches the import table once; false when no entry could be patched.
    static bool install() {
        static const bool ok = patchAll();
        return ok;
    }

private:
    static std::set<void*>& objects() {
        static std::set<void*> s;
        return s;
    }
    static void* made(void* h) {
        if (h) objects().insert(h);
        return h;
    }

    using CreateDIBSectionFn = HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
    using CreateBitmapFn = HBITMAP(WINAPI*)(int, int, UINT, UINT, const void*);
    using CreateCompatibleBitmapFn = HBITMAP(WINAPI*)(HDC, int, int);
    using CreateCompatibleDCFn = HDC(WINAPI*)(HDC);
    using CreateSolidBrushFn = HBRUSH(WINAPI*)(COLORREF);
    using CreateFontIndirectWFn = HFONT(WINAPI*)(const LOGFONTW*);
    using CreatePenFn = HPEN(WINAPI*)(int, int, COLORREF);
    using CreateRectRgnFn = HRGN(WINAPI*)(int, int, int, int);
    using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);
    using DeleteDCFn = BOOL(WINAPI*)(HDC);
    using LoadImageWFn = HANDLE(WINAPI*)(HINSTANCE, LPCWSTR, UINT, int, int, UINT);
    using ImageListCreateFn = HIMAGELIST(WINAPI*)(int, int, UINT, int, int);
    using ImageListDestroyFn = BOOL(WINAPI*)(HIMAGELIST);

    struct Real {
        CreateDIBSectionFn createDIBSection = nullptr;
        CreateBitmapFn createBitmap = nullptr;
        CreateCompatibleBitmapFn createCompatibleBitmap = nullptr;
        CreateCompatibleDCFn createCompatibleDC = nullptr;
        CreateSolidBrushFn createSolidBrush = nullptr;
        CreateFontIndirectWFn createFontIndirectW = nullptr;
        CreatePenFn createPen = nullptr;
        CreateRectRgnFn createRectRgn = nullptr;
        DeleteObjectFn deleteObject = nullptr;
        DeleteDCFn deleteDC = nullptr;
        LoadImageWFn loadImageW = nullptr;
        ImageListCreateFn imageListCreate = nullptr;
        ImageListDestroyFn imageListDestroy = nullptr;
    };
    static Real& real() {
        static Real r;
        return r;
    }

    static HBITMAP WINAPI hCreateDIBSection(HDC dc, const BITMAPINFO* bi, UINT u, void** bits, HANDLE s, DWORD o) {
        return HBITMAP(made(real().createDIBSection(dc, bi, u, bits, s, o)));
    }
    static HBITMAP WINAPI hCreateBitmap(int w, int h, UINT p, UINT b, const void* d) {
        return HBITMAP(made(real().createBitmap(w, h, p, b, d)));
    }
    static HBITMAP WINAPI hCreateCompatibleBitmap(HDC dc, int w, int h) {
        return HBITMAP(made(real().createCompatibleBitmap(dc, w, h)));
    }
    static HDC WINAPI hCreateCompatibleDC(HDC dc) { return HDC(made(real().createCompatibleDC(dc))); }
    static HBRUSH WINAPI hCreateSolidBrush(COLORREF c) { return HBRUSH(made(real().createSolidBrush(c))); }
    static HFONT WINAPI hCreateFontIndirectW(const LOGFONTW* lf) { return HFONT(made(real().createFontIndirectW(lf))); }
    static HPEN WINAPI hCreatePen(int s, int w, COLORREF c) { return HPEN(made(real().createPen(s, w, c))); }
    static HRGN WINAPI hCreateRectRgn(int l, int t, int r, int b) { return HRGN(made(real().createRectRgn(l, t, r, b))); }
    static BOOL WINAPI hDeleteObject(HGDIOBJ h) {
        const BOOL ok = real().deleteObject(h);
        if (ok) objects().erase(h);
        return ok;
    }
    static BOOL WINAPI hDeleteDC(HDC h) {
        const BOOL ok = real().deleteDC(h);
        if (ok) objects().erase(h);
        return ok;
    }
    static HANDLE WINAPI hLoadImageW(HINSTANCE i, LPCWSTR n, UINT type, int cx, int cy, UINT f) {
        HANDLE h = real().loadImageW(i, n, type, cx, cy, f);
        return type == IMAGE_BITMAP ? made(h) : h;
    }
    static HIMAGELIST WINAPI hImageListCreate(int cx, int cy, UINT flags, int initial, int grow) {
        return HIMAGELIST(made(real().imageListCreate(cx, cy, flags, initial, grow)));
    }
    static BOOL WINAPI hImageListDestroy(HIMAGELIST h) {
        const BOOL ok = real().imageListDestroy(h);
        if (ok) objects().erase(h);
        return ok;
    }

    template <class F>
    static int patch(const char* dll, const char* name, F hook, F& saved) {
        HMODULE self = ::GetModuleHandleW(nullptr);
        HMODULE lib = ::GetModuleHandleA(dll);
        if (!lib) return 0;
        void* target = reinterpret_cast<void*>(::GetProcAddress(lib, name));
        if (!target) return 0;
        auto* base = reinterpret_cast<uint8_t*>(self);
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (!dir.VirtualAddress) return 0;
        int patched = 0;
        for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
            if (::lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) continue;
            for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk); t->u1.Function; ++t) {
                if (reinterpret_cast<void*>(t->u1.Function) != target) continue;
                DWORD old = 0;
                ::VirtualProtect(&t->u1.Function, sizeof(t->u1.Function), PAGE_READWRITE, &old);
                saved = reinterpret_cast<F>(target);
                t->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
                ::VirtualProtect(&t->u1.Function, sizeof(t->u1.Function), old, &old);
                ++patched;
            }
        }
        return patched;
    }

    static bool patchAll() {
        ::LoadLibraryA("comctl32.dll");
        Real& r = real();
        int n = 0;
        n += patch("gdi32.dll", "CreateDIBSection", &hCreateDIBSection, r.createDIBSection);
        n += patch("gdi32.dll", "CreateBitmap", &hCreateBitmap, r.createBitmap);
        n += patch("gdi32.dll", "CreateCompatibleBitmap", &hCreateCompatibleBitmap, r.createCompatibleBitmap);
        n += patch("gdi32.dll", "CreateCompatibleDC", &hCreateCompatibleDC, r.createCompatibleDC);
        n += patch("gdi32.dll", "CreateSolidBrush", &hCreateSolidBrush, r.createSolidBrush);
        n += patch("gdi32.dll", "CreateFontIndirectW", &hCreateFontIndirectW, r.createFontIndirectW);
        n += patch("gdi32.dll", "CreatePen", &hCreatePen, r.createPen);
        n += patch("gdi32.dll", "CreateRectRgn", &hCreateRectRgn, r.createRectRgn);
        n += patch("gdi32.dll", "DeleteObject", &hDeleteObject, r.deleteObject);
        n += patch("gdi32.dll", "DeleteDC", &hDeleteDC, r.deleteDC);
        n += patch("user32.dll", "LoadImageW", &hLoadImageW, r.loadImageW);
        n += patch("comctl32.dll", "ImageList_Create", &hImageListCreate, r.imageListCreate);
        n += patch("comctl32.dll", "ImageList_Destroy", &hImageListDestroy, r.imageListDestroy);
        return n > 0 && r.deleteObject && r.createDIBSection;
    }
};

}  // namespace qs::test
