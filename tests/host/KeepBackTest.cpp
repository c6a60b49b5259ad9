// What a clean keeps back in a folder target: files newer than the target's age limit, and the
// kept paths by any spelling. The preview counts what the clean then removes and keeps, and what
// was kept back is no failure.
#include <gtest/gtest.h>

#include "app/CleanRunWindows.h"
#include "engine/CleanPreview.h"
#include "engine/KeptBack.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

using Paths = std::vector<std::string>;

struct KeepWorld : testing_support::HeadlessWorld {
    KeepWorld() {
        env.programFolder = "C:\\Apps";
        env.SetVariable("Temp", "C:\\Temp");
        folders.SetFolder(36, "C:\\Windows");
        files.AddFolder("C:\\Windows");
    }
    // The preview's Temp target, then the unattended clean (its code and record in env and the log).
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

// One file written at a time from the clean's start, beside an old one that always goes.
TEST(KeepBack, FilesNewerThanTheAgeLimitStayWithTheFoldersThatHoldThem) {
    const std::int64_t hour = engine::kFileTimeHour, second = 10'000'000, day = 24 * hour;
    const struct Case {
        const char* label;
        std::string limit;
        std::string file;
        std::int64_t written;  // from the start
        Paths left;            // besides what stays
        std::string record;
    } cases[] = {
        {"just inside", "24", "C:\\Temp\\f", -day + second, {"C:\\Temp\\f"}, "; kept back: 1 item newer than 24 hours\r\n"},
        {"outside by less than FAT's 2 seconds", "24", "C:\\Temp\\f", -day - second, {"C:\\Temp\\f"}, "; kept back: 1 item newer"},
        {"just outside", "24", "C:\\Temp\\f", -day - 3 * second, {}, ": 2 items removed, 2 bytes, 0 items left\r\n"},
        {"in the future", "24", "C:\\Temp\\f", 2 * day, {"C:\\Temp\\f"}, "; kept back: 1 item newer"},
        {"one new file deep inside", " 2 ", "C:\\Temp\\a\\b\\f", -hour, {"C:\\Temp\\a", "C:\\Temp\\a\\b", "C:\\Temp\\a\\b\\f"},
         ": 1 item removed, 1 byte, 0 items left; kept back: 1 item newer than 2 hours\r\n"},
        {"no limit", "0", "C:\\Temp\\f", -hour, {}, ": 2 items removed, 2 bytes, 0 items left\r\n"},
        {"a limit that is no number keeps everything", "24h", "C:\\Temp\\f", -hour, {"C:\\Temp\\f", "C:\\Temp\\old.txt"},
         "Temp Folder was not cleaned: its age limit ([Keep Newer]) is no whole number of hours"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        KeepWorld world;
        world.files.AddFile("C:\\Temp\\old.txt", "o");
        world.files.AddFile(c.file, "f");
        world.files.SetWriteTime(c.file, world.env.fileTime + c.written);
        const std::size_t before = world.files.Tree("C:\\Temp").size();
        const engine::DeleteTally preview = world.PreviewThenClean("[Keep Newer]\r\nTemp=" + c.limit + "\r\n");
        EXPECT_EQ(world.files.Tree("C:\\Temp"), c.left);
        const bool unreadable = c.limit == "24h";
        EXPECT_EQ(world.env.exitCode, unreadable ? engine::kExitSomethingStayed : engine::kExitAllRemoved);
        EXPECT_NE(world.Log().find(c.record), std::string::npos) << world.Log();
        EXPECT_EQ(preview.removedItems, before - c.left.size());
        EXPECT_EQ(preview.keptNewer, c.left.empty() || unreadable ? 0u : 1u);
    }
}

TEST(KeepBack, AKeptPathKeepsWhatItNamesByAnySpellingAndHarmsNothingElse) {
    const Paths folder = {"C:\\Temp\\Keep", "C:\\Temp\\Keep\\k.txt", "C:\\Temp\\Keep\\sub", "C:\\Temp\\Keep\\sub\\k.txt"};
    const std::string folderKept = "; kept back: 1 kept path, 4 items\r\n";
    const struct Case {
        const char* label;
        std::string kept;
        Paths left;
        std::string record;
    } cases[] = {
        {"another case", "c:\\temp\\KEEP\\", folder, folderKept},
        {"a subst drive", "K:\\Keep", folder, folderKept},
        {"a network path", "\\\\localhost\\c$\\Temp\\Keep", folder, folderKept},
        {"a link to it", "C:\\Links\\ToKeep", folder, folderKept},
        {"a kept file", "C:\\Temp\\file.txt", {"C:\\Temp\\file.txt"}, "; kept back: 1 kept path, 1 item\r\n"},
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
        // Numbered after a gap, which ends no list of what must stay.
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
