#pragma once
#include <optional>
#include <string>

#include "platform/UrlCache.h"

namespace win32 {

// The URL cache through WinINet's ANSI calls. Names are the platform's ANSI text converted to
// UTF-8, and converted back for a deletion, so that a listed name always deletes its entry.
class Win32UrlCache : public platform::UrlCache {
public:
    void Enumerate(const std::optional<std::string>& pattern,
                   const std::function<bool(const platform::UrlCacheEntry&)>& visit) override;
    bool Delete(const std::string& sourceUrlName) override;
};

}  // namespace win32
