// What the launcher reads from its raw command line: whether the run is
// silent, whether it waits for the installer, and the folder the program
// lies in.
#ifndef APP_CMDLINE_H
#define APP_CMDLINE_H

#include <cstddef>

// True if "/s", "/S", "-s" or "-S" occurs anywhere in the arguments, as
// plain text ("/silent" counts). The program's path is not searched: a
// quoted path ends at its closing quote (without one, there are no
// arguments), an unquoted one at the first space or tab. So no folder name
// makes a run silent.
bool IsSilent(const char* commandLine);

// True if "/w", "/W", "-w" or "-W" occurs in the arguments, found as
// IsSilent finds its switch ("/wait" counts, a folder name never does):
// the run waits for the INF installer it starts and ends with its result.
bool WaitsForInstaller(const char* commandLine);

// Whether a byte of the system code page begins a double-byte character.
// In code pages 932, 936, 949 and 950 the byte after such a byte may be
// 0x5C, a backslash's byte, without being a backslash.
typedef bool (*LeadByteTest)(unsigned char c);

// The last backslash character in [begin, end), stepping by characters;
// null if there is none.
const char* LastBackslash(const char* begin, const char* end, LeadByteTest isLeadByte);

// The directory part of the program's path at the start of the command
// line: quoted up to the closing quote, else up to the end of the line,
// cut at the last backslash. Returns the directory's length + 1 and copies
// it, zero-terminated, only when capacity is larger than its length.
// Returns 0, writing nothing, when there is no backslash to cut at.
size_t ProgramDirectoryOf(const char* commandLine, LeadByteTest isLeadByte, size_t capacity, char* dest);

#endif
