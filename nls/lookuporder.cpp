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

namespace {

struct Reading {
    LanguageFileReader read;
    const char* section;
    const char* key;
};

bool ReadText(const Reading& reading, const char* file, unsigned codePage, CString& text, unsigned& textCodePage)
{
    char buffer[kTextCapacity];
    buffer[0] = '\0';
    unsigned got = reading.read(file, codePage, reading.section, reading.key, buffer, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    if (buffer[0] == '\0')
        return false;
    text = buffer;
    textCodePage = got;
    return true;
}

// The ProfileReader of a LookupTextWith call, for the one LookupLanguageText
// runs in its place.
ProfileReader g_profileReader;

unsigned ReadWithProfileReader(const char* file, unsigned codePage, const char* section, const char* key, char* buffer,
                               size_t capacity)
{
    g_profileReader(file, section, key, buffer, capacity);
    return codePage;
}

}

TextSource LookupLanguageText(LanguageFileReader read, const LanguageCodes& codes, const LanguageCodePages& codePages,
                              const char* base, const char* section, const char* key, CString& text,
                              unsigned& codePage)
{
    Reading reading = { read, section, key };
    if (ReadText(reading, LanguageFileName(base, codes.currentCode), codePages.currentCodePage, text, codePage))
        return kTextFromCurrent;
    if (ReadText(reading, LanguageFileName(base, codes.defaultCode), codePages.defaultCodePage, text, codePage))
        return kTextFromDefault;
    return kTextMissing;
}

TextSource LookupTextWith(ProfileReader read, const LanguageCodes& codes, const char* base,
                          const char* section, const char* key, CString& text)
{
    ProfileReader outer = g_profileReader;
    g_profileReader = read;
    LanguageCodePages none = {};
    unsigned codePage;
    TextSource source = LookupLanguageText(ReadWithProfileReader, codes, none, base, section, key, text, codePage);
    g_profileReader = outer;
    return source;
}
