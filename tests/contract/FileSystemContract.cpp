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

    // The entry a folder handle lists under the name.
    static std::optional<FileEntry> Listed(platform::FolderHandle& folder, const std::string& name) {
        const auto entries = folder.List();
        if (!entries) return std::nullopt;
        for (const FileEntry& entry : *entries) {
            if (entry.name == name) return entry;
        }
        return std::nullopt;
    }

    std::unique_ptr<platform::FolderHandle> Scratch(platform::FolderUse use = platform::FolderUse::kEmpty) {
        return files.OpenFolder(world->Scratch(), use);
    }

    // Deletes a folder's entries through its handle, the way any caller of the port must.
    static void Empty(platform::FolderHandle& folder) {
        for (const FileEntry& entry : folder.List().value_or(std::vector<FileEntry>{})) {
            if (entry.IsDirectory() && !entry.IsReparsePoint()) {
                if (auto inner = folder.OpenFolder(entry).folder) {
                    Empty(*inner);
                    const platform::FileIdentity identity = inner->Identity();
                    inner.reset();
                    folder.RemoveFolder(entry, identity);
                }
            } else {
                folder.DeleteEntry(entry);
            }
        }
    }
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

// Chromium holds its lockfile with reading shared, which refuses only an open for deletion;
// Firefox its parent.lock with nothing shared, which refuses any. Trying changes nothing.
TEST_F(FileSystemContract, TryingAnOpenTellsWhatAHolderForbids) {
    using Intent = platform::FileSystem::OpenIntent;
    const std::string path = InScratch("lockfile");
    world->MakeFile(path, "lock");
    EXPECT_EQ(files.TryOpen(path, Intent::kDelete), FsError::kNone);
    for (const bool exclusive : {false, true}) {
        const auto held = world->HoldOpen(path, exclusive);
        EXPECT_EQ(files.TryOpen(path, Intent::kRead), exclusive ? FsError::kInUse : FsError::kNone);
        EXPECT_EQ(files.TryOpen(path, Intent::kDelete), FsError::kInUse);
    }
    EXPECT_EQ(files.TryOpen(InScratch("missing\\lockfile"), Intent::kRead), FsError::kNotFound);
    EXPECT_EQ(Read(path), "lock");
}

// A replace that cannot finish keeps the old file whole, leaves no temporary file, and says why.
TEST_F(FileSystemContract, ReplaceThatFailsKeepsTheOldContent) {
    enum class Obstacle { kHeldOpen, kHeldExclusively, kReadOnly };
    for (const Obstacle obstacle : {Obstacle::kHeldOpen, Obstacle::kHeldExclusively, Obstacle::kReadOnly}) {
        SCOPED_TRACE(static_cast<int>(obstacle));
        const FsError::Kind why = obstacle == Obstacle::kReadOnly ? FsError::kAccessDenied : FsError::kInUse;
        const std::string name = "Clean" + std::to_string(static_cast<int>(obstacle)) + ".ini";
        const std::string path = InScratch(name);
        world->MakeFile(path, "old");
        std::unique_ptr<HeldFile> held;
        if (obstacle == Obstacle::kReadOnly) {
            world->SetAttributes(path, platform::kAttrReadOnly);
        } else {
            held = world->HoldOpen(path, obstacle == Obstacle::kHeldExclusively);
        }
        const FsError answer = files.TryReplaceWholeFile(path, "new");
        EXPECT_EQ(answer, why);
        EXPECT_NE(answer.Code(), 0u) << "the system's code comes with it";
        held.reset();
        EXPECT_EQ(Read(path), "old");
        const Names names = NamesIn(world->Scratch());
        const auto beside = [&](const std::string& n) { return n.starts_with(name); };
        EXPECT_EQ(std::count_if(names.begin(), names.end(), beside), 1) << "no temporary file left beside it";
    }
}

