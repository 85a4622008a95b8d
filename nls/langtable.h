// The language table: lines of a language code, white space and the
// hexadecimal number of the locale the code is for; 0 marks the default.
#ifndef NLS_LANGTABLE_H
#define NLS_LANGTABLE_H

#include "codes.h"

#include <cstddef>
#include <cstdint>

// One step of the table scan: an entry, or a line skipped because it
// begins with white space.
struct TableItem {
    bool skipped;
    const char* start;       // the entry's code, or the skipped line
    size_t codeLength;       // the code up to its first white space
    const char* number;      // where the number was read (the entry's end)
    uint32_t value;
};

typedef void (*TableVisitor)(const TableItem& item, void* context);

// Scans the table as the launcher reads it, calling visit for each entry
// and each skipped line in order. The data ends at `size` bytes or at its
// first zero byte.
void ScanLanguageTable(const char* data, size_t size, TableVisitor visit, void* context);

// Fills the codes from the table: the last entry numbered 0 gives the
// default code, the last entry numbered `locale` the current one, which
// otherwise is the default. Codes are cut to 3 characters.
void ParseLanguageTable(const char* data, size_t size, uint32_t locale, LanguageCodes& codes);

// The ANSI code page of a locale number, 0 when it has none.
typedef unsigned (*LocaleCodePage)(uint32_t locale);

// The code page that a language code's files are read in on the NT family:
// that of the locale `chosenBy` (the locale that chose the code as the
// current one, 0 if none did) when it has one; else that of the first entry
// of the table, in the scan's order, whose code (cut to 3 characters) is
// the code and whose number is a locale that has one; else the machine's.
// `entry`, if given, gets the start of that entry, or null.
unsigned LanguageCodePage(const char* data, size_t size, const char* code, uint32_t chosenBy,
                          LocaleCodePage codePageOf, unsigned machineCodePage, const char** entry = nullptr);

// The code pages of the codes that ParseLanguageTable chose for `locale`.
LanguageCodePages ChooseCodePages(const char* data, size_t size, uint32_t locale, const LanguageCodes& codes,
                                  LocaleCodePage codePageOf, unsigned machineCodePage);

#endif
