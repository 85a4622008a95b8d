// The system code page the launcher's texts are in, taken to be
// Windows-1252 (Western European), and its conversions.
#ifndef NLSCHECK_CODEPAGE_H
#define NLSCHECK_CODEPAGE_H

#include <cstdint>
#include <string>

// The character a byte of the code page stands for.
uint32_t CodepointOfAnsi(unsigned char c);

// The byte that stands for a character, or '?' when the code page has none.
char AnsiOfCodepoint(uint32_t cp);

// UTF-8 bytes to the code page; a broken sequence gives '?'.
std::string AnsiFromUtf8(const std::string& text);

// UTF-16 bytes, without their byte-order mark, to the code page.
std::string AnsiFromUtf16(const std::string& bytes, bool bigEndian);

// The code page's text as UTF-8, for a terminal.
std::string Utf8FromAnsi(const std::string& text);

// Equal but for the case of ASCII letters, as the platform compares file,
// section and key names.
bool SameLetters(const std::string& a, const std::string& b);

#endif
