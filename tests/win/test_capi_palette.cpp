// The in-place hook under load, and the process palette built on it: what a
// program paints in system colours follows the skin and comes back exactly.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "InlineHook.h"
#include "SkinManage.h"
#include "WindowCapture.h"
#include "qskin/qskin.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

std::wstring committedSkin(const char* name) {
    const std::string path = "Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn";
    return std::wstring(path.begin(), path.end());
}

}  // namespace

namespace {

// A function of our own to hook, copied into a page of its own: a prologue
// of 7, 8 or 9 bytes of movable instructions at an unaligned address, so the
// jump cannot be written in one aligned step, and a body that counts.
struct Prologue {
    std::vector<uint8_t> enter, leave;
};

std::vector<Prologue> prologues() {
#ifdef _WIN64
    return {
        // push rbp; push rbx; push rsi; sub rsp,0x20
        {{0x55, 0x53, 0x56, 0x48, 0x83, 0xEC, 0x20}, {0x48, 0x83, 0xC4, 0x20, 0x5E, 0x5B, 0x5D}},
        // push rbp; mov rbp,rsp; sub rsp,0x20
        {{0x55, 0x48, 0x89, 0xE5, 0x48, 0x83, 0xEC, 0x20}, {0x48, 0x83, 0xC4, 0x20, 0x5D}},
        // push rbp; push rbx; sub rsp,imm32 0x20
        {{0x55, 0x53, 0x48, 0x81, 0xEC, 0x20, 0, 0, 0}, {0x48, 0x81, 0xC4, 0x20, 0, 0, 0, 0x5B, 0x5D}},
    };
#else
    return {
        // push ebp; mov ebp,esp; push ebx; sub esp,8
        {{0x55, 0x89, 0xE5, 0x53, 0x83, 0xEC, 0x08}, {0x83, 0xC4, 0x08, 0x5B, 0x5D}},
        // push ebp; push ebx; push esi; push edi; lea esp,[esp-8]
        {{0x55, 0x53, 0x56, 0x57, 0x8D, 0x64, 0x24, 0xF8}, {0x8D, 0x64, 0x24, 0x08, 0x5F, 0x5E, 0x5B, 0x5D}},
        // push ebp; mov ebp,esp; sub esp,imm32 8
        {{0x55, 0x89, 0xE5, 0x81, 0xEC, 0x08, 0, 0, 0}, {0x81, 0xC4, 0x08, 0, 0, 0, 0x5D}},
    };
#endif
}

volatile LONG gBodyCalls = 0;    // counted by the copied function
volatile LONG gHookedCalls = 0;  // counted by its replacement
void* gOriginal = nullptr;

void hookedCounter() {
    ::InterlockedIncrement(&gHookedCalls);
    reinterpret_cast<void (*)()>(*static_cast<void* volatile*>(&gOriginal))();
}

// Writes the counting function at `at`: prologue, lock inc [&gBodyCalls],
// epilogue, ret.
void writeCounter(uint8_t* at, const Prologue& p) {
    std::vector<uint8_t> code(p.enter);
    const auto counter = uintptr_t(&gBodyCalls);
#ifdef _WIN64
    code.insert(code.end(), {0x48, 0xB8});  // mov rax, imm64
#else
    code.push_back(0xB8);  // mov eax, imm32
#endif
    const auto* bytes = reinterpret_cast<const uint8_t*>(&counter);
    code.insert(code.end(), bytes, bytes + sizeof counter);
    code.insert(code.end(), {0xF0, 0xFF, 0x00});  // lock inc dword [eax/rax]
    code.insert(code.end(), p.leave.begin(), p.leave.end());
    code.push_back(0xC3);
    std::memcpy(at, code.data(), code.size());
}

struct CallLoop {
    void (*fn)() = nullptr;
    volatile LONG stop = 0;
    volatile LONG made = 0;
};

DWORD WINAPI callInLoop(LPVOID param) {
    auto* loop = static_cast<CallLoop*>(param);
    while (!loop->stop) {
        loop->fn();
        ::InterlockedIncrement(&loop->made);
    }
    return 0;
}

// A thread that runs half-written code ends the test at once, instead of
// waiting for a debugger.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "exception %08lx at %p while hooking\n", static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode),
                 e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ::ExitProcess(3);
}

