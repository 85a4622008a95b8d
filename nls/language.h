#ifndef NLS_LANGUAGE_H
#define NLS_LANGUAGE_H

#include "codes.h"

#include <cstdint>

// The locale number the language is chosen by: the resource locale value
// of the registry (Windows 9x) when it is there, else the user's UI
// language (the NT family); 0 when neither tells.
uint32_t ReadResourceLocale();

// Fills the codes from the resource locale and the language table file.
// A table that can't be opened, or is too large to hold, leaves both empty.
void SelectLanguage(LanguageCodes& codes, const char* tableFile);

// The same, and on the NT family the code pages of the codes' files
// (ChooseCodePages); 0 and 0 on Windows 9x, and without a table.
void SelectLanguage(LanguageCodes& codes, LanguageCodePages& codePages, const char* tableFile);

#endif
