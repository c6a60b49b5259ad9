// What the RecycleBin port promises: the fake held to Wine's shell (its bin the prefix's own trash).
#include <gtest/gtest.h>

#include "tests/contract/ContractWorld.h"

TEST(RecycleBinContract, CountsWhatWasDeletedToItAndEmptiesIt) {
    const std::unique_ptr<contract::ContractWorld> world = contract::MakeWorld();
    const std::string first = world->Scratch() + "\\first.txt", second = world->Scratch() + "\\second.txt";
    world->MakeFile(first, "12345");
    world->MakeFile(second, "1234567");
    if (!world->Trash(first) || !world->Trash(second)) GTEST_SKIP() << "no bin of the test's own here";
    EXPECT_EQ(world->Bin().Query(), (platform::BinContents{2, 12})) << "the bin was empty before";
    EXPECT_EQ(world->Bin().Empty(), 0u);
    EXPECT_EQ(world->Bin().Query(), (platform::BinContents{0, 0}));
    EXPECT_FALSE(world->Files().Exists(first)) << "emptied, not put back";
}
