#pragma once
// The process and its surroundings: command line, program folder, environment variables,
// the OS version, the system code page, waiting and ending.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What GetVersionExA reports: the call's own result and the fields the program looks at.
struct OsVersion {
    int callResult = 0;  // 1 when the platform filled the record
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t platformId = 0;  // 2 = the NT platform
};

// A moment on the machine's own clock, as its user reads it (not UTC).
struct LocalTime {
    int year = 0, month = 0, day = 0;  // month and day count from 1
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// A lock held until the object goes.
class HeldLock {
public:
    virtual ~HeldLock() = default;
};

class Environment {
public:
    virtual ~Environment() = default;

    // The command line without the program's own path; empty when there are no arguments.
    virtual std::string CommandArgs() = 0;
    // The folder the program was started from, as the platform gives it (no trailing "\"
    // unless it is a drive root).
    virtual std::string ProgramFolder() = 0;
    // An environment variable, looked up without regard to case; nullopt when unset.
    virtual std::optional<std::string> Variable(std::string_view name) = 0;
    virtual OsVersion Version() = 0;
    virtual LocalTime Now() = 0;
    // Now as file times are written: UTC in 100-ns units since 1601 (a FILETIME).
    virtual std::uint64_t FileTimeNow() = 0;
    // Milliseconds on a clock that only goes forward (the local time may be set back), for
    // durations.
    virtual std::uint64_t Ticks() = 0;
    // The lock of this name that every process of the user's session shares, once it is free;
    // null when it did not come free within timeoutMs. A lock whose holder ended without
    // letting go is had at once.
    virtual std::unique_ptr<HeldLock> LockByName(std::string_view name, int timeoutMs) = 0;

    // Text in the system's ANSI code page <-> UTF-8. Characters the code page cannot hold
    // become "?", as the platform converts them.
    virtual std::string FromAnsi(std::string_view ansi) = 0;
    virtual std::string ToAnsi(std::string_view utf8) = 0;

    virtual void Sleep(int milliseconds) = 0;
    // Writes text to where the program's output goes: what it was started with (a console, a
    // file, a pipe), else the console of the program that started it. false when there is none.
    virtual bool WriteOutput(const std::string& text) = 0;
    // Ends the process with the exit code. The real one does not return; a test double
    // records the code and returns, so callers return straight after calling it.
    virtual void EndProcess(int exitCode) = 0;
};

}  // namespace platform
