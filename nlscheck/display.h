// What a Unix machine needs to show a locale's texts as the launcher does,
// under Wine: a Unix locale that gives Wine the locale's language and its
// ANSI code page, and a font that has that code page's letters and Latin
// ones (Wine draws a window title in one font, without falling back to
// another for letters it lacks).
#ifndef NLSCHECK_DISPLAY_H
#define NLSCHECK_DISPLAY_H

#include <cstdint>

// The Unix locale, without its character set ("de_DE", "sr_RS@latin"),
// run in UTF-8; Wine reads the language, the country and a script
// modifier from its name. Null when none is known: a language Windows
// writes in Unicode only, or one glibc has no locale for.
const char* UnixLocaleOf(uint32_t locale);

// A font family with the code page's letters and Latin ones; null for
// none known.
const char* FontOfCodePage(unsigned codePage);

#endif
