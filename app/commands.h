// The command lines the launcher starts. Texts from the language files go
// in as they stand: they are never used as formats.
#ifndef APP_COMMANDS_H
#define APP_COMMANDS_H

#include "afx/afx.h"

// "<rundll32>" setupx.dll,InstallHinfSection DefaultInstall 130 <dir>\<inf>
CString InstallCommand(const char* rundll32Path, const char* directory, const char* infName);

// "<notepad>" <readme>
CString ReadmeCommand(const char* notepadPath, const char* readmePath);

#endif
