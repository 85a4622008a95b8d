#include "app/cmdline.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(IsSilent, FindsEachSwitchAnywhere)
{
    EXPECT_TRUE(IsSilent("setup /s"));
    EXPECT_TRUE(IsSilent("\"C:\\pkg\\setup.exe\" -S"));
    EXPECT_TRUE(IsSilent("\"C:\\my-setup\\setup.exe\""));
    EXPECT_FALSE(IsSilent("\"C:\\pkg\\setup.exe\" /x"));
}

TEST(ProgramDirectoryOf, QuotedPathWithSpaces)
{
    const char* line = "\"C:\\My Packages\\Tool One\\setup.exe\" /s C:\\other\\dir";
    size_t size = ProgramDirectoryOf(line, 0, nullptr);
    ASSERT_EQ(size, std::strlen("C:\\My Packages\\Tool One") + 1);
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(ProgramDirectoryOf(line, size, buffer), size);
    EXPECT_STREQ(buffer, "C:\\My Packages\\Tool One");
}
