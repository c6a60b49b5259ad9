#include <gtest/gtest.h>

#include <set>

#include "platform/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Folders.h"
#include "tests/contract/ContractWorld.h"
#include "tests/win32/world/TestFiles.h"

#include <objbase.h>
#include <shlobj.h>

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
// from there), and it starts the document. A path the ANSI code page cannot hold gets none,
// rather than one to a mangled path. The shortcuts stay: they lie outside the test's own folder.
TEST(Win32Folders, RecentDocumentGetsAShortcutToItInTheRecentFolder) {
    const auto world = contract::MakeWorld();
    Win32Folders folders;
    const std::string recent = folders.ShellFolderLocation(kCsidlRecent);
    ASSERT_FALSE(recent.empty());
    struct Case {
        std::string name;
        bool made;
    };
    const std::string id = std::to_string(::GetCurrentProcessId());
    // A Greek Omega, which the Western code page the tests run under lacks.
    for (const Case& c : {Case{"MorvaneRecent-" + id + ".exe", true},
                          Case{"MorvaneRecent-\xCE\xA9-" + id + ".exe", false}}) {
        if (!c.made && ::GetACP() != 1252) continue;
        const std::string target = text::JoinPath(world->Scratch(), c.name);
        world->MakeFile(target, "");
        const std::set<std::string> before = NamesIn(recent);

        folders.AddToRecentDocs(target);
        std::string made;
        for (int wait = 0; wait < (c.made ? 20 : 5) && made.empty(); ++wait) {
            for (const std::string& entry : NamesIn(recent)) {
                if (!before.count(entry) && text::StartsWith(entry, c.name.substr(0, 14))) made = entry;
            }
            if (made.empty()) ::Sleep(100);
        }
        EXPECT_EQ(!made.empty(), c.made) << c.name;
        if (!made.empty()) {
            EXPECT_EQ(testing_support::ShortcutTarget(text::JoinPath(recent, made)), target) << c.name;
        }
    }
}

}  // namespace
}  // namespace win32
