// Asks the platform for the ANSI code page of every locale it knows
// (GetLocaleInfoA with LOCALE_IDEFAULTANSICODEPAGE, for each of the 65536
// language numbers) and reports every one on which nlscheck's table says
// otherwise. Also the locale Wine makes of the Unix locale nlscheck names
// for each: it must be of the same language, with the same code page. Run
// under Wine; the answers don't depend on the Unix locale.
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

// The table leaves these to the platform's answer unchecked: they are no
// locales of their own.
bool IsException(LANGID language)
{
    // LANG_NEUTRAL: the machine's own locale (0400 the user's, 0800 the
    // system's, 0C00 to 1400 their custom ones), which the platform answers
    // with that locale's code page. nlscheck takes 0 for "no UI language".
    return PRIMARYLANGID(language) == LANG_NEUTRAL;
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

// 0 when the Unix locale nlscheck names for the locale gives Wine one of
// the same language and code page (or it names none), else 1, reported;
// each name once for each language and code page.
int CheckUnixLocale(LANGID language, std::set<std::string>& checked)
{
    const char* unixName = UnixLocaleOf(language);
    unsigned expected = CodePageOfLocale(language);
    if (!unixName ||
        !checked.insert(std::string(unixName) + " " + std::to_string(PRIMARYLANGID(language)) + " " +
                        std::to_string(expected)).second)
        return 0;
    LCID wine = WineLocaleOf(unixName);
    char buffer[16] = "none";
    if (wine)
        GetLocaleInfoA(wine, LOCALE_IDEFAULTANSICODEPAGE, buffer, sizeof buffer);
    if (wine && PRIMARYLANGID(LANGIDFROMLCID(wine)) == PRIMARYLANGID(language) &&
        std::strtoul(buffer, nullptr, 10) == expected)
        return 0;
    std::printf("locale %04X: the Unix locale %s gives Wine the locale %04lX, code page %s; expected one of the "
                "language %02X in code page %u\n",
                language, unixName, static_cast<unsigned long>(wine), buffer, PRIMARYLANGID(language), expected);
    return 1;
}

}

int main()
{
    int compared = 0, failures = 0;
    std::set<std::string> unixChecked;
    for (unsigned number = 0; number <= 0xFFFF; ++number) {
        LANGID language = static_cast<LANGID>(number);
        if (IsException(language))
            continue;
        failures += CheckUnixLocale(language, unixChecked);
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
        if (actual != expected) {
            ++failures;
            char name[128] = "";
            GetLocaleInfoA(locale, LOCALE_SENGLANGUAGE, name, sizeof name);
            std::printf("locale %04X (%s): expected %u (platform), got %u (table)\n", number, name, expected, actual);
        }
    }
    std::printf("%d locales compared, %d Unix locales checked, %d differences\n", compared,
                static_cast<int>(unixChecked.size()), failures);
    return compared > 0 && failures == 0 ? 0 : 1;
}
