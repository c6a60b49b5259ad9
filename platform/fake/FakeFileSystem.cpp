#include "platform/fake/FakeFileSystem.h"

#include <algorithm>
#include <cctype>

#include "platform/Text.h"

namespace fake {

using platform::FileEntry;
using platform::FsError;

namespace {
bool IsRootKey(const std::string& key) { return key.size() == 3 && key[1] == ':'; }
std::string ChildPrefix(const std::string& key) { return IsRootKey(key) ? key : key + "\\"; }
// The key of the folder that holds key ("C:\\" for a top-level entry).
std::string ParentKey(const std::string& key) {
    std::string parent(text::ParentOf(key));
    if (parent.size() == 2) parent += '\\';
    return parent;
}
// A folder key followed by the rest of a path ("" or "\...").
std::string Rebase(const std::string& folder, std::string_view rest) {
    if ((IsRootKey(folder) && !rest.empty()) || rest == "\\") rest.remove_prefix(1);
    return folder + std::string(rest);
}
// The names under which this machine's drives are shared with the network.
bool IsThisMachine(std::string_view server) { return text::EqualsNoCase(server, "localhost") || server == "127.0.0.1"; }
// The Windows errors the real adapter's writes answer with.
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kDiskFull = 112;
constexpr std::uint32_t kInvalidName = 123;
constexpr std::uint32_t kDirectoryName = 267;
}  // namespace

// A folder held by its identity: if the folder at its path is not the one it opened, every
// operation finds nothing. Held to be emptied, it keeps others from deleting or renaming it.
class FakeFolderHandle : public platform::FolderHandle {
public:
    FakeFolderHandle(FakeFileSystem& files, std::string key, std::uint64_t id, platform::FolderUse use)
        : files_(files), key_(std::move(key)), id_(id), use_(use) {
        if (use_ == platform::FolderUse::kEmpty) ++files_.heldAgainstDeletion_[key_];
    }
    ~FakeFolderHandle() override {
        if (use_ == platform::FolderUse::kEmpty && --files_.heldAgainstDeletion_[key_] == 0) {
            files_.heldAgainstDeletion_.erase(key_);
        }
    }

    std::optional<std::vector<FileEntry>> List() override {
        if (!Live() || files_.failures_.count(key_)) return std::nullopt;
        return files_.ListFolder(key_);
    }

    platform::FileIdentity Identity() override { return {static_cast<std::uint64_t>(key_[0]), id_}; }

    Opened OpenFolder(const FileEntry& entry) override {
        if (entry.IsReparsePoint()) return {nullptr, FsError::kLink};
        AboutToOpen(entry.name);
        const FakeFileSystem::Node* child = Child(entry.name);
        if (!child) return {nullptr, FsError::kNotFound};
        if (child->IsLink()) return {nullptr, FsError::kLink};
        if (!child->isFolder || (entry.fileId != 0 && child->id != entry.fileId)) return {nullptr, FsError::kOther};
        return {std::make_unique<FakeFolderHandle>(files_, ChildKey(entry.name), child->id, use_), FsError::kNone};
    }

    FsError DeleteEntry(const FileEntry& entry) override {
        if (use_ == platform::FolderUse::kLook) return FsError::kAccessDenied;
        const FsError error = CheckEntry(entry);
        if (error == FsError::kNone) files_.nodes_.erase(ChildKey(entry.name));
        return error;
    }

    FsError CheckEntry(const FileEntry& entry) override {
        AboutToOpen(entry.name);
        const FakeFileSystem::Node* child = Child(entry.name);
        if (!child) return FsError::kNotFound;
        // A file link cannot be told from its target: nothing is deleted through it.
        if (child->IsLink() && !child->isFolder) return FsError::kLink;
        if (child->isFolder && !child->IsLink()) return FsError::kOther;
        if (const FsError failure = Failure(entry.name); failure != FsError::kNone) return failure;
        if (child->lock != FakeFileSystem::Lock::kNone) return FsError::kInUse;
        return FsError::kNone;
    }

