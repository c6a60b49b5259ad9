// The contract world of the fakes: one in-memory machine per test.
#include "platform/Text.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeRecycleBin.h"
#include "platform/fake/FakeUrlCache.h"
#include "tests/contract/ContractWorld.h"

namespace contract {
namespace {

class FakeHeldFile : public HeldFile {
public:
    FakeHeldFile(fake::FakeFileSystem& files, std::string path, fake::FakeFileSystem::Lock lock)
        : files_(files), path_(std::move(path)) {
        files_.SetLock(path_, lock);
    }
    ~FakeHeldFile() override { files_.SetLock(path_, fake::FakeFileSystem::Lock::kNone); }

private:
    fake::FakeFileSystem& files_;
    std::string path_;
};

class FakeHeldCacheEntry : public HeldCacheEntry {
public:
    FakeHeldCacheEntry(fake::FakeUrlCache& cache, std::string name) : cache_(cache), name_(std::move(name)) {
        cache_.inUse.insert(name_);
    }
    ~FakeHeldCacheEntry() override { cache_.inUse.erase(name_); }

private:
    fake::FakeUrlCache& cache_;
    std::string name_;
};

class FakeWorld : public ContractWorld {
public:
    FakeWorld() {
        files_.AddFolder(kScratch);
        files_.AddFolder(environment_.programFolder);
        files_.AddFolder("C:\\Windows");
        folders_.SetFolder(kCsidlWindows, "C:\\Windows");
    }

    platform::Environment& Env() override { return environment_; }
    platform::Folders& Shell() override { return folders_; }
    platform::FileSystem& Files() override { return files_; }
    platform::UrlCache& Cache() override { return cache_; }
    platform::RecycleBin& Bin() override { return bin_; }

    std::string Scratch() override { return kScratch; }
    void MakeFile(const std::string& path, const std::string& content) override { files_.AddFile(path, content); }
    void SetAttributes(const std::string& path, std::uint32_t attributes) override {
        files_.SetAttributes(path, attributes);
    }

    void SetVariable(const std::string& name, const std::string& value) override {
        environment_.SetVariable(name, value);
    }
    void UnsetVariable(const std::string& name) override { environment_.UnsetVariable(name); }
    void SetCurrentFolder(const std::string& folder) override { files_.SetCurrentFolder(folder); }

    std::unique_ptr<HeldFile> HoldOpen(const std::string& path, bool exclusive) override {
        using Lock = fake::FakeFileSystem::Lock;
        return std::make_unique<FakeHeldFile>(files_, path, exclusive ? Lock::kExclusive : Lock::kInUse);
    }

    bool OpensAsAnotherProgram(const std::string& path, bool toDelete) override {
        return files_.OpensAsAnotherProgram(path, toDelete);
    }

    bool MakeFolderLink(const std::string& link, const std::string& target) override {
        files_.AddLink(link, target);
        return true;
    }

    bool MakeFileLink(const std::string& link, const std::string& target) override {
        files_.AddFileLink(link, target);
        return true;
    }

    bool MakeHardLink(const std::string& link, const std::string& target) override {
        files_.AddHardLink(link, target);
        return true;
    }

    bool SwapForLink(const std::string& path, const std::string& target) override {
        const bool folder = files_.Attributes(target).value_or(0) & platform::kAttrDirectory;
        files_.Erase(path);
        folder ? files_.AddLink(path, target) : files_.AddFileLink(path, target);
        return true;
    }

    std::optional<std::string> MapDrive(const std::string& folder) override {
        const std::string drive(1, nextDrive_++);
        files_.MapDrive(drive[0], folder);
        return drive + ":";
    }

    std::optional<std::string> NetworkForm(const std::string& path) override {
        return "\\\\localhost\\" + text::ToLower(path.substr(0, 1)) + "$" + path.substr(2);
    }

    std::uint32_t RunningProcessId() override { return fake::FakeFileSystem::kRunningProcess; }

    bool Trash(const std::string& path) override { return bin_.Add(path, files_.Content(path)->size()), files_.Erase(path), true; }

    void CommitCacheEntry(const std::string& name) override { cache_.Commit(name, platform::kNormalCacheEntry, 13); }

    std::string SetCookie(const std::string& host) override {
        const std::string name = "Cookie:tester@" + host + "/";
        cache_.Commit(name);
        return name;
    }

    std::unique_ptr<HeldCacheEntry> HoldCacheEntry(const std::string& name) override {
        return std::make_unique<FakeHeldCacheEntry>(cache_, name);
    }

private:
    static constexpr const char* kScratch = "C:\\Users\\Tester\\Temp\\MorvaneContract";

    fake::FakeEnvironment environment_;
    fake::FakeFileSystem files_;
    fake::FakeFolders folders_{files_};
    fake::FakeUrlCache cache_;
    fake::FakeRecycleBin bin_;
    char nextDrive_ = 'P';
};

}  // namespace

std::unique_ptr<ContractWorld> MakeWorld() { return std::make_unique<FakeWorld>(); }

}  // namespace contract
