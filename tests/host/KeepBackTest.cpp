// What a clean keeps back in a folder target: files newer than the target's age limit, and the
// kept paths by any spelling. The preview counts what the clean then removes and keeps, and what
// was kept back is no failure.
#include <gtest/gtest.h>

#include <functional>

#include "app/CleanRunWindows.h"
#include "engine/CleanPreview.h"
#include "engine/CleanRun.h"
#include "engine/KeptBack.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

using Paths = std::vector<std::string>;
constexpr std::uint64_t kSecond = 10'000'000, kHour = engine::kFileTimeHour;

struct KeepWorld : testing_support::HeadlessWorld {
    KeepWorld() {
        env.programFolder = "C:\\Apps";
        env.SetVariable("Temp", "C:\\Temp");
        folders.SetFolder(36, "C:\\Windows");
        files.AddFolder("C:\\Windows");
        files.AddFolder("C:\\Temp");
    }
    std::uint64_t Now() const { return env.fileTime; }
    // The preview's Temp target, then the unattended clean: what it left in Temp, its code, its record.
    engine::DeleteTally PreviewThenClean(const std::string& sections) {
        files.AddFile("C:\\Apps\\Clean.ini", "[Delete]\r\nTemp=Yes\r\n" + sections);
        const engine::CleanPreview preview = engine::PreviewClean(
            ports, engine::CleanSettings::Read(settings::IniSnapshot(ports, "C:\\Apps\\Clean.ini"), env));
        app::CleanRunWindows host(app, ports, cleaner);
        cleaner.RunAutoClean(host);
        return preview.targets[1].value_or(engine::DeleteTally{});
    }
    std::string Log() { return files.Content("C:\\Apps\\Morvane.log").value_or(""); }
};

TEST(KeepBack, FilesNewerThanTheAgeLimitStayWithTheFoldersThatHoldThem) {
    struct Case {
        const char* label;
        std::string limit;
        std::function<void(KeepWorld&)> setUp;  // writes C:\Temp\f, at 0 (1601) unless told
        Paths left;
        std::string record;  // what the clean's record says of Temp
        int exitCode = engine::kExitAllRemoved;
    };
    const auto writtenAt = [](std::int64_t since) {
        return [since](KeepWorld& w) { w.files.SetWriteTime("C:\\Temp\\f", w.Now() + since); };
    };
    const std::int64_t limit = 24 * static_cast<std::int64_t>(kHour), second = kSecond;
    const Case cases[] = {
        {"just inside", "24", writtenAt(-limit + second), {"C:\\Temp\\f"}, "kept back: 1 item newer than 24 hours"},
        {"outside by less than FAT's 2 seconds", "24", writtenAt(-limit - second), {"C:\\Temp\\f"},
         "kept back: 1 item newer than 24 hours"},
        {"just outside", "24", writtenAt(-limit - 3 * second), {}, "1 item removed, 1 byte, 0 items left\r\n"},
        {"in the future", "24", writtenAt(5 * limit), {"C:\\Temp\\f"}, "kept back: 1 item newer than 24 hours"},
        {"no limit", "0", writtenAt(0), {}, "1 item removed, 1 byte, 0 items left\r\n"},
        {"one new file deep inside", " 2 ",
         [](KeepWorld& w) {
             w.files.AddFile("C:\\Temp\\a\\b\\c\\new.txt", "n");
             w.files.AddFile("C:\\Temp\\a\\old.txt", "o");
             w.files.SetWriteTime("C:\\Temp\\a\\b\\c\\new.txt", w.Now() - kHour);
         },
         {"C:\\Temp\\a", "C:\\Temp\\a\\b", "C:\\Temp\\a\\b\\c", "C:\\Temp\\a\\b\\c\\new.txt"},
         "2 items removed, 2 bytes, 0 items left; kept back: 1 item newer than 2 hours"},
        {"a limit that is no number keeps everything", "24h", writtenAt(0), {"C:\\Temp\\f"},
         "Temp Folder was not cleaned: its age limit ([Keep Newer]) is no whole number of hours",
         engine::kExitSomethingStayed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        KeepWorld world;
        world.files.AddFile("C:\\Temp\\f", "f");
        c.setUp(world);
        const std::size_t before = world.files.Tree("C:\\Temp").size();
        const engine::DeleteTally preview = world.PreviewThenClean("[Keep Newer]\r\nTemp=" + c.limit + "\r\n");
        EXPECT_EQ(world.files.Tree("C:\\Temp"), c.left);
        EXPECT_EQ(world.env.exitCode, c.exitCode);
        EXPECT_NE(world.Log().find(c.record), std::string::npos) << world.Log();
        EXPECT_EQ(preview.removedItems, before - world.files.Tree("C:\\Temp").size());
        EXPECT_EQ(preview.keptNewer, c.exitCode == 0 && !c.left.empty() ? 1u : 0u);
    }
}

TEST(KeepBack, AKeptPathKeepsWhatItNamesByAnySpellingAndHarmsNothingElse) {
    struct Case {
        const char* label;
        std::string kept;
        Paths left;
        std::string record;
    };
    const Paths folder = {"C:\\Temp\\Keep", "C:\\Temp\\Keep\\k.txt", "C:\\Temp\\Keep\\sub", "C:\\Temp\\Keep\\sub\\k.txt"};
    const std::string folderKept = "kept back: 1 kept path, 4 items";
    const Case cases[] = {
        {"another case", "c:\\temp\\KEEP\\", folder, folderKept},
        {"a subst drive", "K:\\Keep", folder, folderKept},
        {"a network path", "\\\\localhost\\c$\\Temp\\Keep", folder, folderKept},
        {"a link to it", "C:\\Links\\ToKeep", folder, folderKept},
        {"a kept file", "C:\\Temp\\file.txt", {"C:\\Temp\\file.txt"}, "kept back: 1 kept path, 1 item"},
        {"outside every target", "C:\\Elsewhere", {}, "Kept path outside the folders cleaned: C:\\Elsewhere\r\n"},
        {"a path that names nothing", "C:\\Temp\\Gone", {}, "Kept path not found: C:\\Temp\\Gone\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        KeepWorld world;
        for (const char* path : {"C:\\Temp\\Keep\\k.txt", "C:\\Temp\\Keep\\sub\\k.txt", "C:\\Temp\\file.txt",
                                        "C:\\Temp\\other\\o.txt", "C:\\Elsewhere\\e.txt"}) {
            world.files.AddFile(path, "x");
        }
        world.files.MapDrive('K', "C:\\Temp");
        world.files.AddLink("C:\\Links\\ToKeep", "C:\\Temp\\Keep");
        const engine::DeleteTally preview = world.PreviewThenClean("[Keep]\r\nsFile1=" + c.kept + "\r\n");
        EXPECT_EQ(world.files.Tree("C:\\Temp"), c.left);
        EXPECT_TRUE(world.files.Exists("C:\\Elsewhere\\e.txt"));
        EXPECT_EQ(world.env.exitCode, engine::kExitAllRemoved);
        EXPECT_NE(world.Log().find(c.record), std::string::npos) << world.Log();
        EXPECT_EQ(preview.removedItems, 7 - c.left.size());
        EXPECT_EQ(preview.keptPathItems, c.left.size());
    }
}

}  // namespace
