// The choice of language: the registry's resource locale, looked up in
// the language table file.
#include "language.h"

#include "hexparse.h"
#include "langtable.h"
#include "afx/afxwin.h"
#include "support/sbuf.h"

#include <cstring>

namespace {

// The user's UI language, on systems that have one (Windows 2000 and
// later); looked up at run time, since Windows 95 and NT 4 lack it.
uint32_t UserUILanguage()
{
    typedef LANGID(WINAPI * GetUILanguage)();
    HMODULE hKernel = GetModuleHandleA("KERNEL32.DLL");
    GetUILanguage get = hKernel ? reinterpret_cast<GetUILanguage>(
                                      reinterpret_cast<void (*)()>(GetProcAddress(hKernel, "GetUserDefaultUILanguage")))
                                : nullptr;
    return get ? get() : 0;
}

// The ANSI code page of a locale; 0 for none, as GetLocaleInfo tells it
// for a locale written in Unicode only (Hindi), and for an unknown one.
unsigned LocaleAnsiCodePage(uint32_t locale)
{
    typedef int(WINAPI * GetLocaleInfoA)(LCID, LCTYPE, LPSTR, int);
    GetLocaleInfoA getLocaleInfo = AfxSystemFunction<GetLocaleInfoA>("KERNEL32.DLL", "GetLocaleInfoA");
    char text[8];
    if (locale == 0 || !getLocaleInfo || !getLocaleInfo(locale, LOCALE_IDEFAULTANSICODEPAGE, text, sizeof text))
        return 0;
    unsigned codePage = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        codePage = codePage * 10 + static_cast<unsigned>(*p - '0');
    return codePage;
}

}

uint32_t ReadResourceLocale()
{
    HKEY hKey;
    if (RegOpenKeyA(HKEY_USERS, ".DEFAULT\\Control Panel\\Desktop\\ResourceLocale", &hKey) == ERROR_SUCCESS) {
        // The value may fill all 20 bytes without a zero byte, or not be a
        // string at all: parse only the bytes it gave. One too long for the
        // buffer is there all the same, and gives 0.
        char value[20];
        DWORD size = sizeof value;
        LONG result = RegQueryValueExA(hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(hKey);
        if (result == ERROR_SUCCESS)
            return ParseHexPrefix(value, size < sizeof value ? size : sizeof value);
        if (result == ERROR_MORE_DATA)
            return 0;
    }
    // Windows 9x names its UI language by this value; the NT family
    // doesn't write it, and has the user's UI language instead.
    return UserUILanguage();
}

void SelectLanguage(LanguageCodes& codes, const char* tableFile)
{
    LanguageCodePages codePages;
    SelectLanguage(codes, codePages, tableFile);
}

void SelectLanguage(LanguageCodes& codes, LanguageCodePages& codePages, const char* tableFile)
{
    codes = LanguageCodes();
    codePages = LanguageCodePages();
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
    // Windows 9x reads every file in the machine's code page, as it is.
    if (!(GetVersion() & 0x80000000u))
        codePages = ChooseCodePages(data, total, locale, codes, LocaleAnsiCodePage, GetACP());
}
