// Morvane's resident start against the least a resident program does (bench/bare/BareTray.cpp:
// one hidden window, one notification-area icon), both started the same way in the same run:
// the time from CreateProcess until the icon is in the notification area, and the working set
// once the program waits for messages. Then Morvane left alone for 60 s: the CPU time it takes.
//
// Morvane starts as it does at every log-on: its start-up shortcut is there and a clean option
// is chosen, so it shows nothing. Both programs are watched from outside, as the notification
// area sees them: the icon by asking the notification area for it, the working set with
// GetProcessMemoryInfo on the process handle. Run it through tools/bench, in a prefix of its
// own: it makes the start-up shortcut when there is none, and takes it away again.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "platform/win32/Win32.h"

#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

constexpr int kRounds = 9;  // the Wine server's latency varies from start to start
constexpr UINT kIconId = 125;
constexpr int kStartLimitMs = 30000;
constexpr int kIdleSeconds = 60;

using Clock = std::chrono::steady_clock;

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

std::wstring ThisFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

std::wstring StartUpShortcut() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return std::wstring(folder) + L"\\Tarnwick.lnk";
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteFile(const std::wstring& path, const std::string& content) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool done = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) != FALSE;
    ::CloseHandle(file);
    return done;
}

// The bench's folder holds plain files only (the program, its settings and their temporary copy).
void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

NOTIFYICONDATAW IconRecord(HWND owner) {
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = owner;
    icon.uID = kIconId;
    return icon;
}

// An icon can be modified only while the notification area holds it; a change of nothing
// leaves it as it was.
bool IconShown(HWND owner) {
    NOTIFYICONDATAW probe = IconRecord(owner);
    return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

struct Search {
    DWORD process;
    HWND owner;
};

BOOL CALLBACK FindIconOwner(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search.process || !IconShown(window)) return TRUE;
    search.owner = window;
    return FALSE;
}

// The window of the process whose icon is in the notification area; nullptr while there is none.
HWND IconOwner(DWORD process) {
    Search search{process, nullptr};
    ::EnumWindows(FindIconOwner, reinterpret_cast<LPARAM>(&search));
    return search.owner;
}

class Resident {
public:
    // Starts the program and waits until its icon is there; Started() is false when it never came.
    Resident(const std::wstring& exe, const std::wstring& folder) {
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        const Clock::time_point begin = Clock::now();
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &started)) {
            return;
        }
        ::CloseHandle(started.hThread);
        process_ = started.hProcess;
        while (!(owner_ = IconOwner(started.dwProcessId))) {
            if (Clock::now() - begin > std::chrono::milliseconds(kStartLimitMs) ||
                ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) {
                return;
            }
            ::Sleep(1);
        }
        toIcon_ = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
        // From here on the program only waits for messages.
        ::WaitForInputIdle(process_, 5000);
        ::Sleep(500);
    }
    ~Resident() {
        if (owner_) {
            NOTIFYICONDATAW icon = IconRecord(owner_);
            ::Shell_NotifyIconW(NIM_DELETE, &icon);
        }
        if (process_) {
            ::TerminateProcess(process_, 0);
            ::WaitForSingleObject(process_, 10000);
            ::CloseHandle(process_);
        }
    }
    Resident(const Resident&) = delete;
    Resident& operator=(const Resident&) = delete;

    bool Started() const { return owner_ != nullptr; }
    double MillisecondsToIcon() const { return toIcon_; }
    double WorkingSetMb() const {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (!::GetProcessMemoryInfo(process_, &counters, sizeof(counters))) return 0;
        return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }
    // User and kernel time of every thread so far.
    double CpuMilliseconds() const {
        FILETIME created, ended, kernel, user;
        if (!::GetProcessTimes(process_, &created, &ended, &kernel, &user)) return -1;
        const auto ticks = [](const FILETIME& t) {
            return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
    }

private:
    HANDLE process_ = nullptr;
    HWND owner_ = nullptr;
    double toIcon_ = 0;
};

