#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Text.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/contract/ContractWorld.h"

namespace win32 {
namespace {

TEST(ApiPath, GivesEveryPathItsLongForm) {
    const std::string deep = "C:\\" + std::string(300, 'x');
    struct Case {
        std::string path;
        std::wstring api;
    };
    const Case cases[] = {
        {"C:\\a\\..\\b", L"\\\\?\\C:\\b"},
        {"C:/Data/x", L"\\\\?\\C:\\Data\\x"},
        {"c:\\Data\\", L"\\\\?\\c:\\Data\\"},
        {"C:\\", L"\\\\?\\C:\\"},
        {"C:\\K\xC3\xB6rbchen", L"\\\\?\\C:\\K\u00F6rbchen"},
        {deep, L"\\\\?\\" + Widen(deep)},
        {"\\\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        {"\\\\?\\C:\\x\\..\\y", L"\\\\?\\C:\\y"},
        {"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        {"\\\\.\\C:\\x", L"\\\\?\\C:\\x"}, {"\\\\?\\C:", L"\\\\?\\C:\\"}, {"//./UNC/server/share", L"\\\\?\\UNC\\server\\share"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 40));
        EXPECT_EQ(ApiPath(c.path), c.api);
    }
    // The volume by its GUID, as this machine names it.
    wchar_t volume[MAX_PATH] = {};
    ASSERT_TRUE(::GetVolumeNameForVolumeMountPointW(L"C:\\", volume, MAX_PATH));
    EXPECT_EQ(ApiPath(Narrow(volume) + "x"), L"\\\\?\\C:\\x");
}

// Wine reaches the whole Linux file system through "\\?\unix\"; devices and other namespaces
// are no place for a clean-up either.
TEST(ApiPath, RefusesWhatLiesOutsideTheDriveLetters) {
    for (const char* path : {"", "\\\\?\\unix\\etc\\hostname", "//?/unix/etc/hostname", "\\/?\\unix\\etc",
                             "\\??\\unix\\etc", "\\\\.\\PhysicalDrive0", "//./NUL", "\\\\?\\GLOBALROOT\\Device\\Harddisk0\\x",
                             "\\\\.\\UNC\\?\\unix\\etc", "\\\\?\\GLOBALROOT\\??\\unix\\etc", "\\\\?\\",
                             "\\\\?\\Volume{00000000-0000-0000-0000-000000000000}\\x"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ApiPath(path), std::nullopt);
    }
}

// Reading through "\\?\unix\" a file of the test's own scratch folder: harmless if the refusal
// were missing, and proof that the file operations pass through the refusal.
TEST(Win32FileSystem, UnixPathsAreNotFollowed) {
    using UnixNameOf = char*(__cdecl*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixNameOf>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) GTEST_SKIP() << "not under Wine";
    const auto world = contract::MakeWorld();
    const std::string file = text::JoinPath(world->Scratch(), "note.txt");
    world->MakeFile(file, "note");
    char* name = unixName(Widen(file).c_str());
    ASSERT_NE(name, nullptr);
    std::string viaUnix = std::string("\\\\?\\unix") + name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    std::replace(viaUnix.begin(), viaUnix.end(), '/', '\\');
    ASSERT_NE(::GetFileAttributesW(Widen(viaUnix).c_str()), INVALID_FILE_ATTRIBUTES) << "Wine reads it";

    Win32FileSystem files;
    EXPECT_EQ(files.Attributes(viaUnix), std::nullopt);
    EXPECT_EQ(files.ReadWholeFile(viaUnix, 100), std::nullopt);
    EXPECT_EQ(files.ListFolder(std::string(text::ParentOf(viaUnix))), std::nullopt);
    EXPECT_EQ(files.Identify(viaUnix), std::nullopt);
    EXPECT_EQ(files.OpenFolder(std::string(text::ParentOf(viaUnix)), platform::FolderUse::kEmpty), nullptr);
}

}  // namespace
}  // namespace win32
