#include "platform/win32/Win32Environment.h"

#include <algorithm>
#include <climits>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

namespace win32 {
namespace {

constexpr std::wstring_view kBlanks = L" \t";

// A mutex this thread owns: let go, then closed.
struct OwnedMutexTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) {
        ::ReleaseMutex(handle);
        ::CloseHandle(handle);
    }
};

class HeldMutex final : public platform::HeldLock {
public:
    explicit HeldMutex(HANDLE mutex) : mutex_(mutex) {}

private:
    UniqueHandle<OwnedMutexTraits> mutex_;
};

}  // namespace

std::wstring_view ArgumentsOf(std::wstring_view commandLine) {
    size_t end;
    if (!commandLine.empty() && commandLine.front() == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        end = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    } else {
        end = std::min(commandLine.find_first_of(kBlanks), commandLine.size());
    }
    const std::wstring_view rest = commandLine.substr(end);
    const size_t first = rest.find_first_not_of(kBlanks);
    return first == std::wstring_view::npos ? std::wstring_view{} : rest.substr(first);
}

std::wstring_view FolderOf(std::wstring_view filePath) {
    const size_t cut = filePath.rfind(L'\\');
    if (cut == std::wstring_view::npos) return {};
    // "C:\Morvane.exe" lives in "C:\", not in "C:".
    if (cut == 2 && filePath[1] == L':') return filePath.substr(0, 3);
    return filePath.substr(0, cut);
}

std::string Win32Environment::CommandArgs() { return Narrow(ArgumentsOf(::GetCommandLineW())); }

std::string Win32Environment::ProgramFolder() {
    // GetModuleFileNameW truncates silently when the buffer is short, so grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Narrow(FolderOf(path));
}

std::optional<std::string> Win32Environment::Variable(std::string_view name) {
    const std::wstring wideName = Widen(name);
    std::wstring value(256, L'\0');
    for (;;) {
        // An empty value also reads as 0 characters; only the error code tells it from "unset".
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length =
            ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (length < value.size()) {
            value.resize(length);
            return Narrow(value);
        }
        value.resize(length);  // the size needed, terminator included
    }
}

platform::OsVersion Win32Environment::Version() {
    OSVERSIONINFOA info{};
    static_assert(sizeof(info) == 148, "the record the program has always passed");
    info.dwOSVersionInfoSize = sizeof(info);
    platform::OsVersion version;
    version.callResult = ::GetVersionExA(&info) ? 1 : 0;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.platformId = info.dwPlatformId;
    return version;
}

platform::LocalTime Win32Environment::Now() {
    SYSTEMTIME time{};
    ::GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::uint64_t Win32Environment::FileTimeNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

std::uint64_t Win32Environment::Ticks() { return ::GetTickCount64(); }

std::unique_ptr<platform::HeldLock> Win32Environment::LockByName(std::string_view name, int timeoutMs) {
    // The session's namespace: a user of another session cannot take it and hold this one up.
    // Past "Local\" a name may hold anything but a backslash.
    std::wstring wide = L"Local\\" + Widen(name);
    std::replace(wide.begin() + 6, wide.end(), L'\\', L'/');
    KernelHandle mutex(::CreateMutexW(nullptr, FALSE, wide.c_str()));
    if (!mutex) return nullptr;
    switch (::WaitForSingleObject(mutex.Get(), timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs))) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:  // its holder ended without letting go
            return std::make_unique<HeldMutex>(mutex.Release());
        default:
            return nullptr;
    }
}

std::string Win32Environment::FromAnsi(std::string_view ansi) { return win32::FromAnsi(ansi); }

// Settings text is stored as it stands; what the code page lacks is marked, not guessed.
std::string Win32Environment::ToAnsi(std::string_view utf8) { return *win32::ToAnsi(utf8, AnsiLoss::kReplace); }

void Win32Environment::Sleep(int milliseconds) { ::Sleep(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds)); }

bool Win32Environment::WriteOutput(const std::string& text) {
    // A program of the Windows subsystem has no console of its own: the output it was started
    // with (redirected, or a terminal under Wine), else the console of the program that started it.
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if ((!output || output == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        output = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        ::SetStdHandle(STD_OUTPUT_HANDLE, output);
    }
    if (!output || output == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(output, &mode)) {
        const std::wstring wide = Widen(text);
        return ::WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != FALSE;
    }
    // A file or a pipe gets UTF-8, as the record is.
    return ::WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
}

void Win32Environment::EndProcess(int exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace win32
