// The launcher's profile reading, pointed at a package folder: the
// platform's own call on Windows when the machine's code page is the one
// asked for, ProfileFile otherwise.
#ifndef NLSCHECK_READER_H
#define NLSCHECK_READER_H

#include <cstddef>
#include <string>

// The folder that relative file names resolve against, as the launcher's
// resolve against its current directory.
void SetProfileFolder(const std::string& folder);

// The ANSI code page of the machine the launcher runs on.
void SetProfileCodePage(unsigned codePage);

// A ProfileReader for LookupTextWith.
void ReadPackageProfile(const char* file, const char* section, const char* key, char* buffer, size_t capacity);

#endif
