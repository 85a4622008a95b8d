// Code pages: the ANSI code page Windows uses for each locale (and which
// way the locale's language reads), and text converted between a code
// page and Unicode by the system's own converter (iconv elsewhere than on
// Windows, MultiByteToWideChar on Windows).
#ifndef NLSCHECK_CODEPAGE_H
#define NLSCHECK_CODEPAGE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// No ANSI code page: locale 0, an unknown language, or one that Windows
// writes in Unicode only.
const unsigned kNoCodePage = 0;
const unsigned kUtf8CodePage = 65001;

// The ANSI code page of a locale, by its primary and sub-language.
unsigned CodePageOfLocale(uint32_t locale);

// Whether a locale's language reads right to left, by its primary and
// sub-language: Arabic, Hebrew, Persian, Urdu, ...
bool LocaleReadsRightToLeft(uint32_t locale);

// A display language of Windows that shares its language with another:
// a user whose UI language it is gets the table's entry of its number.
struct DisplayLanguage {
    uint32_t locale;
    const char* name;  // "French (Canada)"
};

// The display languages of Windows of a locale's language (Chinese,
// English, French, Portuguese and Spanish come in several); none for a
// language that has one only.
std::vector<DisplayLanguage> DisplayLanguagesOf(uint32_t locale);

// A name for a code page in a report: "1251 (Cyrillic)".
std::string CodePageName(unsigned codePage);

bool IsDoubleByte(unsigned codePage);

// Whether a byte begins a two-byte character of a double-byte code page.
bool IsLeadByte(unsigned codePage, unsigned char byte);

// The character the platform puts for bytes that are no character of a
// double-byte code page.
const char32_t kDoubleByteDefault = 0x30FB;

// One character of text in a code page.
struct CodeUnit {
    size_t offset;
    size_t length;  // 1 or 2 bytes
    char32_t ch;    // U+FFFD when the bytes are no character
    bool valid;
};

// Text in a code page, character by character as the platform steps
// through it: a lead byte takes the next byte with it, whatever it is.
std::vector<CodeUnit> DecodeCodePage(const std::string& bytes, unsigned codePage);

// Text in a code page as UTF-8; bytes that are no character give U+FFFD.
std::string Utf8FromCodePage(const std::string& bytes, unsigned codePage);

// Appends one character in a code page; false, appending nothing, when
// the code page has no place for it.
bool EncodeChar(char32_t ch, unsigned codePage, std::string& out);

// Appends one character as the platform converts it: the code page's
// own, else a near one (a letter without its accent); false, appending
// nothing, when there is neither.
bool BestFitChar(char32_t ch, unsigned codePage, std::string& out);

// Unicode text in a code page as the platform converts it, "?" for each
// character with no place or near one in it. `lacking` (if given) gets
// those characters.
std::string CodePageFromUnicode(const std::u32string& text, unsigned codePage, std::u32string* lacking = nullptr);

// UTF-8 bytes as characters; a broken sequence gives U+FFFD.
std::u32string DecodeUtf8(const std::string& bytes);
bool IsValidUtf8(const std::string& bytes);

// UTF-16 bytes, without their byte-order mark; a lone surrogate gives U+FFFD.
std::u32string DecodeUtf16(const std::string& bytes, bool bigEndian);

std::string Utf8(const std::u32string& text);
void AppendUtf8(std::string& out, char32_t ch);

// "U+0151"
std::string CodePointName(char32_t ch);

// Equal but for the case of ASCII letters, as the platform compares file,
// section and key names.
bool SameLetters(const std::string& a, const std::string& b);

#endif
