#include <gtest/gtest.h>
#include <windows.h>

TEST(Smoke, RunsUnderWindowsOrWine) { EXPECT_NE(GetCurrentProcessId(), 0u); }
