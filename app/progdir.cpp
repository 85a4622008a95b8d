#include "progdir.h"

#include "cmdline.h"

#include "afx/afxwin.h"

#include <cstdlib>

bool IsSystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

bool NoLeadBytes(unsigned char)
{
    return false;
}

namespace {

// The longest path of the NT family, in UTF-16 units.
const DWORD kLongestPath = 32768;

// The directory part of a command line or path, by ProgramDirectoryOf's
// rules; false, leaving it alone, when there is no backslash to cut at.
bool DirectoryOf(const char* commandLine, LeadByteTest isLeadByte, CString& directory)
{
    size_t size = ProgramDirectoryOf(commandLine, isLeadByte, 0, nullptr);
    if (size == 0)
        return false;
    ProgramDirectoryOf(commandLine, isLeadByte, size, directory.GetBuffer(static_cast<int>(size - 1)));
    directory.ReleaseBuffer();
    return true;
}

}

CString ProgramDirectory()
{
    typedef LPWSTR(WINAPI * GetCommandLineW)();
    typedef DWORD(WINAPI * GetModuleFileNameW)(HMODULE, LPWSTR, DWORD);
    typedef DWORD(WINAPI * GetFullPathNameW)(LPCWSTR, DWORD, LPWSTR, LPWSTR*);
    GetCommandLineW getCommandLine = AfxWideFunction<GetCommandLineW>("KERNEL32.DLL", "GetCommandLineW");
    GetModuleFileNameW getModuleFileName = AfxWideFunction<GetModuleFileNameW>("KERNEL32.DLL", "GetModuleFileNameW");
    GetFullPathNameW getFullPathName = AfxWideFunction<GetFullPathNameW>("KERNEL32.DLL", "GetFullPathNameW");
    bool wide = getCommandLine && getModuleFileName && getFullPathName;
    LeadByteTest isLeadByte = wide ? NoLeadBytes : IsSystemLeadByte;
    // Room for the longest path of either family, wide or not.
    WCHAR* path = static_cast<WCHAR*>(std::malloc(sizeof(WCHAR) * kLongestPath));
    if (!path)
        return CString();
    char* ansi = reinterpret_cast<char*>(path);

    CString directory;
    if (!DirectoryOf(wide ? AfxUtf8FromWide(getCommandLine()) : CString(GetCommandLineA()), isLeadByte, directory)) {
        // Started by its bare name: the folder of the program's own file.
        DWORD length = wide ? getModuleFileName(nullptr, path, kLongestPath)
                            : GetModuleFileNameA(nullptr, ansi, MAX_PATH + 1);
        if (length == 0 || length > (wide ? kLongestPath - 1 : MAX_PATH))
            path[0] = 0;
        DirectoryOf(wide ? AfxUtf8FromWide(path) : CString(ansi), isLeadByte, directory);
    }

    // Started as "pkg\setup", the folder is relative to the current one:
    // once it is made current it would name another folder, so the INF
    // installer would look for the INF in the wrong place. Make it full.
    if (IsRelative(directory)) {
        DWORD n = wide ? getFullPathName(CWideText(directory, CP_UTF8), kLongestPath, path, nullptr)
                       : GetFullPathNameA(directory, MAX_PATH, ansi, nullptr);
        if (n > 0 && n < (wide ? kLongestPath : MAX_PATH))
            directory = wide ? AfxUtf8FromWide(path) : CString(ansi);
    }
    std::free(path);
    return directory;
}

bool IsRelative(const CString& directory)
{
    return !directory.IsEmpty() && !(directory.GetLength() >= 2 && directory[1] == ':') && directory[0] != '\\';
}

bool MakeCurrentDirectory(const CString& directory)
{
    // A bare drive ("X:") would name that drive's current folder, not its root.
    CString folder = directory;
    if (folder.GetLength() == 2 && folder[1] == ':')
        folder += "\\";
    // The profile calls and the installer take names of at most MAX_PATH
    // characters: a folder in which the language table's name is longer
    // counts as one that can't be made current, wherever the system
    // would make it so (Wine does).
    const int kLongestName = MAX_PATH - static_cast<int>(sizeof "\\NLS\\LANGID.TXT");
    if (!AfxIsNTFamily())
        return folder.GetLength() <= kLongestName && SetCurrentDirectoryA(folder);
    typedef BOOL(WINAPI * SetCurrentDirectoryW)(LPCWSTR);
    SetCurrentDirectoryW setCurrentDirectory =
        AfxSystemFunction<SetCurrentDirectoryW>("KERNEL32.DLL", "SetCurrentDirectoryW");
    CWideText wide(folder, CP_UTF8);
    return wide.GetLength() <= kLongestName && setCurrentDirectory && setCurrentDirectory(wide);
}
