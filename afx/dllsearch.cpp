#include "dllsearch.h"

#include <windows.h>

#include <cstring>

// Windows 2000, XP, Vista and 7 without SetDefaultDllDirectories look in
// the program's folder before the system folder for every DLL that is no
// KnownDLL. A load by full path maps a DLL's own imports from the system
// folder too, before any of them runs. The delayed imports of system DLLs
// are loaded from there even where the search is restricted: a loader may
// resolve them without the restriction (Wine's does), and the dialog loads
// them anyway.
const DialogDll kDialogDlls[] = {
    { "imm32.dll", false },      // the input method manager, loaded by USER32 when it starts
    { "usp10.dll", false },      // Uniscribe, the complex-script text drawing
    { "lpk.dll", false },        // the language pack, loaded by USER32 and GDI32 of 2000 and XP
    { "user32.dll", false },     // the dialog's first call loads it; its imports come from here then
    { "gdi32.dll", false },      // likewise
    { "version.dll", false },    // loaded by name with USER32 and by the common controls 6
    { "msctf.dll", false },      // the text services, loaded by USER32 and IMM32 of XP for a focused window
    { "dwmapi.dll", false },     // desktop composition, loaded by USER32 and the themes of Vista and 7
    { "cryptbase.dll", false },  // ADVAPI32 of Vista and 7 forwards functions to it
    { "uxtheme.dll", false },    // the themes, loaded by USER32 for a window and by the common controls 6
    { "msimg32.dll", true },     // AlphaBlend and its kin, a delayed import of the themes' drawing
    { "ole32.dll", true },       // COM, a delayed import of IMM32 for a focused window
};
const int kDialogDllCount = sizeof kDialogDlls / sizeof kDialogDlls[0];

namespace {

// SetDefaultDllDirectories' flag: the system folder only.
const DWORD kSearchSystem32 = 0x00000800;

FARPROC Kernel32Function(const char* name)
{
    // KERNEL32 is loaded before the entry point: finding it loads nothing.
    HMODULE hKernel = GetModuleHandleA("KERNEL32.DLL");
    return hKernel ? GetProcAddress(hKernel, name) : nullptr;
}

bool IsWindows9x()
{
    return (GetVersion() & 0x80000000u) != 0;
}

}

void RestrictDllSearch()
{
    // Windows 9x has neither function, and nothing to gain.
    if (IsWindows9x())
        return;
    typedef BOOL(WINAPI * SetDefaultDirectories)(DWORD);
    typedef BOOL(WINAPI * SetDirectory)(LPCSTR);
    if (FARPROC set = Kernel32Function("SetDefaultDllDirectories"))
        reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void (*)()>(set))(kSearchSystem32);
    else if (FARPROC set = Kernel32Function("SetDllDirectoryA"))
        reinterpret_cast<SetDirectory>(reinterpret_cast<void (*)()>(set))("");
}

void PreloadDialogDlls()
{
    if (!IsWindows9x())
        LoadDialogDllsFromSystemFolder(Kernel32Function("SetDefaultDllDirectories") != nullptr);
}

void LoadDialogDllsFromSystemFolder(bool delayedImportsOnly)
{
    char path[MAX_PATH + 16];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    path[n++] = '\\';
    for (int i = 0; i < kDialogDllCount; ++i) {
        if (delayedImportsOnly && !kDialogDlls[i].delayedImport)
            continue;
        size_t length = strlen(kDialogDlls[i].name);
        memcpy(path + n, kDialogDlls[i].name, length + 1);
        // A DLL this Windows lacks just fails to load.
        LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}
