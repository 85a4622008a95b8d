// Localized texts: a key of a per-language initialization file, read for
// the current language first and for the default language after it.
#ifndef NLS_LOOKUP_H
#define NLS_LOOKUP_H

#include "codes.h"
#include "texts.h"
#include "afx/afx.h"

#include <cstddef>

// The longest text a lookup gives, and the buffer it is read into.
enum { kTextCapacity = 1024 };

// Reads one key of an initialization file into buffer: the key's text, or
// the empty text when the file, the section or the key is absent.
typedef void (*ProfileReader)(const char* file, const char* section, const char* key,
                              char* buffer, size_t capacity);

// Which file a text came from.
enum TextSource { kTextMissing, kTextFromCurrent, kTextFromDefault };

// "<base>.<code>": the language file of one code; a bare dot for no code.
CString LanguageFileName(const char* base, const char* code);

// The lookup order itself: the current language's file, then the default
// language's (even when the codes are the same); an empty text counts as
// missing. On success text holds the text; otherwise it is left alone.
TextSource LookupTextWith(ProfileReader read, const LanguageCodes& codes, const char* base,
                          const char* section, const char* key, CString& text);

// LookupTextWith the platform's profile reading. TRUE if a text was found.
BOOL LookupText(const LanguageCodes& codes, CString& dest, const char* base,
                const char* section, const char* key);

// LookupText of one of the launcher's texts.
BOOL LookupText(const LanguageCodes& codes, CString& dest, TextRole role);

#endif
