#include "Inject.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace qs::run {

namespace {

// A few instructions assembled by hand; the layout of the block written into
// the program is: dll path, export name, code.
struct Code {
    std::vector<uint8_t> bytes;
    void put(std::initializer_list<uint8_t> b) { bytes.insert(bytes.end(), b); }
    void word(uintptr_t v) {
        for (std::size_t i = 0; i < sizeof v; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
    }
    // A short conditional jump whose target is set later by `land`.
    std::size_t jz() {
        put({0x74, 0x00});
        return bytes.size() - 1;
    }
    void land(std::size_t at) { bytes[at] = uint8_t(bytes.size() - (at + 1)); }
};

Code assemble(uintptr_t path, uintptr_t name, uintptr_t loadLibrary, uintptr_t getProc, uintptr_t entry) {
    Code c;
#ifdef _WIN64
    // Entered by a call, so rsp is 8 off 16; four pushes and 0x28 realign it
    // and leave the callees their shadow space.
    c.put({0x51, 0x52, 0x41, 0x50, 0x41, 0x51});  // push rcx, rdx, r8, r9
    c.put({0x48, 0x83, 0xEC, 0x28});              // sub rsp, 0x28
    c.put({0x48, 0xB9});                          // mov rcx, path
    c.word(path);
    c.put({0x48, 0xB8});  // mov rax, LoadLibraryW
    c.word(loadLibrary);
    c.put({0xFF, 0xD0});              // call rax
    c.put({0x48, 0x85, 0xC0});        // test rax, rax
    const std::size_t noLib = c.jz();
    c.put({0x48, 0x89, 0xC1});  // mov rcx, rax
    c.put({0x48, 0xBA});        // mov rdx, name
    c.word(name);
    c.put({0x48, 0xB8});  // mov rax, GetProcAddress
    c.word(getProc);
    c.put({0xFF, 0xD0});        // call rax
    c.put({0x48, 0x85, 0xC0});  // test rax, rax
    const std::size_t noExport = c.jz();
    c.put({0xFF, 0xD0});  // call rax
    c.land(noLib);
    c.land(noExport);
    c.put({0x48, 0x83, 0xC4, 0x28});              // add rsp, 0x28
    c.put({0x41, 0x59, 0x41, 0x58, 0x5A, 0x59});  // pop r9, r8, rdx, rcx
    c.put({0x48, 0xB8});                          // mov rax, entry
    c.word(entry);
    c.put({0xFF, 0xE0});  // jmp rax
#else
    c.put({0x60});  // pushad
    c.put({0x68});  // push path
    c.word(path);
    c.put({0xB8});  // mov eax, LoadLibraryW
    c.word(loadLibrary);
    c.put({0xFF, 0xD0});  // call eax
    c.put({0x85, 0xC0});  // test eax, eax
    const std::size_t noLib = c.jz();
    c.put({0x68});  // push name
    c.word(name);
    c.put({0x50});  // push eax
    c.put({0xB8});  // mov eax, GetProcAddress
    c.word(getProc);
    c.put({0xFF, 0xD0});  // call eax
    c.put({0x85, 0xC0});  // test eax, eax
    const std::size_t noExport = c.jz();
    c.put({0xFF, 0xD0});  // call eax
    c.land(noLib);
    c.land(noExport);
    c.put({0x61});  // popad
    c.put({0xB8});  // mov eax, entry
    c.word(entry);
    c.put({0xFF, 0xE0});  // jmp eax
#endif
    return c;
}

bool failed(std::wstring* why, const wchar_t* what) {
    if (why) *why = what;
    return false;
}

}  // namespace

bool redirectEntry(HANDLE process, HANDLE thread, const std::wstring& dll, const char* startExport, std::wstring* why) {
    // A suspended first thread starts in the system's thread start routine
    // with the program's entry point in a register: ours goes there instead.
    CONTEXT ctx{};
    ctx.ContextFlags = CONTEXT_FULL;
    if (!::GetThreadContext(thread, &ctx))
        return failed(why, L"cannot read the program's first thread");
#ifdef _WIN64
    const uintptr_t entry = uintptr_t(ctx.Rcx);
#else
    const uintptr_t entry = uintptr_t(ctx.Eax);
#endif
    if (!entry) return failed(why, L"the program's first thread has no entry point");

    // kernel32 sits at the same address in every process of a session and
    // bitness.
    HMODULE k32 = ::GetModuleHandleW(L"kernel32.dll");
    const auto loadLibrary = reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(::GetProcAddress(k32, "LoadLibraryW")));
    const auto getProc = reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(::GetProcAddress(k32, "GetProcAddress")));
    if (!loadLibrary || !getProc) return failed(why, L"no loader functions");

    const std::size_t pathBytes = (dll.size() + 1) * sizeof(wchar_t);
    const std::size_t nameBytes = std::strlen(startExport) + 1;
    const std::size_t codeAt = (pathBytes + nameBytes + 15) & ~std::size_t(15);
    auto* block = static_cast<uint8_t*>(
        ::VirtualAllocEx(process, nullptr, codeAt + 256, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (!block) return failed(why, L"cannot allocate in the program");
    const Code code = assemble(uintptr_t(block), uintptr_t(block + pathBytes), loadLibrary, getProc, entry);
    std::vector<uint8_t> image(codeAt + code.bytes.size(), 0);
    std::memcpy(image.data(), dll.c_str(), pathBytes);
    std::memcpy(image.data() + pathBytes, startExport, nameBytes);
    std::memcpy(image.data() + codeAt, code.bytes.data(), code.bytes.size());
    if (!::WriteProcessMemory(process, block, image.data(), image.size(), nullptr)) {
        ::VirtualFreeEx(process, block, 0, MEM_RELEASE);
        return failed(why, L"cannot write into the program");
    }
    ::FlushInstructionCache(process, block + codeAt, code.bytes.size());
#ifdef _WIN64
    ctx.Rcx = DWORD64(block + codeAt);
#else
    ctx.Eax = DWORD(uintptr_t(block + codeAt));
#endif
    if (!::SetThreadContext(thread, &ctx)) {
        ::VirtualFreeEx(process, block, 0, MEM_RELEASE);
        return failed(why, L"cannot redirect the program's first thread");
    }
    return true;
}

}  // namespace qs::run
