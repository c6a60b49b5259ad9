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

namespace {

// An i386 Linux system call with up to two arguments.
long SystemCall(long number, const void* first, const void* second) {
#if defined(__i386__)
    long result;
    asm volatile("int $0x80" : "=a"(result) : "a"(number), "b"(first), "c"(second) : "memory");
    return result;
#else
    (void)number;
    (void)first;
    (void)second;
    return -1;
#endif
}

constexpr long kUnlink = 10;
constexpr long kMkdir = 39;
constexpr long kRmdir = 40;
constexpr long kSymlink = 83;
constexpr long kRename = 38;

}  // namespace

long LinuxSymlink(const std::string& targetPath, const std::string& linkPath) {
    return SystemCall(kSymlink, targetPath.c_str(), linkPath.c_str());
}

std::string MakeUnixLink(const std::string& link, const std::string& target) {
    const std::string unixLink = UnixNameOfPath(link);
    const std::string unixTarget = UnixNameOfPath(target);
    if (unixLink.empty() || unixTarget.empty() || LinuxSymlink(unixTarget, unixLink) != 0) return {};
    return unixLink;
}

long LinuxUnlink(const std::string& linkPath) { return SystemCall(kUnlink, linkPath.c_str(), nullptr); }

long LinuxRename(const std::string& from, const std::string& to) {
    return SystemCall(kRename, from.c_str(), to.c_str());
}

long LinuxMkdir(const std::string& path) {
    return SystemCall(kMkdir, path.c_str(), reinterpret_cast<const void*>(0755));
}

long LinuxRmdir(const std::string& path) { return SystemCall(kRmdir, path.c_str(), nullptr); }

}  // namespace testing_support
