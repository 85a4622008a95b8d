// Language selection against the real registry and real files: the
// resource locale as the test stores it, the table read through CFile.
#include "nls/language.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char kDir[] = "C:\\tests\\language";
const char kTable[] = "C:\\tests\\language\\LANGID.TXT";

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_USERS, LOCALE_KEY);
        MakeEmptyDir(kDir);
    }
    void TearDown() override { DeleteTree(HKEY_USERS, LOCALE_KEY); }
};

// The locale value as stored: its type and bytes, exactly.
void StoreLocale(DWORD type, const std::string& data)
{
    SetValue(HKEY_USERS, LOCALE_KEY, nullptr, type, data);
}

std::string Sz(const char* text)
{
    return std::string(text) + '\0';
}

// Fills the stack below this frame with hex digits, so that a parse that
// reads past the bytes the registry gave would take them in.
__attribute__((noinline)) void PaintStack()
{
    volatile char area[4096];
    for (size_t i = 0; i < sizeof area; ++i)
        area[i] = '7';
}

TEST_F(LanguageTest, ReadResourceLocale)
{
    // Without the value, as on the NT family: the user's UI language,
    // which Wine takes from LANG.
    const uint32_t uiLanguage = GetUserDefaultUILanguage();
    ASSERT_NE(0u, uiLanguage);
    const struct {
        bool store;
        DWORD type;
        std::string data;
        uint32_t expected;
    } rows[] = {
        /* 0 */ { false, REG_SZ, "", uiLanguage },
        /* 1 */ { true, REG_SZ, Sz("00000407"), 0x407 },
        /* 2 */ { true, REG_SZ, Sz("0000040c"), 0x40C },
        /* 3 */ { true, REG_SZ, Sz("0000040C"), 0x40C },
        /* 4 */ { true, REG_SZ, Sz("407 and more"), 0x407 },
        // 19 characters and the zero byte fill the 20-byte buffer.
        /* 5 */ { true, REG_SZ, Sz("0000000000000000407"), 0x407 },
        // 20 characters fill the buffer without a zero byte (a binary value;
        // Wine asks room for the zero byte of a string value, which is then
        // longer than the buffer), parsed up to the 20th.
        /* 6 */ { true, REG_BINARY, std::string("0000000000000000040C"), 0x40C },
        /* 7 */ { true, REG_BINARY, std::string(20, '1'), 0x11111111 },
        /* 8 */ { true, REG_SZ, std::string("0000000000000000040C"), 0 },
        // Longer than the buffer: there, but no number.
        /* 9 */ { true, REG_SZ, Sz("00000000000000000000407"), 0 },
        /* 10 */ { true, REG_BINARY, std::string("00000809", 8), 0x809 },
        /* 11 */ { true, REG_DWORD, std::string("\x07\x04\0\0", 4), 0 },
        /* 12 */ { true, REG_SZ, Sz(""), 0 },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        DeleteTree(HKEY_USERS, LOCALE_KEY);
        if (rows[i].store)
            StoreLocale(rows[i].type, rows[i].data);
        PaintStack();
        EXPECT_EQ(rows[i].expected, ReadResourceLocale()) << "row " << i;
    }
    // A key without its unnamed value.
    DeleteTree(HKEY_USERS, LOCALE_KEY);
    SetValue(HKEY_USERS, LOCALE_KEY, "Other", REG_SZ, Sz("00000407"));
    EXPECT_EQ(uiLanguage, ReadResourceLocale()) << "key without the value";
}

struct Expected {
    const char* defaultCode;
    const char* currentCode;
};

// Runs SelectLanguage on codes full of junk and compares both slots.
void ExpectCodes(const Expected& expected, const char* tableFile, const char* what)
{
    LanguageCodes codes;
    std::memset(&codes, '#', sizeof codes);
    SelectLanguage(codes, tableFile);
    std::string slot0(codes.defaultCode, strnlen(codes.defaultCode, 4));
    std::string slot1(codes.currentCode, strnlen(codes.currentCode, 4));
    EXPECT_EQ(expected.defaultCode, slot0) << what << ": default code";
    EXPECT_EQ(expected.currentCode, slot1) << what << ": current code";
}

TEST_F(LanguageTest, TableFiles)
{
    std::string big;
    for (int i = 0; i < 100000; ++i)
        big += "XYZ 1234\r\n";
    big += "ENG 0\r\nDEU 407";
    static const struct {
        const char* locale;  // null: no value
        const char* table;   // null: no table file
        size_t size;         // 0: up to the zero byte
        Expected expected;
    } rows[] = {
        /* 0 */ { "00000407", nullptr, 0, { "", "" } },
        /* 1 */ { "00000407", "", 0, { "", "" } },
        /* 2 */ { "00000407", "ENG 0\r\nDEU 0407\r\nFRA 040C\r\n", 0, { "ENG", "DEU" } },
        /* 3 */ { "0000040c", "ENG 0\nDEU 0407\nFRA 040C\n", 0, { "ENG", "FRA" } },
        // No line feed: only the first line is read.
        /* 4 */ { "00000407", "ENG 0\rDEU 0407\r", 0, { "ENG", "ENG" } },
        /* 5 */ { "00000407", "DEU 0407\rENG 0\r", 0, { "", "DEU" } },
        /* 6 */ { "00000407", "ENG 0\r\nDEU 0407", 0, { "ENG", "DEU" } },
        /* 7 */ { "00000407", "ENGLISH 0\nDEUTSCH 407\n", 0, { "ENG", "DEU" } },
        /* 8 */ { nullptr, "ENG 0\nDEU 0407\n", 0, { "ENG", "ENG" } },
        /* 9 */ { "00000409", "ENG 0\nDEU 0407\n", 0, { "ENG", "ENG" } },
        /* 10 */ { "00000407", "ENG 0\n\0DEU 0407\n", 16, { "ENG", "ENG" } },
        /* 11 */ { "00000407", big.c_str(), 0, { "ENG", "DEU" } },
        /* 12 */ { "00000407", "\xC4\xD6 0\n\xDC\xDF 407\n", 0, { "\xC4\xD6", "\xDC\xDF" } },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        DeleteTree(HKEY_USERS, LOCALE_KEY);
        if (rows[i].locale)
            StoreLocale(REG_SZ, Sz(rows[i].locale));
        DeleteFileA(kTable);
        if (rows[i].table)
            WriteBytes(kTable, std::string(rows[i].table, rows[i].size ? rows[i].size : strlen(rows[i].table)));
        ExpectCodes(rows[i].expected, kTable, ("row " + std::to_string(i)).c_str());
    }
}

// The table is opened with write-sharing denied: while another handle has
// it open for writing it can't be read, and both codes stay empty. A
// reader alone does not stand in the way.
TEST_F(LanguageTest, TableOpenElsewhere)
{
    StoreLocale(REG_SZ, Sz("00000407"));
    WriteBytes(kTable, "ENG 0\r\nDEU 0407\r\n");
    static const struct {
        DWORD access;
        Expected expected;
    } rows[] = {
        /* 0 */ { GENERIC_WRITE, { "", "" } },
        /* 1 */ { GENERIC_READ | GENERIC_WRITE, { "", "" } },
        /* 2 */ { GENERIC_READ, { "ENG", "DEU" } },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        HANDLE h = CreateFileA(kTable, rows[i].access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h) << "row " << i;
        ExpectCodes(rows[i].expected, kTable, ("row " + std::to_string(i)).c_str());
        CloseHandle(h);
    }
}

}
