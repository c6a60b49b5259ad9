// The one reader of the device, NT and GLOBALROOT namespaces: every spelling it reads as the drive
// path or share it names, every path it leaves as it is, every one it refuses.
#include <gtest/gtest.h>

#include <map>

#include "platform/FileSystem.h"

namespace {

TEST(PlainPath, ReadsEveryNamespaceSpellingAndLeavesOtherPathsAlone) {
    // What QueryDosDevice would answer on a machine with C: and L: (volume 10, after volume 1 in
    // name), a subst drive, a device for a folder and a device that names itself.
    const std::map<std::string, std::string, std::less<>> devices = {
        {"C:", "\\Device\\HarddiskVolume1"}, {"L:", "\\Device\\HarddiskVolume10"}, {"S:", "\\??\\C:\\Subst"},
        {"Volume{c}", "\\Device\\HarddiskVolume1"}, {"Box", "\\??\\C:\\Box"}, {"Loop", "\\??\\Loop"}};
    const auto deviceOf = [&](std::string_view name) -> std::optional<std::string> {
        const auto found = devices.find(name);
        return found == devices.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
    struct Case {
        const char* path;
        const char* plain;  // nullptr: refused
    };
    const Case cases[] = {
        // Drive paths.
        {"\\\\.\\C:\\x", "C:\\x"}, {"\\\\.\\c:", "c:\\"}, {"\\\\?\\C:\\x", "C:\\x"}, {"\\??\\C:\\x", "C:\\x"},
        {"//?/C:/x/y", "C:\\x\\y"}, {"\\\\?\\GLOBALROOT\\??\\C:\\x", "C:\\x"},
        {"\\\\?\\GLOBALROOT\\DosDevices\\C:\\x", "C:\\x"},
        {"\\\\?\\GLOBALROOT\\GLOBAL??\\C:\\x", "C:\\x"}, {"\\\\?\\globalroot\\device\\harddiskvolume1\\x", "C:\\x"},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1", "C:\\"},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume10\\x", "L:\\x"},
        {"\\\\?\\Volume{c}\\x", "C:\\x"}, {"\\\\.\\S:\\x", "S:\\x"}, {"\\\\.\\Box\\x", "C:\\Box\\x"},
        // Shares.
        {"\\\\.\\UNC\\server\\share\\x", "\\\\server\\share\\x"}, {"\\\\?\\unc\\server\\share", "\\\\server\\share"},
        {"\\\\?\\GLOBALROOT\\Device\\Mup\\server\\share", "\\\\server\\share"},
        // Left as they are.
        {"C:\\x", "C:\\x"}, {"C:/x", "C:/x"}, {"\\\\server\\share", "\\\\server\\share"}, {"x\\y", "x\\y"},
        {"\\x", "\\x"}, {"", ""},
        // No drive path or share: disks, pipes, Wine's Unix paths, a device or volume of no drive,
        // a share without a server, a translation that leads back into the namespaces, a loop.
        {"\\\\.\\PhysicalDrive0", nullptr}, {"\\\\.\\pipe\\x", nullptr}, {"\\\\?\\unix\\home", nullptr},
        {"\\\\.\\1:\\x", nullptr}, {"\\\\.\\\\x", nullptr},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume3\\x", nullptr},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1x", nullptr},
        {"\\\\?\\GLOBALROOT\\Foo\\x", nullptr}, {"\\\\.\\UNC", nullptr}, {"\\\\.\\UNC\\", nullptr},
        {"\\\\?\\GLOBALROOT\\Device\\Mup\\", nullptr},
        {"\\\\.\\UNC\\?\\unix\\x", nullptr}, {"\\\\?\\GLOBALROOT\\Device\\Mup\\.\\pipe\\x", nullptr},
        {"\\\\.\\Loop\\x", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> plain = platform::PlainPath(c.path, deviceOf);
        EXPECT_EQ(plain.value_or("<refused>"), c.plain ? c.plain : "<refused>") << c.path;
    }
}

}  // namespace