    FsError RemoveFolder(const FileEntry& entry, const platform::FileIdentity& identity) override {
        if (use_ == platform::FolderUse::kLook) return FsError::kAccessDenied;
        AboutToOpen(entry.name);
        const FakeFileSystem::Node* child = Child(entry.name);
        if (!child) return FsError::kNotFound;
        if (child->IsLink() || child->id != identity.file) return FsError::kLink;
        if (!child->isFolder) return FsError::kOther;
        const std::string key = ChildKey(entry.name);
        if (const FsError failure = Failure(entry.name); failure != FsError::kNone) return failure;
        // Held by a process as its current folder, by another program, or still by a handle
        // that empties it: none of them shares its deletion.
        if (text::EqualsNoCase(files_.Resolve(files_.currentFolder_, false), key) ||
            child->lock != FakeFileSystem::Lock::kNone || files_.heldAgainstDeletion_.count(key)) {
            return FsError::kInUse;
        }
        if (files_.HasChildren(key)) return FsError::kOther;
        files_.nodes_.erase(key);
        return FsError::kNone;
    }

private:
    void AboutToOpen(std::string_view name) {
        const FakeFileSystem::Node* folder = Live();
        if (files_.beforeOpen && folder) files_.beforeOpen(text::JoinPath(folder->path, name));
    }
    FsError Failure(std::string_view name) const {
        if (const auto failure = files_.failures_.find(ChildKey(name)); failure != files_.failures_.end()) {
            return failure->second;
        }
        return files_.writesFail_ ? FsError::kAccessDenied : FsError::kNone;
    }
    const FakeFileSystem::Node* Live() const {
        const FakeFileSystem::Node* node = files_.Find(key_);
        return node && node->id == id_ ? node : nullptr;
    }
    std::string ChildKey(std::string_view name) const { return ChildPrefix(key_) + text::ToUpper(name); }
    const FakeFileSystem::Node* Child(std::string_view name) const {
        return Live() ? files_.Find(ChildKey(name)) : nullptr;
    }

