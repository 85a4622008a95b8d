// The choice of language: the registry's resource locale, looked up in
// the language table file.
#include "language.h"

#include "hexparse.h"
#include "langtable.h"
#include "afx/afxwin.h"
#include "support/sbuf.h"

#include <cstring>

uint32_t ReadResourceLocale()
{
    uint32_t locale = 0;
    HKEY hKey;
    if (RegOpenKeyA(HKEY_USERS, ".DEFAULT\\Control Panel\\Desktop\\ResourceLocale", &hKey) == ERROR_SUCCESS) {
        // The value may fill all 20 bytes without a zero byte, or not be a
        // string at all: parse only the bytes it gave.
        char value[20];
        DWORD size = sizeof value;
        if (RegQueryValueExA(hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS)
            locale = ParseHexPrefix(value, size < sizeof value ? size : sizeof value);
        RegCloseKey(hKey);
    }
    return locale;
}

void SelectLanguage(LanguageCodes& codes, const char* tableFile)
{
    codes = LanguageCodes();
    uint32_t locale = ReadResourceLocale();

    CFile file;
    if (!file.Open(tableFile, CFile::modeRead | CFile::shareDenyWrite))
        return;
    // The buffer's size is signed 32-bit and holds a zero byte more than
    // the file: a table that doesn't fit counts as one that can't be opened.
    ULONGLONG length = file.GetLength();
    if (length >= 0x7FFFFFFF)
        return;
    SBuf buf;
    char* data = buf.SetSize(static_cast<int32_t>(length) + 1);
    if (!data)
        return;
    std::memset(data, 0, static_cast<size_t>(length) + 1);
    UINT total = 0;
    while (total < length) {
        UINT n = file.Read(data + total, static_cast<UINT>(length) - total);
        if (n == 0)
            break;
        total += n;
    }
    file.Close();
    ParseLanguageTable(data, total, locale, codes);
}