// A writer killed between its temporary file and the rename leaves the file behind; the next
// write removes it, unless its writer still runs (its rename is yet to come).
TEST_F(FileSystemContract, ReplaceRemovesTheLeftoversOfWritersThatEnded) {
    const std::string running = std::to_string(world->RunningProcessId());
    const Names stay = {"Clean.ini", "Clean.ini." + running + "-1.tmp", "Clean.ini.bak", "Clean.ini.x-1.tmp",
                        "Clean.ini.999999999-.tmp", "Other.ini.999999999-1.tmp"};
    for (const std::string& name : stay) world->MakeFile(InScratch(name), "x");
    for (const char* name : {"Clean.ini.999999999-1.tmp", "CLEAN.INI.999999998-12.TMP"}) {
        world->MakeFile(InScratch(name), std::string(1000, 'x'));
    }
    ASSERT_TRUE(files.ReplaceWholeFile(InScratch("Clean.ini"), "new"));
    Names expected = stay;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesIn(world->Scratch()), expected);
    EXPECT_EQ(Read(InScratch("Clean.ini")), "new");
}

TEST_F(FileSystemContract, ReplaceNeedsAnExistingFolder) {
    EXPECT_EQ(files.TryReplaceWholeFile(InScratch("Missing\\Clean.ini"), "x"), FsError::kNotFound);
    EXPECT_FALSE(files.Exists(InScratch("Missing")));
    ASSERT_EQ(files.CreateFolder(InScratch("Folder")), FsError::kNone);
    EXPECT_EQ(files.TryReplaceWholeFile(InScratch("Folder"), "x"), FsError::kAccessDenied);
    EXPECT_EQ(NamesIn(world->Scratch()), Names{"Folder"});
}

// Appending makes the file, adds at its end and answers the size. What it must not write to
// stays as it was, and a link never leads the write to what it points at (nor makes it).
TEST_F(FileSystemContract, AppendAddsAtTheEndOfItsOwnFileOnly) {
    const std::string path = InScratch("Morvane.log");
    EXPECT_EQ(files.AppendToFile(path, "one\r\n"), 5u);
    EXPECT_EQ(files.AppendToFile(path, "two\r\n"), 10u);
    EXPECT_EQ(Read(path), "one\r\ntwo\r\n");
    EXPECT_EQ(files.AppendToFile(InScratch("Missing\\Morvane.log"), "x"), std::nullopt);
    EXPECT_FALSE(files.Exists(InScratch("Missing")));

    world->MakeFile(InScratch("precious.txt"), "precious");
    enum class Obstacle { kHeldOpen, kHeldExclusively, kReadOnly, kFolder, kLinkToFile, kLinkToNothing, kSecondName };
    for (const Obstacle obstacle : {Obstacle::kHeldOpen, Obstacle::kHeldExclusively, Obstacle::kReadOnly,
                                    Obstacle::kFolder, Obstacle::kLinkToFile, Obstacle::kLinkToNothing,
                                    Obstacle::kSecondName}) {
        SCOPED_TRACE(static_cast<int>(obstacle));
        const std::string target = InScratch("log" + std::to_string(static_cast<int>(obstacle)));
        std::unique_ptr<HeldFile> held;
        switch (obstacle) {
            case Obstacle::kHeldOpen:
            case Obstacle::kHeldExclusively:
                world->MakeFile(target, "old");
                held = world->HoldOpen(target, obstacle == Obstacle::kHeldExclusively);
                break;
            case Obstacle::kReadOnly:
                world->MakeFile(target, "old");
                world->SetAttributes(target, platform::kAttrReadOnly);
                break;
            case Obstacle::kFolder:
                ASSERT_EQ(files.CreateFolder(target), FsError::kNone);
                break;
            case Obstacle::kSecondName:
                ASSERT_TRUE(world->MakeHardLink(target, InScratch("precious.txt")));
                break;
            case Obstacle::kLinkToFile:
            case Obstacle::kLinkToNothing:
                if (!world->MakeFileLink(target, InScratch(obstacle == Obstacle::kLinkToFile ? "precious.txt"
                                                                                               : "nothing.txt"))) {
                    continue;  // no links on this side
                }
                break;
        }
        EXPECT_EQ(files.AppendToFile(target, "new"), std::nullopt);
        held.reset();
        if (obstacle <= Obstacle::kReadOnly) {
            EXPECT_EQ(Read(target), "old");
        }
    }
    EXPECT_EQ(Read(InScratch("precious.txt")), "precious");
    EXPECT_FALSE(files.Exists(InScratch("nothing.txt")));
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
        if (c.set) world->SetAttributes(path, c.set);
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

// --- Identity ---

// However a thing is named, it is the same thing; another thing is another.
TEST_F(FileSystemContract, IdentityIsTheSameForEverySpelling) {
    const std::string folder = InScratch("Home\\Folder");
    const std::string file = InScratch("Home\\Folder\\note.txt");
    ASSERT_EQ(files.CreateFolder(InScratch("Home")), FsError::kNone);
    ASSERT_EQ(files.CreateFolder(folder), FsError::kNone);
    ASSERT_EQ(files.CreateFolder(InScratch("Other")), FsError::kNone);
    world->MakeFile(file, "note");
    const auto identity = [&](const std::string& path) { return files.Identify(path).value().identity; };
    const platform::FileIdentity expected = identity(folder);

    std::vector<std::string> spellings = {text::ToUpper(folder), folder + "\\", "\\\\?\\" + folder,
                                          InScratch("Other\\..\\Home\\Folder\\.")};
    if (world->MakeFolderLink(InScratch("Link"), folder)) spellings.push_back(InScratch("Link"));
    if (world->MakeFolderLink(InScratch("Up"), InScratch("Home"))) spellings.push_back(InScratch("Up\\Folder"));
    if (const auto mapped = world->MapDrive(folder)) spellings.push_back(*mapped + "\\");
    if (const auto above = world->MapDrive(world->Scratch())) spellings.push_back(*above + "\\Home\\Folder");
    if (const auto network = world->NetworkForm(folder)) spellings.push_back(*network);
    for (const std::string& spelling : spellings) {
        SCOPED_TRACE(spelling);
        const auto found = files.Identify(spelling);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->identity, expected);
    }
    EXPECT_NE(identity(InScratch("Other")), expected);
    EXPECT_NE(identity(file), expected);
    EXPECT_NE(identity(world->Scratch()), expected);
    EXPECT_EQ(files.Identify(InScratch("Missing")), std::nullopt);
}

