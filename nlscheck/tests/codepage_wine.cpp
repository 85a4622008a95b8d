// Asks the platform for the ANSI code page of every locale it knows
// (GetLocaleInfoA with LOCALE_IDEFAULTANSICODEPAGE, for each of the 65536
// language numbers) and reports every one on which nlscheck's table says
// otherwise. Run under Wine; the answers don't depend on the Unix locale.
//
//   codepage_wine
#include "codepage.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

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

}

int main()
{
    int compared = 0, failures = 0;
    for (unsigned number = 0; number <= 0xFFFF; ++number) {
        LANGID language = static_cast<LANGID>(number);
        if (IsException(language))
            continue;
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
    std::printf("%d locales compared, %d differences\n", compared, failures);
    return compared > 0 && failures == 0 ? 0 : 1;
}
