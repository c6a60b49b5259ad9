// What the FileSystem port promises, on every side.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Text.h"
#include "tests/contract/ContractWorld.h"

namespace contract {
namespace {

using platform::FileEntry;
using platform::FsError;

class FileSystemContract : public ::testing::Test {
protected:
    std::unique_ptr<ContractWorld> world = MakeWorld();
    platform::FileSystem& files = world->Files();

    std::string InScratch(const std::string& name) { return text::JoinPath(world->Scratch(), name); }

    std::vector<std::string> NamesIn(const std::string& folder) {
        std::vector<std::string> names;
        if (const auto entries = files.ListFolder(folder)) {
            for (const FileEntry& entry : *entries) names.push_back(entry.name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::optional<FileEntry> EntryIn(const std::string& folder, const std::string& name) {
        const auto entries = files.ListFolder(folder);
        if (!entries) return std::nullopt;
        for (const FileEntry& entry : *entries) {
            if (entry.name == name) return entry;
        }
        return std::nullopt;
    }

    std::optional<std::string> Read(const std::string& path) { return files.ReadWholeFile(path, 1 << 20); }
};

using Names = std::vector<std::string>;

// --- Whole-file reading and replacing ---

TEST_F(FileSystemContract, ReplaceCreatesThenReplacesAndLeavesNothingBeside) {
    const std::string path = InScratch("Clean.ini");
    const std::string binary("[User]\r\nsFile0=C:\\Data\r\n\0\xFF", 27);
    ASSERT_TRUE(files.ReplaceWholeFile(path, binary));
    EXPECT_EQ(Read(path), binary);
    ASSERT_TRUE(files.ReplaceWholeFile(path, "short"));
    EXPECT_EQ(Read(path), "short");
    ASSERT_TRUE(files.ReplaceWholeFile(path, ""));
    EXPECT_EQ(Read(path), "");
    EXPECT_EQ(NamesIn(world->Scratch()), Names{"Clean.ini"});
}

TEST_F(FileSystemContract, ReadStopsAtTheSizeLimit) {
    const std::string path = InScratch("ten.txt");
    world->MakeFile(path, "0123456789");
    EXPECT_EQ(files.ReadWholeFile(path, 10), "0123456789");
    EXPECT_EQ(files.ReadWholeFile(path, 9), std::nullopt);
}

TEST_F(FileSystemContract, ReadFindsNothingWhereThereIsNoFile) {
    EXPECT_EQ(Read(InScratch("missing.ini")), std::nullopt);
    EXPECT_EQ(Read(InScratch("Missing\\Clean.ini")), std::nullopt);
    EXPECT_EQ(Read(world->Scratch()), std::nullopt);
}

TEST_F(FileSystemContract, FileOpenElsewhereIsReadUnlessHeldExclusively) {
    const std::string path = InScratch("Clean.ini");
    world->MakeFile(path, "kept");
    {
        const auto held = world->HoldOpen(path, false);
        EXPECT_EQ(Read(path), "kept");
    }
    const auto held = world->HoldOpen(path, true);
    EXPECT_EQ(Read(path), std::nullopt);
}

// A replace that cannot finish keeps the old file whole and leaves no temporary file.
TEST_F(FileSystemContract, ReplaceThatFailsKeepsTheOldContent) {
    enum class Obstacle { kHeldOpen, kHeldExclusively, kReadOnly };
    for (const Obstacle obstacle : {Obstacle::kHeldOpen, Obstacle::kHeldExclusively, Obstacle::kReadOnly}) {
        SCOPED_TRACE(static_cast<int>(obstacle));
        const std::string path = InScratch("Clean.ini");
        world->MakeFile(path, "old");
        std::unique_ptr<HeldFile> held;
        if (obstacle == Obstacle::kReadOnly) {
            ASSERT_TRUE(files.SetAttributes(path, platform::kAttrReadOnly));
        } else {
            held = world->HoldOpen(path, obstacle == Obstacle::kHeldExclusively);
        }
        EXPECT_FALSE(files.ReplaceWholeFile(path, "new"));
        held.reset();
        EXPECT_EQ(Read(path), "old");
        EXPECT_EQ(NamesIn(world->Scratch()), Names{"Clean.ini"});
        ASSERT_TRUE(files.SetAttributes(path, platform::kAttrNormal));
        ASSERT_EQ(files.DeleteFile(path), FsError::kNone);
    }
}

TEST_F(FileSystemContract, ReplaceNeedsAnExistingFolder) {
    EXPECT_FALSE(files.ReplaceWholeFile(InScratch("Missing\\Clean.ini"), "x"));
    EXPECT_FALSE(files.Exists(InScratch("Missing")));
    ASSERT_EQ(files.CreateFolder(InScratch("Folder")), FsError::kNone);
    EXPECT_FALSE(files.ReplaceWholeFile(InScratch("Folder"), "x"));
    EXPECT_EQ(NamesIn(world->Scratch()), Names{"Folder"});
}

// --- Attributes and listing ---

TEST_F(FileSystemContract, ListingReportsNamesSizesAndAttributes) {
    struct Case {
        const char* name;
        std::uint32_t set;  // attributes given after creation; 0 for none
        bool folder;
    };
    const Case cases[] = {
        {"plain.txt", 0, false},
        {"readonly.txt", platform::kAttrReadOnly, false},
        {"hidden.txt", platform::kAttrHidden, false},
        {"system.txt", platform::kAttrSystem, false},
        {"all.txt", platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem, false},
        {"Folder", 0, true},
        {"HiddenFolder", platform::kAttrHidden | platform::kAttrSystem, true},
    };
    for (const Case& c : cases) {
        const std::string path = InScratch(c.name);
        if (c.folder) {
            ASSERT_EQ(files.CreateFolder(path), FsError::kNone);
        } else {
            world->MakeFile(path, "12345");
        }
        if (c.set) {
            ASSERT_TRUE(files.SetAttributes(path, c.set));
        }
    }
    const auto entries = files.ListFolder(world->Scratch());
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entries->size(), std::size(cases)) << "no \".\" or \"..\"";
    constexpr std::uint32_t kReported =
        platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem | platform::kAttrDirectory |
        platform::kAttrReparsePoint;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto entry = EntryIn(world->Scratch(), c.name);
        ASSERT_TRUE(entry.has_value());
        const std::uint32_t expected = c.set | (c.folder ? std::uint32_t{platform::kAttrDirectory} : 0u);
        EXPECT_EQ(entry->attributes & kReported, expected);
        EXPECT_EQ(files.Attributes(InScratch(c.name)).value_or(0) & kReported, expected);
        if (!c.folder) {
            EXPECT_EQ(entry->size, 5u);
        }
    }
}

TEST_F(FileSystemContract, NormalAttributesClearWhatWasSet) {
    const std::string path = InScratch("note.txt");
    world->MakeFile(path, "x");
    ASSERT_TRUE(files.SetAttributes(path, platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem));
    ASSERT_TRUE(files.SetAttributes(path, platform::kAttrNormal));
    const auto attributes = files.Attributes(path);
    ASSERT_TRUE(attributes.has_value());
    EXPECT_FALSE(*attributes & (platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem));
    EXPECT_FALSE(files.SetAttributes(InScratch("missing.txt"), platform::kAttrHidden));
}

TEST_F(FileSystemContract, ListingNeedsAFolder) {
    world->MakeFile(InScratch("note.txt"), "x");
    ASSERT_EQ(files.CreateFolder(InScratch("Empty")), FsError::kNone);
    for (const char* empty : {"Empty", "Empty\\"}) {
        const auto entries = files.ListFolder(InScratch(empty));
        ASSERT_TRUE(entries.has_value()) << empty;
        EXPECT_TRUE(entries->empty()) << empty;
    }
    EXPECT_EQ(files.ListFolder(InScratch("Missing")), std::nullopt);
    EXPECT_EQ(files.ListFolder(InScratch("note.txt")), std::nullopt);
    EXPECT_EQ(files.Attributes(InScratch("Missing")), std::nullopt);
}

// --- Deleting, removing, creating, moving ---

TEST_F(FileSystemContract, DeleteFileRemovesOnlyAPlainFile) {
    enum class Kind { kPlain, kReadOnly, kHeldOpen, kFolder, kMissing, kInMissingFolder };
    struct Case {
        Kind kind;
        FsError expected;
    };
    const Case cases[] = {
        {Kind::kPlain, FsError::kNone},          {Kind::kReadOnly, FsError::kAccessDenied},
        {Kind::kHeldOpen, FsError::kInUse},      {Kind::kFolder, FsError::kAccessDenied},
        {Kind::kMissing, FsError::kNotFound},    {Kind::kInMissingFolder, FsError::kNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        std::string path = InScratch("item");
        std::unique_ptr<HeldFile> held;
        switch (c.kind) {
            case Kind::kFolder:
                ASSERT_EQ(files.CreateFolder(path), FsError::kNone);
                break;
            case Kind::kMissing:
                break;
            case Kind::kInMissingFolder:
                path = InScratch("Missing\\item");
                break;
            default:
                world->MakeFile(path, "x");
                if (c.kind == Kind::kReadOnly) {
                    ASSERT_TRUE(files.SetAttributes(path, platform::kAttrReadOnly));
                }
                if (c.kind == Kind::kHeldOpen) held = world->HoldOpen(path, false);
        }
        EXPECT_EQ(files.DeleteFile(path), c.expected);
        held.reset();
        const bool existed = c.kind != Kind::kMissing && c.kind != Kind::kInMissingFolder;
        EXPECT_EQ(files.Exists(path), existed && c.expected != FsError::kNone);
        // Tidy for the next case.
        files.SetAttributes(path, platform::kAttrNormal);
        files.DeleteFile(path);
        files.RemoveFolder(path);
    }
}

TEST_F(FileSystemContract, RemoveFolderRemovesOnlyAnEmptyFolder) {
    const std::string empty = InScratch("Empty");
    const std::string full = InScratch("Full");
    const std::string file = InScratch("note.txt");
    ASSERT_EQ(files.CreateFolder(empty), FsError::kNone);
    ASSERT_EQ(files.CreateFolder(full), FsError::kNone);
    world->MakeFile(text::JoinPath(full, "inside.txt"), "inside");
    world->MakeFile(file, "note");

    EXPECT_EQ(files.RemoveFolder(empty), FsError::kNone);
    EXPECT_FALSE(files.Exists(empty));
    EXPECT_EQ(files.RemoveFolder(empty), FsError::kNotFound);
    EXPECT_EQ(files.RemoveFolder(full), FsError::kOther);
    EXPECT_EQ(Read(text::JoinPath(full, "inside.txt")), "inside");
    EXPECT_EQ(files.RemoveFolder(file), FsError::kOther);
    EXPECT_EQ(Read(file), "note");
}

// Windows keeps the read-only mark on a folder and then refuses to remove it; Wine does not
// keep the mark. Either way the mark, when there, protects the folder.
TEST_F(FileSystemContract, ReadOnlyFolderIsRemovedOnlyWithoutTheMark) {
    const std::string folder = InScratch("Guarded");
    ASSERT_EQ(files.CreateFolder(folder), FsError::kNone);
    ASSERT_TRUE(files.SetAttributes(folder, platform::kAttrReadOnly));
    if (files.Attributes(folder).value_or(0) & platform::kAttrReadOnly) {
        EXPECT_EQ(files.RemoveFolder(folder), FsError::kAccessDenied);
        EXPECT_TRUE(files.Exists(folder));
        ASSERT_TRUE(files.SetAttributes(folder, platform::kAttrNormal));
    }
    EXPECT_EQ(files.RemoveFolder(folder), FsError::kNone);
}

TEST_F(FileSystemContract, CreateFolderNeedsItsParentAndAFreeName) {
    EXPECT_EQ(files.CreateFolder(InScratch("New")), FsError::kNone);
    EXPECT_TRUE(files.Attributes(InScratch("New")).value_or(0) & platform::kAttrDirectory);
    EXPECT_EQ(files.CreateFolder(InScratch("New")), FsError::kOther);
    world->MakeFile(InScratch("note.txt"), "x");
    EXPECT_EQ(files.CreateFolder(InScratch("note.txt")), FsError::kOther);
    EXPECT_EQ(files.CreateFolder(InScratch("Missing\\New")), FsError::kNotFound);
}

TEST_F(FileSystemContract, MoveRenamesFilesAndFoldersWithTheirContent) {
    world->MakeFile(InScratch("a.lnk"), "shortcut");
    ASSERT_EQ(files.CreateFolder(InScratch("Dest")), FsError::kNone);
    EXPECT_EQ(files.MoveFile(InScratch("a.lnk"), InScratch("Dest\\Tarnwick.lnk")), FsError::kNone);
    EXPECT_EQ(Read(InScratch("Dest\\Tarnwick.lnk")), "shortcut");
    EXPECT_FALSE(files.Exists(InScratch("a.lnk")));

    EXPECT_EQ(files.MoveFile(InScratch("Dest"), InScratch("Moved")), FsError::kNone);
    EXPECT_EQ(Read(InScratch("Moved\\Tarnwick.lnk")), "shortcut");
    EXPECT_EQ(NamesIn(world->Scratch()), Names{"Moved"});
}

TEST_F(FileSystemContract, MoveThatCannotHappenChangesNothing) {
    world->MakeFile(InScratch("a.txt"), "a");
    world->MakeFile(InScratch("b.txt"), "b");
    EXPECT_EQ(files.MoveFile(InScratch("a.txt"), InScratch("b.txt")), FsError::kOther);
    EXPECT_EQ(files.MoveFile(InScratch("missing.txt"), InScratch("c.txt")), FsError::kNotFound);
    EXPECT_EQ(files.MoveFile(InScratch("a.txt"), InScratch("Missing\\a.txt")), FsError::kNotFound);
    {
        const auto held = world->HoldOpen(InScratch("a.txt"), false);
        EXPECT_EQ(files.MoveFile(InScratch("a.txt"), InScratch("c.txt")), FsError::kInUse);
    }
    EXPECT_EQ(Read(InScratch("a.txt")), "a");
    EXPECT_EQ(Read(InScratch("b.txt")), "b");
    EXPECT_EQ(NamesIn(world->Scratch()), (Names{"a.txt", "b.txt"}));
}

// --- Path forms ---

TEST_F(FileSystemContract, FullPathResolvesAgainstTheCurrentFolder) {
    const std::string scratch = world->Scratch();
    const std::string drive = scratch.substr(0, 2);  // "C:"
    world->SetCurrentFolder(scratch);
    struct Case {
        std::string path;
        std::string full;
    };
    const Case cases[] = {
        {"note.txt", scratch + "\\note.txt"},
        {"a\\..\\b", scratch + "\\b"},
        {"x/y/", scratch + "\\x\\y\\"},
        {".\\name. .", scratch + "\\name"},  // trailing dots and blanks go
        {drive + "x", scratch + "\\x"},      // drive-relative on the current drive
        {drive, scratch + "\\"},
        {"\\Windows", drive + "\\Windows"},
        {drive + "\\a\\..\\..\\b", drive + "\\b"},
        {drive + "\\Data\\", drive + "\\Data\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.FullPath(c.path), c.full);
    }
}

TEST_F(FileSystemContract, LongPathExpandsShortNamesOfWhatExists) {
    const std::string folder = InScratch("Temporary Internet Files");
    ASSERT_EQ(files.CreateFolder(folder), FsError::kNone);
    EXPECT_EQ(files.LongPath(folder), folder);
    EXPECT_EQ(files.LongPath(InScratch("Missing Folder\\x")), InScratch("Missing Folder\\x"));
    const auto shortForm = world->ShortFormOf(folder);
    if (!shortForm) GTEST_SKIP() << "no short names on this side";
    EXPECT_NE(*shortForm, folder);
    EXPECT_EQ(files.LongPath(*shortForm), folder);
}

TEST_F(FileSystemContract, UnicodeNamesAreReachedLikeAnyOther) {
    const std::string name = "K\xC3\xB6rbchen \xE6\x97\xA5\xE6\x9C\xAC \xD0\x96.txt";  // Körbchen 日本 Ж
    const std::string folder = InScratch("\xC3\x9C" "berordner");                       // Überordner
    ASSERT_EQ(files.CreateFolder(folder), FsError::kNone);
    const std::string path = text::JoinPath(folder, name);
    ASSERT_TRUE(files.ReplaceWholeFile(path, "data"));
    EXPECT_EQ(NamesIn(folder), Names{name});
    EXPECT_EQ(Read(path), "data");
    EXPECT_EQ(files.MoveFile(path, text::JoinPath(folder, "\xCE\xA9.txt")), FsError::kNone);
    EXPECT_EQ(files.DeleteFile(text::JoinPath(folder, "\xCE\xA9.txt")), FsError::kNone);
    EXPECT_EQ(files.RemoveFolder(folder), FsError::kNone);
    EXPECT_EQ(NamesIn(world->Scratch()), Names{});
}

TEST_F(FileSystemContract, PathsLongerThan260CharactersWork) {
    std::vector<std::string> folders;
    std::string path = world->Scratch();
    while (path.size() <= 300) {
        path = text::JoinPath(path, "a-folder-name-of-forty-characters-------");
        ASSERT_EQ(files.CreateFolder(path), FsError::kNone) << path.size();
        folders.push_back(path);
    }
    const std::string file = text::JoinPath(path, "deep.txt");
    ASSERT_TRUE(files.ReplaceWholeFile(file, "deep"));
    EXPECT_EQ(Read(file), "deep");
    EXPECT_EQ(NamesIn(path), Names{"deep.txt"});
    EXPECT_TRUE(files.Attributes(file).has_value());
    EXPECT_EQ(files.DeleteFile(file), FsError::kNone);
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        EXPECT_EQ(files.RemoveFolder(*it), FsError::kNone);
    }
    EXPECT_EQ(NamesIn(world->Scratch()), Names{});
}

// --- Links ---

class FolderLinkContract : public FileSystemContract {
protected:
    // A target folder, with files when asked, and a link to it; false when links cannot be made.
    bool MakeTargetAndLink(bool withFiles, const std::string& suffix = "") {
        target = InScratch("Target" + suffix);
        link = InScratch("Link" + suffix);
        EXPECT_EQ(files.CreateFolder(target), FsError::kNone);
        if (withFiles) {
            world->MakeFile(text::JoinPath(target, "keep.txt"), "keep");
            EXPECT_EQ(files.CreateFolder(text::JoinPath(target, "Inner")), FsError::kNone);
        }
        return world->MakeFolderLink(link, target);
    }

    std::string target;
    std::string link;
};

TEST_F(FolderLinkContract, LinkIsListedAsAReparsePoint) {
    if (!MakeTargetAndLink(true)) GTEST_SKIP() << "no links on this side";
    const auto linkEntry = EntryIn(world->Scratch(), "Link");
    const auto targetEntry = EntryIn(world->Scratch(), "Target");
    ASSERT_TRUE(linkEntry && targetEntry);
    EXPECT_TRUE(linkEntry->IsDirectory());
    EXPECT_TRUE(linkEntry->IsReparsePoint());
    EXPECT_FALSE(targetEntry->IsReparsePoint());
    EXPECT_TRUE(files.Attributes(link).value_or(0) & platform::kAttrReparsePoint);
}

// Removing a link removes at most the link: the folder it leads to and everything in it stay,
// also when that folder is empty (where a careless removal takes the target instead).
TEST_F(FolderLinkContract, RemovingALinkNeverTouchesItsTarget) {
    for (const bool withFiles : {true, false}) {
        SCOPED_TRACE(withFiles ? "target with files" : "empty target");
        if (!MakeTargetAndLink(withFiles, withFiles ? "1" : "2")) GTEST_SKIP() << "no links on this side";
        const Names inTarget = withFiles ? Names{"Inner", "keep.txt"} : Names{};
        EXPECT_NE(files.DeleteFile(link), FsError::kNone);
        EXPECT_TRUE(files.Exists(link));
        const FsError result = files.RemoveFolder(link);
        EXPECT_EQ(files.Exists(link), result != FsError::kNone);
        EXPECT_TRUE(files.Attributes(target).value_or(0) & platform::kAttrDirectory);
        EXPECT_EQ(NamesIn(target), inTarget);
        if (withFiles) {
            EXPECT_EQ(Read(text::JoinPath(target, "keep.txt")), "keep");
        }
    }
}

TEST_F(FolderLinkContract, AttributesAreNotSetThroughALink) {
    if (!MakeTargetAndLink(true)) GTEST_SKIP() << "no links on this side";
    EXPECT_FALSE(files.SetAttributes(link, platform::kAttrHidden));
    EXPECT_FALSE(files.Attributes(target).value_or(0) & platform::kAttrHidden);
}

}  // namespace
}  // namespace contract
