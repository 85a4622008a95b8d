// Asks the platform, for every locale it knows (GetLocaleInfo for each of
// the 65536 language numbers), for its ANSI code page
// (LOCALE_IDEFAULTANSICODEPAGE) and which way its language reads
// (LOCALE_IREADINGLAYOUT, and the right-to-left bit of LOCALE_FONTSIGNATURE),
// and reports every locale on which nlscheck's tables say otherwise. Also
// the locale Wine makes of the Unix locale nlscheck names for each: it
// must be of the same language, with the same code page. Run under Wine;
// the answers don't depend on the Unix locale.
//
//   codepage_wine
#define _WIN32_WINNT 0x0600  // LocaleNameToLCID
#include "codepage.h"
#include "display.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

// The tables leave these to the platform's answer unchecked: they are no
// locales of their own.
bool IsException(LANGID language)
{
    // LANG_NEUTRAL: the machine's own locale (0400 the user's, 0800 the
    // system's, 0C00 to 1400 their custom ones), which the platform answers
    // with that locale's code page. nlscheck takes 0 for "no UI language".
    return PRIMARYLANGID(language) == LANG_NEUTRAL;
}

// LOCALE_IREADINGLAYOUT (Windows 7 and later): 1 is right to left; 0 left
// to right, 2 and 3 vertical.
const LCTYPE kReadingLayout = 0x70;

// The font signature's Unicode subset bit 123: the locale's script is laid
// out right to left.
bool RightToLeftInFontSignature(LCID locale)
{
    LOCALESIGNATURE signature = {};
    if (!GetLocaleInfoW(locale, LOCALE_FONTSIGNATURE, reinterpret_cast<LPWSTR>(&signature),
                        sizeof signature / sizeof(WCHAR)))
        return false;
    return (signature.lsUsb[3] >> 27) & 1;
}

const char* Order(bool rightToLeft)
{
    return rightToLeft ? "right to left" : "left to right";
}

int g_failures;

void Report(unsigned number, LCID locale, const std::string& difference)
{
    ++g_failures;
    char name[128] = "";
    GetLocaleInfoA(locale, LOCALE_SENGLANGUAGE, name, sizeof name);
    std::printf("locale %04X (%s): %s\n", number, name, difference.c_str());
}

// The locale Wine takes from a Unix locale's name: "sr_RS@latin" is
// sr-Latn-RS. 0 when it knows none.
LCID WineLocaleOf(const std::string& unixName)
{
    std::string base = unixName.substr(0, unixName.find('@')), script;
    if (base.size() < unixName.size()) {
        std::string modifier = unixName.substr(base.size() + 1);
        script = modifier == "latin" ? "Latn" : modifier == "cyrillic" ? "Cyrl" : modifier == "arabic" ? "Arab" : "?";
    }
    size_t country = base.find('_');
    std::string name = base.substr(0, country) + (script.empty() ? "" : "-" + script) +
                       (country == std::string::npos ? "" : "-" + base.substr(country + 1));
    std::wstring wide(name.begin(), name.end());
    // A name that stands for another (tg-TJ for tg-Cyrl-TJ) comes with a
    // flag above the locale's number.
    return MAKELCID(LANGIDFROMLCID(LocaleNameToLCID(wide.c_str(), 0)), SORT_DEFAULT);
}

// Whether the Unix locale nlscheck names for the locale (if any) gives
// Wine one of the same language and code page; each name checked once for
// each language and code page, in `checked`.
void CheckUnixLocale(LANGID language, std::set<std::string>& checked)
{
    const char* unixName = UnixLocaleOf(language);
    unsigned expected = CodePageOfLocale(language);
    if (!unixName ||
        !checked.insert(std::string(unixName) + " " + std::to_string(PRIMARYLANGID(language)) + " " +
                        std::to_string(expected)).second)
        return;
    LCID wine = WineLocaleOf(unixName);
    char buffer[16] = "none";
    if (wine)
        GetLocaleInfoA(wine, LOCALE_IDEFAULTANSICODEPAGE, buffer, sizeof buffer);
    if (!wine || PRIMARYLANGID(LANGIDFROMLCID(wine)) != PRIMARYLANGID(language) ||
        std::strtoul(buffer, nullptr, 10) != expected) {
        char wineName[16];
        std::snprintf(wineName, sizeof wineName, "%04lX", static_cast<unsigned long>(wine));
        Report(language, MAKELCID(language, SORT_DEFAULT),
               std::string("the Unix locale ") + unixName + " gives Wine the locale " + wineName + ", code page " +
                   buffer + "; expected one of its language in code page " + std::to_string(expected));
    }
}

}

int main()
{
    int compared = 0;
    std::set<std::string> unixChecked;
    for (unsigned number = 0; number <= 0xFFFF; ++number) {
        LANGID language = static_cast<LANGID>(number);
        if (IsException(language))
            continue;
        CheckUnixLocale(language, unixChecked);
        char buffer[16];
        for (char& c : buffer)
            c = '#';
        LCID locale = MAKELCID(language, SORT_DEFAULT);
        if (GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE, buffer, sizeof buffer) == 0)
            continue;  // a locale the platform doesn't know
        ++compared;
        // "0": Unicode only, which the table calls kNoCodePage.
        unsigned expected = static_cast<unsigned>(std::strtoul(buffer, nullptr, 10));
        unsigned actual = CodePageOfLocale(locale);
        if (actual != expected)
            Report(number, locale, "code page: expected " + std::to_string(expected) + " (platform), got " +
                                       std::to_string(actual) + " (table)");

        DWORD layout = 0;
        GetLocaleInfoW(locale, kReadingLayout | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&layout),
                       sizeof layout / sizeof(WCHAR));
        bool rightToLeft = layout == 1;
        if (RightToLeftInFontSignature(locale) != rightToLeft)
            Report(number, locale, std::string("the platform's reading layout is ") + Order(rightToLeft) +
                                       ", its font signature " + Order(!rightToLeft));
        if (LocaleReadsRightToLeft(locale) != rightToLeft)
            Report(number, locale, std::string("reading order: expected ") + Order(rightToLeft) + " (platform), got " +
                                       Order(!rightToLeft) + " (table)");
    }
    std::printf("%d locales compared, %d Unix locales checked, %d differences\n", compared,
                static_cast<int>(unixChecked.size()), g_failures);
    return compared > 0 && g_failures == 0 ? 0 : 1;
}
