#include <gtest/gtest.h>

#include <source_location>
#include <string>
#include <vector>

#include "platform/Ports.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolders.h"
#include "settings/SettingsFile.h"

namespace {

using namespace std::string_literals;
using settings::ReadINI;
using settings::WriteINI;
using Strings = std::vector<std::string>;

class IniTest : public testing::Test {
protected:
    fake::FakeEnvironment env;
    fake::FakeFileSystem files;
    fake::FakeFolders folders{files};
    platform::Ports ports{&env, &folders, &files};
    const std::string ini = "C:\\Apps\\Tool\\Clean.ini";

    IniTest() {
        env.programFolder = "C:\\Apps\\Tool";
        files.AddFolder(env.programFolder);
    }

    // Stores content, writes one key and checks what the file holds afterwards.
    void ExpectWrite(const std::optional<std::string>& content, const std::string& value,
                     const std::optional<std::string>& expected,
                     std::source_location where = std::source_location::current()) {
        testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "");
        if (content) files.AddFile(ini, *content);
        WriteINI(ports, ini, "Delete", "User", value);
        EXPECT_EQ(files.Content(ini), expected);
    }
};

TEST_F(IniTest, IniFilePathHasOneBackslashBeforeTheName) {
    const std::pair<const char*, const char*> cases[] = {
        {"E:\\", "E:\\Clean.ini"}, {"E:\\Apps\\Tool", "E:\\Apps\\Tool\\Clean.ini"}, {"E:\\Apps\\", "E:\\Apps\\Clean.ini"}};
    for (const auto& [folder, path] : cases) {
        env.programFolder = folder;
        EXPECT_EQ(settings::IniFilePath(env), path);
    }
}

TEST_F(IniTest, MissingFileSectionOrKeyReadsTheDefault) {
    EXPECT_EQ(ReadINI(ports, ini, "Delete", "User"), "0");
    EXPECT_EQ(settings::ReadKeepList(ports, "Internet"), Strings{});
    files.AddFile(ini, "[Delete]\r\nUser=Yes\r\n");
    EXPECT_EQ(ReadINI(ports, ini, "Delete", "Temp"), "0");
    EXPECT_EQ(ReadINI(ports, ini, "User", "User"), "0");
    EXPECT_EQ(ReadINI(ports, ini, "User", "sFile0", "none  "), "none");
}

TEST_F(IniTest, NamesIgnoreCaseAndValuesKeepIt) {
    files.AddFile(ini, "[Delete]\r\nUser=yes\r\nTemp=Yes\r\n");
    EXPECT_EQ(ReadINI(ports, ini, "delete", "user"), "yes");
    EXPECT_EQ(ReadINI(ports, ini, "DELETE", "temp"), "Yes");
}

// The design's reader cut values at 254 characters; a long folder then named its parent.
TEST_F(IniTest, ValuesAreReadWholeHoweverLong) {
    for (const std::size_t length : {254u, 255u, 300u, 5000u}) {
        std::string value = "C:\\" + std::string(length - 3, 'x');
        for (const std::string& stored : {value, "\"" + value + "\""}) {
            files.AddFile(ini, "[User]\r\nsFile0=" + stored + "\r\n[Internet]\r\nsFile0=" + stored + "\r\n");
            EXPECT_EQ(ReadINI(ports, ini, "User", "sFile0"), value) << length;
            EXPECT_EQ(settings::ReadKeepList(ports, "Internet"), Strings{value}) << length;
        }
    }
}

TEST_F(IniTest, OnlyTextTheCodePageHoldsFitsTheFile) {
    for (const char* fits : {"C:\\Data", "C:\\Caf\xC3\xA9 \xE2\x82\xAC", ""}) {
        EXPECT_TRUE(settings::FitsSettingsFile(env, fits)) << fits;
    }
    for (const char* lost : {"C:\\Data\\\xCE\xA9mega", "C:\\\xE6\x97\xA5\xE6\x9C\xAC"}) {
        EXPECT_FALSE(settings::FitsSettingsFile(env, lost)) << lost;
    }
}

TEST_F(IniTest, TheFileStaysInTheAnsiCodePage) {
    files.AddFile(ini, "[User]\r\nsFile0=C:\\Caf\xE9 \x80\r\n");
    EXPECT_EQ(ReadINI(ports, ini, "User", "sFile0"), "C:\\Caf\xC3\xA9 \xE2\x82\xAC");
    WriteINI(ports, ini, "User", "sFile0", "C:\\T\xC3\xBCr");
    EXPECT_EQ(files.Content(ini), "[User]\r\nsFile0=C:\\T\xFCr\r\n");
}

TEST_F(IniTest, UnicodeFilesAreReadAndWrittenInTheirOwnForm) {
    files.AddFile(ini, "\xEF\xBB\xBF[User]\r\nsFile0=C:\\Caf\xC3\xA9\r\n");
    EXPECT_EQ(ReadINI(ports, ini, "User", "sFile0"), "C:\\Caf\xC3\xA9");
    WriteINI(ports, ini, "Delete", "User", "Yes");
    EXPECT_EQ(files.Content(ini), "\xEF\xBB\xBF[User]\r\nsFile0=C:\\Caf\xC3\xA9\r\n[Delete]\r\nUser=Yes\r\n");
}

