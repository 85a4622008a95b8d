// The canary: a DLL that imports nothing but KERNEL32 and, when a process
// attaches it, leaves a mark: an empty file named after the name it was
// loaded by, in the folder that CANARY_MARKS names. Copies of it under
// system DLLs' names show which planted copies a program loaded. The
// mark holds the path the copy was loaded from.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char mark[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA("CANARY_MARKS", mark, MAX_PATH);
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(hInstance, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || length == 0 || length >= MAX_PATH)
        return TRUE;
    const char* name = module + length;
    while (name > module && name[-1] != '\\')
        --name;
    mark[n++] = '\\';
    while (*name)
        mark[n++] = *name++;
    mark[n] = '\0';
    HANDLE hFile = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(hFile, module, length, &written, nullptr);
        CloseHandle(hFile);
    }
    return TRUE;
}
