// Where DLLs come from. setup.exe runs as administrator from wherever a
// package lands; a DLL planted there under a system DLL's name must never
// be loaded. The entry point restricts the search to the system folder
// where Windows can be told so; and before the dialog is made, the DLLs
// it brings in by name that the search might still find elsewhere are
// loaded from the system folder by full path.
#ifndef AFX_DLLSEARCH_H
#define AFX_DLLSEARCH_H

// The DLLs that USER32, GDI32, the dialog, its controls and their text
// drawing load by name, in the order they are loaded by full path.
struct DialogDll {
    const char* name;
    bool delayedImport;  // a delayed import of a system DLL
};
extern const DialogDll kDialogDlls[];
extern const int kDialogDllCount;

// First thing at start-up, before any DLL is loaded by name: DLLs are
// searched for in the system folder only (SetDefaultDllDirectories, where
// Windows has it), else at least not in the current folder.
void RestrictDllSearch();

// Before the dialog is made: on the NT family, loads kDialogDlls from the
// system folder; where the search is restricted, the delayed imports only.
void PreloadDialogDlls();

// Loads each of kDialogDlls (or only the delayed imports) by its full path
// in the system folder, its own imports resolved from there too. Later
// loads by name find them loaded and search nowhere.
void LoadDialogDllsFromSystemFolder(bool delayedImportsOnly);

#endif
