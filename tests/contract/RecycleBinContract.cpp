// What the RecycleBin port promises: the fake held to Wine's shell. Under Wine the bin is the
// trash of the prefix's own HOME (below build/); on Windows the world trashes nothing, since
// these tests empty the bin.
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "tests/contract/ContractWorld.h"

namespace contract {
namespace {

TEST(RecycleBinContract, CountsWhatWasDeletedToItAndEmptiesIt) {
    const std::unique_ptr<ContractWorld> world = MakeWorld();
    platform::RecycleBin& bin = world->Bin();
    const std::string first = text::JoinPath(world->Scratch(), "first.txt");
    const std::string second = text::JoinPath(world->Scratch(), "second.txt");
    world->MakeFile(first, "12345");
    world->MakeFile(second, "1234567");
    if (!world->Trash(first)) GTEST_SKIP() << "no bin of a test's own here";
    ASSERT_TRUE(world->Trash(second));
    EXPECT_FALSE(world->Files().Exists(first));

    const std::optional<platform::BinContents> full = bin.Query();
    ASSERT_TRUE(full) << "the shell reads the bin";
    EXPECT_GE(full->items, 2u);
    EXPECT_GE(full->bytes, 12u);
    EXPECT_EQ(bin.Empty(), 0u);
    EXPECT_EQ(bin.Query(), (platform::BinContents{0, 0}));
    EXPECT_FALSE(world->Files().Exists(first)) << "emptied, not put back";
}

}  // namespace
}  // namespace contract
