#pragma once
#include "platform/RecycleBin.h"

namespace win32 {

// The Recycle Bin through the shell's own calls (SHQueryRecycleBinW, SHEmptyRecycleBinW) for
// every drive at once. Under Wine 8 the bin is the XDG trash of the user's HOME
// ($XDG_DATA_HOME/Trash), whatever drive is named.
class Win32RecycleBin : public platform::RecycleBin {
public:
    std::optional<platform::BinContents> Query() override;
    std::uint32_t Empty() override;
};

}  // namespace win32
