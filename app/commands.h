// The command lines the launcher starts. Texts from the language files go
// in as they stand: they are never used as formats.
#ifndef APP_COMMANDS_H
#define APP_COMMANDS_H

#include "afx/afx.h"

// The INF installer library of a system family: "setupx.dll" on Windows 9x,
// "setupapi.dll" on the NT family, which has no setupx.dll.
const char* InstallerLibrary(bool ntFamily);

// "<rundll32>" <library>,InstallHinfSection DefaultInstall 130 <dir>\<inf>
CString InstallCommand(const char* rundll32Path, const char* library, const char* directory,
                       const char* infName);

// "<notepad>" <readme>
CString ReadmeCommand(const char* notepadPath, const char* readmePath);

#endif
