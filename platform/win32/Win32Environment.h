#pragma once
#include <string>
#include <string_view>

#include "platform/Environment.h"

namespace win32 {

// The process as Windows describes it.
class Win32Environment : public platform::Environment {
public:
    std::string CommandArgs() override;
    std::string ProgramFolder() override;
    std::optional<std::string> Variable(std::string_view name) override;
    platform::OsVersion Version() override;
    platform::LocalTime Now() override;
    std::uint64_t FileTimeNow() override;
    std::uint64_t Ticks() override;
    std::unique_ptr<platform::HeldLock> LockByName(std::string_view name, int timeoutMs) override;
    std::string FromAnsi(std::string_view ansi) override;
    std::string ToAnsi(std::string_view utf8) override;
    void Sleep(int milliseconds) override;
    bool WriteOutput(const std::string& text) override;
    void EndProcess(int exitCode) override;
};

// What follows the program's path in a command line, without the blanks before it. The path
// ends at its closing quote when it starts with one, otherwise at the first blank, as Windows
// reads the first token of a command line.
std::wstring_view ArgumentsOf(std::wstring_view commandLine);

// The folder part of a file path: no trailing "\" unless the folder is a drive root.
std::wstring_view FolderOf(std::wstring_view filePath);

}  // namespace win32
