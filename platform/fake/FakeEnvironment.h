#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/Environment.h"

namespace fake {

// An environment the test sets up field by field. Sleep and EndProcess are recorded.
class FakeEnvironment : public platform::Environment {
public:
    std::string commandArgs;
    std::string programFolder = "C:\\Program Files\\Morvane";
    platform::OsVersion version{1, 6, 1, 2};
    platform::LocalTime now{2026, 12, 7, 18, 30, 12};
    std::uint64_t fileTime = 134411418120000000;  // the same moment, the zone taken as UTC
    int sleptMilliseconds = 0;
    std::uint64_t ticks = 0;  // Sleep advances it
    std::optional<int> exitCode;  // set by EndProcess
    std::optional<std::string> output;  // what WriteOutput wrote; nullopt: there is no console

    void SetVariable(const std::string& name, const std::string& value);
    void UnsetVariable(const std::string& name);

    std::string CommandArgs() override { return commandArgs; }
    std::string ProgramFolder() override { return programFolder; }
    std::optional<std::string> Variable(std::string_view name) override;
    platform::OsVersion Version() override { return version; }
    platform::LocalTime Now() override { return now; }
    std::uint64_t FileTimeNow() override { return fileTime; }
    std::uint64_t Ticks() override { return ticks; }
    // One registry of locks for every fake environment of the process, as the session has one
    // for its processes.
    std::unique_ptr<platform::HeldLock> LockByName(std::string_view name, int timeoutMs) override;
    // The fake's code page is Windows-1252.
    std::string FromAnsi(std::string_view ansi) override;
    std::string ToAnsi(std::string_view utf8) override;
    void Sleep(int milliseconds) override {
        sleptMilliseconds += milliseconds;
        ticks += static_cast<std::uint64_t>(milliseconds);
    }
    bool WriteOutput(const std::string& text) override {
        if (!output) return false;
        *output += text;
        return true;
    }
    void EndProcess(int code) override {
        if (!exitCode) exitCode = code;
    }

private:
    std::map<std::string, std::string> variables_;  // upper-cased name -> value
};

}  // namespace fake
