#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/RecycleBin.h"

namespace fake {

// A Recycle Bin in memory: its items by name and size. An item may be one the shell cannot
// remove (Wine's shell leaves a deleted folder and a link to a folder in its trash).
class FakeRecycleBin : public platform::RecycleBin {
public:
    struct Item {
        std::string name;
        std::uint64_t size = 0;
        bool staysWhenEmptied = false;
    };
    std::vector<Item> items;
    bool unreadable = false;  // the shell cannot tell what the bin holds
    int emptied = 0;          // how often Empty was called

    void Add(const std::string& name, std::uint64_t size, bool staysWhenEmptied = false) {
        items.push_back({name, size, staysWhenEmptied});
    }

    std::optional<platform::BinContents> Query() override;
    std::uint32_t Empty() override;
};

}  // namespace fake
