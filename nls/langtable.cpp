#include "langtable.h"

#include "hexparse.h"

#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void CopyCode(char slot[4], const TableItem& item)
{
    size_t n = item.codeLength < 3 ? item.codeLength : 3;
    std::memcpy(slot, item.start, n);
    slot[n] = '\0';
}

struct Selection {
    uint32_t locale;
    LanguageCodes* codes;
};

void SelectEntry(const TableItem& item, void* context)
{
    Selection& sel = *static_cast<Selection*>(context);
    if (item.skipped)
        return;
    // The test for 0 comes first: with locale 0 no entry becomes current.
    if (item.value == 0)
        CopyCode(sel.codes->defaultCode, item);
    else if (item.value == sel.locale)
        CopyCode(sel.codes->currentCode, item);
}

bool SameCode(const char* a, const char* b)
{
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

struct CodePageSearch {
    const char* code;
    LocaleCodePage codePageOf;
    unsigned found;
    const char* entry;
};

void FindCodePage(const TableItem& item, void* context)
{
    CodePageSearch& search = *static_cast<CodePageSearch*>(context);
    if (item.skipped || search.found || item.value == 0)
        return;
    char code[4];
    CopyCode(code, item);
    if (SameCode(code, search.code)) {
        search.found = search.codePageOf(item.value);
        search.entry = item.start;
    }
}

struct LocaleSearch {
    uint32_t locale;
    bool matched;
};

void FindLocale(const TableItem& item, void* context)
{
    LocaleSearch& search = *static_cast<LocaleSearch*>(context);
    if (!item.skipped && item.value != 0 && item.value == search.locale)
        search.matched = true;
}

}

void ScanLanguageTable(const char* data, size_t size, TableVisitor visit, void* context)
{
    const char* zero = static_cast<const char*>(std::memchr(data, '\0', size));
    const char* end = zero ? zero : data + size;
    const char* p = data;
    for (;;) {
        TableItem item = {};
        item.start = p;
        if (p < end && IsBlank(*p)) {
            item.skipped = true;
            item.number = p;
        } else {
            const char* q = p;
            while (q < end && !IsBlank(*q))
                ++q;
            item.codeLength = static_cast<size_t>(q - p);
            while (q < end && IsBlank(*q))
                ++q;
            item.number = q;
            item.value = ParseHexPrefix(q, static_cast<size_t>(end - q));
            p = q;
        }
        visit(item, context);
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!lf || lf + 1 == end)
            return;
        p = lf + 1;
    }
}

void ParseLanguageTable(const char* data, size_t size, uint32_t locale, LanguageCodes& codes)
{
    codes = LanguageCodes();
    Selection sel = { locale, &codes };
    ScanLanguageTable(data, size, SelectEntry, &sel);
    if (codes.currentCode[0] == '\0')
        std::memcpy(codes.currentCode, codes.defaultCode, sizeof codes.currentCode);
}

unsigned LanguageCodePage(const char* data, size_t size, const char* code, uint32_t chosenBy,
                          LocaleCodePage codePageOf, unsigned machineCodePage, const char** entry)
{
    CodePageSearch search = { code, codePageOf, chosenBy != 0 ? codePageOf(chosenBy) : 0, nullptr };
    if (search.found == 0 && code[0] != '\0')
        ScanLanguageTable(data, size, FindCodePage, &search);
    if (entry)
        *entry = search.found != 0 ? search.entry : nullptr;
    return search.found != 0 ? search.found : machineCodePage;
}

LanguageCodePages ChooseCodePages(const char* data, size_t size, uint32_t locale, const LanguageCodes& codes,
                                  LocaleCodePage codePageOf, unsigned machineCodePage)
{
    LocaleSearch search = { locale, false };
    ScanLanguageTable(data, size, FindLocale, &search);
    uint32_t chosenBy = search.matched ? locale : 0;
    bool defaultIsCurrent = SameCode(codes.defaultCode, codes.currentCode);
    LanguageCodePages pages;
    pages.currentCodePage = LanguageCodePage(data, size, codes.currentCode, chosenBy, codePageOf, machineCodePage);
    pages.defaultCodePage = LanguageCodePage(data, size, codes.defaultCode, defaultIsCurrent ? chosenBy : 0,
                                             codePageOf, machineCodePage);
    return pages;
}
