#ifndef NLS_HEXPARSE_H
#define NLS_HEXPARSE_H

#include <cstddef>
#include <cstdint>

// The value of the hexadecimal digits at the start of a text, read up to
// the first other character, a zero byte or `size` bytes, whichever comes
// first. No sign, no "0x", no blanks skipped; the value wraps modulo 2^32.
uint32_t ParseHexPrefix(const char* text, size_t size = SIZE_MAX);

#endif
