#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace win32 {
namespace {

// Handles are small numbers; 0 and -1 both mean "none", as with kernel handles.
std::vector<int> closed;

struct CountingTraits {
    using Handle = int;
    static Handle Invalid() { return 0; }
    static bool IsValid(Handle handle) { return handle != 0 && handle != -1; }
    static void Close(Handle handle) { closed.push_back(handle); }
};
using Owner = UniqueHandle<CountingTraits>;

class UniqueHandleTest : public ::testing::Test {
protected:
    void SetUp() override { closed.clear(); }
};

TEST_F(UniqueHandleTest, ClosesEachHandleOnceAndNeverAnInvalidOne) {
    {
        Owner first(7);
        Owner none(-1);
        Owner empty;
        EXPECT_TRUE(first);
        EXPECT_FALSE(none);
        EXPECT_FALSE(empty);
    }
    EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueHandleTest, MovingHandsOverOwnership) {
    {
        Owner a(1);
        Owner b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), 1);
        Owner c(2);
        c = std::move(b);  // 2 closes now, 1 lives on in c
        EXPECT_EQ(closed, std::vector<int>{2});
        Owner& alias = c;
        c = std::move(alias);  // moving onto itself keeps the handle
        EXPECT_EQ(c.Get(), 1);
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 1}));
}

TEST_F(UniqueHandleTest, ResetClosesAndReleaseDoesNot) {
    Owner owner(3);
    owner.Reset(4);
    EXPECT_EQ(closed, std::vector<int>{3});
    EXPECT_EQ(owner.Release(), 4);
    EXPECT_FALSE(owner);
    owner.Reset();
    EXPECT_EQ(closed, std::vector<int>{3});
}

}  // namespace
}  // namespace win32
