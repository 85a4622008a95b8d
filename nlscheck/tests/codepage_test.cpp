// The code page of each locale, and text through the system's converter.
#include "codepage.h"

#include <gtest/gtest.h>

// nlscheck_codepage_wine compares every locale Wine knows; these rows
// hold what it can't: Serbia and Montenegro's locales (081A, 0C1A), which
// Wine lacks, a sort order, and numbers that are no locale.
TEST(CodePage, OfEachLocaleByItsLanguage)
{
    struct Row {
        uint32_t locale;
        unsigned codePage;
    };
    const Row rows[] = {
        /* 0 */ { 0x0409, 1252 },
        /* 1 */ { 0x0415, 1250 },
        /* 2 */ { 0x0419, 1251 },
        /* 3 */ { 0x0408, 1253 },
        /* 4 */ { 0x041F, 1254 },
        /* 5 */ { 0x040D, 1255 },
        /* 6 */ { 0x0C01, 1256 },
        /* 7 */ { 0x0427, 1257 },
        /* 8 */ { 0x042A, 1258 },
        /* 9 */ { 0x041E, 874 },
        /* 10 */ { 0x0411, 932 },
        /* 11 */ { 0x0804, 936 },
        /* 12 */ { 0x1004, 936 },
        /* 13 */ { 0x0404, 950 },
        /* 14 */ { 0x0C04, 950 },
        /* 15 */ { 0x0412, 949 },
        /* 16 */ { 0x081A, 1250 },  // Serbian, Latin
        /* 17 */ { 0x0C1A, 1251 },  // Serbian, Cyrillic
        /* 18 */ { 0x042C, 1254 },  // Azeri, Latin
        /* 19 */ { 0x082C, 1251 },  // Azeri, Cyrillic
        /* 20 */ { 0x0002'0411, 932 },  // a sort order doesn't change it
        /* 21 */ { 0x042B, kNoCodePage },  // Armenian: Unicode only
        /* 22 */ { 0, kNoCodePage },
        /* 23 */ { 0x03FF, kNoCodePage },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
        EXPECT_EQ(rows[i].codePage, CodePageOfLocale(rows[i].locale)) << "row " << i;
}

// As above: what nlscheck_codepage_wine can't compare, and a language in
// two scripts.
TEST(CodePage, ReadingOrderOfEachLocale)
{
    const struct {
        uint32_t locale;
        bool rightToLeft;
    } rows[] = {
        /* 0 */ { 0x040D, true },
        /* 1 */ { 0x3C01, true },
        /* 2 */ { 0x0846, true },   // Punjabi in Arabic script
        /* 3 */ { 0x0446, false },  // and in Gurmukhi
        /* 4 */ { 0x045F, true },   // Tamazight in Arabic script, which Wine lacks
        /* 5 */ { 0x085F, false },  // and in Latin script
        /* 6 */ { 0x0001'040D, true },  // a sort order doesn't change it
        /* 7 */ { 0x0409, false },
        /* 8 */ { 0, false },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
        EXPECT_EQ(rows[i].rightToLeft, LocaleReadsRightToLeft(rows[i].locale)) << "row " << i;
}

TEST(CodePage, TextThroughTheConverter)
{
    struct Row {
        unsigned codePage;
        std::string bytes;
        const char* utf8;
    };
    const Row rows[] = {
        /* 0 */ { 1252, "Gr\xF6\xDF" "e \x80", "Größe €" },
        /* 1 */ { 1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет" },
        /* 2 */ { 1253, "\xC4\xEF\xEA\xE9\xEC\xDE", "Δοκιμή" },
        /* 3 */ { 932, "\x95\x5C\x83\x5C", "表ソ" },  // trail bytes that are a backslash's
        /* 4 */ { 936, "\xB2\xE2\xCA\xD4", "测试" },
        /* 5 */ { 949, "\xC5\xD7\xBD\xBA\xC6\xAE", "테스트" },
        /* 6 */ { 950, "\xB4\xFA\xB8\xD5", "測試" },
        /* 7 */ { 874, "\xB7\xB4\xCA\xCD\xBA", "ทดสอบ" },
        /* 8 */ { 1252, "a\x81" "b", "a\xEF\xBF\xBD" "b" },  // no character: U+FFFD
        /* 9 */ { 932, "\x82\x0A", "\xEF\xBF\xBD" },        // a lead byte takes the line end
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        EXPECT_EQ(rows[i].utf8, Utf8FromCodePage(rows[i].bytes, rows[i].codePage)) << "row " << i;
        if (i < 8) {
            std::u32string text = DecodeUtf8(rows[i].utf8);
            std::u32string lacking;
            EXPECT_EQ(rows[i].bytes, CodePageFromUnicode(text, rows[i].codePage, &lacking)) << "row " << i;
            EXPECT_TRUE(lacking.empty()) << "row " << i;
        }
    }
    std::u32string lacking;
    EXPECT_EQ("?", CodePageFromUnicode(DecodeUtf8("漢"), 1251, &lacking));
    EXPECT_EQ(U"漢", lacking);
    std::string none;
    EXPECT_FALSE(EncodeChar(U'Ж', 1252, none));
    EXPECT_EQ("", none) << "nothing appended";
}
