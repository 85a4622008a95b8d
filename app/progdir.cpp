#include "progdir.h"

#include "cmdline.h"

#include "afx/afxwin.h"

#include <cstdlib>

bool IsSystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

size_t GetProgramDirectory(size_t capacity, char* dest)
{
    size_t n = ProgramDirectoryOf(GetCommandLineA(), IsSystemLeadByte, capacity, dest);
    if (n != 0)
        return n;
    char module[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        module[0] = '\0';
    n = ProgramDirectoryOf(module, IsSystemLeadByte, capacity, dest);
    if (n != 0)
        return n;
    if (capacity > 0)
        dest[0] = '\0';
    return 1;
}

bool NoLeadBytes(unsigned char)
{
    return false;
}

namespace {

// The longest path of the NT family, in UTF-16 units.
const DWORD kLongestPath = 32768;

// The directory part of a command line or path, by ProgramDirectoryOf's
// rules; false when it has no backslash.
bool DirectoryOf(const char* commandLine, LeadByteTest isLeadByte, CString& directory)
{
    size_t size = ProgramDirectoryOf(commandLine, isLeadByte, 0, nullptr);
    if (size == 0)
        return false;
    ProgramDirectoryOf(commandLine, isLeadByte, size, directory.GetBuffer(static_cast<int>(size - 1)));
    directory.ReleaseBuffer();
    return true;
}

// The program's folder on the NT family, in UTF-8, by the same rules as on
// Windows 9x: from the wide command line, or the module's wide path.
CString WideProgramDirectory()
{
    typedef LPWSTR(WINAPI * GetCommandLineW)();
    typedef DWORD(WINAPI * GetModuleFileNameW)(HMODULE, LPWSTR, DWORD);
    typedef DWORD(WINAPI * GetFullPathNameW)(LPCWSTR, DWORD, LPWSTR, LPWSTR*);
    GetCommandLineW getCommandLine = AfxSystemFunction<GetCommandLineW>("KERNEL32.DLL", "GetCommandLineW");
    GetModuleFileNameW getModuleFileName = AfxSystemFunction<GetModuleFileNameW>("KERNEL32.DLL", "GetModuleFileNameW");
    GetFullPathNameW getFullPathName = AfxSystemFunction<GetFullPathNameW>("KERNEL32.DLL", "GetFullPathNameW");
    WCHAR* path = static_cast<WCHAR*>(std::malloc(sizeof(WCHAR) * kLongestPath));
    if (!getCommandLine || !getModuleFileName || !getFullPathName || !path) {
        std::free(path);
        return CString();
    }

    CString directory;
    if (!DirectoryOf(AfxUtf8FromWide(getCommandLine()), NoLeadBytes, directory)) {
        DWORD length = getModuleFileName(nullptr, path, kLongestPath);
        path[length < kLongestPath ? length : 0] = 0;
        DirectoryOf(AfxUtf8FromWide(path), NoLeadBytes, directory);
    }
    if (IsRelative(directory)) {
        DWORD n = getFullPathName(CWideText(directory, CP_UTF8), kLongestPath, path, nullptr);
        if (n > 0 && n < kLongestPath)
            directory = AfxUtf8FromWide(path);
    }
    std::free(path);
    return directory;
}

}

bool IsRelative(const CString& directory)
{
    return !directory.IsEmpty() && !(directory.GetLength() >= 2 && directory[1] == ':') && directory[0] != '\\';
}

CString ProgramDirectory()
{
    if (AfxIsNTFamily())
        return WideProgramDirectory();

    CString directory;
    size_t size = GetProgramDirectory(0, nullptr);
    GetProgramDirectory(size, directory.GetBuffer(static_cast<int>(size - 1)));
    directory.ReleaseBuffer();

    // Started as "pkg\setup", the folder is relative to the current one:
    // once it is made current it would name another folder, so the INF
    // installer would look for the INF in the wrong place. Make it full.
    if (IsRelative(directory)) {
        char full[MAX_PATH];
        DWORD n = GetFullPathNameA(directory, MAX_PATH, full, nullptr);
        if (n > 0 && n < MAX_PATH)
            directory = full;
    }
    return directory;
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
