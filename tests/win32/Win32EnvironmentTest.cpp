#include <gtest/gtest.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Environment.h"

namespace win32 {
namespace {

TEST(Win32Environment, ArgumentsFollowTheProgramPath) {
    struct Case {
        std::wstring_view commandLine;
        std::wstring_view arguments;
    };
    const Case cases[] = {
        {L"\"C:\\Program Files\\Morvane\\Morvane.exe\" a", L"a"},
        {L"C:\\Morvane\\Morvane.exe a", L"a"},
        {L"C:\\Morvane\\Morvane.exe\t\t/x a", L"/x a"},
        {L"\"C:\\Program Files\\Morvane\\Morvane.exe\"a", L"a"},  // the quote ends the path
        {L"\"C:\\A B\\Morvane.exe\"   \"x y\"  a  ", L"\"x y\"  a  "},
        {L"Morvane.exe", L""},
        {L"\"C:\\A B\\Morvane.exe\"  ", L""},
        {L"\"C:\\A B\\Morvane.exe a", L""},  // no closing quote: all of it is the path
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.commandLine));
        EXPECT_EQ(ArgumentsOf(c.commandLine), c.arguments);
    }
}

TEST(Win32Environment, FolderOfKeepsTheBackslashOfADriveRootOnly) {
    EXPECT_EQ(FolderOf(L"C:\\Apps\\Tool\\Morvane.exe"), L"C:\\Apps\\Tool");
    EXPECT_EQ(FolderOf(L"E:\\Morvane.exe"), L"E:\\");
    EXPECT_EQ(FolderOf(L"\\\\server\\share\\Morvane.exe"), L"\\\\server\\share");
}

TEST(Win32Environment, ProcessIsDescribedAsWindowsSeesIt) {
    Win32Environment env;
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(env.ProgramFolder(), Narrow(FolderOf(module)));
    const std::wstring commandLine = ::GetCommandLineW();
    const std::wstring arguments = Widen(env.CommandArgs());
    EXPECT_EQ(commandLine.substr(commandLine.size() - arguments.size()), arguments);
}

}  // namespace
}  // namespace win32
