#include "progdir.h"

#include "cmdline.h"

#include <windows.h>

size_t GetProgramDirectory(size_t capacity, char* dest)
{
    size_t n = ProgramDirectoryOf(GetCommandLineA(), capacity, dest);
    if (n != 0)
        return n;
    char module[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        module[0] = '\0';
    n = ProgramDirectoryOf(module, capacity, dest);
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
    return directory;
}
