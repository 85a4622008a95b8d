#include "nls/lookup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A fake set of initialization files, and the reads made from them.
struct Entry {
    const char* file;
    const char* section;
    const char* key;
    const char* value;
};

const Entry* g_files;
size_t g_fileCount;
std::vector<std::string> g_reads;

void FakeRead(const char* file, const char* section, const char* key, char* buffer,
              size_t capacity)
{
    g_reads.push_back(file);
    EXPECT_EQ(static_cast<size_t>(kTextCapacity), capacity);
    std::string value;
    for (size_t i = 0; i < g_fileCount; ++i)
        if (!std::strcmp(g_files[i].file, file) && !std::strcmp(g_files[i].section, section) &&
            !std::strcmp(g_files[i].key, key))
            value = g_files[i].value;
    std::memset(buffer, '#', capacity);
    std::strcpy(buffer, value.c_str());
}

// Fills the whole buffer without a zero byte, as no reader should.
void OverfullRead(const char*, const char*, const char*, char* buffer, size_t capacity)
{
    std::memset(buffer, 'x', capacity);
}

LanguageCodes Codes(const char* defaultCode, const char* currentCode)
{
    LanguageCodes codes = {};
    std::strcpy(codes.defaultCode, defaultCode);
    std::strcpy(codes.currentCode, currentCode);
    return codes;
}

}

TEST(LookupTextWith, CurrentLanguageFirstThenDefault)
{
    static const Entry files[] = {
        { "NLS\\STR.DEU", "Translation", "Inst", "Installieren?" },
        { "NLS\\STR.DEU", "Translation", "Yes", "" },
        { "NLS\\STR.DEU", "Other", "No", "Nein" },
        { "NLS\\STR.ENG", "Translation", "Inst", "Install?" },
        { "NLS\\STR.ENG", "Translation", "Yes", "Yes" },
        { "NLS\\STR.ENG", "Translation", "Remove", "100% %s %n %%" },
        { "NLS\\STR.", "Translation", "Readme", "Bare" },
    };
    g_files = files;
    g_fileCount = sizeof files / sizeof files[0];

    using Reads = std::vector<std::string>;
    const std::string deu = "NLS\\STR.DEU", eng = "NLS\\STR.ENG", bare = "NLS\\STR.";
    struct Case {
        LanguageCodes codes;
        const char* key;
        TextSource expected;
        const char* text;   // the destination afterwards
        Reads reads;
    } cases[] = {
        /* 0 */ { Codes("ENG", "DEU"), "Inst", kTextFromCurrent, "Installieren?", { deu } },
        /* 1 */ { Codes("ENG", "DEU"), "Remove", kTextFromDefault, "100% %s %n %%", { deu, eng } },
        /* 2 */ { Codes("ENG", "DEU"), "Yes", kTextFromDefault, "Yes", { deu, eng } },   // empty counts as missing
        /* 3 */ { Codes("ENG", "DEU"), "No", kTextMissing, "earlier", { deu, eng } },    // other section
        /* 4 */ { Codes("ENG", "DEU"), "Readme", kTextMissing, "earlier", { deu, eng } },
        /* 5 */ { Codes("ENG", "ENG"), "Readme", kTextMissing, "earlier", { eng, eng } },
        /* 6 */ { Codes("ENG", "ENG"), "Inst", kTextFromCurrent, "Install?", { eng } },
        /* 7 */ { Codes("", ""), "Readme", kTextFromCurrent, "Bare", { bare } },
        /* 8 */ { Codes("", ""), "Inst", kTextMissing, "earlier", { bare, bare } },
        /* 9 */ { Codes("ENG", ""), "Inst", kTextFromDefault, "Install?", { bare, eng } },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        g_reads.clear();
        CString text("earlier");
        EXPECT_EQ(cases[i].expected,
                  LookupTextWith(FakeRead, cases[i].codes, "NLS\\STR", "Translation", cases[i].key, text));
        EXPECT_STREQ(cases[i].text, text);
        EXPECT_EQ(cases[i].reads, g_reads);
    }
}

TEST(LookupTextWith, TextIsCutToTheBuffer)
{
    CString text;
    EXPECT_EQ(kTextFromCurrent,
              LookupTextWith(OverfullRead, Codes("ENG", "ENG"), "NLS\\PROJ", "Proj", "Name", text));
    EXPECT_EQ(kTextCapacity - 1, text.GetLength());
    EXPECT_EQ(std::string(kTextCapacity - 1, 'x'), static_cast<const char*>(text));
}

// The reading order is a text like the others: the current language's
// value, else the default's, and only "1" reads right to left.
TEST(LookupTextWith, ReadingOrderOfEitherLanguage)
{
    static const Entry files[] = {
        { "NLS\\STR.HEB", "Constant", "RightToLeft", "1" },
        { "NLS\\STR.ARA", "Constant", "RightToLeft", "1" },
        { "NLS\\STR.ENG", "Constant", "RightToLeft", "0" },
        { "NLS\\STR.FAS", "Constant", "RightToLeft", "yes" },
        { "NLS\\STR.URD", "Constant", "RightToLeft", "" },
    };
    g_files = files;
    g_fileCount = sizeof files / sizeof files[0];
    const LauncherText& order = kLauncherTexts[kReadingOrder];
    struct Case {
        LanguageCodes codes;
        TextSource source;
        bool rightToLeft;
    } cases[] = {
        /* 0 */ { Codes("ENG", "HEB"), kTextFromCurrent, true },
        /* 1 */ { Codes("ARA", "DEU"), kTextFromDefault, true },   // no key: the default's
        /* 2 */ { Codes("ARA", "URD"), kTextFromDefault, true },   // an empty value too
        /* 3 */ { Codes("ARA", "ENG"), kTextFromCurrent, false },  // 0 over a right-to-left default
        /* 4 */ { Codes("ARA", "FAS"), kTextFromCurrent, false },  // not 1, and not missing either
        /* 5 */ { Codes("ITA", "DEU"), kTextMissing, false },
        /* 6 */ { Codes("ENG", "ENG"), kTextFromCurrent, false },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        CString text;
        EXPECT_EQ(cases[i].source, LookupTextWith(FakeRead, cases[i].codes, order.base, order.section, order.key, text));
        EXPECT_EQ(cases[i].rightToLeft, MeansRightToLeft(text));
    }
}