struct Runs {
    std::vector<double> toIcon;
    std::vector<double> workingSet;

    bool Add(const Resident& run) {
        if (!run.Started()) return false;
        toIcon.push_back(run.MillisecondsToIcon());
        workingSet.push_back(run.WorkingSetMb());
        return true;
    }
};

}  // namespace

int main() {
    const std::wstring here = ThisFolder();
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"morvane-bench-resident-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring morvane = folder + L"\\Morvane.exe";
    const std::wstring bare = folder + L"\\bare_tray.exe";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    // Both programs from the same folder, with a clean option chosen so that Morvane stays hidden.
    if (!::CopyFileW((here + L"\\Morvane.exe").c_str(), morvane.c_str(), FALSE) ||
        !::CopyFileW((here + L"\\bare_tray.exe").c_str(), bare.c_str(), FALSE) ||
        !WriteFile(folder + L"\\Clean.ini", "[Delete]\r\nUser=No\r\nTemp=Yes\r\nTemporary Internet Files=No\r\n")) {
        std::fprintf(stderr, "bench_resident: Morvane.exe and bare_tray.exe must lie beside the bench\n");
        RemoveFolder(folder);
        return 1;
    }
    const std::wstring shortcut = StartUpShortcut();
    const bool hadShortcut = Exists(shortcut);

    int status = 0;
    {
        // The first start makes the shortcut (and warms the file cache for both).
        const Resident first(morvane, folder);
        const Resident firstBare(bare, folder);
        if (!first.Started() || !firstBare.Started() || !Exists(shortcut)) {
            std::fprintf(stderr, "bench_resident: no icon or no start-up shortcut after the first start\n");
            status = 1;
        }
    }
    Runs ours;
    Runs reference;
    for (int round = 0; round < kRounds && status == 0; ++round) {
        // Taking turns, so neither always meets a warmer system.
        bench::InTurns(round, 2, [&](int turn) {
            const bool oursNow = turn == 0;
            const Resident run(oursNow ? morvane : bare, folder);
            if (status == 0 && !(oursNow ? ours : reference).Add(run)) {
                std::fprintf(stderr, "bench_resident: %s added no icon\n", oursNow ? "Morvane.exe" : "bare_tray.exe");
                status = 1;
            }
        });
    }
    if (status == 0) {
        std::printf("start to icon added: Morvane %s; bare program %s\n",
                    bench::Text(bench::SpreadOf(ours.toIcon), "%.1f", " ms").c_str(),
                    bench::Text(bench::SpreadOf(reference.toIcon), "%.1f", " ms").c_str());
        std::printf("working set after start: Morvane %s; bare program %s\n",
                    bench::Text(bench::SpreadOf(ours.workingSet), "%.2f", " MB").c_str(),
                    bench::Text(bench::SpreadOf(reference.workingSet), "%.2f", " MB").c_str());
        bench::AtMost("start to icon, Morvane / bare program", bench::RatioOf(ours.toIcon, reference.toIcon), 1.5);
        bench::AtMost("working set after start, Morvane / bare program",
                      bench::RatioOf(ours.workingSet, reference.workingSet), 1.2);

        const Resident idle(morvane, folder);
        ::Sleep(1000);
        const double before = idle.CpuMilliseconds();
        ::Sleep(kIdleSeconds * 1000);
        const double after = idle.CpuMilliseconds();
        // The start-up's own CPU time shows that the clock reads this process at all.
        std::printf("idle resident for %d s: %.1f ms of CPU (the start took %.1f ms)\n", kIdleSeconds, after - before,
                    before);
        char cpu[48];
        std::snprintf(cpu, sizeof(cpu), "%.1f ms over %d s", after - before, kIdleSeconds);
        bench::Figure("CPU time of the idle resident program", cpu, "0 ms", after - before == 0 ? "met" : "NOT MET");
    }
    if (!hadShortcut) ::DeleteFileW(shortcut.c_str());
    RemoveFolder(folder);
    return status;
}
