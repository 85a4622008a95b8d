// The command lines the launcher starts. Texts from the language files go
// in as they stand: they are never used as formats.
#ifndef APP_COMMANDS_H
#define APP_COMMANDS_H

#include "afx/afx.h"

// The INF install command of a system family. Windows 9x:
//   "<rundll32>" setupx.dll,InstallHinfSection DefaultInstall 130 <dir>\<inf>
// The NT family has no setupx.dll, and there 130 (128 + 2) would always
// ask for a restart; 132 (128 + 4) asks only if one is needed:
//   "<rundll32>" setupapi.dll,InstallHinfSection DefaultInstall 132 <dir>\<inf>
CString InstallCommand(const char* rundll32Path, bool ntFamily, const char* directory, const char* infName);

// "<notepad>" <readme>
CString ReadmeCommand(const char* notepadPath, const char* readmePath);

#endif
