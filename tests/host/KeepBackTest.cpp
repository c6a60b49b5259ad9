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
        UsualFolders();
    }
    // The preview of the Temp target, then the unattended clean: what it left, its code, its record,
    // and the preview's counts against it.
    void Expect(const std::string& sections, const Paths& left, const std::string& record, int exitCode,
                std::uint64_t keptBack) {
        files.AddFile("C:\\Apps\\Clean.ini", "[Delete]\r\nTemp=Yes\r\n" + sections);
        const std::size_t before = files.Tree("C:\\Temp").size();
        const engine::CleanPreview preview = engine::PreviewClean(
            ports, engine::CleanSettings::Read(settings::IniSnapshot(ports, "C:\\Apps\\Clean.ini"), env));
        app::CleanRunWindows host(app, ports, cleaner);
        cleaner.RunAutoClean(host);
        EXPECT_EQ(files.Tree("C:\\Temp"), left);
        EXPECT_EQ(env.exitCode, exitCode);
        const std::string log = files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_NE(log.find(record), std::string::npos) << log;
        ASSERT_TRUE(preview.targets[1]);
        EXPECT_EQ(preview.targets[1]->removedItems, before - left.size());
        EXPECT_EQ(preview.targets[1]->KeptBack(), keptBack);
    }
};

// One file written at a time from the clean's start, beside an old one that always goes.
TEST(KeepBack, FilesNewerThanTheAgeLimitStayWithTheFoldersThatHoldThem) {
    const std::int64_t hour = engine::kFileTimeHour, second = 10'000'000, day = 24 * hour;
    const std::string file = "C:\\Temp\\f", newer = "; kept back: 1 item newer than 24 hours\r\n";
    const struct Case {
        const char* label;
        std::string limit, file;
        std::int64_t written;  // from the start
        Paths left;
        std::string record;
    } cases[] = {
        {"just inside", "24", file, -day + second, {file}, newer},
        {"outside by less than FAT's 2 seconds", "24", file, -day - second, {file}, newer},
        {"just outside", "24", file, -day - 3 * second, {}, ": 2 items removed, 2 bytes, 0 items left\r\n"},
        {"in the future", "24", file, 2 * day, {file}, newer},
        {"one new file deep inside", " 2 ", "C:\\Temp\\a\\b\\f", -hour, {"C:\\Temp\\a", "C:\\Temp\\a\\b", "C:\\Temp\\a\\b\\f"},
         ": 1 item removed, 1 byte, 0 items left; kept back: 1 item newer than 2 hours\r\n"},
        {"no limit", "0", file, -hour, {}, ": 2 items removed, 2 bytes, 0 items left\r\n"},
        {"a limit that is no number keeps everything", "24h", file, -hour, {file, "C:\\Temp\\old.txt"},
         "Temp Folder was not cleaned: its age limit ([Keep Newer]) is no whole number of hours"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        KeepWorld world;
        world.files.AddFile("C:\\Temp\\old.txt", "o");
        world.files.AddFile(c.file, "f");
        world.files.SetWriteTime(c.file, world.env.fileTime + c.written);
        const bool unreadable = c.limit == "24h";
        world.Expect("[Keep Newer]\r\nTemp=" + c.limit + "\r\n", c.left, c.record,
                     unreadable ? engine::kExitSomethingStayed : engine::kExitAllRemoved,
                     c.left.empty() || unreadable ? 0 : 1);
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
        world.Expect("[Keep]\r\nsFile1=" + c.kept + "\r\n", c.left, c.record, engine::kExitAllRemoved, c.left.size());
        EXPECT_TRUE(world.files.Exists("C:\\Elsewhere\\e.txt"));
    }
}

}  // namespace
