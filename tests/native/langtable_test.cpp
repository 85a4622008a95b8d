#include "nls/langtable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// A slot as text; a slot without its zero byte shows as "<unterminated>".
std::string Slot(const char (&slot)[4])
{
    size_t n = strnlen(slot, sizeof slot);
    return n < sizeof slot ? std::string(slot, n) : std::string("<unterminated>");
}

// Parses the table from a heap block of exactly its bytes (no zero byte
// after it), into codes pre-filled with junk.
LanguageCodes Parse(const std::string& table, uint32_t locale)
{
    std::unique_ptr<char[]> data(new char[table.size()]);
    std::memcpy(data.get(), table.data(), table.size());
    LanguageCodes codes;
    std::memset(&codes, '#', sizeof codes);
    ParseLanguageTable(data.get(), table.size(), locale, codes);
    return codes;
}

}

TEST(ParseLanguageTable, FillsDefaultAndCurrentCodes)
{
    using std::string;
    struct Case {
        string table;
        uint32_t locale;
        const char* defaultCode;
        const char* currentCode;
    } cases[] = {
        /* 0 */ { "ENG 0\nDEU 407\nFRA 40C\n", 0x407, "ENG", "DEU" },
        /* 1 */ { "ENG 0\nDEU 407\nFRA 40C\n", 0x416, "ENG", "ENG" },
        /* 2 */ { "", 0x407, "", "" },
        /* 3 */ { "DEU 407\nFRA 40C\n", 0x416, "", "" },
        /* 4 */ { "ENGL 0\nDEUT 407\n", 0x407, "ENG", "DEU" },
        // The number on the next line; the rest of that line is no entry
        // (read as one, "040" would become the default).
        /* 5 */ { "ENG 0\nDEU\n0407 0\n", 0x407, "ENG", "DEU" },
        /* 6 */ { "DEU\n\n \t\n  407\nENG 0\n", 0x407, "ENG", "DEU" },
        // A bare code on the last line is a default entry.
        /* 7 */ { "DEU 407\nENG", 0x407, "ENG", "DEU" },
        /* 8 */ { "DEU 407\nENG\n", 0x407, "ENG", "DEU" },
        /* 9 */ { "DEU 407\nENG   ", 0x407, "ENG", "DEU" },
        /* 10 */ { "ENG 0\nDEU 0407\n", 0x407, "ENG", "DEU" },
        /* 11 */ { "ENG 0\nDEU 00000407\n", 0x407, "ENG", "DEU" },
        /* 12 */ { "ENG 0\nFRA 40c\n", 0x40C, "ENG", "FRA" },
        /* 13 */ { "ENG 0\nFRA 40C\n", 0x40C, "ENG", "FRA" },
        /* 14 */ { "ENG 0000\nDEU 407\n", 0x407, "ENG", "DEU" },
        // With locale 0 an entry numbered 0 is a default, never current.
        /* 15 */ { "ENG 0\n", 0, "ENG", "ENG" },
        /* 16 */ { "DEU 407\n", 0, "", "" },
        // The last default and the last match win.
        /* 17 */ { "ENG 0\nDEU 407\nDEA 407\nUSA 0\n", 0x407, "USA", "DEA" },
        // Lines that begin with white space are ignored whole.
        /* 18 */ { " DEU 407\n\tFRA 40C\n\n\r\nENG 0\n", 0x407, "ENG", "ENG" },
        /* 19 */ { "\rDEU 407\n\vITA 410\n\fESP 0\nENG 0", 0x407, "ENG", "ENG" },
        /* 20 */ { "ENG 0\r\nDEU 407\r\n", 0x407, "ENG", "DEU" },
        /* 21 */ { "ENG\v0\nDEU\f407\n", 0x407, "ENG", "DEU" },
        // No comment syntax: a number that is not hexadecimal is 0.
        /* 22 */ { "ENG 0\nDEU 407\nNote: this\n", 0x407, "Not", "DEU" },
        /* 23 */ { "ENG 0\nDEU 407\nNote: this\n", 0x416, "Not", "Not" },
        /* 24 */ { "; comment 407\nENG 0\n", 0x407, "ENG", "ENG" },
        // A zero byte ends the data.
        /* 25 */ { string("ENG 0\n\0DEU 407\n", 15), 0x407, "ENG", "ENG" },
        /* 26 */ { string("ENG 0\nDEU 4\0" "07\n", 15), 0x407, "ENG", "ENG" },
        /* 27 */ { string("ENG 0\nDE\0U 407\n", 15), 0x407, "DE", "DE" },
        // Bytes 0x80 to 0xFF are neither white space nor digits.
        /* 28 */ { "ENG 0\n\xC4\xD6\xDC\xDF 407\n", 0x407, "ENG", "\xC4\xD6\xDC" },
        /* 29 */ { "\xA0" "ENG 0\n", 0x407, "\xA0" "EN", "\xA0" "EN" },
        /* 30 */ { "ENG 0\nDEU\x85" "407\n", 0x407, "DEU", "DEU" },
        /* 31 */ { "ENG 0\nDEU 4\xB0" "7\n", 0x4, "ENG", "DEU" },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        LanguageCodes codes = Parse(cases[i].table, cases[i].locale);
        EXPECT_EQ(cases[i].defaultCode, Slot(codes.defaultCode));
        EXPECT_EQ(cases[i].currentCode, Slot(codes.currentCode));
    }
}

