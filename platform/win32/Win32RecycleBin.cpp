#include "platform/win32/Win32RecycleBin.h"

#include "platform/win32/ComLibrary.h"
#include "platform/win32/Win32.h"

#include <shellapi.h>

namespace win32 {

std::optional<platform::BinContents> Win32RecycleBin::Query() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(::SHQueryRecycleBinW(nullptr, &info))) return std::nullopt;
    return platform::BinContents{static_cast<std::uint64_t>(info.i64NumItems), static_cast<std::uint64_t>(info.i64Size)};
}

std::uint32_t Win32RecycleBin::Empty() {
    // The work's own thread: the shell's deletion may want COM there (Windows; no test reaches it).
    const ComScope com;
    const HRESULT result =
        ::SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    return SUCCEEDED(result) ? 0 : static_cast<std::uint32_t>(result);
}

}  // namespace win32
