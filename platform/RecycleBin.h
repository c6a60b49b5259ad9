#pragma once
// The shell's Recycle Bin: what it holds, and emptying it. Only the shell reaches it: its
// folders are the shell's own, and a hand-made walk of them could follow a link out of them.
#include <cstdint>
#include <optional>

namespace platform {

struct BinContents {
    std::uint64_t items = 0;  // as the shell counts them: a deleted folder is one item
    std::uint64_t bytes = 0;
    friend bool operator==(const BinContents&, const BinContents&) = default;
};

class RecycleBin {
public:
    virtual ~RecycleBin() = default;
    // What the bins of every drive hold together; nullopt when the shell cannot tell.
    virtual std::optional<BinContents> Query() = 0;
    // Empties the bins of every drive, asking nothing and showing nothing (no confirmation,
    // no progress, no sound): 0 when the shell says it did, else its own code (an HRESULT).
    // What it could not remove stays in the bin.
    virtual std::uint32_t Empty() = 0;
};

}  // namespace platform
