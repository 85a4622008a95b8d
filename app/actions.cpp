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

bool IsFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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
        if (IsFile(path))
            return path;
    }
    return CString();
}

// Whether a run that waits has an installer to start: an INF file named
// by the language files in the program's folder (an empty name names the
// folder itself), and rundll32.exe to start it with.
bool HaveInstaller(const CString& directory)
{
    return IsFile(directory + "\\" + Text(kInfName)) && !SystemProgramPath("rundll32.exe").IsEmpty();
}

// Starts a command line and lets it run on its own: no waiting, not even
// for the started program to become idle. Returns the process's handle
// when keep is set and the program started (the caller closes it), else
// null.
HANDLE Start(const CString& commandLine, WORD showMode, bool keep = false)
{
    CString buffer(commandLine);  // CreateProcessA may write to its command line
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showMode;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(nullptr, buffer.GetBuffer(buffer.GetLength()), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    if (keep)
        return pi.hProcess;
    CloseHandle(pi.hProcess);
    return nullptr;
}

// Waits for a started program to end and closes its handle; its exit
// status, or ERROR_INSTALL_FAILURE if none can be had.
DWORD ExitStatusAtEnd(HANDLE hProcess)
{
    DWORD status;
    if (WaitForSingleObject(hProcess, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(hProcess, &status))
        status = ERROR_INSTALL_FAILURE;
    CloseHandle(hProcess);
    return status;
}

}

int PerformInstallActions(const CString& directory, bool silent, BOOL showReadme, bool wait)
{
    // A run that waits reports a package with nothing to install, and
    // records nothing for it: a deployment tool would take the entry for
    // the package.
    if (wait && !HaveInstaller(directory))
        return ERROR_INSTALL_FAILURE;

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
    HANDLE hInstaller = nullptr;
    if (!rundll32.IsEmpty())
        hInstaller = Start(InstallCommand(rundll32, ntFamily, directory, Text(kInfName)), SW_HIDE, wait);

    if (!silent && showReadme) {
        CString readme = Text(kReadmePath);
        CString notepad = SystemProgramPath("notepad.exe");
        if (!readme.IsEmpty() && !notepad.IsEmpty())
            Start(ReadmeCommand(notepad, readme), SW_SHOWNORMAL);
    }

    if (haveKey)
        RegCloseKey(hKey);

    if (!wait)
        return 0;
    return hInstaller ? static_cast<int>(ExitStatusAtEnd(hInstaller)) : ERROR_INSTALL_FAILURE;
}