// The folder that holds a thing is reached from what the thing is: through a link, the
// holder of what it leads to.
TEST_F(FileSystemContract, IdentifyNamesWhatHoldsIt) {
    ASSERT_EQ(files.CreateFolder(InScratch("A")), FsError::kNone);
    ASSERT_EQ(files.CreateFolder(InScratch("A\\B")), FsError::kNone);
    ASSERT_EQ(files.CreateFolder(InScratch("C")), FsError::kNone);
    world->MakeFile(InScratch("A\\B\\f.txt"), "f");
    const auto holder = [&](const std::string& path) {
        const auto found = files.Identify(path);
        const auto parent = found ? files.Identify(found->parent) : std::nullopt;
        return parent ? std::optional(parent->identity) : std::nullopt;
    };
    EXPECT_EQ(holder(InScratch("A\\B")), files.Identify(InScratch("A"))->identity);
    EXPECT_EQ(holder(InScratch("A\\B\\f.txt")), files.Identify(InScratch("A\\B"))->identity);
    if (world->MakeFolderLink(InScratch("C\\ToB"), InScratch("A\\B"))) {
        EXPECT_EQ(holder(InScratch("C\\ToB")), files.Identify(InScratch("A"))->identity);
    }
    const std::string drive = world->Scratch().substr(0, 3);
    EXPECT_EQ(files.Identify(drive).value().parent, "") << "a drive's root is at the top";
}

// --- Folder handles ---

