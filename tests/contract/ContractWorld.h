#pragma once
// What a contract test runs against: the ports of one side (the fakes on the host, the
// real adapters under Windows or Wine) and the set-up that the tests need, done the way that
// side does it. Each world owns a scratch folder made for the test and leaves nothing behind.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"
#include "platform/RecycleBin.h"
#include "platform/UrlCache.h"

namespace contract {

// A file held open by "another program" until the object goes.
class HeldFile {
public:
    virtual ~HeldFile() = default;
};

// A URL-cache entry kept in use until the object goes.
class HeldCacheEntry {
public:
    virtual ~HeldCacheEntry() = default;
};

class ContractWorld {
public:
    virtual ~ContractWorld() = default;

    virtual platform::Environment& Env() = 0;
    virtual platform::Folders& Shell() = 0;
    virtual platform::FileSystem& Files() = 0;
    virtual platform::UrlCache& Cache() = 0;
    virtual platform::RecycleBin& Bin() = 0;

    // An empty folder made for this test: absolute, without a trailing "\". Everything in it
    // is removed with the world; nothing outside it is ever touched.
    virtual std::string Scratch() = 0;
    // A file with the content, made without the port under test.
    virtual void MakeFile(const std::string& path, const std::string& content) = 0;
    // Sets a file's or folder's attributes (read-only, hidden, system), without the port.
    virtual void SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // Process environment; the previous state comes back with the world.
    virtual void SetVariable(const std::string& name, const std::string& value) = 0;
    virtual void UnsetVariable(const std::string& name) = 0;
    virtual void SetCurrentFolder(const std::string& folder) = 0;

    // Holds the file or folder open as another program would. Shared: others may read it but not
    // delete, move or replace it. Exclusive: others cannot even read it.
    virtual std::unique_ptr<HeldFile> HoldOpen(const std::string& path, bool exclusive) = 0;
    // Another program opens the file or folder and closes it at once: to read it, sharing only
    // reading, or (toDelete) to delete or rename it, sharing everything. false when a handle open
    // now keeps it out.
    virtual bool OpensAsAnotherProgram(const std::string& path, bool toDelete) = 0;
    // A link at link (inside the scratch folder) to the folder target (inside it too). false
    // when this side cannot make links.
    virtual bool MakeFolderLink(const std::string& link, const std::string& target) = 0;
    // A link at link to the file target, both inside the scratch folder, of the kind a user of
    // this side has (under Wine a Unix link, which looks like the file itself); false when this
    // side cannot make one.
    virtual bool MakeFileLink(const std::string& link, const std::string& target) = 0;
    // Another name (a hard link) at link for the file target, both inside the scratch folder.
    virtual bool MakeHardLink(const std::string& link, const std::string& target) = 0;
    // Replaces the file or folder at path, as another program racing the test would, by a link
    // to target (a folder or a file inside the scratch folder); false when no link can be made.
    virtual bool SwapForLink(const std::string& path, const std::string& target) = 0;
    // Another drive letter for a folder of the scratch folder, as subst makes one ("X:");
    // nullopt when this side cannot make one. It goes with the world.
    virtual std::optional<std::string> MapDrive(const std::string& folder) = 0;
    // The path as this machine's network share names it ("\\localhost\c$\..."); nullopt
    // when this side does not serve it.
    virtual std::optional<std::string> NetworkForm(const std::string& path) = 0;
    // A process that runs while the world lives, other than this one.
    virtual std::uint32_t RunningProcessId() = 0;

    // Moves a file of the scratch folder to the Recycle Bin as a user's deletion does; false where
    // the bin may be a real user's (Windows itself): the tests empty it.
    virtual bool Trash(const std::string& path) = 0;

    // URL-cache entries, made the way a browser makes them and not through the port under
    // test; the world deletes them when it goes. Other entries of the cache are left alone.
    // A content entry with a small file, committed under the name (UTF-8; the cache holds its
    // ANSI form).
    virtual void CommitCacheEntry(const std::string& name) = 0;
    // A persistent cookie for http://host/ (session cookies never reach the cache); returns
    // the name of the cache entry that holds it.
    virtual std::string SetCookie(const std::string& host) = 0;
    // Retrieves the entry, as a reader of its file does, and unlocks it when the object goes.
    virtual std::unique_ptr<HeldCacheEntry> HoldCacheEntry(const std::string& name) = 0;
};

std::unique_ptr<ContractWorld> MakeWorld();

// The Windows folder's CSIDL: every side resolves it.
constexpr int kCsidlWindows = 36;

}  // namespace contract
