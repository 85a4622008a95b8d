#ifndef APP_PROGDIR_H
#define APP_PROGDIR_H

#include "afx/afx.h"

// The lead-byte test of the system code page, for LastBackslash.
bool IsSystemLeadByte(unsigned char c);
// The lead-byte test of UTF-8: none, since no byte of a sequence is a
// backslash's.
bool NoLeadBytes(unsigned char c);

// The program's directory, without a trailing backslash, as a full path:
// from the command line by ProgramDirectoryOf's rules, else from the path
// of the program's own file. On Windows 9x in the machine's code page; on
// the NT family in UTF-8, from the wide calls, so that a folder of any name
// is found. Empty when neither tells.
CString ProgramDirectory();

// Whether a directory is relative to the current one ("pkg", not "C:..."
// or "\\server..."); an empty one is not.
bool IsRelative(const CString& directory);

// Makes the program's directory, as ProgramDirectory gives it, the
// current one; false where it can't be.
bool MakeCurrentDirectory(const CString& directory);

#endif
