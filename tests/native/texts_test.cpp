// The list of the launcher's texts, which the dialog, the install actions
// and nlscheck index by role.
#include "nls/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

TEST(LauncherTexts, OneRowForEachRoleInItsPlace)
{
    std::set<std::tuple<std::string, std::string, std::string>> seen;
    for (int i = 0; i < kTextRoleCount; ++i) {
        const LauncherText& text = kLauncherTexts[i];
        EXPECT_EQ(i, text.role) << "row " << i;
        ASSERT_TRUE(text.base && text.section && text.key) << "row " << i << " is empty";
        EXPECT_TRUE(text.base == kProjectFileBase || text.base == kStringFileBase) << "row " << i << ": " << text.base;
        EXPECT_NE('\0', text.section[0]) << "row " << i;
        EXPECT_NE('\0', text.key[0]) << "row " << i;
        EXPECT_TRUE(seen.emplace(text.base, text.section, text.key).second) << "row " << i << ": " << text.key << " twice";
    }
}
