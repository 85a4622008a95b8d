// Stands in for rundll32.exe and notepad.exe in a test prefix: appends one
// line to the file named by RECORDER_LOG,
//   <pid>|<nCmdShow>|<wShowWindow or -1>|<module path>|<command line>
// then waits in a message loop for RECORDER_STAY_MS (default 100) and ends.
// Waiting in GetMessage, not in Sleep, makes the program idle at once, as
// the real programs are.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int nCmdShow)
{
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    int wShow = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;

    const char* commandLine = GetCommandLineA();
    size_t size = strlen(commandLine) + MAX_PATH + 64;
    char* line = static_cast<char*>(malloc(size));
    int n = _snprintf(line, size, "%lu|%d|%d|%s|%s\n", GetCurrentProcessId(), nCmdShow, wShow,
                      module, commandLine);

    char logName[MAX_PATH];
    if (GetEnvironmentVariableA("RECORDER_LOG", logName, MAX_PATH) - 1 < MAX_PATH - 1) {
        // Wine's appending write is not atomic between processes: two
        // recorders started at once would overwrite each other's line.
        HANDLE hMutex = CreateMutexA(nullptr, FALSE, "recorder-log");
        WaitForSingleObject(hMutex, 10000);
        HANDLE hLog = CreateFileA(logName, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written;
        WriteFile(hLog, line, static_cast<DWORD>(n), &written, nullptr);
        CloseHandle(hLog);
        ReleaseMutex(hMutex);
        CloseHandle(hMutex);
    }

    char stay[16];
    UINT ms = 100;
    if (GetEnvironmentVariableA("RECORDER_STAY_MS", stay, sizeof stay) - 1 < sizeof stay - 1)
        ms = static_cast<UINT>(atoi(stay));
    SetTimer(nullptr, 0, ms, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER)
        DispatchMessageA(&msg);
    return 0;
}
