#pragma once
// What the settings benchmarks share: the ports they run on (the real adapters on Windows, the
// fakes elsewhere) with the program folder moved into a scratch folder of their own, a
// Clean.ini with a full keep-list, and contestants' turns.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "engine/Purges.h"
#include "platform/Ports.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolders.h"
#include "settings/KnownFolders.h"
#include "settings/SettingsFile.h"
#ifdef _WIN32
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32UrlCache.h"
#endif

namespace bench {

// Forwards to the real environment, except that the program's folder is the scratch folder,
// so that Clean.ini is made there.
class ScratchEnvironment final : public platform::Environment {
public:
    ScratchEnvironment(platform::Environment& inner, std::string folder) : inner_(inner), folder_(std::move(folder)) {}

    std::string CommandArgs() override { return inner_.CommandArgs(); }
    std::string ProgramFolder() override { return folder_; }
    std::optional<std::string> Variable(std::string_view name) override { return inner_.Variable(name); }
    platform::OsVersion Version() override { return inner_.Version(); }
    platform::LocalTime Now() override { return inner_.Now(); }
    std::uint64_t FileTimeNow() override { return inner_.FileTimeNow(); }
    std::uint64_t Ticks() override { return inner_.Ticks(); }
    std::unique_ptr<platform::HeldLock> LockByName(std::string_view name, int timeoutMs) override {
        return inner_.LockByName(name, timeoutMs);
    }
    std::string FromAnsi(std::string_view ansi) override { return inner_.FromAnsi(ansi); }
    std::string ToAnsi(std::string_view utf8) override { return inner_.ToAnsi(utf8); }
    void Sleep(int milliseconds) override { inner_.Sleep(milliseconds); }
    bool WriteOutput(const std::string& text) override { return inner_.WriteOutput(text); }
    void EndProcess(int exitCode) override { inner_.EndProcess(exitCode); }

private:
    platform::Environment& inner_;
    std::string folder_;
};

#ifdef _WIN32
// The real adapters, the URL cache included, installed as the program's ports for the life of
// the object, with the program folder moved to a scratch folder of the benchmark's own (named
// after it and the process), where WriteIni puts Clean.ini; both go again at the end.
class RealPortsInScratch {
public:
    explicit RealPortsInScratch(const std::string& name)
        : scratch_(real_.Variable("TEMP").value_or("C:\\windows\\temp") + "\\MorvaneBench-" + name + "-" +
                   std::to_string(::GetCurrentProcessId())),
          environment_(real_, scratch_) {}
    ~RealPortsInScratch() {
        engine::ShellDelete(files_, scratch_);
    }
    platform::Ports Ports() { return {&environment_, &folders_, &files_, nullptr, &cache_}; }
    RealPortsInScratch(const RealPortsInScratch&) = delete;
    RealPortsInScratch& operator=(const RealPortsInScratch&) = delete;

    win32::Win32UrlCache& Cache() { return cache_; }
    void WriteIni(const std::string& content) {
        files_.CreateFolder(scratch_);
        files_.ReplaceWholeFile(scratch_ + "\\Clean.ini", content);
    }

private:
    win32::Win32Environment real_;
    win32::Win32Folders folders_;
    win32::Win32FileSystem files_;
    win32::Win32UrlCache cache_;
    std::string scratch_;
    ScratchEnvironment environment_;
};
#endif

class SettingsBench {
public:
    SettingsBench() {
#ifdef _WIN32
        files_.CreateFolder(folder_);
#else
        files_.AddFolder(folder_);
#endif
    }
    ~SettingsBench() {
        // Only the folder this benchmark made, with what it put there.
        engine::ShellDelete(files_, folder_);
    }
    platform::Ports Ports() { return {&environment_, &folders_, &files_}; }
    SettingsBench(const SettingsBench&) = delete;
    SettingsBench& operator=(const SettingsBench&) = delete;

    static const char* Side() {
#ifdef _WIN32
        return "Windows adapters";
#else
        return "fakes";
#endif
    }

    std::string Ini() const { return folder_ + "\\Clean.ini"; }
    std::string Copy() const { return folder_ + "\\Copy.ini"; }

    // Clean.ini as the program leaves it after saving a keep-list of 1,001 cookies.
    static std::string FullKeepListFile() {
        std::string content = "[User]\r\nsFile0=C:\\Data\\Old\r\n[Delete]\r\nUser=Yes\r\nTemp=Yes\r\n"
                              "Temporary Internet Files=Yes\r\n[Internet]\r\n";
        for (int i = 0; i <= 1000; ++i) {
            content += "sFile" + std::to_string(i) + "=Cookie:ann@site" + std::to_string(i) + ".example.com/\r\n";
        }
        return content + "[sAppPath]\r\nShortCut=C:\\Program Files\\Morvane\\\r\n";
    }

    // Each contestant's microseconds per call, one figure a round. The contestants take turns
    // round by round, so that a slow spell of the machine (or of the Wine server) falls on all.
    static std::vector<std::vector<double>> Microseconds(int calls,
                                                         const std::vector<std::function<void(int)>>& contestants) {
        std::vector<std::vector<double>> times(contestants.size());
        for (int round = 0; round < kRounds; ++round) {
            InTurns(round, static_cast<int>(contestants.size()), [&](int c) {
                const double ms = Milliseconds([&] {
                    for (int i = 0; i < calls; ++i) contestants[c](i);
                });
                times[c].push_back(ms * 1000 / calls);
            });
        }
        return times;
    }
    static constexpr int kRounds = 7;

private:
    std::string ScratchName() {
#ifdef _WIN32
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        return real_.Variable("TEMP").value_or("C:\\windows\\temp") + "\\MorvaneBench-" + std::to_string(stamp);
#else
        return "C:\\Bench";
#endif
    }

#ifdef _WIN32
    win32::Win32Environment real_;
    win32::Win32FileSystem files_;
    win32::Win32Folders folders_;
#else
    fake::FakeEnvironment real_;
    fake::FakeFileSystem files_;
    fake::FakeFolders folders_{files_};
#endif
    std::string folder_ = ScratchName();
    ScratchEnvironment environment_{real_, folder_};
};

}  // namespace bench
