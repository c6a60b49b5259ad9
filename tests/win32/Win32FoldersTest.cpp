#include <gtest/gtest.h>

#include <set>

#include "platform/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Folders.h"
#include "tests/contract/ContractWorld.h"

namespace win32 {
namespace {

constexpr int kCsidlRecent = 8;

std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAW found;
    const FindHandle search(::FindFirstFileW(Widen(folder + "\\*").c_str(), &found));
    if (!search) return names;
    do {
        names.insert(Narrow(found.cFileName));
    } while (::FindNextFileW(search.Get(), &found));
    return names;
}

// The shell makes the shortcut in the Recent folder (the start-up shortcut installer moves it
// from there). The shortcut stays: it lies outside the test's own folder.
TEST(Win32Folders, RecentDocumentGetsAShortcutInTheRecentFolder) {
    const auto world = contract::MakeWorld();
    const std::string name = "MorvaneRecent-" + std::to_string(::GetCurrentProcessId()) + ".exe";
    const std::string target = text::JoinPath(world->Scratch(), name);
    world->MakeFile(target, "");
    Win32Folders folders;
    const std::string recent = folders.ShellFolderLocation(kCsidlRecent);
    ASSERT_FALSE(recent.empty());
    const std::set<std::string> before = NamesIn(recent);

    folders.AddToRecentDocs(target);
    bool made = false;
    for (int wait = 0; wait < 20 && !made; ++wait) {
        for (const std::string& entry : NamesIn(recent)) {
            made = made || (!before.count(entry) && text::StartsWith(entry, name));
        }
        if (!made) ::Sleep(100);
    }
    EXPECT_TRUE(made);
}

}  // namespace
}  // namespace win32
