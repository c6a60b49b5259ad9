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

// A folder by the long-path form of its path, links followed; null when it is no folder or
// cannot be opened.
std::unique_ptr<platform::FolderHandle> OpenFolderHandle(const std::wstring& apiPath);

// What the long-path form names, links followed, and the folder that holds it as reached from
// what it is.
std::optional<platform::FileSystem::Identified> IdentifyPath(const std::wstring& apiPath);

platform::FsError FsErrorOf(DWORD code);

}  // namespace win32
