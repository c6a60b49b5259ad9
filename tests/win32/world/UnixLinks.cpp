#include "tests/win32/world/UnixLinks.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

namespace testing_support {
namespace {

// Wine's own bridge to the Unix side, present only under Wine.
using UnixNameOf = char*(__cdecl*)(const wchar_t*);
UnixNameOf WineUnixNameFunction() {
    return reinterpret_cast<UnixNameOf>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

}  // namespace

std::string UnixNameOfPath(const std::string& path) {
    const UnixNameOf unixName = WineUnixNameFunction();
    if (!unixName) return {};
    char* name = unixName(win32::Widen(path).c_str());
    if (!name) return {};
    std::string out(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return out;
}

// i386 system calls 83 (symlink) and 10 (unlink).
long LinuxSymlink(const std::string& targetPath, const std::string& linkPath) {
#if defined(__i386__)
    long result;
    asm volatile("int $0x80" : "=a"(result) : "a"(83), "b"(targetPath.c_str()), "c"(linkPath.c_str()) : "memory");
    return result;
#else
    (void)targetPath;
    (void)linkPath;
    return -1;
#endif
}

long LinuxUnlink(const std::string& linkPath) {
#if defined(__i386__)
    long result;
    asm volatile("int $0x80" : "=a"(result) : "a"(10), "b"(linkPath.c_str()) : "memory");
    return result;
#else
    (void)linkPath;
    return -1;
#endif
}

}  // namespace testing_support
