// Times programs from their start to their end, from inside Wine: starts
// each program in turn from FOLDER as "FOLDER\PROGRAM" /s, waits for it to
// end, and prints one line a run, "<program> <milliseconds>". Then, untimed,
// it waits for what the program started (the installer) to end too, so
// that no run shares the machine with the one before.
//
//   runtime.exe RUNS FOLDER PROGRAM...
//
// Runs alternate between the programs so that all meet the same conditions;
// the first round is a warm-up and is not printed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

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

}

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: runtime RUNS FOLDER PROGRAM...\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    const char* folder = argv[2];
    for (int run = -1; run < runs; ++run)
        for (int i = 3; i < argc; ++i) {
            double ms = TimeRun(folder, argv[i]);
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
