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

// Reads one key of a language file, whose language's files are in code page
// `codePage`, into buffer, as ProfileReader does; returns the code page of
// the text it gave.
typedef unsigned (*LanguageFileReader)(const char* file, unsigned codePage, const char* section, const char* key,
                                       char* buffer, size_t capacity);

// LookupTextWith each language's files read in their code pages; codePage
// gets the code page of the text found.
TextSource LookupLanguageText(LanguageFileReader read, const LanguageCodes& codes, const LanguageCodePages& codePages,
                              const char* base, const char* section, const char* key, CString& text,
                              unsigned& codePage);

// LookupTextWith the platform's profile reading. TRUE if a text was found.
BOOL LookupText(const LanguageCodes& codes, CString& dest, const char* base,
                const char* section, const char* key);

// LookupText of one of the launcher's texts.
BOOL LookupText(const LanguageCodes& codes, CString& dest, TextRole role);

// One of the launcher's texts, each language's files read in their code
// pages (0: in the machine's, through the platform, as Windows 9x reads
// them); codePage gets the code page of the text (0 for the machine's).
// On the NT family a file that begins with a byte-order mark is read by its
// mark, and one whose language's code page is not the machine's by the
// launcher's own reader: the platform's would bring it to the machine's.
BOOL LookupText(const LanguageCodes& codes, const LanguageCodePages& codePages, CString& dest, TextRole role,
                unsigned& codePage);

#endif