    FakeFileSystem& files_;
    std::string key_;
    std::uint64_t id_;
    platform::FolderUse use_;
};

FakeFileSystem::FakeFileSystem() { AddDrive('C'); }

void FakeFileSystem::AddDrive(char letter) {
    std::string root = std::string(1, static_cast<char>(std::toupper(letter))) + ":\\";
    if (Find(root)) return;
    nodes_[root] = Node{root, true, {}, platform::kAttrDirectory, Lock::kNone, {}, nextId_++};
}

std::optional<std::string> FakeFileSystem::DeviceOf(std::string_view name) const {
    if (name.size() != 2 || name[1] != ':') return std::nullopt;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (const auto mapped = mappedDrives_.find(letter); mapped != mappedDrives_.end()) {
        const Node* folder = Find(mapped->second);
        return "\\??\\" + (folder ? folder->path : mapped->second);
    }
    if (letter < 'C' || !Find(std::string(1, letter) + ":\\")) return std::nullopt;
    return "\\Device\\HarddiskVolume" + std::to_string(letter - 'B');
}

std::string FakeFileSystem::Normalise(const std::string& path) const {
    // The long-path, device, NT and GLOBALROOT forms ("\\?\C:\...", "\\.\UNC\server\share\...").
    const std::optional<std::string> plain =
        platform::PlainPath(path, [this](std::string_view name) { return DeviceOf(name); });
    if (!plain) return {};
    std::string p = *plain;
    std::replace(p.begin(), p.end(), '/', '\\');
    // "\\localhost\c$\..." is this machine's drive C:.
    if (text::StartsWith(p, "\\\\")) {
        const std::size_t serverEnd = p.find('\\', 2);
        if (serverEnd == std::string::npos || !IsThisMachine(std::string_view(p).substr(2, serverEnd - 2))) return {};
        const std::string_view share = std::string_view(p).substr(serverEnd + 1, 3);
        if (share.size() < 2 || !std::isalpha(static_cast<unsigned char>(share[0])) || share[1] != '$' ||
            (share.size() == 3 && share[2] != '\\')) {
            return {};
        }
        p = std::string(1, share[0]) + ":\\" + p.substr(std::min(p.size(), serverEnd + 4));
    }
    if (p.size() < 3 || p[1] != ':' || p[2] != '\\' || !std::isalpha(static_cast<unsigned char>(p[0]))) return {};
    std::vector<std::string> parts;
    size_t i = 3;
    while (i <= p.size()) {
        const size_t next = std::min(p.find('\\', i), p.size());
        std::string part = p.substr(i, next - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            // Windows drops trailing dots and blanks of a component.
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
            if (!part.empty()) parts.push_back(part);
        }
        i = next + 1;
    }
    std::string out = std::string(1, static_cast<char>(std::toupper(p[0]))) + ":\\";
    for (size_t k = 0; k < parts.size(); ++k) out += (k ? "\\" : "") + parts[k];
    return out;
}

std::string FakeFileSystem::Key(const std::string& normalised) { return text::ToUpper(normalised); }

std::string FakeFileSystem::Resolve(const std::string& path, bool keepLast) const {
    const std::string norm = Normalise(path);
    if (norm.empty()) return {};
    std::string key = Key(norm);
    // Substitute mapped drives and link targets, at most a few levels deep.
    for (int round = 0; round < 8; ++round) {
        bool changed = false;
        if (const auto mapped = mappedDrives_.find(key[0]); mapped != mappedDrives_.end()) {
            key = Rebase(mapped->second, std::string_view(key).substr(2));
            changed = true;
        }
        size_t pos = 3;
        while (pos <= key.size()) {
            const size_t next = std::min(key.find('\\', pos), key.size());
            const bool last = next == key.size();
            if (last && keepLast) break;
            const Node* node = Find(key.substr(0, next));
            if (node && node->IsLink()) {
                key = Rebase(node->linkTarget, std::string_view(key).substr(next));
                changed = true;
                break;
            }
            pos = next + 1;
        }
        if (!changed) break;
    }
    return key;
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& key) {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

const FakeFileSystem::Node* FakeFileSystem::Find(const std::string& key) const {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::HasChildren(const std::string& key) const {
    const std::string prefix = ChildPrefix(key);
    const auto it = nodes_.lower_bound(prefix);
    return it != nodes_.end() && text::StartsWith(it->first, prefix) && it->first != key;
}

void FakeFileSystem::Insert(const std::string& normalised, Node node) {
    const std::string parent = ParentKey(normalised);
    if (parent.size() >= 3 && !Find(Key(parent))) AddFolder(parent);
    node.path = normalised;
    node.id = nextId_++;
    nodes_[Key(normalised)] = std::move(node);
}

FileEntry FakeFileSystem::EntryOf(const Node& node) const {
    FileEntry entry{std::string(text::FileNameOf(node.path)), node.content.size(), node.attributes, node.id,
                    node.lastWrite};
    if (node.IsLink() && !node.isFolder) {
        if (const Node* target = Find(Resolve(node.linkTarget, false))) {
            entry.size = target->content.size();
            entry.attributes = target->attributes;
            entry.fileId = target->id;
            entry.lastWrite = target->lastWrite;
        }
    }
    return entry;
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    const std::string norm = Normalise(path);
    if (norm.size() == 3) {
        AddDrive(norm[0]);
        return;
    }
    if (const Node* existing = Find(Key(norm)); existing && existing->isFolder) return;
    Insert(norm, Node{{}, true, {}, attributes | platform::kAttrDirectory, Lock::kNone, {}, 0});
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
    Insert(Normalise(path), Node{{}, false, content, attributes ? attributes : platform::kAttrArchive,
                                 Lock::kNone, {}, 0});
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) {
    Insert(Normalise(path), Node{{}, true, {}, platform::kAttrDirectory | platform::kAttrReparsePoint,
                                 Lock::kNone, Key(Normalise(target)), 0});
}

void FakeFileSystem::AddFileLink(const std::string& path, const std::string& target) {
    Insert(Normalise(path), Node{{}, false, {}, platform::kAttrArchive, Lock::kNone, Key(Normalise(target)), 0});
}

void FakeFileSystem::AddHardLink(const std::string& path, const std::string& target) {
    const Node* file = Find(Resolve(target, false));
    if (!file || file->isFolder) return;
    Node name = *file;
    Insert(Normalise(path), name);
    Find(Key(Normalise(path)))->id = name.id;
}

int FakeFileSystem::NamesOf(std::uint64_t id) const {
    return static_cast<int>(std::count_if(nodes_.begin(), nodes_.end(), [&](const auto& entry) {
        return entry.second.id == id && !entry.second.isFolder && !entry.second.IsLink();
    }));
}

void FakeFileSystem::MapDrive(char letter, const std::string& folder) {
    mappedDrives_[static_cast<char>(std::toupper(letter))] = Resolve(folder, false);
}

void FakeFileSystem::Erase(const std::string& path) {
    const std::string key = Resolve(path, true);
    if (key.empty() || IsRootKey(key)) return;
    const std::string prefix = key + "\\";
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        it = it->first == key || text::StartsWith(it->first, prefix) ? nodes_.erase(it) : std::next(it);
    }
}

void FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const Node* named = Find(Resolve(path, true));
    if (!named) return;
    // Attributes belong to the file, whichever of its names is used.
    const std::uint64_t id = named->id;
    for (auto& [key, node] : nodes_) {
        if (node.id != id) continue;
        const std::uint32_t kind = node.attributes & (platform::kAttrDirectory | platform::kAttrReparsePoint);
        node.attributes = kind | attributes;
    }
}

void FakeFileSystem::SetWriteTime(const std::string& path, std::uint64_t fileTime) {
    if (Node* node = Find(Resolve(path, true))) node->lastWrite = fileTime;
}

void FakeFileSystem::SetLock(const std::string& path, Lock lock) {
    if (Node* node = Find(Resolve(path, false))) node->lock = lock;
}

std::optional<std::string> FakeFileSystem::Content(const std::string& path) const {
    const Node* node = Find(Resolve(path, false));
    if (!node || node->isFolder) return std::nullopt;
    return node->content;
}

std::vector<std::string> FakeFileSystem::Tree(const std::string& folder) const {
    const std::string prefix = ChildPrefix(Key(Normalise(folder)));
    std::vector<std::string> out;
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && text::StartsWith(it->first, prefix); ++it) {
        if (it->first.size() > prefix.size()) out.push_back(it->second.path);  // not a root itself
    }
    return out;
}

