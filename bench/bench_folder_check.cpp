// The protected-folder decision on the real machine: CheckUserFolder for a folder that is
// allowed (the whole walk of every protected folder and the folders above it is done), against
// a bare lookup of the same shell folders with one CreateFileW and GetFileInformationByHandle
// each, taking turns over 20 rounds. The decision must take under 50 ms.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/BareFiles.h"
#include "bench/Timing.h"
#include "platform/win32/WideText.h"
#include "settings/KnownFolders.h"

#include <shlobj.h>

namespace {

// Each protected folder looked up and opened once: what any check of identities must do at least.
void BareLookups() {
    for (const int csidl : settings::kProtectedFolderIds) {
        wchar_t path[MAX_PATH] = {};
        if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) continue;
        const win32::KernelHandle folder(::CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                          FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        ::GetFileInformationByHandle(folder.Get(), &info);
    }
}

}  // namespace

int main() {
    bench::RealPorts ports;
    const std::string candidate = win32::Narrow(bench::TempFolder()) + "MorvaneBench-check";
    ::CreateDirectoryW(win32::Widen(candidate).c_str(), nullptr);

    constexpr int kRuns = 20;
    std::vector<double> decisions, bare;
    bool allowed = true;
    for (int run = 0; run < kRuns; ++run) {
        bench::InTurns(run, 2, [&](int turn) {
            if (turn == 0) {
                decisions.push_back(bench::Milliseconds([&] {
                    allowed = allowed && settings::CheckUserFolder(ports.Ports(), candidate) == settings::FolderVerdict::kAllowed;
                }));
            } else {
                bare.push_back(bench::Milliseconds(BareLookups));
            }
        });
    }
    ::RemoveDirectoryW(win32::Widen(candidate).c_str());
    if (!allowed) {
        std::fprintf(stderr, "bench_folder_check: the candidate was refused\n");
        return 1;
    }
    std::printf("bare lookup and open of the %zu shell folders: %s\n", settings::kProtectedFolderIds.size(),
                bench::Text(bench::SpreadOf(bare), "%.2f", " ms").c_str());
    bench::AtMost("CheckUserFolder", bench::SpreadOf(decisions), 50, " ms", "%.2f", true);
    bench::Shown("CheckUserFolder / bare lookups", bench::RatioOf(decisions, bare));
    return 0;
}
