#ifndef APP_ACTIONS_H
#define APP_ACTIONS_H

#include "afx/afx.h"

// The package's uninstall entry, as the launcher records it.
#define UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO"

// What consent leads to: records the package under the uninstall key,
// starts the INF installer on the package's INF file and, in an
// interactive run that asks for it, Notepad on the readme. Returns the
// run's exit code: 0 without wait. With wait (the /w switch) it first
// makes sure that there is an INF file and rundll32.exe to start it with,
// and without them writes and starts nothing; then it waits for the
// installer, never for Notepad, and returns the installer's exit status,
// or ERROR_INSTALL_FAILURE (1603) when there was nothing to install or it
// could not be started.
int PerformInstallActions(const CString& directory, bool silent, BOOL showReadme, bool wait);

#endif
