#include "platform/fake/FakeFileSystem.h"

#include <algorithm>
#include <cctype>

#include "platform/Text.h"

namespace fake {

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
}  // namespace

FakeFileSystem::FakeFileSystem() { AddDrive('C'); }

void FakeFileSystem::AddDrive(char letter) {
    std::string root = std::string(1, static_cast<char>(std::toupper(letter))) + ":\\";
    nodes_[root] = Node{root, true, {}, platform::kAttrDirectory, Lock::kNone, {}};
}

std::string FakeFileSystem::Normalise(const std::string& path) const {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
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
    // Walk the components and substitute link targets, at most a few levels deep.
    for (int round = 0; round < 8; ++round) {
        bool changed = false;
        size_t pos = 3;
        while (pos <= key.size()) {
            const size_t next = std::min(key.find('\\', pos), key.size());
            const bool last = next == key.size();
            if (last && keepLast) break;
            const std::string prefix = key.substr(0, next);
            const Node* node = Find(prefix);
            if (node && !node->linkTarget.empty()) {
                key = node->linkTarget + key.substr(next);
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
    nodes_[Key(normalised)] = std::move(node);
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    const std::string norm = Normalise(path);
    if (norm.size() == 3) {
        AddDrive(norm[0]);
        return;
    }
    if (const Node* existing = Find(Key(norm)); existing && existing->isFolder) return;
    Insert(norm, Node{{}, true, {}, attributes | platform::kAttrDirectory, Lock::kNone, {}});
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
    Insert(Normalise(path), Node{{}, false, content, attributes ? attributes : platform::kAttrArchive,
                                 Lock::kNone, {}});
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) {
    Insert(Normalise(path), Node{{}, true, {}, platform::kAttrDirectory | platform::kAttrReparsePoint,
                                 Lock::kNone, Key(Normalise(target))});
}

void FakeFileSystem::SetLock(const std::string& path, Lock lock) {
    if (Node* node = Find(Resolve(path, false))) node->lock = lock;
}

void FakeFileSystem::AddShortName(const std::string& shortPath, const std::string& longPath) {
    shortNames_[Key(Normalise(shortPath))] = Normalise(longPath);
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
    return out;
}

std::optional<std::string> FakeFileSystem::ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
    const Node* node = Find(Resolve(path, false));
    if (!node || node->isFolder || node->lock == Lock::kExclusive) return std::nullopt;
    if (node->content.size() > maxBytes) return std::nullopt;
    return node->content;
}

bool FakeFileSystem::ReplaceWholeFile(const std::string& path, std::string_view content) {
    const std::string key = Resolve(path, false);
    if (key.empty() || writesFail_) return false;
    const Node* parent = Find(ParentKey(key));
    if (!parent || !parent->isFolder) return false;
    if (Node* node = Find(key)) {
        if (node->isFolder || node->lock != Lock::kNone || node->Has(platform::kAttrReadOnly)) return false;
        node->content = std::string(content);
        node->attributes = platform::kAttrArchive;
        return true;
    }
    Insert(Normalise(path), Node{{}, false, std::string(content), platform::kAttrArchive, Lock::kNone, {}});
    return true;
}

std::optional<std::uint32_t> FakeFileSystem::Attributes(const std::string& path) {
    const Node* node = Find(Resolve(path, true));
    if (!node) return std::nullopt;
    return node->attributes;
}

bool FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    Node* node = Find(Resolve(path, true));
    // Windows would change the target through a link; the port refuses instead.
    if (!node || writesFail_ || !node->linkTarget.empty()) return false;
    const std::uint32_t kept = node->attributes & (platform::kAttrDirectory | platform::kAttrReparsePoint);
    node->attributes = kept | (attributes & ~(platform::kAttrDirectory | platform::kAttrReparsePoint |
                                              platform::kAttrNormal));
    if (node->attributes == 0) node->attributes = platform::kAttrNormal;
    return true;
}

std::optional<std::vector<platform::FileEntry>> FakeFileSystem::ListFolder(const std::string& folder) {
    const std::string key = Resolve(folder, false);
    const Node* node = Find(key);
    if (!node || !node->isFolder) return std::nullopt;
    const std::string prefix = ChildPrefix(key);
    std::vector<platform::FileEntry> out;
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && text::StartsWith(it->first, prefix); ++it) {
        if (it->first.size() == prefix.size()) continue;  // a root is not its own child
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;  // deeper down
        const Node& child = it->second;
        out.push_back({std::string(text::FileNameOf(child.path)), child.content.size(), child.attributes});
    }
    return out;
}

FsError FakeFileSystem::DeleteFile(const std::string& path) {
    const std::string key = Resolve(path, true);
    Node* node = Find(key);
    if (!node) return FsError::kNotFound;
    if (writesFail_ || node->isFolder || node->Has(platform::kAttrReadOnly)) return FsError::kAccessDenied;
    if (node->lock != Lock::kNone) return FsError::kInUse;
    nodes_.erase(key);
    return FsError::kNone;
}

FsError FakeFileSystem::RemoveFolder(const std::string& path) {
    const std::string key = Resolve(path, true);
    Node* node = Find(key);
    if (!node) return FsError::kNotFound;
    if (!node->isFolder || IsRootKey(key)) return FsError::kOther;
    if (writesFail_ || node->Has(platform::kAttrReadOnly)) return FsError::kAccessDenied;
    if (node->linkTarget.empty() && HasChildren(key)) return FsError::kOther;
    nodes_.erase(key);
    return FsError::kNone;
}

FsError FakeFileSystem::CreateFolder(const std::string& path) {
    const std::string key = Resolve(path, true);
    if (key.empty() || writesFail_) return FsError::kAccessDenied;
    if (Find(key)) return FsError::kOther;
    const Node* parentNode = Find(ParentKey(key));
    if (!parentNode || !parentNode->isFolder) return FsError::kNotFound;
    nodes_[key] = Node{text::JoinPath(parentNode->path, text::FileNameOf(Normalise(path))), true, {},
                       platform::kAttrDirectory, Lock::kNone, {}};
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
    // Move the node and everything below it.
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

std::string FakeFileSystem::LongPath(const std::string& path) {
    const std::string norm = Normalise(path);
    if (norm.empty()) return path;
    const std::string key = Key(norm);
    std::string out = norm;
    for (const auto& [shortKey, longPath] : shortNames_) {
        if (key == shortKey || text::StartsWith(key, shortKey + "\\")) {
            out = longPath + norm.substr(shortKey.size());
        }
    }
    // A path that does not exist comes back as it was given.
    return Find(Resolve(out, true)) ? out : path;
}

}  // namespace fake
