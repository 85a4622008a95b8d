// Stands in for rundll32.exe and notepad.exe in a test prefix: appends one
// line to the file named by RECORDER_LOG,
//   <pid>|<creation time, 16 hex digits>|<nCmdShow>|<wShowWindow or -1>|<module path>|<command line>
// the command line as the system keeps it, in Unicode, written in UTF-8;
// then stays for RECORDER_STAY_MS (default 100) and ends with the exit
// status RECORDER_EXIT_CODE (default 0; decimal, up to 4294967295). The
// creation time (100 ns units) is stamped by the system when the program
// is started, so it gives the order of starting, which the order of the
// lines need not. By default it stays waiting in a message loop, which
// makes it idle at once, as the real programs are; with
// RECORDER_NEVER_IDLE set it sleeps instead and never becomes idle, so
// that a caller waiting for that waits until it ends.
//
// Each of the three may be given for one stand-in alone, under its name
// followed by the program's file name in capitals without ".exe":
// RECORDER_STAY_MS_NOTEPAD is Notepad's stay, whatever RECORDER_STAY_MS
// says.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

namespace {

// The program's file name without its extension, in capitals: "NOTEPAD".
char g_program[MAX_PATH];

// The setting NAME_<program>, else NAME, into value; false if neither is
// set (or the value is longer than size).
bool Setting(const char* name, char* value, DWORD size)
{
    char own[128];
    _snprintf(own, sizeof own, "%s_%s", name, g_program);
    own[sizeof own - 1] = '\0';
    const char* variables[] = { own, name };
    for (const char* variable : variables) {
        DWORD n = GetEnvironmentVariableA(variable, value, size);
        if (n > 0 && n < size)
            return true;
    }
    return false;
}

}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int nCmdShow)
{
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const char* base = strrchr(module, '\\') ? strrchr(module, '\\') + 1 : module;
    lstrcpynA(g_program, base, MAX_PATH);
    if (char* dot = strrchr(g_program, '.'))
        *dot = '\0';
    CharUpperA(g_program);

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    int wShow = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);

    const wchar_t* wide = GetCommandLineW();
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    char* commandLine = static_cast<char*>(malloc(length > 0 ? length : 1));
    commandLine[0] = '\0';
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, commandLine, length, nullptr, nullptr);
    size_t size = strlen(commandLine) + MAX_PATH + 96;
    char* line = static_cast<char*>(malloc(size));
    int n = _snprintf(line, size, "%lu|%08lx%08lx|%d|%d|%s|%s\n", GetCurrentProcessId(),
                      created.dwHighDateTime, created.dwLowDateTime, nCmdShow, wShow, module, commandLine);

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

    char value[16];
    UINT ms = 100;
    if (Setting("RECORDER_STAY_MS", value, sizeof value))
        ms = static_cast<UINT>(atoi(value));
    UINT status = 0;
    if (Setting("RECORDER_EXIT_CODE", value, sizeof value))
        status = static_cast<UINT>(strtoul(value, nullptr, 10));
    if (Setting("RECORDER_NEVER_IDLE", value, sizeof value)) {
        Sleep(ms);
        return static_cast<int>(status);
    }
    SetTimer(nullptr, 0, ms, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER)
        DispatchMessageA(&msg);
    return static_cast<int>(status);
}
