#pragma once
// The URL cache listed as plain code would list it, for the references of the cache benchmarks:
// WinINet's ANSI enumeration with one buffer that grows when an entry does not fit.
#include <cstdint>
#include <vector>

#include "platform/win32/Win32.h"

#include <wininet.h>

namespace bench {

// Calls visit(record) for every entry the pattern lists (nullptr: every container).
template <typename Visit>
void ForEachBareCacheEntry(const char* pattern, Visit visit) {
    std::vector<std::uint64_t> storage(4096 / sizeof(std::uint64_t));
    const auto record = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage.data()); };
    const auto fetch = [&](auto call) {
        for (;;) {
            DWORD size = static_cast<DWORD>(storage.size() * sizeof(std::uint64_t));
            if (call(record(), &size)) return true;
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
            storage.resize(size / sizeof(std::uint64_t) + 1);
        }
    };
    HANDLE search = nullptr;
    if (!fetch([&](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
            search = ::FindFirstUrlCacheEntryA(pattern, entry, size);
            return search != nullptr;
        })) {
        return;
    }
    do {
        visit(static_cast<const INTERNET_CACHE_ENTRY_INFOA&>(*record()));
    } while (fetch([&](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
        return ::FindNextUrlCacheEntryA(search, entry, size) != FALSE;
    }));
    ::FindCloseUrlCache(search);
}

}  // namespace bench
