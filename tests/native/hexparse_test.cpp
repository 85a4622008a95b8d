#include "nls/hexparse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// The text in a heap block of exactly its own bytes, no zero byte after
// it, so that AddressSanitizer reports any read past the end.
std::unique_ptr<char[]> Exact(const std::string& text)
{
    std::unique_ptr<char[]> block(new char[text.size()]);
    std::memcpy(block.get(), text.data(), text.size());
    return block;
}

}

TEST(ParseHexPrefix, ReadsDigitsUpToTheFirstOtherCharacter)
{
    struct Case {
        const char* text;
        uint32_t expected;
    } cases[] = {
        /* 0 */ { "", 0 },
        /* 1 */ { "0", 0 },
        /* 2 */ { "407", 0x407 },
        /* 3 */ { "00000407", 0x407 },
        /* 4 */ { "abcdef", 0xABCDEF },
        /* 5 */ { "ABCDEF", 0xABCDEF },
        /* 6 */ { "0c0C", 0xC0C },
        /* 7 */ { "0x1F", 0 },          // the x stops the scan
        /* 8 */ { "12g4", 0x12 },
        /* 9 */ { "1 2", 1 },
        /* 10 */ { " 12", 0 },          // no blanks skipped
        /* 11 */ { "-12", 0 },
        /* 12 */ { "+12", 0 },
        /* 13 */ { "40c\r\n", 0x40C },
        /* 14 */ { "FFFFFFFF", 0xFFFFFFFF },
        /* 15 */ { "100000000", 0 },    // wraps modulo 2^32
        /* 16 */ { "123456789", 0x23456789 },
        /* 17 */ { "fffffffff", 0xFFFFFFFF },
        /* 18 */ { "9:", 9 },           // ':' follows '9'
        /* 19 */ { "a@", 0xA },         // '@' precedes 'A'
        /* 20 */ { "f`G", 0xF },        // '`' precedes 'a', 'G' follows 'F'
        /* 21 */ { "1\xC1", 1 },        // high bytes are no digits
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(cases[i].expected, ParseHexPrefix(cases[i].text));
        std::string text(cases[i].text);
        EXPECT_EQ(cases[i].expected, ParseHexPrefix(Exact(text).get(), text.size()));
    }
}

TEST(ParseHexPrefix, StopsAtTheSizeAndAtAZeroByte)
{
    struct Case {
        std::string text;
        size_t size;
        uint32_t expected;
    } cases[] = {
        /* 0 */ { "407", 0, 0 },
        /* 1 */ { "407", 2, 0x40 },
        /* 2 */ { std::string("4\0" "07", 4), 4, 4 },
        // A registry value that fills its buffer without a zero byte.
        /* 3 */ { "00000000000000000407", 20, 0x407 },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(cases[i].expected,
                  ParseHexPrefix(Exact(cases[i].text).get(), cases[i].size));
    }
}
