// Localized texts read through the platform's initialization-file call.
#include "lookup.h"

#include <windows.h>

#include <cstring>

// The text ends at the count that the call returns, and a byte it didn't
// write reads as zero: a value cut inside a double-byte character is
// reported one byte longer than Wine writes it.
static void ReadProfileString(const char* file, const char* section, const char* key,
                              char* buffer, size_t capacity)
{
    std::memset(buffer, 0, capacity);
    DWORD length = GetPrivateProfileStringA(section, key, "", buffer, static_cast<DWORD>(capacity), file);
    if (length < capacity)
        buffer[length] = '\0';
}

BOOL LookupText(const LanguageCodes& codes, CString& dest, const char* base,
                const char* section, const char* key)
{
    return LookupTextWith(ReadProfileString, codes, base, section, key, dest) != kTextMissing;
}

BOOL LookupText(const LanguageCodes& codes, CString& dest, TextRole role)
{
    const LauncherText& text = kLauncherTexts[role];
    return LookupText(codes, dest, text.base, text.section, text.key);
}
