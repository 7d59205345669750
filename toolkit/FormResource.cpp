#include "FormResource.h"

namespace qs {

std::string LoadFormDefinition(const char* className, HMODULE module) {
    if (!className || !*className) return {};
    if (!module) module = GetModuleHandleW(nullptr);
    // Narrow lookup on purpose: class names are ASCII and the resource
    // compiler stores the name upper-cased; FindResourceA compares case-blind.
    HRSRC info = FindResourceA(module, className, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL data = LoadResource(module, info);
    DWORD size = SizeofResource(module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes || size == 0) return {};
    return std::string(static_cast<const char*>(bytes), size);
}

}  // namespace qs
