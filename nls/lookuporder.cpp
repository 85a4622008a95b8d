// The lookup order of localized texts, free of the platform; LookupText,
// which reads through the platform's profile call, is in lookup.cpp.
#include "lookup.h"

CString LanguageFileName(const char* base, const char* code)
{
    CString name(base);
    name += ".";
    name += code;
    return name;
}

static bool ReadText(ProfileReader read, const char* file, const char* section,
                     const char* key, CString& text)
{
    char buffer[kTextCapacity];
    buffer[0] = '\0';
    read(file, section, key, buffer, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    if (buffer[0] == '\0')
        return false;
    text = buffer;
    return true;
}

TextSource LookupTextWith(ProfileReader read, const LanguageCodes& codes, const char* base,
                          const char* section, const char* key, CString& text)
{
    if (ReadText(read, LanguageFileName(base, codes.currentCode), section, key, text))
        return kTextFromCurrent;
    if (ReadText(read, LanguageFileName(base, codes.defaultCode), section, key, text))
        return kTextFromDefault;
    return kTextMissing;
}
