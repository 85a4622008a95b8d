#include "actions.h"

#include "cmdline.h"
#include "commands.h"
#include "launcher.h"
#include "progdir.h"
#include "nls/lookup.h"

#include <windows.h>

namespace {

// One of the launcher's texts, or the empty text when neither language has it.
CString Text(TextRole role)
{
    CString text;
    LookupText(AppLanguageCodes(), text, role);
    return text;
}

void SetTextValue(HKEY hKey, const char* name, DWORD type, const CString& text)
{
    RegSetValueExA(hKey, name, 0, type, reinterpret_cast<const BYTE*>(static_cast<const char*>(text)),
                   static_cast<DWORD>(text.GetLength()) + 1);
}

// The full path of a system program: the first of the system folder and
// the Windows folder that holds it, never a copy beside the launcher or
// in the current folder. Empty if neither holds it.
CString SystemProgramPath(const char* fileName)
{
    char folder[MAX_PATH];
    for (int i = 0; i < 2; ++i) {
        UINT n = i == 0 ? GetSystemDirectoryA(folder, MAX_PATH) : GetWindowsDirectoryA(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            continue;
        CString path(folder);
        if (LastBackslash(folder, folder + n, IsSystemLeadByte) != folder + n - 1)
            path += "\\";
        path += fileName;
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return path;
    }
    return CString();
}

// Starts a command line and lets it run on its own: no waiting, not even
// for the started program to become idle.
void Start(const CString& commandLine, WORD showMode)
{
    CString buffer(commandLine);  // CreateProcessA may write to its command line
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showMode;
    PROCESS_INFORMATION pi;
    if (CreateProcessA(nullptr, buffer.GetBuffer(buffer.GetLength()), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

}

void PerformInstallActions(const CString& directory, bool silent, BOOL showReadme)
{
    HKEY hKey;
    bool haveKey = RegCreateKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, &hKey) == ERROR_SUCCESS;
    if (haveKey) {
        SetTextValue(hKey, "DisplayName", REG_SZ, Text(kPackageName));
        SetTextValue(hKey, "Message", REG_BINARY, Text(kRemoveMessage));
    }

    // Windows 9x sets the high bit of the version; the NT family has no
    // setupx.dll and installs INF files through setupapi.dll.
    bool ntFamily = (GetVersion() & 0x80000000u) == 0;
    CString rundll32 = SystemProgramPath("rundll32.exe");
    if (!rundll32.IsEmpty())
        Start(InstallCommand(rundll32, ntFamily, directory, Text(kInfName)),
              SW_HIDE);

    if (!silent && showReadme) {
        CString readme = Text(kReadmePath);
        CString notepad = SystemProgramPath("notepad.exe");
        if (!readme.IsEmpty() && !notepad.IsEmpty())
            Start(ReadmeCommand(notepad, readme), SW_SHOWNORMAL);
    }

    if (haveKey)
        RegCloseKey(hKey);
}
