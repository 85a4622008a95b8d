// Helpers of the tests under Wine: files and folders, registry fixtures,
// and running a program as a child process with a timeout.
#ifndef TESTS_WIN32_TESTUTIL_H
#define TESTS_WIN32_TESTUTIL_H

#include <windows.h>

#include <string>
#include <vector>

// The resource locale key that the launcher reads its language from.
#define LOCALE_KEY ".DEFAULT\\Control Panel\\Desktop\\ResourceLocale"
// The package's uninstall entry under HKEY_LOCAL_MACHINE, which the
// launcher writes. The one spelling in the tests: the read-error script
// gets it from here too (tests/win32/CMakeLists.txt).
#define UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO"

// The value of an environment variable, empty if it is not set.
std::string Env(const char* name);
// UTF-8 text and UTF-16 text, one as the other.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
// A Unix path as Wine's drive Z: shows it.
std::string WinPath(const std::string& unixPath);

// A fresh, empty folder (removed first with everything in it).
void MakeEmptyDir(const std::string& dir);
void RemoveTree(const std::string& dir);
// Copies a folder with everything in it.
void CopyTree(const std::string& from, const std::string& to);
// Writes the bytes exactly, making the file's folder if needed.
void WriteBytes(const std::string& path, const std::string& data);
std::string ReadBytes(const std::string& path);
// The bytes after "key=" on the key's line of a language file.
std::string FileValue(const std::string& file, const char* key);

// One registry value as stored: its type and its bytes.
struct RegValue {
    bool present;
    DWORD type;
    std::string data;
};
RegValue ReadValue(HKEY root, const char* key, const char* name);
void SetValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& data);
void DeleteTree(HKEY root, const char* key);
// An expected REG_SZ or REG_BINARY text value: the text and its zero byte.
inline RegValue TextValue(DWORD type, const std::string& text)
{
    return { true, type, text + std::string(1, '\0') };
}
std::string Describe(const RegValue& value);
inline bool operator==(const RegValue& a, const RegValue& b)
{
    return a.present == b.present && (!a.present || (a.type == b.type && a.data == b.data));
}

// What a recorder standing in for a system program wrote down.
struct Record {
    DWORD pid;
    ULONGLONG created;  // the process's creation time: the order of starting
    int cmdShow;     // WinMain's nCmdShow
    int showWindow;  // STARTUPINFO's wShowWindow, -1 when not given
    std::string module;
    std::string commandLine;      // as GetCommandLineA gives it, in the system's code page
    std::string commandLineUtf8;  // as the system keeps it, in Unicode: here in UTF-8
};
// In the order the programs were started, whatever the order of the lines.
std::vector<Record> ReadRecords(const std::string& logFile);
// The records one per line, for a failure message.
std::string Describe(const std::vector<Record>& records);

// A run of a child process in a job of its own, so that everything it
// starts is seen and can be ended.
class ChildRun {
public:
    ~ChildRun();
    // Starts app with the command line in folder cwd; FALSE if it can't.
    bool Start(const std::string& app, const std::string& commandLine, const std::string& cwd);
    // The same with the program's name and command line in Unicode (and the
    // folder in UTF-8): a program in a folder of any name, or one longer
    // than MAX_PATH, named as "\\?\C:\...".
    bool Start(const std::wstring& app, const std::wstring& commandLine, const std::string& cwd);
    // Waits for the child itself to end; FALSE on timeout.
    bool WaitExit(DWORD timeoutMs);
    // Waits until every process of the job has ended; FALSE on timeout.
    bool WaitAll(DWORD timeoutMs);
    DWORD ElapsedMs() const { return m_elapsed; }
    // The child's exit code; a crash shows as its exception code.
    DWORD ExitCode() const;
    DWORD Pid() const { return m_pid; }
    // Processes of the job: all started so far, and those still running.
    DWORD TotalProcesses() const;
    DWORD ActiveProcesses() const;
    // Windows that the child has made, counted until WaitExit returns.
    int WindowsCreated() const { return m_created; }
    // The child's first visible top-level window, waiting up to timeoutMs.
    HWND FindWindowOfChild(DWORD timeoutMs);

private:
    bool Watch(const PROCESS_INFORMATION& pi);
    void Unhook();
    static void CALLBACK OnCreate(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);

    HWINEVENTHOOK m_hHook = nullptr;
    HANDLE m_hJob = nullptr;
    HANDLE m_hProcess = nullptr;
    DWORD m_pid = 0;
    DWORD m_start = 0;
    DWORD m_elapsed = 0;
    int m_created = 0;
};

// True when windows can be made here (Wine has a display).
bool HaveDisplay();

// Skips the running test for want of something that the project installs
// (scripts/install-deps.sh) or starts (scripts/with-display.sh): a display,
// a locale, a package. Where the environment variable CI is set, RunAllTests
// turns such a skip into a failure. A skip whose cause is the machine's own
// is a plain GTEST_SKIP, reported skipped everywhere.
#define SKIP_FOR_WANT_OF(what) GTEST_SKIP() << NoteWant(what)
// Marks the running test as wanting `what`; returns the skip's message.
std::string NoteWant(const std::string& what);
// The exit status of a run that skipped `who` for want of something the
// project provides: 77, which CTest reports as skipped (SKIP_RETURN_CODE),
// or where CI is set 1, a failure. Says which and why. tests/in_locale.sh
// decides the same way.
int WantStatus(const std::string& who, const std::string& what);
// RUN_ALL_TESTS, then the exit status for CTest: 1 on a failure, and on a
// skip for want (WantStatus) where CI is set; 77 when a test was skipped;
// else 0.
int RunAllTests();

#endif