std::vector<std::string> FakeFileSystem::Drives() const {
    std::vector<std::string> out;
    for (const auto& [key, node] : nodes_) {
        if (IsRootKey(key)) out.push_back(node.path);
    }
    for (const auto& [letter, folder] : mappedDrives_) out.push_back(std::string(1, letter) + ":\\");
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<std::string> FakeFileSystem::ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
    const Node* node = Find(Resolve(path, false));
    if (!node || node->isFolder || node->lock == Lock::kExclusive) return std::nullopt;
    if (node->content.size() > maxBytes) return std::nullopt;
    return node->content;
}

void FakeFileSystem::RemoveLeftoversBeside(const std::string& key) {
    const std::string prefix = ChildPrefix(ParentKey(key));
    const std::string name(text::FileNameOf(key));
    const std::string start = prefix + name;
    for (auto it = nodes_.lower_bound(start); it != nodes_.end() && text::StartsWith(it->first, start);) {
        const auto writer = platform::TemporaryFileWriter(std::string_view(it->first).substr(prefix.size()), name);
        const bool leftover = writer && *writer != kRunningProcess && !it->second.isFolder && !it->second.IsLink();
        it = leftover ? nodes_.erase(it) : std::next(it);
    }
}

FsError FakeFileSystem::TryReplaceWholeFile(const std::string& path, std::string_view content) {
    const std::string key = Resolve(path, false);
    if (key.empty()) return {FsError::kOther, kInvalidName};
    if (writesFail_) return {FsError::kOther, kDiskFull};
    const Node* parent = Find(ParentKey(key));
    if (!parent || !parent->isFolder) return {FsError::kNotFound, kPathNotFound};
    RemoveLeftoversBeside(key);
    if (Node* node = Find(key)) {
        if (node->isFolder || node->Has(platform::kAttrReadOnly)) return {FsError::kAccessDenied, kAccessDenied};
        if (node->lock != Lock::kNone) return {FsError::kInUse, kSharingViolation};
        node->content = std::string(content);
        node->attributes = platform::kAttrArchive;
        node->id = nextId_++;  // a new file under the name: its other names keep the old one
        return FsError::kNone;
    }
    Insert(Normalise(path), Node{{}, false, std::string(content), platform::kAttrArchive, Lock::kNone, {}, 0});
    return FsError::kNone;
}