TEST_F(FileSystemContract, AHandleListsWhatThePathListsWithEachOnesId) {
    world->MakeFile(InScratch("a.txt"), "12345");
    world->MakeFile(InScratch("hidden.txt"), "x");
    world->SetAttributes(InScratch("hidden.txt"), platform::kAttrHidden | platform::kAttrReadOnly);
    ASSERT_EQ(files.CreateFolder(InScratch("Sub")), FsError::kNone);
    const auto folder = Scratch();
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->Identity(), files.Identify(world->Scratch())->identity);
    const auto listed = folder->List();
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(listed->size(), 3u);
    for (const FileEntry& entry : *listed) {
        SCOPED_TRACE(entry.name);
        const auto byPath = EntryIn(world->Scratch(), entry.name);
        ASSERT_TRUE(byPath.has_value());
        EXPECT_EQ(entry.attributes, byPath->attributes);
        EXPECT_EQ(entry.size, byPath->size);
        EXPECT_EQ(entry.fileId, files.Identify(InScratch(entry.name))->identity.file);
    }
    // What is no folder, or none at all, says so.
    for (const auto& [name, why] : {std::pair{"a.txt", FsError::kOther}, std::pair{"Missing", FsError::kNotFound}}) {
        FsError answer;
        EXPECT_EQ(files.OpenFolder(InScratch(name), platform::FolderUse::kLook, &answer), nullptr) << name;
        EXPECT_EQ(answer, why) << name;
        EXPECT_NE(answer.Code(), 0u) << name;
    }
}

