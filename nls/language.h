#ifndef NLS_LANGUAGE_H
#define NLS_LANGUAGE_H

#include "codes.h"

#include <cstdint>

// The system's resource locale from the registry; 0 when it can't tell.
uint32_t ReadResourceLocale();

// Fills the codes from the resource locale and the language table file.
// A table that can't be opened, or is too large to hold, leaves both empty.
void SelectLanguage(LanguageCodes& codes, const char* tableFile);

#endif