std::optional<std::uint64_t> FakeFileSystem::AppendToFile(const std::string& path, std::string_view content) {
    // The last component as it stands: a file link there is refused, not followed.
    const std::string key = Resolve(path, true);
    if (key.empty() || IsRootKey(key) || writesFail_) return std::nullopt;
    Node* node = Find(key);
    if (!node) {
        const Node* parent = Find(ParentKey(key));
        if (!parent || !parent->isFolder) return std::nullopt;
        Insert(text::JoinPath(parent->path, text::FileNameOf(Normalise(path))),
               Node{{}, false, {}, platform::kAttrArchive, Lock::kNone, {}, 0});
        node = Find(key);
    }
    // A second name is refused as a link is: the write would land in a file elsewhere too.
    if (node->isFolder || node->IsLink() || node->lock != Lock::kNone || node->Has(platform::kAttrReadOnly) ||
        NamesOf(node->id) > 1) {
        return std::nullopt;
    }
    node->content += content;
    return node->content.size();
}

std::optional<std::uint32_t> FakeFileSystem::Attributes(const std::string& path) {
    const Node* node = Find(Resolve(path, true));
    if (!node) return std::nullopt;
    return EntryOf(*node).attributes;
}

std::optional<std::vector<FileEntry>> FakeFileSystem::ListFolder(const std::string& folder) {
    const std::string key = Resolve(folder, false);
    const Node* node = Find(key);
    if (!node || !node->isFolder) return std::nullopt;
    const std::string prefix = ChildPrefix(key);
    std::vector<FileEntry> out;
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && text::StartsWith(it->first, prefix); ++it) {
        if (it->first.size() == prefix.size()) continue;  // a root is not its own child
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;  // deeper down
        out.push_back(EntryOf(it->second));
    }
    return out;
}

FsError FakeFileSystem::CreateFolder(const std::string& path) {
    const std::string key = Resolve(path, true);
    if (key.empty() || writesFail_) return FsError::kAccessDenied;
    if (Find(key)) return FsError::kOther;
    const Node* parentNode = Find(ParentKey(key));
    if (!parentNode || !parentNode->isFolder) return FsError::kNotFound;
    nodes_[key] = Node{text::JoinPath(parentNode->path, text::FileNameOf(Normalise(path))), true, {},
                       platform::kAttrDirectory, Lock::kNone, {}, nextId_++};
    return FsError::kNone;
}

FsError FakeFileSystem::MoveFile(const std::string& from, const std::string& to) {
    const std::string fromKey = Resolve(from, true);
    const std::string toKey = Resolve(to, true);
    const Node* node = Find(fromKey);
    if (!node) return FsError::kNotFound;
    if (writesFail_) return FsError::kAccessDenied;
    if (node->lock != Lock::kNone) return FsError::kInUse;
    if (Find(toKey) || toKey.empty()) return FsError::kOther;
    const Node* parentNode = Find(ParentKey(toKey));
    if (!parentNode || !parentNode->isFolder) return FsError::kNotFound;
    const std::string newPath = text::JoinPath(parentNode->path, text::FileNameOf(Normalise(to)));
    // Move the node and everything below it; each keeps its identity.
    std::vector<std::pair<std::string, Node>> moved;
    const std::string prefix = fromKey + "\\";
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (it->first == fromKey || text::StartsWith(it->first, prefix)) {
            Node n = it->second;
            n.path = newPath + n.path.substr(fromKey.size());
            moved.emplace_back(toKey + it->first.substr(fromKey.size()), std::move(n));
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [key, n] : moved) nodes_[key] = std::move(n);
    return FsError::kNone;
}

