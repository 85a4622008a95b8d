#include "app/cmdline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(IsSilent, FindsEachSwitchInTheArgumentsOnly)
{
    struct Case {
        const char* line;
        bool expected;
    } cases[] = {
        /* 0 */ { "setup /s", true },
        /* 1 */ { "setup /S", true },
        /* 2 */ { "setup -s", true },
        /* 3 */ { "setup -S", true },
        /* 4 */ { "\"C:\\pkg\\setup.exe\" /silent", true },  // inside longer arguments
        /* 5 */ { "setup.exe /x-Sx", true },
        /* 6 */ { "setup.exe\t/s", true },
        /* 7 */ { "\"C:\\pkg\\setup.exe\"/s", true },        // right after the closing quote
        /* 8 */ { "\"C:\\pkg\\setup.exe\" \"D:\\x-s\"", true },
        /* 9 */ { "\"C:\\pkg\\setup.exe\" /x", false },
        /* 10 */ { "\"C:\\pkg\\setup.exe\"", false },
        /* 11 */ { "", false },
        /* 12 */ { "setup \\s s/ S- / - s", false },
        /* 13 */ { "setup /", false },
        // A switch in the program's path doesn't count.
        /* 14 */ { "\"C:\\kavro-setup\\setup.exe\"", false },
        /* 15 */ { "\"C:\\Tools-Spare\\setup.exe\" /x", false },
        /* 16 */ { "\"C:\\pkg/s\\setup.exe\"", false },
        /* 17 */ { "\"C:\\My -s folder\\setup.exe\"", false },
        /* 18 */ { "C:\\kavro-setup\\setup.exe", false },
        /* 19 */ { "C:\\Users\\Jean-Sebastien\\setup.exe /x", false },
        /* 20 */ { "D:\\pkg/S\\setup.exe", false },
        /* 21 */ { "C:\\kavro-setup\\setup.exe -s", true },
        /* 22 */ { "\"C:\\kavro-setup\\setup.exe\" /S", true },
        // Without a closing quote, all of the line is the path.
        /* 23 */ { "\"C:\\pkg\\setup.exe /s", false },
        /* 24 */ { "\"C:\\kavro-setup\\setup.exe", false },
        /* 25 */ { "\"", false },
        // Only the first character is tested for a quote.
        /* 26 */ { " \"C:\\pkg-s\\setup.exe\"", true },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + ": " + cases[i].line);
        EXPECT_EQ(cases[i].expected, IsSilent(cases[i].line));
    }
}

// The wait switch is found as the silent switch is, on its own or beside
// it, in either order; and never in the program's path.
TEST(WaitsForInstaller, FindsEachSwitchInTheArgumentsOnly)
{
    struct Case {
        const char* line;
        bool wait;
        bool silent;
    } cases[] = {
        /* 0 */ { "setup /w", true, false },
        /* 1 */ { "setup /W", true, false },
        /* 2 */ { "setup -w", true, false },
        /* 3 */ { "setup -W", true, false },
        /* 4 */ { "setup /s /w", true, true },
        /* 5 */ { "setup -W -S", true, true },
        /* 6 */ { "setup /s/w", true, true },
        /* 7 */ { "setup /sw", false, true },     // a switch is two bytes: "sw" is not "/w"
        /* 8 */ { "setup /ws", true, false },
        /* 9 */ { "\"C:\\pkg\\setup.exe\" /wait", true, false },  // inside longer arguments
        /* 10 */ { "\"C:\\pkg\\setup.exe\"/w", true, false },      // right after the closing quote
        /* 11 */ { "\"C:\\pkg\\setup.exe\" \"/s /w\"", true, true },  // in quotes
        /* 12 */ { "\"C:\\pkg\\setup.exe\" \"D:\\logs-w\"", true, false },
        /* 13 */ { "setup.exe\t-w", true, false },
        /* 14 */ { "setup /s", false, true },
        /* 15 */ { "setup \\w w/ W- / - w", false, false },
        /* 16 */ { "setup /x /y", false, false },
        /* 17 */ { "", false, false },
        // A switch in the program's path doesn't count.
        /* 18 */ { "\"C:\\kavro-win\\setup.exe\"", false, false },
        /* 19 */ { "\"C:\\kavro-win\\setup.exe\" /s", false, true },
        /* 20 */ { "\"C:\\pkg/w -s\\setup.exe\" /x", false, false },
        /* 21 */ { "C:\\Tools-Win\\setup.exe", false, false },
        /* 22 */ { "C:\\Tools-Win\\setup.exe -S", false, true },
        /* 23 */ { "C:\\Tools-Win\\setup.exe -S -w", true, true },
        // Without a closing quote, all of the line is the path.
        /* 24 */ { "\"C:\\pkg\\setup.exe /s /w", false, false },
        // Only the first character is tested for a quote.
        /* 25 */ { " \"C:\\pkg-w\\setup.exe\"", true, false },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + ": " + cases[i].line);
        EXPECT_EQ(cases[i].wait, WaitsForInstaller(cases[i].line));
        EXPECT_EQ(cases[i].silent, IsSilent(cases[i].line));
    }
}

