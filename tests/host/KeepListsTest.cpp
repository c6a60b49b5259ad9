// The keep-list writer: what it carries over, what it drops, and that it never loses the file.
#include <gtest/gtest.h>

#include "engine/KeepLists.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessWorld.h"

namespace {

using testing_support::HeadlessWorld;

class KeepLists : public testing::Test {
protected:
    KeepLists() {
        world.env.programFolder = "C:\\Apps";
        world.files.AddFolder("C:\\Apps");
    }
    void Settings(const std::string& text) { world.files.AddFile(kIni, text); }
    std::string Read(const char* section, const char* key) { return settings::ReadINI(world.ports, kIni, section, key); }
    std::string File() { return world.files.Content(kIni).value_or("<missing>"); }

    static constexpr const char* kIni = "C:\\Apps\\Clean.ini";
    HeadlessWorld world;
};

// An option of [Delete] the writer does not know of (a cleaning target added later) is carried
// over too, and so is what a clean keeps back (the kept paths numbered anew).
TEST_F(KeepLists, RewritesTheFileWithTheMainSettingsTheNewListAndTheCarriedCookies) {
    Settings("; mine\r\n[User]\r\nsFile0=D:\\Work\r\n[System]\r\nUsed=Yes\r\n[sAppPath]\r\nShortCut=C:\\Apps\\\r\n"
             "[Delete]\r\nUser=Yes\r\nTemp=No\r\nDownloads=Yes\r\ntemp=Yes\r\nTemporary Internet Files=Yes\r\n"
             "[Internet]\r\nsFile0=a\r\nsFile1=b\r\nsFile2=c\r\nsFile3=d\r\nsFile4=e\r\n"
             "[Cookies]\r\nsFile0=x.txt\r\nsFile1=y.txt\r\nsFile2=z.txt\r\n"
             "[Keep Newer]\r\nTemp=24\r\n[Keep]\r\nsFile0=D:\\Work\\Mine\r\nsFile2=D:\\Work\\Gap\r\n");
    engine::SaveInternetKeepList(world.ports, {"http://one/", "http://two/"});
    EXPECT_EQ(File(),
              "[User]\r\nsFile0=D:\\Work\r\n"
              "[Delete]\r\nTemp=No\r\nTemporary Internet Files=Yes\r\nUser=Yes\r\nDownloads=Yes\r\n"
              "[Internet]\r\nsFile0=http://one/\r\nsFile1=http://two/\r\n"
              "[Cookies]\r\nsFile0=x.txt\r\nsFile1=y.txt\r\nsFile2=z.txt\r\n"
              "[Keep Newer]\r\nTemp=24\r\n[Keep]\r\nsFile0=D:\\Work\\Mine\r\nsFile1=D:\\Work\\Gap\r\n");
    EXPECT_EQ(Read("System", "Used"), "0") << "only the folder picker writes it again";
    EXPECT_EQ(settings::ReadKeepList(world.ports, "Internet"), (std::vector<std::string>{"http://one/", "http://two/"}));
}

TEST_F(KeepLists, MissingSettingsAreWrittenAsZeroAndAnEmptyListLeavesNoSection) {
    engine::SaveInternetKeepList(world.ports, {});
    EXPECT_EQ(File(), "[User]\r\nsFile0=0\r\n[Delete]\r\nTemp=0\r\nTemporary Internet Files=0\r\nUser=0\r\n");
    EXPECT_EQ(Read("Internet", "sFile0"), "0");
}

TEST_F(KeepLists, EveryEntryIsStoredAndReadBackButReadersStopAtZero) {
    std::vector<std::string> many;
    for (int i = 0; i < 1500; ++i) many.push_back("http://site/" + std::to_string(i));
    engine::SaveInternetKeepList(world.ports, many);
    EXPECT_EQ(Read("Internet", "sFile1499"), "http://site/1499");
    EXPECT_EQ(settings::ReadKeepList(world.ports, "Internet"), many);

    engine::SaveInternetKeepList(world.ports, {std::string(300, 'x'), "0", "after"});
    EXPECT_EQ(settings::ReadKeepList(world.ports, "Internet"), std::vector<std::string>{std::string(300, 'x')});
}

// Under the design's 254-character reader one save rewrote a long folder as its cut form.
TEST_F(KeepLists, ALongUserFolderSurvivesASave) {
    const std::string folder = "C:\\Data\\" + std::string(300, 'f');
    Settings("[User]\r\nsFile0=" + folder + "\r\n");
    engine::SaveInternetKeepList(world.ports, {"http://one/"});
    EXPECT_EQ(Read("User", "sFile0"), folder);
}

TEST_F(KeepLists, LineBreaksInAnEntryBecomeBlanks) {
    engine::SaveInternetKeepList(world.ports, {"a\r\nb"});
    EXPECT_EQ(settings::ReadKeepList(world.ports, "Internet"), std::vector<std::string>{"a  b"});
}

TEST_F(KeepLists, TextBeyondAsciiIsStoredInTheCodePageWithItsLineBreaksAsBlanks) {
    Settings("[Cookies]\r\nsFile0=K\xF6rbchen.txt\r\n");  // ANSI, as the platform writes it
    engine::SaveInternetKeepList(world.ports, {"http://caf\xC3\xA9/\r\nx", "plain"});
    EXPECT_EQ(File(),
              "[User]\r\nsFile0=0\r\n[Delete]\r\nTemp=0\r\nTemporary Internet Files=0\r\nUser=0\r\n"
              "[Internet]\r\nsFile0=http://caf\xE9/  x\r\nsFile1=plain\r\n[Cookies]\r\nsFile0=K\xF6rbchen.txt\r\n");
}

TEST_F(KeepLists, AFileThatCannotBeReadOrWrittenIsLeftWhole) {
    const std::string original = "[Delete]\r\nTemp=Yes\r\n[Internet]\r\nsFile0=old\r\n";
    Settings(original);
    world.files.SetLock(kIni, fake::FakeFileSystem::Lock::kExclusive);
    engine::SaveInternetKeepList(world.ports, {"new"});
    world.files.SetLock(kIni, fake::FakeFileSystem::Lock::kNone);
    EXPECT_EQ(File(), original);

    world.files.SetWritesFail(true);
    engine::SaveInternetKeepList(world.ports, {"new"});
    world.files.SetWritesFail(false);
    EXPECT_EQ(File(), original);
}

}  // namespace
