#include "nls/profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// What the reader gives for a key, from a heap block of exactly the text's
// bytes into a buffer pre-filled with junk; "<absent>" when it finds none.
std::string Read(const std::string& text, unsigned codePage, const char* section, const char* key,
                 size_t capacity = 1024)
{
    std::unique_ptr<char[]> data(new char[text.size() + 1]);
    std::memcpy(data.get(), text.data(), text.size());
    ProfileLine found;
    if (!FindProfileKey(data.get(), text.size(), codePage, section, key, found))
        return "<absent>";
    std::string buffer(capacity + 8, '#');
    size_t n = CopyProfileValue(found.value, found.valueLength, codePage, &buffer[0], capacity);
    EXPECT_EQ('\0', buffer[n]) << "not terminated";
    return found.hasValue ? buffer.substr(0, n) : "<no =>";
}

}

TEST(ProfileReader, FindsValuesAsThePlatformDoes)
{
    using std::string;
    struct Case {
        string text;
        unsigned codePage;
        const char* section;
        const char* key;
        string expected;
    } cases[] = {
        /* 0 */ { "[Proj]\r\nName=KAVRO\r\nINF=kavro.inf\r\n", 1252, "Proj", "INF", "kavro.inf" },
        /* 1 */ { "[pRoJ]\nNAME = two  words \n", 1252, " proj ", "name", "two  words" },
        // CR alone ends a line too; no line end at the end.
        /* 2 */ { "[Proj]\rName=a\rINF=b", 1252, "Proj", "INF", "b" },
        // Only the first section of a name is searched; the first key wins.
        /* 3 */ { "[Proj]\nName=first\n[proj]\nName=second\nINF=x\n", 1252, "Proj", "INF", "<absent>" },
        /* 4 */ { "[Proj]\nName\nName=later\n", 1252, "Proj", "Name", "<no =>" },
        /* 5 */ { "Name=outside\n[Proj]\nName=inside\n", 1252, "", "Name", "outside" },
        /* 6 */ { "[Proj]x]\nName=last bracket\n", 1252, "Proj]x", "Name", "last bracket" },
        /* 7 */ { "[Proj\nName=no close\n", 1252, "Proj", "Name", "<absent>" },
        // Quotes come off when both ends bear the same one.
        /* 8 */ { "[T]\nA=\"q\"\nB='s'\nC=\"m'\nD=\"\nE=\"\"\n", 1252, "T", "A", "q" },
        /* 9 */ { "[T]\nA=\"q\"\nB='s'\nC=\"m'\nD=\"\nE=\"\"\n", 1252, "T", "B", "s" },
        /* 10 */ { "[T]\nA=\"q\"\nB='s'\nC=\"m'\nD=\"\nE=\"\"\n", 1252, "T", "C", "\"m'" },
        /* 11 */ { "[T]\nA=\"q\"\nB='s'\nC=\"m'\nD=\"\nE=\"\"\n", 1252, "T", "D", "\"" },
        /* 12 */ { "[T]\nA=\"q\"\nB='s'\nC=\"m'\nD=\"\nE=\"\"\n", 1252, "T", "E", "" },
        // A value ends at a zero byte; blanks include 0x1A.
        /* 13 */ { string("[T]\nA=ab\0cd\nB=\x1A x \x1A\n", 21), 1252, "T", "A", "ab" },
        /* 14 */ { string("[T]\nA=ab\0cd\nB=\x1A x \x1A\n", 21), 1252, "T", "B", "x" },
        // Double-byte code pages: a lead byte takes a "]", "=", "\" or line end with it.
        /* 15 */ { "[\x83\x5D]\nName=sjis\n", 932, "\x83\x5D", "Name", "sjis" },
        /* 16 */ { "[\x83\x5D]\nName=sjis\n", 1252, "\x83", "Name", "<absent>" },
        /* 17 */ { "[T]\n\x95\x5C=\x83\x5C\x83\x74\n", 932, "T", "\x95\x5C", "\x83\x5C\x83\x74" },
        /* 18 */ { "[T]\nA=\x81\nB=joined\n", 932, "T", "B", "<absent>" },
        /* 19 */ { "[T]\nA=\x81\nB=own line\n", 1251, "T", "B", "own line" },
        /* 20 */ { "[T]\nA=\x81=\n", 936, "T", "A", "\x81=" },
        // UTF-8 steps by sequences; its bytes take no ASCII character.
        /* 21 */ { "[\xC3\xA9]\nA=\xE2\x82\xAC\n", kCodePageUtf8, "\xC3\xA9", "A", "\xE2\x82\xAC" },
        /* 22 */ { "[T]\nA=\xC3\nB=next\n", kCodePageUtf8, "T", "B", "next" },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(c.expected, Read(c.text, c.codePage, c.section, c.key)) << "row " << i;
    }
}

TEST(ProfileReader, CutsLongValuesAtWholeCharacters)
{
    using std::string;
    string a1023(1023, 'a'), a1024(1024, 'a');
    string sjis511;  // 511 double-byte characters, 1022 bytes
    for (int i = 0; i < 511; ++i)
        sjis511 += "\x82\xA0";
    struct Case {
        string value;
        unsigned codePage;
        size_t capacity;
        string expected;
    } cases[] = {
        /* 0 */ { a1023, 1252, 1024, a1023 },
        /* 1 */ { a1024, 1252, 1024, a1023 },
        // The closing quote is dropped after the cut: one that just fits
        // loses its last character instead.
        /* 2 */ { "\"" + string(1022, 'q') + "\"", 1252, 1024, string(1022, 'q') },
        /* 3 */ { "\"" + string(1023, 'q') + "\"", 1252, 1024, string(1022, 'q') },
        // 511 double-byte characters and one more: no half character.
        /* 4 */ { sjis511 + "\x82\xA0", 932, 1024, sjis511 },
        /* 5 */ { sjis511 + "x", 932, 1024, sjis511 + "x" },
        /* 6 */ { "\xE2\x82\xAC\xE2\x82\xAC", kCodePageUtf8, 6, "\xE2\x82\xAC" },
        /* 7 */ { "abc", 1252, 1, "" },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(c.expected, Read("[T]\nA=" + c.value + "\n", c.codePage, "T", "A", c.capacity)) << "row " << i;
    }
}

TEST(ProfileReader, ByteOrderMarks)
{
    struct Case {
        std::string bytes;
        ProfileMark mark;
    } cases[] = {
        /* 0 */ { "\xEF\xBB\xBF[T]", kUtf8Mark },
        /* 1 */ { std::string("\xFF\xFE[\0", 4), kUtf16LEMark },
        /* 2 */ { std::string("\xFE\xFF\0[", 4), kUtf16BEMark },
        /* 3 */ { "\xEF\xBB[T]", kNoMark },
        /* 4 */ { "\xFF", kNoMark },
        /* 5 */ { "[T]\xEF\xBB\xBF", kNoMark },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        ProfileMark mark = ProfileMarkOf(cases[i].bytes.data(), cases[i].bytes.size());
        EXPECT_EQ(cases[i].mark, mark) << "row " << i;
        EXPECT_EQ(i == 0 ? 3u : i < 3 ? 2u : 0u, ProfileMarkLength(mark)) << "row " << i;
    }
}
