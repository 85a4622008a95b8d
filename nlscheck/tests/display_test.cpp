// The Unix locale and font that show each locale under Wine.
#include "codepage.h"
#include "display.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

TEST(Display, UnixLocaleOfEachLocale)
{
    struct Row {
        uint32_t locale;
        const char* unixName;  // null: none
    };
    const Row rows[] = {
        /* 0 */ { 0x0407, "de_DE" },
        /* 1 */ { 0x0807, "de_DE" },  // the language's, whatever the country
        /* 2 */ { 0x0404, "zh_TW" },
        /* 3 */ { 0x0804, "zh_CN" },
        /* 4 */ { 0x1404, "zh_HK" },  // Macao, in Hong Kong's code page
        /* 5 */ { 0x081A, "sr_RS@latin" },
        /* 6 */ { 0x0C1A, "sr_RS@cyrillic" },
        /* 7 */ { 0x201A, nullptr },  // Bosnian in Cyrillic: glibc has none
        /* 8 */ { 0x042C, "az_AZ@latin" },
        /* 9 */ { 0x0002'0411, "ja_JP" },  // a sort order doesn't change it
        /* 10 */ { 0x0439, nullptr },  // Hindi: Unicode only
        /* 11 */ { 0x4C09, nullptr },  // English (United Arab Emirates): Unicode only
        /* 12 */ { 0, "C" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const char* actual = UnixLocaleOf(rows[i].locale);
        EXPECT_STREQ(rows[i].unixName, actual) << "row " << i;
    }
}

// Every locale with a code page has a font for it, and every Unix locale
// named is one glibc can make: its own, or that of its name without the
// script modifier.
TEST(Display, EachNameIsOneTheSystemCanMake)
{
    std::set<std::string> names;
    for (uint32_t locale = 1; locale <= 0xFFFF; ++locale) {
        unsigned codePage = CodePageOfLocale(locale);
        if (codePage == kNoCodePage)
            continue;
        EXPECT_TRUE(FontOfCodePage(codePage)) << "code page " << codePage;
        if (const char* name = UnixLocaleOf(locale))
            names.insert(name);
    }
    EXPECT_LT(80u, names.size());
    const std::filesystem::path sources = "/usr/share/i18n/locales";
    if (!std::filesystem::is_directory(sources))
        GTEST_SKIP() << "no glibc locale sources in " << sources;
    for (const std::string& name : names) {
        std::string base = name.substr(0, name.find('@'));
        EXPECT_TRUE(std::filesystem::exists(sources / name) || std::filesystem::exists(sources / base)) << name;
    }
}