DWORD protectionAt(const void* p) {
    MEMORY_BASIC_INFORMATION mbi{};
    return ::VirtualQuery(p, &mbi, sizeof mbi) ? mbi.Protect : 0;
}

}  // namespace

// Hooking a function that another thread is calling all the time: that
// thread may be anywhere in the bytes being replaced, and its first call
// through the new jump may come at once. Every call still counts exactly
// once, nothing crashes, and both the function's page and the copy end up
// executable but not writable.
TEST(InlineHookTest, HookingAFunctionInUseLosesNoCall) {
    const auto kinds = prologues();
    LPTOP_LEVEL_EXCEPTION_FILTER before = ::SetUnhandledExceptionFilter(&reportCrash);
    for (int round = 0; round < 150; ++round) {
        const Prologue& kind = kinds[std::size_t(round) % kinds.size()];
        auto* page = static_cast<uint8_t*>(::VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        ASSERT_TRUE(page);
        // 1 to 7 bytes past an 8-byte boundary, never aligned.
        uint8_t* fn = page + 64 + 8 * (round % 16) + 1 + round % 7;
        writeCounter(fn, kind);
        DWORD old = 0;
        ASSERT_TRUE(::VirtualProtect(page, 4096, PAGE_EXECUTE_READ, &old));
        ::FlushInstructionCache(::GetCurrentProcess(), page, 4096);
        gBodyCalls = 0;
        gHookedCalls = 0;
        gOriginal = nullptr;
        CallLoop loop;
        loop.fn = reinterpret_cast<void (*)()>(fn);
        HANDLE thread = ::CreateThread(nullptr, 0, &callInLoop, &loop, 0, nullptr);
        ASSERT_TRUE(thread);
        while (loop.made < 20) ::Sleep(0);
        const bool hooked = qs::hook::hookFunction(fn, reinterpret_cast<void*>(&hookedCounter), &gOriginal);
        const DWORD start = ::GetTickCount();
        while (hooked && gHookedCalls < 20 && ::GetTickCount() - start < 5000) ::Sleep(0);
        loop.stop = 1;
        ::WaitForSingleObject(thread, INFINITE);
        ::CloseHandle(thread);
        ASSERT_TRUE(hooked) << "round " << round;
        ASSERT_GE(gHookedCalls, 20) << "round " << round << ": the hook was never reached";
        ASSERT_EQ(gBodyCalls, loop.made) << "round " << round;
        ASSERT_EQ(protectionAt(fn), DWORD(PAGE_EXECUTE_READ)) << "round " << round;
        ASSERT_EQ(protectionAt(gOriginal), DWORD(PAGE_EXECUTE_READ)) << "round " << round;
        ::VirtualFree(page, 0, MEM_RELEASE);
    }
    ::SetUnhandledExceptionFilter(before);
}

namespace {

// A control of a program's own that paints in system colours: the left
// half with the system's face brush, the right half in a brush made from
// the system's window colour. It deletes the face brush after use, as
// programs wrongly do. Its list box child asks it for colours, which it
// leaves to the default procedure, as most windows do.
int gColourChanges = 0;

LRESULT CALLBACK sysColourPainter(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOLORCHANGE) ++gColourChanges;
    if (msg != WM_PAINT) return ::DefWindowProcW(w, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(w, &ps);
    RECT r;
    ::GetClientRect(w, &r);
    RECT left = r, right = r;
    left.right = right.left = r.right / 2;
    HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(dc, &left, face);
    ::DeleteObject(face);
    HBRUSH window = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    ::FillRect(dc, &right, window);
    ::DeleteObject(window);
    ::EndPaint(w, &ps);
    return 0;
}

}  // namespace

// While the palette is on, a program's own painting in system colours takes
// the skin's colours (its brush survives the program deleting it) and
// follows a change of skin, the program's windows hear of each change, and
// after unskinning every system colour and the control's pixels are the
// system's again exactly.
TEST(ProcessPaletteTest, CustomPaintingFollowsTheSkinAndComesBackExactly) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &sysColourPainter;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QsSysColourPainter";
    ::RegisterClassW(&wc);
    HWND top = ::CreateWindowExW(0, L"Static", L"palette", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND painter = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 140, top, nullptr,
                                     wc.hInstance, nullptr);
    HWND list = ::CreateWindowExW(0, L"ListBox", L"", WS_CHILD | WS_VISIBLE, 0, 100, 200, 40, painter, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_TRUE(top && painter && list);
    pumpMessages(200);
    COLORREF system[31];
    for (int i = 0; i < 31; ++i) system[i] = ::GetSysColor(i);
    auto halves = [&] {
        ::RedrawWindow(painter, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const Image img = captureClient(painter);
        return std::make_pair(img.colorAt(50, 50), img.colorAt(150, 50));
    };
    auto listBack = [&] {
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return captureClient(list).colorAt(100, 20);
    };
    ASSERT_EQ(listBack(), system[COLOR_WINDOW]);
    ASSERT_EQ(halves(), std::make_pair(system[COLOR_BTNFACE], system[COLOR_WINDOW]));

    const std::wstring skin = committedSkin("dark");
    ASSERT_EQ(qskin_set_process_palette(1), QSKIN_OK);
    ASSERT_EQ(qskin_load_file(skin.c_str()), QSKIN_OK);
    gColourChanges = 0;
    ASSERT_EQ(qskin_enable(), QSKIN_OK);
    pumpMessages(200);
    EXPECT_GE(gColourChanges, 1) << "the program's window was not told";
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), window = ::GetSysColor(COLOR_WINDOW);
    EXPECT_NE(face, system[COLOR_BTNFACE]);
    EXPECT_NE(window, system[COLOR_WINDOW]);
    EXPECT_EQ(halves(), std::make_pair(face, window));
    EXPECT_EQ(listBack(), window) << "the default control colours are still the system's";
    // Painted twice, deleted twice: the skin's face brush is still there.
    EXPECT_EQ(halves(), std::make_pair(face, window));
    HBRUSH kept = ::GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_EQ(::GetObjectType(kept), DWORD(OBJ_BRUSH));

    // Another skin, while skinned: its colours, and the windows told.
    gColourChanges = 0;
    const std::wstring light = committedSkin("default");
    ASSERT_EQ(qskin_load_file(light.c_str()), QSKIN_OK);
    pumpMessages(200);
    EXPECT_GE(gColourChanges, 1);
    EXPECT_NE(::GetSysColor(COLOR_BTNFACE), face);
    EXPECT_EQ(halves(), std::make_pair(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOW)));

    gColourChanges = 0;
    ASSERT_EQ(qskin_disable(), QSKIN_OK);
    pumpMessages(200);
    EXPECT_GE(gColourChanges, 1) << "the program's window was not told again";
    for (int i = 0; i < 31; ++i) EXPECT_EQ(::GetSysColor(i), system[i]) << "colour " << i;
    EXPECT_EQ(halves(), std::make_pair(system[COLOR_BTNFACE], system[COLOR_WINDOW]));
    EXPECT_EQ(listBack(), system[COLOR_WINDOW]);
    // A brush handed out while skinned and kept by the program stays valid.
    EXPECT_EQ(::GetObjectType(kept), DWORD(OBJ_BRUSH));
    qskin_set_process_palette(0);
    qskin_shutdown();
    ::DestroyWindow(top);
}

// A toolkit program decides by its skin data component's own setting: the
// palette comes with the skin and goes with it.
TEST(ProcessPaletteTest, TheSkinDataComponentDecidesForAToolkitProgram) {
    const COLORREF system = ::GetSysColor(COLOR_WINDOW);
    auto sd = loadCommittedSkin("dark");
    sd->SetProcessPalette(true);
    sd->SetActive(true);  // made in code: runs the "loaded" step
    pumpMessages(100);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), sd->ContentBack());
    EXPECT_NE(sd->ContentBack(), system);
    sd->SetActive(false);
    for (int i = 0; i < 20 && ::GetSysColor(COLOR_WINDOW) != system; ++i) pumpMessages(50);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), system);
    sd.reset();
    FreeSkinManager();
}

