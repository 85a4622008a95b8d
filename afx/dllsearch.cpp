#include "dllsearch.h"

#include <windows.h>

#include <cstring>

// Windows 2000, XP, Vista and 7 without SetDefaultDllDirectories look in
// the program's folder before the system folder for every DLL that is no
// KnownDLL, and a loader may resolve the delayed imports of system DLLs
// without the restriction where it is set (Wine does, for ole32 and
// msimg32). A load by full path maps a DLL's own imports from the system
// folder too, before any of them runs.
const char* const kDialogDlls[] = {
    "imm32.dll",      // the input method manager, loaded by USER32 when it starts
    "usp10.dll",      // Uniscribe, the complex-script text drawing
    "lpk.dll",        // the language pack, loaded by USER32 and GDI32 of 2000 and XP
    "user32.dll",     // the dialog's first call loads it; its imports come from here then
    "gdi32.dll",      // likewise
    "version.dll",    // loaded by name with USER32 and by the common controls 6
    "msctf.dll",      // the text services, loaded by USER32 and IMM32 of XP for a focused window
    "dwmapi.dll",     // desktop composition, loaded by USER32 and the themes of Vista and 7
    "cryptbase.dll",  // ADVAPI32 of Vista and 7 forwards functions to it
    "uxtheme.dll",    // the themes, loaded by USER32 for a window and by the common controls 6
    "msimg32.dll",    // AlphaBlend and its kin, which the themes and the common controls 6 draw with
    "ole32.dll",      // COM, which IMM32 and the text services load for a focused window
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
        LoadDialogDllsFromSystemFolder();
}

void LoadDialogDllsFromSystemFolder()
{
    char path[MAX_PATH + 16];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    path[n++] = '\\';
    for (int i = 0; i < kDialogDllCount; ++i) {
        size_t length = strlen(kDialogDlls[i]);
        memcpy(path + n, kDialogDlls[i], length + 1);
        // A DLL this Windows lacks just fails to load.
        LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}
