#include "platform/fake/FakeRecycleBin.h"

#include <algorithm>

namespace fake {

std::optional<platform::BinContents> FakeRecycleBin::Query() {
    if (unreadable) return std::nullopt;
    platform::BinContents contents;
    for (const Item& item : items) {
        ++contents.items;
        contents.bytes += item.size;
    }
    return contents;
}

std::uint32_t FakeRecycleBin::Empty() {
    ++emptied;
    if (unreadable) return 0x80004005;  // E_FAIL, as Wine answers without a trash
    std::erase_if(items, [](const Item& item) { return !item.staysWhenEmptied; });
    return 0;
}

}  // namespace fake
