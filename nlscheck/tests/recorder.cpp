// Stands in for rundll32.exe and notepad.exe in the launcher check's Wine
// prefix: appends one line to the file named by NLSCHECK_RECORD, with its
// module path, its command line and its show mode, split by tabs.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int nCmdShow)
{
    char record[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("NLSCHECK_RECORD", record, sizeof record);
    if (n == 0 || n >= sizeof record)
        return 1;
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    const char* commandLine = GetCommandLineA();
    int size = lstrlenA(module) + lstrlenA(commandLine) + 32;
    char* line = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (!line)
        return 1;
    int length = wsprintfA(line, "%s\t", module);
    lstrcpyA(line + length, commandLine);
    length += lstrlenA(commandLine);
    length += wsprintfA(line + length, "\t%d\r\n", nCmdShow);

    // One appending write a line, so that lines of two recorders don't mix.
    HANDLE hFile = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written;
    WriteFile(hFile, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(hFile);
    return 0;
}
