#pragma once
// The one writer of keep-lists.
#include <string>
#include <vector>

#include "platform/Ports.h"

namespace engine {

// Stores the saved list as the "Internet" keep-list. Clean.ini is rebuilt whole: the four main
// settings (User/sFile0 and Delete/Temp, Temporary Internet Files, User; "0" when absent), every
// other [Delete] option it holds (the other targets of the table first), the new Internet list
// and the Cookies list carried over unchanged; every other key goes. The
// new file replaces the old one in one atomic step, so the settings are never missing and a
// failed write leaves the old file whole. A settings file that exists but cannot be read is
// left alone rather than replaced by defaults. Answers kNone once stored, else why not (as
// settings::WriteINI answers).
platform::FsError SaveInternetKeepList(const platform::Ports& ports, const std::vector<std::string>& savedList);

}  // namespace engine
