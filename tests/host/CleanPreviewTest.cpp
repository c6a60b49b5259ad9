// The preview of a clean: the same table of targets, the same walk and decisions as the clean,
// nothing changed; what it counts is what the clean that follows removes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/MainWindow.h"
#include "engine/CleanPreview.h"
#include "engine/CleanTargets.h"
#include "screens/Backdrop.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/PreviewLine.h"
#include "screens/TargetsScreen.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

struct PreviewWorld : testing_support::HeadlessWorld {
    PreviewWorld() {
        UsualFolders();
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
        {"a user folder that cannot be opened", "C:\\Gone", all, false, "A clean now would remove 6 items, 7 bytes: Your "
         "Selected Folder cannot be cleaned; Temp Folder 4 items, 7 bytes; cookies 2 of 3 entries", 1, {"exit code 1  "}},
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

// Each list of a record names kItemsNamed items, the largest of what would go, and counts the rest.
TEST(CleanPreview, EachListOfTheRecordNamesUpToItsLimitAndCountsTheRest) {
    PreviewWorld world;
    world.Settings("C:\\Mine", "User=Yes\r\nTemp=Yes\r\n");
    std::string largest = "Largest that would go (" + std::to_string(engine::kItemsNamed) + " of 106):\r\n";
    for (std::size_t i = engine::kItemsNamed + 1; i >= 1; --i) {  // 111 bytes down to 11, then m.txt, t.tmp, u.tmp
        const std::string name = std::to_string(i);
        world.files.AddFile("C:\\Mine\\" + name, std::string(i + 10, 'x'));
        if (i > 1) largest += "  " + std::to_string(i + 10) + " bytes: C:\\Mine\\" + name + "\r\n";
        world.files.AddFile("C:\\Temp\\held" + name);
        world.files.SetLock("C:\\Temp\\held" + name, fake::FakeFileSystem::Lock::kInUse);
    }
    engine::RunUnattendedPreview(world.ports);
    const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
    EXPECT_TRUE(log.ends_with(largest)) << log;
    EXPECT_NE(log.find("Would stay (100 of 101):\r\n"), std::string::npos);
    // The header, a line per target, the totals, the outcome, and each list with its heading.
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3 + engine::CleanTargets().size() + 2 * (1 + 100));
}

// The line counts as it goes and keeps what each target was found to hold: a box clicked is
// answered at once from that, and only a target not worked out yet is walked. Before, every
// click worked everything out anew.
TEST(PreviewLine, ABoxClickedIsAnsweredFromWhatEachTargetWasFoundToHold) {
    PreviewWorld world;
    world.Settings("C:\\Mine", "User=Yes\r\nTemp=Yes\r\n");
    world.desktop.besideDeferred = true;
    const forms::Label& line = world.app.Get<screens::Backdrop>().progressLine;
    const auto options = [&]() -> screens::CleanOptionsScreen& { return world.app.Get<screens::CleanOptionsScreen>(); };
    const std::string counting = "Working out what a clean now would remove, counting: ";
    const std::string both = "A clean now would remove 5 items, 9 bytes: Your Selected Folder 1 item, 2 bytes; "
                             "Temp Folder 4 items, 7 bytes";
    const struct Step {
        const char* label;
        std::function<void()> act;
        std::string line;
        int walks;  // started beside so far
    } steps[] = {
        {"shown", [&] { world.app.Show(options()); }, counting + "0 items, 0 bytes so far", 1},
        {"the user folder worked out", [&] { world.desktop.Advance(0); }, counting + "1 item, 2 bytes so far", 2},
        {"Temp too", [&] { world.desktop.FinishBeside(); }, both, 2},
        {"Temp's box cleared", [&] { options().tempFolderBox.OnCheckedByUser(false); },
         "A clean now would remove 1 item, 2 bytes: Your Selected Folder 1 item, 2 bytes", 2},
        {"and ticked again", [&] { options().tempFolderBox.OnCheckedByUser(true); }, both, 2},
        {"the cache's box ticked", [&] { options().cacheBox.OnCheckedByUser(true); }, counting + "5 items, 9 bytes so far", 3},
        {"the cache worked out", [&] { world.desktop.FinishBeside(); },
         "A clean now would remove 7 items, 9 bytes: Your Selected Folder 1 item, 2 bytes; Temp Folder 4 items, "
         "7 bytes; cookies 2 of 3 entries", 3},
        {"the screen back, the files changed meanwhile", [&] {
             world.app.Hide(options());
             world.files.AddFile("C:\\Mine\\new.txt", "1");
             world.app.Show(options());
             world.desktop.FinishBeside();
         }, "A clean now would remove 8 items, 10 bytes: Your Selected Folder 2 items, 3 bytes; Temp Folder 4 items, "
            "7 bytes; cookies 2 of 3 entries", 6},
    };
    const int before = world.desktop.besideRuns;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        step.act();
        EXPECT_EQ(line.Caption(), step.line);
        EXPECT_EQ(world.desktop.besideRuns - before, step.walks);
    }
}

