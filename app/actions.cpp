#include "actions.h"

#include "cmdline.h"
#include "commands.h"
#include "launcher.h"
#include "progdir.h"
#include "afx/afxwin.h"

namespace {

// One of the launcher's texts as it goes into a command line: in UTF-8 on
// the NT family, whose command lines are made wide; as it is on Windows 9x.
// The empty text when neither language has it.
CString CommandText(TextRole role)
{
    CString text;
    UINT codePage = 0;
    LookupAppText(role, text, codePage);
    return AfxIsNTFamily() ? AfxUtf8(text, codePage) : text;
}

void SetTextValue(HKEY hKey, const char* name, DWORD type, const CString& text)
{
    RegSetValueExA(hKey, name, 0, type, reinterpret_cast<const BYTE*>(static_cast<const char*>(text)),
                   static_cast<DWORD>(text.GetLength()) + 1);
}

// The display name, as Unicode on the NT family, so that the list of
// installed programs shows it in its language whatever the machine's code
// page; as the file's bytes on Windows 9x.
void SetDisplayName(HKEY hKey)
{
    CString name;
    UINT codePage = 0;
    LookupAppText(kPackageName, name, codePage);
    typedef LONG(WINAPI * RegSetValueExW)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);
    RegSetValueExW setValue =
        AfxWideFunction<RegSetValueExW>("ADVAPI32.DLL", "RegSetValueExW");
    if (!setValue) {
        SetTextValue(hKey, "DisplayName", REG_SZ, name);
        return;
    }
    CWideText wide(name, codePage);
    setValue(hKey, CWideText("DisplayName", CP_ACP), 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<const WCHAR*>(wide)),
             static_cast<DWORD>(wide.GetLength() + 1) * sizeof(WCHAR));
}

// The system folder (which 0) or the Windows folder (1), in the code page
// of command lines (CommandText); empty if the system can't tell.
CString SystemFolder(int which)
{
    if (!AfxIsNTFamily()) {
        char folder[MAX_PATH];
        UINT n = which == 0 ? GetSystemDirectoryA(folder, MAX_PATH) : GetWindowsDirectoryA(folder, MAX_PATH);
        return n == 0 || n >= MAX_PATH ? CString() : CString(folder);
    }
    typedef UINT(WINAPI * GetFolderW)(LPWSTR, UINT);
    GetFolderW get = AfxSystemFunction<GetFolderW>("KERNEL32.DLL",
                                                  which == 0 ? "GetSystemDirectoryW" : "GetWindowsDirectoryW");
    WCHAR folder[MAX_PATH];
    UINT n = get ? get(folder, MAX_PATH) : 0;
    return n == 0 || n >= MAX_PATH ? CString() : AfxUtf8FromWide(folder);
}

bool IsFile(const CString& path)
{
    DWORD attributes;
    typedef DWORD(WINAPI * GetFileAttributesW)(LPCWSTR);
    GetFileAttributesW get =
        AfxWideFunction<GetFileAttributesW>("KERNEL32.DLL", "GetFileAttributesW");
    if (get)
        attributes = get(CWideText(path, CP_UTF8));
    else
        attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The full path of a system program: the first of the system folder and
// the Windows folder that holds it, never a copy beside the launcher or
// in the current folder. Empty if neither holds it.
CString SystemProgramPath(const char* fileName)
{
    for (int i = 0; i < 2; ++i) {
        CString path = SystemFolder(i);
        if (path.IsEmpty())
            continue;
        const char* end = static_cast<const char*>(path) + path.GetLength();
        if (LastBackslash(path, end, AfxIsNTFamily() ? NoLeadBytes : IsSystemLeadByte) != end - 1)
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
    return IsFile(directory + "\\" + CommandText(kInfName)) && !SystemProgramPath("rundll32.exe").IsEmpty();
}

// Starts a command line (CommandText's code page) and lets it run on its
// own: no waiting, not even for the started program to become idle.
// Returns the process's handle when keep is set and the program started
// (the caller closes it), else null.
HANDLE Start(const CString& commandLine, WORD showMode, bool keep = false)
{
    PROCESS_INFORMATION pi;
    BOOL started;
    typedef BOOL(WINAPI * CreateProcessW)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                                          LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
    CreateProcessW createW =
        AfxWideFunction<CreateProcessW>("KERNEL32.DLL", "CreateProcessW");
    // The wide and the ANSI start-up records differ only in their strings' types.
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showMode;
    if (createW) {
        CWideText wide(commandLine, CP_UTF8);  // CreateProcessW may write to its command line
        started = createW(nullptr, const_cast<WCHAR*>(static_cast<const WCHAR*>(wide)), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, reinterpret_cast<STARTUPINFOW*>(&si), &pi);
    } else {
        CString buffer(commandLine);  // CreateProcessA may write to its command line
        started = CreateProcessA(nullptr, buffer.GetBuffer(buffer.GetLength()), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &si, &pi);
    }
    if (!started)
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
        SetDisplayName(hKey);
        // The Message stays the language file's bytes, on every system.
        CString message;
        UINT codePage;
        LookupAppText(kRemoveMessage, message, codePage);
        SetTextValue(hKey, "Message", REG_BINARY, message);
    }

    // Windows 9x sets the high bit of the version; the NT family has no
    // setupx.dll and installs INF files through setupapi.dll.
    CString rundll32 = SystemProgramPath("rundll32.exe");
    HANDLE hInstaller = nullptr;
    if (!rundll32.IsEmpty())
        hInstaller = Start(InstallCommand(rundll32, AfxIsNTFamily(), directory, CommandText(kInfName)), SW_HIDE, wait);

    if (!silent && showReadme) {
        CString readme = CommandText(kReadmePath);
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
