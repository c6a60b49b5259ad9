#pragma once
// What a contract test runs against: the three ports of one side (the fakes on the host, the
// real adapters under Windows or Wine) and the set-up that the tests need, done the way that
// side does it. Each world owns a scratch folder made for the test and leaves nothing behind.
#include <memory>
#include <optional>
#include <string>

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"

namespace contract {

// A file held open by "another program" until the object goes.
class HeldFile {
public:
    virtual ~HeldFile() = default;
};

class ContractWorld {
public:
    virtual ~ContractWorld() = default;

    virtual platform::Environment& Env() = 0;
    virtual platform::Folders& Shell() = 0;
    virtual platform::FileSystem& Files() = 0;

    // An empty folder made for this test: absolute, without a trailing "\". Everything in it
    // is removed with the world; nothing outside it is ever touched.
    virtual std::string Scratch() = 0;
    // A file with the content, made without the port under test.
    virtual void MakeFile(const std::string& path, const std::string& content) = 0;

    // Process environment; the previous state comes back with the world.
    virtual void SetVariable(const std::string& name, const std::string& value) = 0;
    virtual void UnsetVariable(const std::string& name) = 0;
    virtual void SetCurrentFolder(const std::string& folder) = 0;

    // Holds the file open as another program would. Shared: others may read it but not delete,
    // move or replace it. Exclusive: others cannot even read it.
    virtual std::unique_ptr<HeldFile> HoldOpen(const std::string& path, bool exclusive) = 0;
    // A link at link (inside the scratch folder) to the folder target (inside it too). false
    // when this side cannot make links.
    virtual bool MakeFolderLink(const std::string& link, const std::string& target) = 0;
    // The short 8.3 form of an existing path whose last name is long; nullopt when this side
    // has none.
    virtual std::optional<std::string> ShortFormOf(const std::string& path) = 0;
};

std::unique_ptr<ContractWorld> MakeWorld();

// The Windows folder's CSIDL: every side resolves it.
constexpr int kCsidlWindows = 36;

}  // namespace contract
