#ifndef APP_ACTIONS_H
#define APP_ACTIONS_H

#include "afx/afx.h"

// The package's uninstall entry, as the launcher records it.
#define UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO"

// What consent leads to: records the package under the uninstall key,
// starts the INF installer on the package's INF file and, in an
// interactive run that asks for it, Notepad on the readme.
void PerformInstallActions(const CString& directory, bool silent, BOOL showReadme);

#endif
