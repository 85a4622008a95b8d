// What the launcher would find on the machine it runs on: the folder it is
// started from and the system's programs it starts.
#ifndef NLSCHECK_PLATFORM_H
#define NLSCHECK_PLATFORM_H

#include <string>

// The package folder as the launcher sees it, without a trailing
// backslash. Elsewhere than on Windows, as Wine shows it (Z:\...).
std::string LauncherFolder(const std::string& folder);

// The full path of a system program as the launcher finds it: in the
// system folder, else the Windows folder; empty if in neither. Elsewhere
// than on Windows, Wine's system folder, C:\windows\system32.
std::string SystemProgram(const char* fileName);

// Whether standard output is a terminal that takes colours; on Windows,
// sets the console to UTF-8, the report's encoding, for the run.
void PrepareTerminal(bool& colour);

#endif
