#pragma once
// Folders held open by handle: listed from the handle, their children opened relative to it
// (ntdll's NtCreateFile with a root directory) without following links, and each child checked
// on the handle that deletes it. Under Wine, whose Unix links are not marked as links, a child's
// handle must have the folder's own path followed by the child's name.
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/win32/Win32.h"

namespace win32 {

// A folder by the long-path form of its path, links followed, held for the use; null when it is
// no folder or cannot be opened, and why into *why when asked.
std::unique_ptr<platform::FolderHandle> OpenFolderHandle(const std::wstring& apiPath, platform::FolderUse use,
                                                         platform::FsError* why = nullptr);

// What the long-path form names, links followed, and the folder that holds it as reached from
// what it is.
std::optional<platform::FileSystem::Identified> IdentifyPath(const std::wstring& apiPath);
// What the long-path form names with its last component as it stands (a link as the link).
std::optional<platform::FileSystem::Item> IdentifyPathItself(const std::wstring& apiPath);

// Whether a file opened by the long-path form is the file its folder holds under that name and
// not what a Unix link there leads to: Wine follows such a link at every open and does not mark
// it, so the handle's object name must be the folder's followed by the name. Elsewhere links are
// marked (FILE_ATTRIBUTE_REPARSE_POINT on a handle opened with FILE_FLAG_OPEN_REPARSE_POINT),
// and this is true.
bool IsNoUnixLink(HANDLE file, const std::wstring& apiPath);

platform::FsError FsErrorOf(DWORD code);

}  // namespace win32
