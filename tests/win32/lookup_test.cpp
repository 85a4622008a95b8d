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

// Texts up to 1023 characters come whole; longer ones are cut there.
TEST_F(LookupTest, LongValues)
{
    const size_t lengths[] = { 1022, 1023, 1024, 5000 };
    for (size_t i = 0; i < sizeof lengths / sizeof lengths[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << lengths[i] << " characters");
        std::string value;
        for (size_t n = 0; n < lengths[i]; ++n)
            value += static_cast<char>('a' + n % 26);
        WriteBytes(std::string(kDir) + "\\NLS\\PROJ.ENG", "[Proj]\r\nName=" + value + "\r\n");
        CString text(kJunk);
        EXPECT_TRUE(LookupText(Codes("ENG", "DEU"), text, "NLS\\PROJ", "Proj", "Name"));
        EXPECT_EQ(value.substr(0, 1023), std::string(text));
        EXPECT_EQ(static_cast<int>(value.size() < 1023 ? value.size() : 1023), text.GetLength());
    }
}

}
