// The preview of a clean: the same table of targets, the same walk and decisions as the clean,
// nothing changed; what it counts is what the clean that follows removes.
#include <gtest/gtest.h>

#include <functional>

#include "engine/CleanPreview.h"
#include "engine/CleanTargets.h"
#include "screens/PreviewLine.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

struct PreviewWorld : testing_support::HeadlessWorld {
    PreviewWorld() {
        env.programFolder = "C:\\Apps";
        env.SetVariable("Temp", "C:\\Temp");
        folders.SetFolder(36, "C:\\Windows");
        files.AddFolder("C:\\Windows");
        files.AddFile("C:\\Temp\\t.tmp", "123");
        files.AddFile("C:\\Temp\\deep\\er\\u.tmp", "4567", platform::kAttrReadOnly);
        files.AddFile("C:\\Mine\\m.txt", "12");
        files.AddFile("C:\\Outside\\target.txt", "keep me");
        cache.Add("http://a/");
        cache.Add("http://kept/");
        cache.Add("Cookie:me@site/", platform::kCookieCacheEntry);
    }
    void Settings(const std::string& user, const std::string& options = "User=Yes\r\nTemp=Yes\r\n"
                                                                       "Temporary Internet Files=Yes\r\n") {
        files.AddFile("C:\\Apps\\Clean.ini", "[User]\r\nsFile0=" + user + "\r\n[Delete]\r\n" + options +
                                                 "[Internet]\r\nsFile0=http://kept/\r\n");
    }
    engine::CleanSettings Read() {
        return engine::CleanSettings::Read(settings::IniSnapshot(ports, "C:\\Apps\\Clean.ini"), env);
    }
    // Everything a clean could change: every path with its attributes and content, the cache.
    std::vector<std::string> State() {
        std::vector<std::string> state;
        for (const std::string& path : files.Tree("C:\\")) {
            state.push_back(path + " " + std::to_string(files.Attributes(path).value_or(0)) + " " +
                            files.Content(path).value_or("(folder)"));
        }
        for (const std::string& name : cache.Names()) state.push_back(name);
        return state;
    }
};

// For each case the preview leaves the world as it was, and per target it counts what the clean
// through the same table then removes and leaves.
TEST(CleanPreview, CountsWhatTheCleanThenRemovesAndChangesNothing) {
    struct Case {
        const char* label;
        std::string user;
        std::function<void(PreviewWorld&)> setUp;
    };
    const Case cases[] = {
        {"plain", "C:\\Mine", [](PreviewWorld&) {}},
        {"links left in place", "C:\\Mine",
         [](PreviewWorld& w) {
             w.files.AddFileLink("C:\\Mine\\link.txt", "C:\\Outside\\target.txt");
             w.files.AddLink("C:\\Mine\\folder-link", "C:\\Outside");
         }},
        {"the program's own files", "C:\\Apps", [](PreviewWorld& w) { w.files.AddFile("C:\\Apps\\junk.tmp", "junk"); }},
        {"a file in use", "C:\\Mine",
         [](PreviewWorld& w) { w.files.SetLock("C:\\Temp\\deep\\er\\u.tmp", fake::FakeFileSystem::Lock::kInUse); }},
        {"a user folder that cannot be opened", "C:\\Gone", [](PreviewWorld&) {}},
    };
    std::string everything;  // every target of the table chosen
    for (const engine::CleanTarget& target : engine::CleanTargets()) everything += std::string(target.key) + "=Yes\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PreviewWorld world;
        world.Settings(c.user, everything);
        c.setUp(world);
        const std::vector<std::string> before = world.State();
        const engine::CleanPreview preview = engine::PreviewClean(world.ports, world.Read());
        EXPECT_EQ(world.State(), before) << "the preview changed the world";
        ASSERT_FALSE(preview.refusal);
        const auto targets = engine::CleanTargets();
        for (std::size_t i = 0; i < targets.size(); ++i) {
            SCOPED_TRACE(targets[i].label);
            ASSERT_TRUE(preview.targets[i]);
            engine::DeleteTally cleaned;
            targets[i].clean(world.ports, world.Read(), cleaned, nullptr, engine::CleanMode::kClean);
            EXPECT_EQ(preview.targets[i]->removedItems, cleaned.removedItems);
            EXPECT_EQ(preview.targets[i]->removedBytes, cleaned.removedBytes);
            EXPECT_EQ(preview.targets[i]->keptItems, cleaned.keptItems);
            EXPECT_EQ(preview.targets[i]->foldersNotCleaned, cleaned.foldersNotCleaned);
            EXPECT_EQ(preview.targets[i]->spared, cleaned.spared);
        }
        EXPECT_EQ(world.files.Content("C:\\Outside\\target.txt"), "keep me");
    }
}

// What the screens' line and the unattended preview say, and the exit code the latter ends with.
TEST(CleanPreview, TellsWhatACleanNowWouldDo) {
    struct Case {
        const char* label;
        std::string user;
        std::string options;
        bool unreadable;
        std::string line;
        int exitCode;
        std::vector<std::string> record;
    };
    const std::string all = "User=Yes\r\nTemp=Yes\r\nTemporary Internet Files=Yes\r\n";
    const Case cases[] = {
        {"everything chosen", "C:\\Mine", all, false,
         "A clean now would remove 7 items, 9 bytes: Your Selected Folder 1 item, 2 bytes; "
         "Temp Folder 4 items, 7 bytes; cookies 2 of 3 entries",
         0,
         {"  preview  exit code 0  ended ", "Your Selected Folder = Yes, C:\\Mine: would remove 1 item, 2 bytes\r\n",
          "Clean Cookie Files = Yes: would remove 2 of 3 entries, 0 bytes\r\n",
          "In all: would remove 7 items, 9 bytes; 0 items would stay\r\n", "Outcome: preview; nothing changed\r\n",
          "Largest that would go (3 of 7):\r\n  4 bytes: C:\\Temp\\deep\\er\\u.tmp\r\n  3 bytes: C:\\Temp\\t.tmp\r\n"}},
        {"refused", "C:\\Windows", all, false,
         "A clean now would be refused: Your Selected Folder C:\\Windows is a protected folder", 2,
         {"  preview  exit code 2  ended ", "Outcome: a clean would be refused; nothing changed\r\n"}},
        {"nothing chosen", "C:\\Mine", "User=No\r\n", false, "A clean now would remove nothing: nothing is chosen", 0,
         {"Outcome: nothing chosen; nothing changed\r\n"}},
        {"settings unreadable", "C:\\Mine", all, true, "", 3, {"  preview  exit code 3  ended "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PreviewWorld world;
        world.Settings(c.user, c.options);
        if (c.unreadable) {
            world.files.SetLock("C:\\Apps\\Clean.ini", fake::FakeFileSystem::Lock::kExclusive);
        } else {
            EXPECT_EQ(screens::PreviewText(engine::PreviewClean(world.ports, world.Read())), c.line);
        }
        const std::vector<std::string> before = world.State();
        EXPECT_EQ(engine::RunUnattendedPreview(world.ports), c.exitCode);
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        for (const std::string& line : c.record) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
        world.files.Erase("C:\\Apps\\Morvane.log");
        EXPECT_EQ(world.State(), before);
    }
}

}  // namespace