// A clean from the options says how far it is against what the line worked out, and the
// backdrop's Cancel, or Esc, stops it as Stop Clean does.
TEST(PreviewLine, ACleanFromTheOptionsGoesAgainstThePreviewAndTheBackdropCanStopIt) {
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "Cancel");
        PreviewWorld world;
        world.Settings("C:\\Mine", "User=Yes\r\nTemp=Yes\r\n");
        world.app.Get<app::MainWindow>();  // resident: the screens outlive the clean's end
        screens::Backdrop& backdrop = world.app.Get<screens::Backdrop>();
        world.app.Show<screens::CleanOptionsScreen>();  // worked out at once on this desktop
        world.desktop.besideOnThread = true;
        testing_support::Gate gate;  // at the first file
        world.files.beforeOpen = [&](const std::string&) { gate.Pass(); };
        world.app.Find<screens::CleanOptionsScreen>()->Run("sClean");
        ASSERT_TRUE(gate.Reached());
        world.desktop.Advance(100);
        EXPECT_EQ(backdrop.progressLine.Caption(), "0 of 5 items, 0 bytes of 9 bytes (0%) removed - C:\\Mine");
        EXPECT_TRUE(backdrop.cancelButton.Visible());
        if (escape) {
            EXPECT_TRUE(backdrop.OnEscape());
        } else {
            backdrop.cancelButton.OnClicked();
        }
        gate.Go();
        world.desktop.FinishBeside();
        world.files.beforeOpen = nullptr;
        EXPECT_FALSE(backdrop.cancelButton.Visible());
        ASSERT_EQ(world.desktop.messages.size(), 1u);
        EXPECT_EQ(world.desktop.messages[0].text, "Cleaning Stopped !\r\r1 item, 2 bytes removed; the rest was not reached.");
        EXPECT_EQ(world.files.Tree("C:\\Temp").size(), 4u) << "not reached";
        const std::string log = world.files.Content("C:\\Apps\\Morvane.log").value_or("");
        EXPECT_NE(log.find("Outcome: stopped by Stop Clean\r\n"), std::string::npos) << log;
    }
}

}  // namespace

// The screen of every target works each out as the line does, chosen or not, the one in hand
// counting; a box clicked sums again what is known; for a refused folder nothing is walked.
TEST(TargetsScreen, WorksOutEveryTargetAsTheLineDoes) {
    PreviewWorld world;
    world.Settings("C:\\Mine", "User=Yes\r\nTemp=Yes\r\n");
    world.bin.Add("gone.txt", 5);
    world.desktop.besideDeferred = true;
    screens::TargetsScreen& screen = world.app.Get<screens::TargetsScreen>();
    const auto lines = [&] {
        std::string all;
        for (const auto& amount : screen.amounts) all += amount->Caption() + "|";
        return all + screen.total.Caption();
    };
    const auto each = [](const std::string& line) { return line + "|" + line + "|" + line + "|" + line + "|"; };
    world.app.Show(screen);
    EXPECT_EQ(lines(), "working it out ... 0 items, 0 bytes so far|working it out ...|working it out ...|" +
                           each("working it out ...") + "working it out ...|So far the chosen ones would free 0 items, 0 bytes.");
    world.desktop.FinishBeside();
    EXPECT_EQ(lines(), "1 item, 2 bytes|4 items, 7 bytes|2 of 3 entries|" + each("not there") +
                           "1 item, 5 bytes|The chosen ones would free 5 items, 9 bytes.");
    screen.boxes.back()->OnCheckedByUser(true);
    EXPECT_TRUE(lines().ends_with("|The chosen ones would free 6 items, 14 bytes.") && world.desktop.besideRuns == 8);
    world.app.Hide(screen);
    settings::WriteINI(world.ports, "C:\\Apps\\Clean.ini", "User", "sFile0", "C:\\Windows");
    world.app.Show(screen);
    world.desktop.FinishBeside();
    const std::string refused = "not looked at: a clean would be refused";
    EXPECT_EQ(lines(), "would be refused|" + refused + "|" + refused + "|" + each(refused) + refused +
                           "|A clean now would be refused: Your Selected Folder C:\\Windows is a protected folder");
    EXPECT_EQ(world.desktop.besideRuns, 9);
}
