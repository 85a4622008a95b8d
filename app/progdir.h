#ifndef APP_PROGDIR_H
#define APP_PROGDIR_H

#include "afx/afx.h"

#include <cstddef>

// The lead-byte test of the system code page, for LastBackslash.
bool IsSystemLeadByte(unsigned char c);

// The program's directory, without a trailing backslash, in the size
// protocol of ProgramDirectoryOf: call with capacity 0 for the size, then
// with a buffer of that size. Taken from the command line; from the
// program's own file when the command line names it without a folder.
size_t GetProgramDirectory(size_t capacity, char* dest);

// GetProgramDirectory as a string.
CString ProgramDirectory();

#endif