TEST_F(FileSystemContract, DeleteEntryRemovesFilesOnly) {
    enum class Kind { kPlain, kReadOnly, kHiddenSystem, kHeldOpen, kReadOnlyHeldOpen, kFolder, kGone };
    struct Case {
        Kind kind;
        FsError expected;
    };
    const Case cases[] = {
        {Kind::kPlain, FsError::kNone},         {Kind::kReadOnly, FsError::kNone},
        {Kind::kHiddenSystem, FsError::kNone},  {Kind::kHeldOpen, FsError::kInUse},
        {Kind::kReadOnlyHeldOpen, FsError::kInUse}, {Kind::kFolder, FsError::kOther},
        {Kind::kGone, FsError::kNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        const std::string name = "item" + std::to_string(static_cast<int>(c.kind));
        const std::string path = InScratch(name);
        std::unique_ptr<HeldFile> held;
        if (c.kind == Kind::kFolder) {
            ASSERT_EQ(files.CreateFolder(path), FsError::kNone);
        } else {
            world->MakeFile(path, "x");
        }
        const std::uint32_t marks = c.kind == Kind::kHiddenSystem ? platform::kAttrHidden | platform::kAttrSystem
                                    : c.kind == Kind::kReadOnly || c.kind == Kind::kReadOnlyHeldOpen
                                        ? std::uint32_t{platform::kAttrReadOnly}
                                        : 0;
        if (marks) world->SetAttributes(path, marks);
        if (c.kind == Kind::kHeldOpen || c.kind == Kind::kReadOnlyHeldOpen) held = world->HoldOpen(path, false);
        const auto folder = Scratch();
        const auto entry = Listed(*folder, name);
        ASSERT_TRUE(entry.has_value());
        if (c.kind == Kind::kGone) {
            const auto other = Scratch();
            ASSERT_EQ(other->DeleteEntry(*entry), FsError::kNone);
        }
        EXPECT_EQ(folder->CheckEntry(*entry), c.expected) << "the check answers as the deletion will";
        EXPECT_EQ(files.Exists(path), c.kind != Kind::kGone) << "and removes nothing";
        EXPECT_EQ(folder->DeleteEntry(*entry), c.expected);
        held.reset();
        EXPECT_EQ(files.Exists(path), c.expected != FsError::kNone && c.kind != Kind::kGone);
        if (c.expected == FsError::kInUse) {
            EXPECT_EQ(files.Attributes(path).value_or(0) & platform::kAttrReadOnly, marks & platform::kAttrReadOnly)
                << "a file that stays keeps its marks";
        }
    }
}

// Read-only is the file's, shared by all its names: deleting one leaves the other as it was.
TEST_F(FileSystemContract, DeletingANameOfAReadOnlyFileLeavesItsOtherNameAsItWas) {
    world->MakeFile(InScratch("system.dll"), "system");
    ASSERT_TRUE(world->MakeHardLink(InScratch("link.dll"), InScratch("system.dll")));
    world->SetAttributes(InScratch("system.dll"), platform::kAttrReadOnly);
    const auto folder = Scratch();
    EXPECT_EQ(folder->DeleteEntry(*Listed(*folder, "link.dll")), FsError::kNone);
    EXPECT_EQ(NamesIn(world->Scratch()), Names{"system.dll"});
    EXPECT_EQ(Read(InScratch("system.dll")), "system");
    EXPECT_NE(files.Attributes(InScratch("system.dll")).value_or(0) & platform::kAttrReadOnly, 0u);
}

TEST_F(FileSystemContract, OpenFolderOpensThatFolderOnly) {
    ASSERT_EQ(files.CreateFolder(InScratch("Sub")), FsError::kNone);
    world->MakeFile(InScratch("Sub\\inner.txt"), "inner");
    world->MakeFile(InScratch("note.txt"), "note");
    const auto folder = Scratch();
    const auto sub = folder->OpenFolder(*Listed(*folder, "Sub"));
    ASSERT_NE(sub.folder, nullptr);
    EXPECT_EQ(sub.folder->Identity(), files.Identify(InScratch("Sub"))->identity);
    EXPECT_EQ(Listed(*sub.folder, "inner.txt").value_or(FileEntry{}).size, 5u);
    EXPECT_EQ(folder->OpenFolder(*Listed(*folder, "note.txt")).error, FsError::kOther);
    FileEntry gone = *Listed(*folder, "Sub");
    gone.name = "Gone";
    EXPECT_EQ(folder->OpenFolder(gone).error, FsError::kNotFound);
}

// An emptied folder goes from its parent once its own handle is closed; a read-only one loses
// its mark first and keeps it when it stays; a process's current folder is emptied but stays.
TEST_F(FileSystemContract, RemoveFolderTakesAnEmptiedFolderOnly) {
    const std::string current = InScratch("Current");
    ASSERT_EQ(files.CreateFolder(current), FsError::kNone);
    world->MakeFile(text::JoinPath(current, "inside.txt"), "inside");
    world->SetCurrentFolder(current);
    {
        const auto folder = Scratch();
        const FileEntry entry = *Listed(*folder, "Current");
        auto opened = folder->OpenFolder(entry);
        ASSERT_NE(opened.folder, nullptr);
        EXPECT_EQ(opened.folder->DeleteEntry(*Listed(*opened.folder, "inside.txt")), FsError::kNone);
        const platform::FileIdentity identity = opened.folder->Identity();
        EXPECT_EQ(folder->RemoveFolder(entry, identity), FsError::kInUse) << "its handle still holds it";
        opened.folder.reset();
        EXPECT_EQ(folder->RemoveFolder(entry, identity), FsError::kInUse);
    }
    EXPECT_EQ(NamesIn(current), Names{});
    world->SetCurrentFolder(world->Scratch());

    struct Case {
        const char* name;
        bool readOnly;
        bool withFile;
    };
    for (const Case& c : {Case{"Empty", false, false}, Case{"Full", false, true}, Case{"ReadOnly", true, false},
                          Case{"ReadOnlyFull", true, true}}) {
        SCOPED_TRACE(c.name);
        const std::string path = InScratch(c.name);
        ASSERT_EQ(files.CreateFolder(path), FsError::kNone);
        if (c.withFile) world->MakeFile(text::JoinPath(path, "inside.txt"), "inside");
        if (c.readOnly) world->SetAttributes(path, platform::kAttrReadOnly);
        const bool markKept = (files.Attributes(path).value_or(0) & platform::kAttrReadOnly) != 0;
        const auto folder = Scratch();
        const FileEntry entry = *Listed(*folder, c.name);
        const platform::FileIdentity identity = folder->OpenFolder(entry).folder->Identity();
        EXPECT_EQ(folder->RemoveFolder(entry, identity), c.withFile ? FsError::kOther : FsError::kNone);
        EXPECT_EQ(files.Exists(path), c.withFile);
        if (c.withFile) {
            EXPECT_EQ(Read(text::JoinPath(path, "inside.txt")), "inside");
            EXPECT_EQ((files.Attributes(path).value_or(0) & platform::kAttrReadOnly) != 0, markKept);
        }
    }
    // Held by a reader that shares only reading, another folder put under its name, or held to look: it stays.
    const std::string held = InScratch("Empty");
    ASSERT_EQ(files.CreateFolder(held), FsError::kNone);
    const auto looked = Scratch(platform::FolderUse::kLook);
    const FileEntry entry = *Listed(*looked, "Empty");
    const platform::FileIdentity identity = looked->OpenFolder(entry).folder->Identity();
    EXPECT_EQ(looked->RemoveFolder(entry, identity), FsError::kAccessDenied);
    const auto folder = Scratch();
    {
        const auto reader = world->HoldOpen(held, false);
        EXPECT_EQ(folder->RemoveFolder(entry, identity), FsError::kInUse);
    }
    ASSERT_EQ(files.MoveFile(held, InScratch("Moved")), FsError::kNone);
    ASSERT_EQ(files.CreateFolder(held), FsError::kNone);
    EXPECT_EQ(folder->RemoveFolder(entry, identity), FsError::kLink);
    EXPECT_TRUE(files.Exists(held) && files.Exists(InScratch("Moved")));
}

// Held to empty, a folder keeps others from deleting or renaming it; held to look, it keeps no
// one from anything. Neither keeps out a reader that shares only reading.
TEST_F(FileSystemContract, AFolderIsHeldOnlyToBeListed) {
    ASSERT_EQ(files.CreateFolder(InScratch("Sub")), FsError::kNone);
    for (const auto use : {platform::FolderUse::kEmpty, platform::FolderUse::kLook}) {
        const auto top = Scratch(use);
        const auto sub = top->OpenFolder(Listed(*top, "Sub").value()).folder;
        for (const std::string& path : {world->Scratch(), InScratch("Sub")}) {
            EXPECT_TRUE(world->OpensAsAnotherProgram(path, false)) << path;
            EXPECT_EQ(world->OpensAsAnotherProgram(path, true), use == platform::FolderUse::kLook) << path;
        }
    }
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

TEST_F(FileSystemContract, UnicodeNamesAreReachedLikeAnyOther) {
    const std::string name = "K\xC3\xB6rbchen \xE6\x97\xA5\xE6\x9C\xAC \xD0\x96.txt";  // Körbchen 日本 Ж
    const std::string folder = InScratch("\xC3\x9C" "berordner");                       // Überordner
    ASSERT_EQ(files.CreateFolder(folder), FsError::kNone);
    const std::string path = text::JoinPath(folder, name);
    ASSERT_TRUE(files.ReplaceWholeFile(path, "data"));
    EXPECT_EQ(NamesIn(folder), Names{name});
    EXPECT_EQ(Read(path), "data");
    EXPECT_EQ(files.MoveFile(path, text::JoinPath(folder, "\xCE\xA9.txt")), FsError::kNone);
    const auto top = Scratch();
    const FileEntry entry = Listed(*top, std::string(text::FileNameOf(folder))).value();
    auto holder = top->OpenFolder(entry).folder;
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->DeleteEntry(Listed(*holder, "\xCE\xA9.txt").value()), FsError::kNone);
    const platform::FileIdentity identity = holder->Identity();
    holder.reset();
    EXPECT_EQ(top->RemoveFolder(entry, identity), FsError::kNone);
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
    EXPECT_TRUE(files.Identify(file).has_value());
    const auto top = Scratch();
    Empty(*top);
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

// A link removed through a folder handle goes as a link, or stays where the platform cannot
// remove it without reaching its target; no handle ever opens a link as the folder it leads to.
// What it leads to stays whole, also when empty (where a careless removal takes the target).
TEST_F(FolderLinkContract, ALinkIsNeverFollowedAndItsTargetStays) {
    for (const bool withFiles : {true, false}) {
        SCOPED_TRACE(withFiles ? "target with files" : "empty target");
        if (!MakeTargetAndLink(withFiles, withFiles ? "1" : "2")) GTEST_SKIP() << "no links on this side";
        const std::string name(text::FileNameOf(link));
        const Names inTarget = withFiles ? Names{"Inner", "keep.txt"} : Names{};
        const auto folder = Scratch();
        const auto entry = Listed(*folder, name);
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(folder->OpenFolder(*entry).error, FsError::kLink);
        const FsError result = folder->DeleteEntry(*entry);
        EXPECT_TRUE(result == FsError::kNone || result == FsError::kLink) << static_cast<int>(result);
        EXPECT_EQ(files.Exists(link), result != FsError::kNone);
        EXPECT_TRUE(files.Attributes(target).value_or(0) & platform::kAttrDirectory);
        EXPECT_EQ(NamesIn(target), inTarget);
        if (withFiles) {
            EXPECT_EQ(Read(text::JoinPath(target, "keep.txt")), "keep");
        }
    }
}

TEST_F(FileSystemContract, AFileLinkNeverLeadsADeletionToItsTarget) {
    world->MakeFile(InScratch("precious.txt"), "precious");
    ASSERT_EQ(files.CreateFolder(InScratch("Purged")), FsError::kNone);
    if (!world->MakeFileLink(InScratch("Purged\\link.txt"), InScratch("precious.txt"))) GTEST_SKIP() << "no links";
    const auto folder = files.OpenFolder(InScratch("Purged"), platform::FolderUse::kEmpty);
    const FsError checked = folder->CheckEntry(Listed(*folder, "link.txt").value());
    const FsError result = folder->DeleteEntry(Listed(*folder, "link.txt").value());
    EXPECT_TRUE(result == FsError::kNone || result == FsError::kLink) << static_cast<int>(result);
    EXPECT_EQ(checked, result) << "a preview leaves the link as the clean does";
    EXPECT_EQ(Read(InScratch("precious.txt")), "precious");
}

// Between the listing and the opening another program puts a link where a folder or a file
// was: the handle finds out, and what the link leads to stays whole.
TEST_F(FileSystemContract, ALinkSwappedInAfterTheListingLeadsNowhere) {
    ASSERT_EQ(files.CreateFolder(InScratch("Outside")), FsError::kNone);
    world->MakeFile(InScratch("Outside\\precious.txt"), "precious");
    struct Case {
        const char* name;
        bool folder;
    };
    for (const Case& c : {Case{"sub", true}, Case{"a.txt", false}}) {
        SCOPED_TRACE(c.name);
        const std::string purged = InScratch(c.folder ? "PurgedA" : "PurgedB");
        ASSERT_EQ(files.CreateFolder(purged), FsError::kNone);
        ASSERT_EQ(files.CreateFolder(text::JoinPath(purged, "sub")), FsError::kNone);
        world->MakeFile(text::JoinPath(purged, "a.txt"), "a");
        const auto folder = files.OpenFolder(purged, platform::FolderUse::kEmpty);
        const auto entry = Listed(*folder, c.name);
        ASSERT_TRUE(entry.has_value());
        const std::string swapped = text::JoinPath(purged, c.name);
        if (!world->SwapForLink(swapped, InScratch(c.folder ? "Outside" : "Outside\\precious.txt"))) {
            GTEST_SKIP() << "no links on this side";
        }
        if (c.folder) {
            const auto opened = folder->OpenFolder(*entry);
            EXPECT_EQ(opened.folder, nullptr);
            EXPECT_NE(opened.error, FsError::kNone);
        }
        const FsError result = folder->DeleteEntry(*entry);
        EXPECT_TRUE(result == FsError::kNone || result == FsError::kLink) << static_cast<int>(result);
        EXPECT_EQ(NamesIn(InScratch("Outside")), Names{"precious.txt"});
        EXPECT_EQ(Read(InScratch("Outside\\precious.txt")), "precious");
    }
}

}  // namespace
}  // namespace contract
