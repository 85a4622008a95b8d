// LookupText against real language files, read through the platform's
// profile call, with relative names resolved in the current folder.
#include "nls/lookup.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char kDir[] = "C:\\tests\\lookup";
const char kJunk[] = "junk that must stay";

LanguageCodes Codes(const char* defaultCode, const char* currentCode)
{
    LanguageCodes codes;
    std::memset(&codes, '#', sizeof codes);
    std::strcpy(codes.defaultCode, defaultCode);
    std::strcpy(codes.currentCode, currentCode);
    return codes;
}

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeEmptyDir(kDir);
        SetCurrentDirectoryA(kDir);
    }
    void TearDown() override { SetCurrentDirectoryA("C:\\"); }
};

TEST_F(LookupTest, CurrentThenDefault)
{
    // The same series for CR+LF and LF-only files.
    for (const char* eol : { "\r\n", "\n" }) {
        auto file = [eol](std::initializer_list<const char*> lines) {
            std::string text;
            for (const char* line : lines)
                text += std::string(line) + eol;
            return text;
        };
        WriteBytes(std::string(kDir) + "\\NLS\\STR.DEU",
                   file({ "[Translation]", "Both=deutsch", "Empty=", "Yes=Ja", "[Other]", "OnlyEng=falsch" }));
        WriteBytes(std::string(kDir) + "\\NLS\\STR.ENG",
                   file({ "[Translation]", "Both=english", "Empty=english empty", "OnlyEng=english only",
                          "Blank=", "[Constant]", "Path=readme.txt" }));
        WriteBytes(std::string(kDir) + "\\NLS\\STR", file({ "[Translation]", "Both=bare" }));
        static const struct {
            const char* defaultCode;
            const char* currentCode;
            const char* section;
            const char* key;
            const char* expected;  // null: not found
        } rows[] = {
            /* 0 */ { "ENG", "DEU", "Translation", "Both", "deutsch" },
            /* 1 */ { "ENG", "DEU", "Translation", "OnlyEng", "english only" },
            /* 2 */ { "ENG", "DEU", "Translation", "Empty", "english empty" },
            /* 3 */ { "ENG", "DEU", "Translation", "Yes", "Ja" },
            /* 4 */ { "ENG", "DEU", "Constant", "Path", "readme.txt" },
            /* 5 */ { "ENG", "DEU", "Translation", "Missing", nullptr },
            /* 6 */ { "ENG", "DEU", "Translation", "Blank", nullptr },
            /* 7 */ { "ENG", "DEU", "Nowhere", "Both", nullptr },
            /* 8 */ { "ENG", "FRA", "Translation", "Both", "english" },
            /* 9 */ { "ENG", "ENG", "Translation", "Missing", nullptr },
            /* 10 */ { "FRA", "ITA", "Translation", "Both", nullptr },
            // Empty codes: "NLS\STR." opens the file "NLS\STR".
            /* 11 */ { "", "", "Translation", "Both", "bare" },
        };
        for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
            SCOPED_TRACE(testing::Message() << "row " << i << (eol[0] == '\r' ? ", CR+LF" : ", LF"));
            CString text(kJunk);
            BOOL found = LookupText(Codes(rows[i].defaultCode, rows[i].currentCode), text, "NLS\\STR",
                                    rows[i].section, rows[i].key);
            const char* expected = rows[i].expected;
            EXPECT_EQ(expected != nullptr, found != FALSE);
            EXPECT_STREQ(expected ? expected : kJunk, text);
        }
    }
}

// Texts up to 1023 bytes come whole; longer ones are cut there, and in a
// double-byte code page before a character that doesn't fit whole.
TEST_F(LookupTest, LongValues)
{
    static const struct {
        const char* unit;  // repeated to the value's length
        size_t length;     // bytes of the value
        UINT codePage;     // the row's system code page, 0 for any
        size_t expected;   // bytes of the text
    } rows[] = {
        /* 0 */ { "abcdefghijklmnopqrstuvwxyz", 1022, 0, 1022 },
        /* 1 */ { "abcdefghijklmnopqrstuvwxyz", 1023, 0, 1023 },
        /* 2 */ { "abcdefghijklmnopqrstuvwxyz", 1024, 0, 1023 },
        /* 3 */ { "abcdefghijklmnopqrstuvwxyz", 5000, 0, 1023 },
        // 600 times "あ" in Shift-JIS: the platform writes 511 whole
        // characters, 1022 bytes, and reports 1023; the byte after them is
        // not the text's.
        /* 4 */ { "\x82\xA0", 1200, 932, 1022 },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        if (rows[i].codePage && rows[i].codePage != GetACP())
            continue;
        SCOPED_TRACE(testing::Message() << "row " << i);
        std::string value;
        while (value.size() < rows[i].length)
            value += rows[i].unit;
        value.resize(rows[i].length);
        WriteBytes(std::string(kDir) + "\\NLS\\PROJ.ENG", "[Proj]\r\nName=" + value + "\r\n");
        CString text(kJunk);
        EXPECT_TRUE(LookupText(Codes("ENG", "DEU"), text, "NLS\\PROJ", "Proj", "Name"));
        EXPECT_EQ(static_cast<int>(rows[i].expected), text.GetLength());
        EXPECT_TRUE(value.substr(0, rows[i].expected) == static_cast<const char*>(text))
            << "the text is not the value's first " << rows[i].expected << " bytes";
    }
}

}
