#pragma once
// Folder links for tests under Wine. Wine cannot make a link itself (CreateSymbolicLinkW does
// nothing there), and a Unix link is what a Wine user has, so tests ask Linux directly. Callers
// make links only inside a folder they created, to targets inside it.
#include <string>

namespace testing_support {

// The Linux path of a Windows path; "" where Wine's bridge is missing (on Windows).
std::string UnixNameOfPath(const std::string& path);
// A Linux symbolic link at linkPath to the Linux path targetPath; 0 on success.
long LinuxSymlink(const std::string& targetPath, const std::string& linkPath);
// A Linux link at the Windows path link to the Windows path target; the Linux path of the link
// (for LinuxUnlink), or "" when none could be made.
std::string MakeUnixLink(const std::string& link, const std::string& target);
// Removes the Linux link itself; 0 on success.
long LinuxUnlink(const std::string& linkPath);
// Renames on the Linux side, as another program racing a test would; 0 on success.
long LinuxRename(const std::string& from, const std::string& to);
// Makes and removes an empty Linux folder; 0 on success.
long LinuxMkdir(const std::string& path);
long LinuxRmdir(const std::string& path);

}  // namespace testing_support
