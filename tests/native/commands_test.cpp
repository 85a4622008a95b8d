#include "app/commands.h"

#include <gtest/gtest.h>

#include <string>

TEST(Commands, TextsGoInAsTheyStand)
{
    const std::string longPath(3000, 'p');
    struct Case {
        std::string actual;
        std::string expected;
    } cases[] = {
        // Windows 9x: mode 130; the NT family: 132, a restart only if needed.
        /* 0 */ { static_cast<const char*>(InstallCommand("C:\\WINDOWS\\SYSTEM\\rundll32.exe", false, "C:\\My Pkg", "kavro.inf")),
                  "\"C:\\WINDOWS\\SYSTEM\\rundll32.exe\" setupx.dll,InstallHinfSection DefaultInstall 130 C:\\My Pkg\\kavro.inf" },
        /* 1 */ { static_cast<const char*>(InstallCommand("C:\\%s\\rundll32.exe", true, "C:\\100% %n", "%s%%.inf")),
                  "\"C:\\%s\\rundll32.exe\" setupapi.dll,InstallHinfSection DefaultInstall 132 C:\\100% %n\\%s%%.inf" },
        /* 2 */ { static_cast<const char*>(InstallCommand("rundll32.exe", true, "D:", "")),
                  "\"rundll32.exe\" setupapi.dll,InstallHinfSection DefaultInstall 132 D:\\" },
        /* 3 */ { static_cast<const char*>(ReadmeCommand("C:\\WINDOWS\\notepad.exe", "readme.txt")),
                  "\"C:\\WINDOWS\\notepad.exe\" readme.txt" },
        /* 4 */ { static_cast<const char*>(ReadmeCommand("C:\\WINDOWS\\notepad.exe", "\"%s %n %%\".txt")),
                  "\"C:\\WINDOWS\\notepad.exe\" \"%s %n %%\".txt" },
        /* 5 */ { static_cast<const char*>(ReadmeCommand("notepad.exe", longPath.c_str())),
                  "\"notepad.exe\" " + longPath },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(cases[i].expected, cases[i].actual);
    }
}