namespace {

// "CODE@offset=value" for an entry, "skip@offset" for a skipped line;
// offsets count from the start of the data.
struct Trace {
    const char* data;
    std::vector<std::string> items;
};

void Record(const TableItem& item, void* context)
{
    Trace& trace = *static_cast<Trace*>(context);
    char text[64];
    if (item.skipped)
        snprintf(text, sizeof text, "skip@%d", static_cast<int>(item.start - trace.data));
    else
        snprintf(text, sizeof text, "%.*s@%d=%X", static_cast<int>(item.codeLength), item.start,
                 static_cast<int>(item.number - trace.data), static_cast<unsigned>(item.value));
    trace.items.push_back(text);
}

}

TEST(ScanLanguageTable, VisitsEntriesAndSkippedLinesInOrder)
{
    const std::string table = "ENG 0\n  indented 1\nDEUTSCH\n0407 rest\n\nFRA\t40c junk";
    std::unique_ptr<char[]> data(new char[table.size()]);
    std::memcpy(data.get(), table.data(), table.size());
    Trace trace = { data.get(), {} };
    ScanLanguageTable(data.get(), table.size(), Record, &trace);
    const std::vector<std::string> expected = {
        "ENG@4=0", "skip@6", "DEUTSCH@27=407", "skip@37", "FRA@42=40C",
    };
    EXPECT_EQ(expected, trace.items);
}

namespace {

// A few locales' ANSI code pages, as GetLocaleInfo tells them; Hindi and
// the others have none.
unsigned TestCodePage(uint32_t locale)
{
    switch (locale) {
    case 0x409: case 0x407: case 0x40C: case 0xC0C: return 1252;
    case 0x419: return 1251;
    case 0x411: return 932;
    case 0x40D: return 1255;
    default: return 0;
    }
}

}

TEST(ChooseCodePages, TheChoosingLocaleThenTheTablesLocalesThenTheMachines)
{
    struct Case {
        const char* table;
        uint32_t locale;
        unsigned machine;
        unsigned defaultCodePage;
        unsigned currentCodePage;
    } cases[] = {
        // The locale that chose the current code; the default by its other entries.
        /* 0 */ { "ENG 0\nENG 409\nRUS 419\n", 0x419, 1252, 1252, 1251 },
        /* 1 */ { "ENG 0\nENG 409\nJPN 411\n", 0x411, 65001, 1252, 932 },
        // No entry for the locale: the current is the default, by its entries.
        /* 2 */ { "RUS 0\nRUS 419\nENG 409\n", 0x40D, 1252, 1251, 1251 },
        // The first entry of the code with a code page wins, in file order.
        /* 3 */ { "RUS 0\nRUS 439\nRUS 419\nRUS 409\n", 0x40D, 1252, 1251, 1251 },
        // The choosing locale has none (Hindi): the table's locales of the code.
        /* 4 */ { "ENG 0\nENG 409\nRUS 419\nRUS 439\n", 0x439, 932, 1252, 1251 },
        // No locale of the code has one: the machine's.
        /* 5 */ { "ENG 0\nHIN 439\n", 0x439, 65001, 65001, 65001 },
        /* 6 */ { "ENG 0\n", 0x409, 1250, 1250, 1250 },
        // The default chosen as the current one: the choosing locale's.
        /* 7 */ { "FRA 0\nFRA 40C\nFRA 0C0C\n", 0xC0C, 1251, 1252, 1252 },
        // Codes cut to 3 characters; skipped lines are no entries.
        /* 8 */ { "ENGLISH 0\nENGL 409\n", 0x407, 932, 1252, 1252 },
        /* 9 */ { "ENG 0\n ENG 419\nENG\n419\n", 0, 1252, 1251, 1251 },
        // No table, no codes: the machine's.
        /* 10 */ { "", 0x419, 1253, 1253, 1253 },
        // A locale that no entry names chooses nothing, even with a code page.
        /* 11 */ { "DEU 0\nDEU 407\nJPN 411\n", 0x419, 932, 1252, 1252 },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        LanguageCodes codes;
        ParseLanguageTable(c.table, std::strlen(c.table), c.locale, codes);
        LanguageCodePages pages = ChooseCodePages(c.table, std::strlen(c.table), c.locale, codes, TestCodePage, c.machine);
        EXPECT_EQ(c.defaultCodePage, pages.defaultCodePage) << "row " << i << ", default " << Slot(codes.defaultCode);
        EXPECT_EQ(c.currentCodePage, pages.currentCodePage) << "row " << i << ", current " << Slot(codes.currentCode);
    }
}

TEST(LanguageCodePage, NamesTheEntryThatGaveIt)
{
    struct Case {
        const char* table;
        const char* code;
        uint32_t chosenBy;
        int entry;  // its offset in the table; -1 for none
    } cases[] = {
        { "RUS 0\nRUS 439\nRUS 419\nRUS 409\n", "RUS", 0, 14 },
        { "RUS 0\nRUS 419\n", "RUS", 0x419, -1 },  // the choosing locale gave it
        { "RUS 0\nRUS 419\n", "RUS", 0x439, 6 },
        { "ENG 0\nHIN 439\n", "HIN", 0x439, -1 },  // the machine gave it
    };
    for (const Case& c : cases) {
        const char* entry = c.table;
        LanguageCodePage(c.table, std::strlen(c.table), c.code, c.chosenBy, TestCodePage, 1252, &entry);
        EXPECT_EQ(c.entry, entry ? static_cast<int>(entry - c.table) : -1) << c.table << " " << c.code;
    }
}
