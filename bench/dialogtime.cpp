// Times programs from their start to their first visible window: starts
// each program in turn, polls the top-level windows for a visible one of
// the child's process, then closes it. Prints one line a run,
// "<program> <milliseconds>", or "<program> -" when no window came.
//
//   dialogtime.exe RUNS FOLDER PROGRAM...
//
// Each program is started from FOLDER by its full path; runs alternate
// between the programs so that both meet the same conditions.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

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
    if (argc < 4) {
        std::fprintf(stderr, "usage: dialogtime RUNS FOLDER PROGRAM...\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    const char* folder = argv[2];
    for (int run = 0; run < runs; ++run)
        for (int i = 3; i < argc; ++i) {
            double ms = TimeToWindow(folder, argv[i]);
            if (ms < 0)
                std::printf("%s -\n", argv[i]);
            else
                std::printf("%s %.2f\n", argv[i], ms);
            std::fflush(stdout);
        }
    return 0;
}
