#include "progdir.h"

#include "cmdline.h"

#include <windows.h>

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

CString ProgramDirectory()
{
    CString directory;
    size_t size = GetProgramDirectory(0, nullptr);
    GetProgramDirectory(size, directory.GetBuffer(static_cast<int>(size - 1)));
    directory.ReleaseBuffer();

    // Started as "pkg\setup", the folder is relative to the current one:
    // once it is made current it would name another folder, so the INF
    // installer would look for the INF in the wrong place. Make it full.
    bool relative = !(directory.GetLength() >= 2 && directory[1] == ':') && directory[0] != '\\';
    if (relative && !directory.IsEmpty()) {
        char full[MAX_PATH];
        DWORD n = GetFullPathNameA(directory, MAX_PATH, full, nullptr);
        if (n > 0 && n < MAX_PATH)
            directory = full;
    }
    return directory;
}
