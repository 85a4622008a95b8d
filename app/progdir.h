#ifndef APP_PROGDIR_H
#define APP_PROGDIR_H

#include "afx/afx.h"

#include <cstddef>

// The lead-byte test of the system code page, for LastBackslash.
bool IsSystemLeadByte(unsigned char c);
// The lead-byte test of UTF-8: none, since no byte of a sequence is a
// backslash's.
bool NoLeadBytes(unsigned char c);

// The program's directory, without a trailing backslash, in the size
// protocol of ProgramDirectoryOf: call with capacity 0 for the size, then
// with a buffer of that size. Taken from the command line; from the
// program's own file when the command line names it without a folder.
size_t GetProgramDirectory(size_t capacity, char* dest);

// The program's directory as a full path: on Windows 9x GetProgramDirectory's,
// in the machine's code page; on the NT family in UTF-8, from the wide
// command line by the same rules, so that a folder of any name is found.
CString ProgramDirectory();

// Whether a directory is relative to the current one ("pkg", not "C:..."
// or "\\server..."); an empty one is not.
bool IsRelative(const CString& directory);

// Makes the program's directory, as ProgramDirectory gives it, the
// current one; false where it can't be.
bool MakeCurrentDirectory(const CString& directory);

#endif