bool SingleByte(unsigned char)
{
    return false;
}

// Code page 932's lead bytes.
bool ShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// "D:\ソフト\表示.exe" in Shift-JIS: the second bytes of ソ and 表 are 0x5C.
#define SJIS_SOFUTO "\x83\x5C\x83\x74\x83\x67"
#define SJIS_HYOUJI "\x95\x5C\x8E\xA6"

TEST(ProgramDirectoryOf, CutsThePathAtItsLastBackslash)
{
    struct Case {
        const char* line;
        const char* directory;  // nullptr: no backslash to cut at
        LeadByteTest isLeadByte = SingleByte;
    } cases[] = {
        /* 0 */ { "\"C:\\My Packages\\Tool One\\setup.exe\" /s C:\\other\\dir", "C:\\My Packages\\Tool One" },
        /* 1 */ { "C:\\pkg\\setup.exe /s D:\\temp\\x", "C:\\pkg\\setup.exe /s D:\\temp" },
        /* 2 */ { "\"C:\\setup.exe\" /s", "C:" },
        /* 3 */ { "D:\\setup.exe", "D:" },
        /* 4 */ { "\"C:\\pkg dir\\setup.exe /s", "C:\\pkg dir" },     // no closing quote
        /* 5 */ { "\"C:\\pkg\\setup.exe /s E:\\x\\y", "C:\\pkg\\setup.exe /s E:\\x" },
        /* 6 */ { " \"C:\\pkg\\setup.exe\" /s", " \"C:\\pkg" },       // only the first character counts
        /* 7 */ { "\"\\\\server\\share\\setup.exe\"", "\\\\server\\share" },
        /* 8 */ { "\"C:\\pkg\\\" /s", "C:\\pkg" },
        /* 9 */ { "\"\\setup.exe\"", "" },
        /* 10 */ { "setup /s", nullptr },
        /* 11 */ { "\"setup.exe\" C:\\dir\\x", nullptr },
        /* 12 */ { "C:/pkg/setup.exe", nullptr },
        /* 13 */ { "", nullptr },
        /* 14 */ { "\"", nullptr },
        /* 15 */ { "\"D:\\" SJIS_SOFUTO "\\" SJIS_HYOUJI ".exe\" /s", "D:\\" SJIS_SOFUTO, ShiftJisLeadByte },
        /* 16 */ { "D:\\" SJIS_SOFUTO "\\" SJIS_HYOUJI ".exe", "D:\\" SJIS_SOFUTO, ShiftJisLeadByte },
        /* 17 */ { "\"" SJIS_HYOUJI ".exe\"", nullptr, ShiftJisLeadByte },
        /* 18 */ { "\"" SJIS_HYOUJI ".exe\"", "\x95" },  // the same bytes in a single-byte code page
        /* 19 */ { "\"C:\\x\\\x83\"\\y", "C:\\x", ShiftJisLeadByte },  // a lead byte ends the path
        /* 20 */ { "C:\\x\\\x83", "C:\\x", ShiftJisLeadByte },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const char* line = cases[i].line;
        char buffer[128];

        if (!cases[i].directory) {
            EXPECT_EQ(0u, ProgramDirectoryOf(line, cases[i].isLeadByte, 0, nullptr));
            std::memset(buffer, '#', sizeof buffer);
            EXPECT_EQ(0u, ProgramDirectoryOf(line, cases[i].isLeadByte, sizeof buffer, buffer));
            EXPECT_EQ(std::string(sizeof buffer, '#'), std::string(buffer, sizeof buffer));
            continue;
        }

        const std::string expected = cases[i].directory;
        const size_t size = expected.size() + 1;
        EXPECT_EQ(size, ProgramDirectoryOf(line, cases[i].isLeadByte, 0, nullptr));

        // One byte short: the answer only, nothing written.
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(size, ProgramDirectoryOf(line, cases[i].isLeadByte, size - 1, buffer));
        EXPECT_EQ(std::string(sizeof buffer, '#'), std::string(buffer, sizeof buffer));

        // Exactly the size, and more than enough: the directory, its zero
        // byte and nothing after it.
        for (size_t capacity : { size, sizeof buffer }) {
            std::memset(buffer, '#', sizeof buffer);
            EXPECT_EQ(size, ProgramDirectoryOf(line, cases[i].isLeadByte, capacity, buffer));
            EXPECT_EQ(expected + '\0' + std::string(sizeof buffer - size, '#'),
                      std::string(buffer, sizeof buffer));
        }
    }
}