TEST_F(IniTest, KeepListEndsAtTheFirstMissingEmptyOrZeroEntry) {
    struct Case {
        const char* label;
        std::string keys;
        Strings expected;
    };
    const Case cases[] = {
        {"gap at 3", "sFile0=a\nsFile1=b\nsFile2=c\nsFile4=e\nsFile5=f\n", {"a", "b", "c"}},
        {"zero entry", "sFile0=a\nsFile1=b\nsFile2=0\nsFile3=d\n", {"a", "b"}},
        {"quoted zero", "sFile0=a\nsFile1=\"0\"\n", {"a"}},
        {"empty entry", "sFile0=a\nsFile1=\nsFile2=c\n", {"a"}},
        {"line without =", "sFile0=a\nsFile1\nsFile1=b\n", {"a"}},
        {"first duplicate wins, any order and case", "SFILE1=b\nsFile0=a\nsfile1=x\n", {"a", "b"}},
        {"leading zero is another key", "sFile0=a\nsFile01=b\n", {"a"}},
        {"zero first", "sFile0=0\nsFile1=b\n", {}},
    };
    for (const Case& c : cases) {
        files.AddFile(ini, "[Cookies]\nsFile1=other\n[Internet]\n" + c.keys + "[Next]\nsFile1=other\n");
        EXPECT_EQ(settings::ReadKeepList(ports, "internet"), c.expected) << c.label;
    }
}

// The design's reader stopped at 1,001 entries, and a clean deleted the rest.
TEST_F(IniTest, KeepListReadsEveryEntry) {
    std::string content = "[Internet]\r\nsFile999999999=far\r\nsFile1234567890=x\r\n";
    for (int i = 1499; i >= 0; --i) content += "sFile" + std::to_string(i) + "=e" + std::to_string(i) + "\r\n";
    files.AddFile(ini, content);
    const Strings entries = settings::ReadKeepList(ports, "Internet");
    ASSERT_EQ(entries.size(), 1500u);
    EXPECT_EQ(entries.back(), "e1499");
}

TEST_F(IniTest, LineBreaksInAValueBecomeBlanks) {
    WriteINI(ports, ini, "User", "sFile0", "a\r\nb\rc\n");
    EXPECT_EQ(files.Content(ini), "[User]\r\nsFile0=a  b c \r\n");
    EXPECT_EQ(ReadINI(ports, ini, "User", "sFile0"), "a  b c");
}

TEST_F(IniTest, WriteKeepsEveryOtherLine) {
    const std::string before = "; Clean.ini\n[Internet]\nsFile0=x.com\n\n[delete]\nTemp = No\n[Skin]\nName=Blue\n";
    ExpectWrite(before, "Yes", "; Clean.ini\n[Internet]\nsFile0=x.com\n\n[delete]\nTemp = No\nUser=Yes\r\n[Skin]\nName=Blue\n");
    ExpectWrite(std::nullopt, "No", "; Clean.ini\n[Internet]\nsFile0=x.com\n\n[delete]\nTemp = No\nUser=No\r\n[Skin]\nName=Blue\n");
}

TEST_F(IniTest, AFileThatCannotBeReadOrReplacedStaysAsItWas) {
    const std::string old = "[Delete]\r\nUser=No\r\n[Internet]\r\nsFile0=a\r\n";
    files.AddFile(ini, old);
    files.SetLock(ini, fake::FakeFileSystem::Lock::kExclusive);
    EXPECT_EQ(ReadINI(ports, ini, "Delete", "User"), "0");
    ExpectWrite(std::nullopt, "Yes", old);

    files.SetLock(ini, fake::FakeFileSystem::Lock::kInUse);
    EXPECT_EQ(ReadINI(ports, ini, "Delete", "User"), "No");
    ExpectWrite(std::nullopt, "Yes", old);

    files.SetLock(ini, fake::FakeFileSystem::Lock::kNone);
    files.SetWritesFail(true);
    ExpectWrite(std::nullopt, "Yes", old);
}

TEST_F(IniTest, AHugeFileReadsAsEmptyAndIsNotReplaced) {
    const std::string huge = "[Delete]\r\nUser=Yes\r\n" + std::string(100u << 20, 'x');
    files.AddFile(ini, huge);
    EXPECT_EQ(ReadINI(ports, ini, "Delete", "User"), "0");
    WriteINI(ports, ini, "Delete", "User", "No");
    EXPECT_TRUE(files.Content(ini) == huge);
}

TEST_F(IniTest, AGarbageFileReadsAsEmptyAndKeepsItsBytes) {
    std::string garbage;
    for (int i = 0; i < 65536; ++i) garbage += static_cast<char>((i * 7919) % 251);
    files.AddFile(ini, garbage);
    EXPECT_EQ(ReadINI(ports, ini, "Delete", "User"), "0");
    WriteINI(ports, ini, "Delete", "User", "Yes");
    EXPECT_EQ(files.Content(ini)->substr(0, garbage.size()), garbage);
    EXPECT_EQ(ReadINI(ports, ini, "Delete", "User"), "Yes");
}

TEST_F(IniTest, AMissingFolderGetsNoFile) {
    WriteINI(ports, "C:\\Gone\\Clean.ini", "Delete", "User", "Yes");
    EXPECT_FALSE(files.Exists("C:\\Gone"));
}

}  // namespace
