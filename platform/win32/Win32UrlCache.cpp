#include "platform/win32/Win32UrlCache.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/win32/LateBound.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <wininet.h>

// The ANSI calls, not the wide ones: the cache holds names as bytes, and the wide calls
// re-encode them on the way in (Wine turns the host into punycode and the rest into UTF-8),
// so a name listed through them may not find its own entry when it is deleted.
//
// What Wine 8 answers (measured; Windows documents "cookie:", "visited:" and NULL, NULL being
// the content entries only):
// - The cache has three containers, chosen by the start of a name: "Cookie:" (cookies, type
//   0x100000), "Visited:" (history, type 0x200000) and everything else (content, type 0x1 added
//   to whatever was committed).
// - A pattern lists the container whose prefix it equals, letter case included: "Cookie:" the
//   cookies, "" the content; "cookie:", "COOKIE:", "0" or "http:" list nothing. NULL lists every
//   container, cookies and history included.
// - A name is compared byte for byte, so "http://a/Page" and "http://a/page" are two entries.
// - Deleting an entry that is not there fails with ERROR_FILE_NOT_FOUND; deleting one that is
//   in use (retrieved and not yet unlocked) fails and marks it to go when it is unlocked.

namespace win32 {
namespace {

// WinINet, loaded the first time the cache is used. Imported, it would be loaded at every
// start, with all it pulls in (about 20 ms of a resident start under Wine, and part of the
// working set), although most runs never touch the cache.
struct WinInet {
    decltype(&::FindFirstUrlCacheEntryA) findFirst = nullptr;
    decltype(&::FindNextUrlCacheEntryA) findNext = nullptr;
    decltype(&::FindCloseUrlCache) findClose = nullptr;
    decltype(&::DeleteUrlCacheEntryA) deleteEntry = nullptr;
};

std::optional<WinInet> LoadWinInet() {
    const HMODULE module = ::LoadLibraryW(L"wininet.dll");
    if (!module) return std::nullopt;
    WinInet inet;
    const bool all = Resolve(module, "FindFirstUrlCacheEntryA", inet.findFirst) &&
                     Resolve(module, "FindNextUrlCacheEntryA", inet.findNext) &&
                     Resolve(module, "FindCloseUrlCache", inet.findClose) &&
                     Resolve(module, "DeleteUrlCacheEntryA", inet.deleteEntry);
    if (!all) return std::nullopt;
    return inet;
}

// The functions, loaded once and kept for the life of the process; nullptr when WinINet or one
// of them is missing.
const WinInet* Inet() {
    static const std::optional<WinInet> inet = LoadWinInet();
    return inet ? &*inet : nullptr;
}

struct CacheSearchTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    // A search exists only once WinINet is loaded.
    static void Close(Handle handle) { Inet()->findClose(handle); }
};
using CacheSearch = UniqueHandle<CacheSearchTraits>;

// Most entries fit at once, so an enumeration costs one call per entry.
constexpr DWORD kStartSize = 4096;
// An entry can grow between the call that reports its size and the next one.
constexpr int kFetchAttempts = 4;

// One entry record followed by its strings, kept from one entry to the next. The storage is
// 8-byte aligned for the record.
class EntryBuffer {
public:
    explicit EntryBuffer(DWORD bytes) { Grow(bytes); }

    INTERNET_CACHE_ENTRY_INFOA* Record() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage_.data()); }
    const char* Bytes() const { return reinterpret_cast<const char*>(storage_.data()); }
    DWORD Size() const { return static_cast<DWORD>(storage_.size() * sizeof(std::uint64_t)); }
    void Grow(DWORD bytes) {
        storage_.resize((static_cast<size_t>(bytes) + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    }

private:
    std::vector<std::uint64_t> storage_;
};

// Calls fetch(record, &size) until the entry fits: a short buffer makes the platform report
// the size it needs, and the same entry is asked for again in a larger one.
template <typename Fetch>
bool FetchEntry(EntryBuffer& buffer, Fetch fetch) {
    for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
        DWORD size = buffer.Size();
        buffer.Record()->dwStructSize = size;
        if (fetch(buffer.Record(), &size)) return true;
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.Size()) return false;
        buffer.Grow(size);
    }
    return false;
}

// The entry in the buffer, or nullopt when its name does not lie whole inside the buffer.
std::optional<platform::UrlCacheEntry> EntryIn(EntryBuffer& buffer) {
    const INTERNET_CACHE_ENTRY_INFOA* record = buffer.Record();
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.Bytes());
    const auto name = reinterpret_cast<std::uintptr_t>(record->lpszSourceUrlName);
    if (name < begin || name >= begin + buffer.Size()) return std::nullopt;
    const size_t room = begin + buffer.Size() - name;
    const void* end = std::memchr(record->lpszSourceUrlName, '\0', room);
    if (end == nullptr) return std::nullopt;
    const size_t length = static_cast<const char*>(end) - record->lpszSourceUrlName;
    return platform::UrlCacheEntry{FromAnsi(std::string_view(record->lpszSourceUrlName, length)),
                                   record->CacheEntryType,
                                   (static_cast<std::uint64_t>(record->dwSizeHigh) << 32) | record->dwSizeLow};
}

}  // namespace

void Win32UrlCache::Enumerate(const std::optional<std::string>& pattern,
                              const std::function<bool(const platform::UrlCacheEntry&)>& visit) {
    const WinInet* inet = Inet();
    if (!inet) return;  // no cache to list
    std::optional<std::string> ansiPattern;
    if (pattern) {
        ansiPattern = ToAnsi(*pattern, AnsiLoss::kRefuse);
        if (!ansiPattern) return;  // no container has such a prefix
    }
    const char* search = ansiPattern ? ansiPattern->c_str() : nullptr;

    // The size query, with the pattern of the fetch: a cache it finds nothing in answers
    // ERROR_NO_MORE_ITEMS.
    DWORD size = 0;
    CacheSearch entries(inet->findFirst(search, nullptr, &size));
    if (entries || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return;

    EntryBuffer buffer(size > kStartSize ? size : kStartSize);
    const bool found = FetchEntry(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* record, DWORD* bytes) {
        entries.Reset(inet->findFirst(search, record, bytes));
        return entries.IsValid();
    });
    if (!found) return;
    const auto next = [&](INTERNET_CACHE_ENTRY_INFOA* record, DWORD* bytes) {
        return inet->findNext(entries.Get(), record, bytes) != FALSE;
    };
    do {
        if (const auto entry = EntryIn(buffer); entry && !visit(*entry)) return;
    } while (FetchEntry(buffer, next));
}

bool Win32UrlCache::Delete(const std::string& sourceUrlName) {
    // A look-alike or "?" could name another entry: a name the code page cannot hold exactly
    // names none, and is gone already.
    const auto ansi = ToAnsi(sourceUrlName, AnsiLoss::kRefuse);
    if (!ansi || ansi->empty()) return true;
    const WinInet* inet = Inet();
    if (!inet) return false;  // the cache cannot be reached, so nothing was removed
    if (inet->deleteEntry(ansi->c_str())) return true;
    return ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace win32
