// Localized texts read through the platform's initialization-file call.
#include "lookup.h"

#include <windows.h>

static void ReadProfileString(const char* file, const char* section, const char* key,
                              char* buffer, size_t capacity)
{
    GetPrivateProfileStringA(section, key, "", buffer, static_cast<DWORD>(capacity), file);
}

BOOL LookupText(const LanguageCodes& codes, CString& dest, const char* base,
                const char* section, const char* key)
{
    return LookupTextWith(ReadProfileString, codes, base, section, key, dest) != kTextMissing;
}