std::string FakeFileSystem::FullPath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    if (p.size() >= 2 && p[1] == ':' && (p.size() == 2 || p[2] != '\\')) {
        // Drive-relative: against the current folder on its drive, else the drive's root.
        const bool currentDrive = std::toupper(static_cast<unsigned char>(p[0])) ==
                                  std::toupper(static_cast<unsigned char>(currentFolder_[0]));
        p = currentDrive ? text::JoinPath(currentFolder_, p.substr(2)) : p.substr(0, 2) + "\\" + p.substr(2);
    } else if (text::StartsWith(p, "\\")) {
        p = currentFolder_.substr(0, 2) + p;
    } else if (p.size() < 2 || p[1] != ':') {
        p = text::JoinPath(currentFolder_, p);
    }
    const bool trailing = text::EndsWith(p, "\\");
    std::string out = Normalise(p);
    if (trailing && out.size() > 3) out += '\\';
    return out;
}

std::optional<FakeFileSystem::Identified> FakeFileSystem::Identify(const std::string& spelled) {
    const std::optional<std::string> plain = PlainPath(spelled);
    if (!plain) return std::nullopt;
    const std::string& path = *plain;
    const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    const bool network = path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
    const std::string key = Resolve(network ? path : FullPath(path), false);
    const Node* node = Find(key);
    if (!node) return std::nullopt;
    std::string parent;
    if (!IsRootKey(key)) {
        const Node* holder = Find(ParentKey(key));
        parent = holder ? holder->path : ParentKey(key);
    }
    return Identified{{static_cast<std::uint64_t>(key[0]), node->id}, parent};
}

std::optional<FakeFileSystem::Item> FakeFileSystem::IdentifyItself(const std::string& spelled) {
    const std::optional<std::string> plain = PlainPath(spelled);
    if (!plain) return std::nullopt;
    const bool network = text::StartsWith(*plain, "\\\\") || text::StartsWith(*plain, "//");
    const std::string key = Resolve(network ? *plain : FullPath(*plain), true);
    const Node* node = Find(key);
    if (!node) return std::nullopt;
    if (node->IsLink() && !node->isFolder) {
        const std::string target = Resolve(node->linkTarget, false);
        node = Find(target);
        if (!node) return std::nullopt;
        return Item{{static_cast<std::uint64_t>(target[0]), node->id}, node->attributes};
    }
    return Item{{static_cast<std::uint64_t>(key[0]), node->id}, node->attributes};
}

std::unique_ptr<platform::FolderHandle> FakeFileSystem::OpenFolder(const std::string& path, platform::FolderUse use,
                                                                   FsError* why) {
    const std::string key = Resolve(path, false);
    const Node* node = Find(key);
    if (!node || !node->isFolder || node->IsLink()) {
        if (why) *why = !node ? FsError(FsError::kNotFound, kPathNotFound) : FsError(FsError::kOther, kDirectoryName);
        return nullptr;
    }
    return std::make_unique<FakeFolderHandle>(*this, key, node->id, use);
}

bool FakeFileSystem::OpensAsAnotherProgram(const std::string& path, bool toDelete) const {
    const std::string key = Resolve(path, true);
    const Node* node = Find(key);
    if (!node) return false;
    // No handle of ours holds a folder with the right to write or delete it, so a reader sharing
    // only reading is kept out by another program's exclusive hold alone.
    if (!toDelete) return node->lock != Lock::kExclusive;
    return node->lock == Lock::kNone && !heldAgainstDeletion_.count(key) &&
           !text::EqualsNoCase(Resolve(currentFolder_, false), key);
}

FsError FakeFileSystem::TryOpen(const std::string& path, OpenIntent intent) {
    const Node* node = Find(Resolve(path, false));
    if (!node) return FsError::kNotFound;
    if (node->isFolder) return FsError::kAccessDenied;  // a folder is not opened as a file
    if (node->lock == Lock::kExclusive || (node->lock == Lock::kInUse && intent == OpenIntent::kDelete)) {
        return FsError::kInUse;
    }
    return FsError::kNone;
}

}  // namespace fake
