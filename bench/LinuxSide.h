#pragma once
// What the benches under Wine ask of the Linux side: trees copied and flushed to the disk, and
// `rm -rf` timed natively. Wine's `start /unix` runs a Linux program natively; it leaves no
// handle to wait on, so each script ends by writing what it has to say into a file, which the
// bench waits for.
//
// The flush is `sync`: a tree still dirty in the page cache is deleted several times faster than
// one on the disk, and nothing on the Windows side flushes a whole tree under Wine 8
// (FlushFileBuffers on a volume handle fails there with ERROR_INVALID_FUNCTION, and per file it
// is an fsync each, minutes for 50,000 files).
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/LateBound.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

namespace bench {

// The Linux path Wine gives a Windows path; empty when this is not Wine.
inline std::string UnixPathOf(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    ToUnix toUnix = nullptr;
    win32::Resolve(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name", toUnix);
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!unix) return {};
    std::string result(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

inline bool UnderWine() { return !UnixPathOf(L"C:\\").empty(); }

// Whether a Linux path lies inside this prefix's drive C: and the prefix inside a build/ folder:
// the only places a Linux-side script may change.
inline bool InsideOwnPrefix(const std::string& unixPath) {
    const std::string driveC = UnixPathOf(L"C:\\");
    return !driveC.empty() && driveC.find("/build/") != std::string::npos && unixPath.size() > driveC.size() &&
           unixPath.compare(0, driveC.size(), driveC) == 0 && unixPath.find("/..") == std::string::npos &&
           unixPath.find("/./") == std::string::npos && unixPath.find('"') == std::string::npos;
}

// Runs a bash script on the Linux side with the given arguments and waits for it; what it wrote
// to its standard output, or nullopt when it did not finish within the time given. The script
// must hold no double quote (start passes its arguments on without escaping them); it runs
// without word splitting or globbing, so $1 needs no quotes.
inline std::optional<std::string> RunOnLinux(const std::string& script, const std::vector<std::string>& args,
                                             const std::wstring& workFolder, int timeoutSeconds = 600) {
    static int runs = 0;
    const std::wstring done = workFolder + L"\\linux-side-" + std::to_wstring(++runs) + L".out";
    const std::string doneUnix = UnixPathOf(done);
    if (doneUnix.empty() || !InsideOwnPrefix(doneUnix)) return std::nullopt;
    std::string commandLine = "start.exe /unix /bin/bash -c \"IFS=; set -f; out=$1; shift; { " + script +
                              "; } >$out.part 2>&1; mv -- $out.part $out\" bash \"" + doneUnix + "\"";
    for (const std::string& arg : args) commandLine += " \"" + arg + "\"";
    std::wstring wide = win32::Widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, workFolder.c_str(),
                          &startup, &started)) {
        return std::nullopt;
    }
    const win32::KernelHandle process(started.hProcess);
    const win32::KernelHandle thread(started.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    const ULONGLONG limit = ::GetTickCount64() + 1000ull * timeoutSeconds;
    while (::GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount64() > limit) return std::nullopt;
        ::Sleep(2);
    }
    std::string output;
    {
        const win32::KernelHandle file(::CreateFileW(done.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        char buffer[4096];
        DWORD read = 0;
        while (file && ::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
            output.append(buffer, read);
        }
    }
    ::DeleteFileW(done.c_str());
    return output;
}

// Everything written so far flushed to the disk.
inline bool FlushAll(const std::wstring& workFolder) {
    return RunOnLinux("/bin/sync", {}, workFolder).has_value();
}

// A copy of the tree `from` made at `to` (which must not exist), write times kept, then everything
// flushed.
inline bool CopyAndFlush(const std::wstring& from, const std::wstring& to, const std::wstring& workFolder) {
    const std::string source = UnixPathOf(from);
    const std::string target = UnixPathOf(to);
    if (!InsideOwnPrefix(source) || !InsideOwnPrefix(target)) return false;
    const auto out = RunOnLinux("if [ -e $2 ]; then echo exists; else /bin/cp -r --preserve=timestamps -- $1 $2 && /bin/sync && echo ok; fi",
                                {source, target}, workFolder);
    return out && *out == "ok\n";
}

// `rm -rf` of a tree of the bench's own, timed on the Linux side: its seconds, or nullopt.
inline std::optional<double> RemoveNatively(const std::wstring& tree, const std::wstring& workFolder) {
    const std::string path = UnixPathOf(tree);
    if (!InsideOwnPrefix(path)) return std::nullopt;
    const auto out = RunOnLinux("s=$EPOCHREALTIME; /bin/rm -rf -- $1; e=$EPOCHREALTIME; echo $s $e", {path},
                                workFolder);
    double start = 0, end = 0;
    if (!out || std::sscanf(out->c_str(), "%lf %lf", &start, &end) != 2) return std::nullopt;
    return end - start;
}

}  // namespace bench
