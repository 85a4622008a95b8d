// Times programs from inside Wine, so that the wine loader's own start is
// in no figure. Starts each program in turn from FOLDER by its full path and
// prints one line a run, "<program> <milliseconds>", or "<program> -" when
// the program can't be started or shows no window.
//
//   timeruns.exe end RUNS FOLDER PROGRAM...      "PROGRAM" /s, to its end
//   timeruns.exe window RUNS FOLDER PROGRAM...   "PROGRAM", to its first visible window
//
// "end" then waits, untimed, for what the program started (the installer)
// to end too, so that no run shares the machine with the one before;
// "window" closes the window, which cancels the launcher's dialog. Runs
// alternate between the programs so that all meet the same conditions; the
// first round is a warm-up and is not printed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND hWnd, LPARAM lParam)
{
    Search& search = *reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (processId == search.processId && IsWindowVisible(hWnd)) {
        search.found = hWnd;
        return FALSE;
    }
    return TRUE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

DWORD ActiveProcesses(HANDLE hJob)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    QueryInformationJobObject(hJob, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr);
    return info.ActiveProcesses;
}

// The milliseconds from the start of the program to its end; negative if
// it can't be started.
double TimeRun(const char* folder, const char* program)
{
    char commandLine[2 * MAX_PATH + 8];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\\%s\" /s", folder, program);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    HANDLE hJob = CreateJobObjectA(nullptr, nullptr);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, folder, &si,
                        &pi)) {
        CloseHandle(hJob);
        return -1;
    }
    AssignProcessToJobObject(hJob, pi.hProcess);
    ResumeThread(pi.hThread);
    WaitForSingleObject(pi.hProcess, INFINITE);
    QueryPerformanceCounter(&end);

    for (DWORD waited = 0; ActiveProcesses(hJob) != 0 && waited < 10000; waited += 5)
        Sleep(5);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(hJob);
    return Milliseconds(start, end);
}

// The milliseconds from the start of the program to its first visible
// window, or a negative number when it showed none within 5 s.
double TimeToWindow(const char* folder, const char* program)
{
    char commandLine[2 * MAX_PATH + 4];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\\%s\"", folder, program);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &pi))
        return -1;

    Search search = { pi.dwProcessId, nullptr };
    double elapsed = -1;
    for (;;) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.found) {
            elapsed = Milliseconds(start, now);
            break;
        }
        if (Milliseconds(start, now) > 5000 || WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }

    // Closing a dialog is its Cancel: the launcher then does nothing.
    if (search.found)
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return elapsed;
}

}

int main(int argc, char** argv)
{
    bool toWindow = argc >= 2 && std::strcmp(argv[1], "window") == 0;
    if (argc < 5 || (!toWindow && std::strcmp(argv[1], "end") != 0)) {
        std::fprintf(stderr, "usage: timeruns end|window RUNS FOLDER PROGRAM...\n");
        return 2;
    }
    int runs = std::atoi(argv[2]);
    const char* folder = argv[3];
    for (int run = -1; run < runs; ++run)
        for (int i = 4; i < argc; ++i) {
            double ms = toWindow ? TimeToWindow(folder, argv[i]) : TimeRun(folder, argv[i]);
            if (run < 0)
                continue;
            if (ms < 0)
                std::printf("%s -\n", argv[i]);
            else
                std::printf("%s %.3f\n", argv[i], ms);
            std::fflush(stdout);
        }
    return 0;
}
