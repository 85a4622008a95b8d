#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WinPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    if (dir.size() > 2)  // not a drive's root
        RemoveDirectoryA(dir.c_str());
}

static void MakeDirs(const std::string& dir)
{
    size_t slash = dir.find_last_of('\\');
    if (slash != std::string::npos && slash > 2)
        MakeDirs(dir.substr(0, slash));
    CreateDirectoryA(dir.c_str(), nullptr);
}

void MakeEmptyDir(const std::string& dir)
{
    RemoveTree(dir);
    MakeDirs(dir);
}

void CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

void WriteBytes(const std::string& path, const std::string& data)
{
    MakeDirs(path.substr(0, path.find_last_of('\\')));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
}

std::string ReadBytes(const std::string& path)
{
    std::string data;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    char buffer[4096];
    DWORD n;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0)
        data.append(buffer, n);
    CloseHandle(h);
    return data;
}

std::string FileValue(const std::string& file, const char* key)
{
    std::string bytes = ReadBytes(file), start = std::string("\n") + key + "=";
    size_t at = bytes.find(start);
    if (at == std::string::npos)
        return std::string();
    at += start.size();
    return bytes.substr(at, bytes.find_first_of("\r\n", at) - at);
}

RegValue ReadValue(HKEY root, const char* key, const char* name)
{
    RegValue value = { false, REG_NONE, "" };
    HKEY hKey;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(hKey, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.assign(size, '#');
        if (RegQueryValueExA(hKey, name, nullptr, &value.type,
                             reinterpret_cast<BYTE*>(&value.data[0]), &size) == ERROR_SUCCESS) {
            value.present = true;
            value.data.resize(size);
        }
    }
    RegCloseKey(hKey);
    return value;
}

void SetValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& data)
{
    HKEY hKey;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(hKey, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(hKey);
}

void DeleteTree(HKEY root, const char* key)
{
    RegDeleteTreeA(root, key);
    RegDeleteKeyA(root, key);
}

std::string Describe(const RegValue& value)
{
    if (!value.present)
        return "(absent)";
    char head[32];
    std::snprintf(head, sizeof head, "type %lu, %u bytes:", value.type,
                  static_cast<unsigned>(value.data.size()));
    std::string text = head;
    for (unsigned char c : value.data) {
        char byte[8];
        std::snprintf(byte, sizeof byte, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02x", c);
        text += byte;
    }
    return text;
}

std::wstring WideFromUtf8(const std::string& text)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string Utf8FromWide(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], n, nullptr, nullptr);
    return utf8;
}

std::vector<Record> ReadRecords(const std::string& logFile)
{
    std::vector<Record> records;
    std::string log = ReadBytes(logFile);
    size_t pos = 0;
    while (pos < log.size()) {
        size_t end = log.find('\n', pos);
        if (end == std::string::npos)
            end = log.size();
        std::string line = log.substr(pos, end - pos);
        pos = end + 1;
        // pid|creation time|nCmdShow|wShowWindow|module|command line
        size_t bar[5];
        size_t from = 0;
        for (size_t& at : bar) {
            at = line.find('|', from);
            from = at == std::string::npos ? at : at + 1;
        }
        if (bar[4] == std::string::npos)
            continue;
        Record r;
        r.pid = std::strtoul(line.c_str(), nullptr, 10);
        r.created = std::strtoull(line.c_str() + bar[0] + 1, nullptr, 16);
        r.cmdShow = std::atoi(line.c_str() + bar[1] + 1);
        r.showWindow = std::atoi(line.c_str() + bar[2] + 1);
        r.module = line.substr(bar[3] + 1, bar[4] - bar[3] - 1);
        r.commandLineUtf8 = line.substr(bar[4] + 1);
        std::wstring wide = WideFromUtf8(r.commandLineUtf8);
        int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
        r.commandLine.assign(n > 0 ? n : 0, '\0');
        if (n > 0)
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &r.commandLine[0], n, nullptr,
                                nullptr);
        records.push_back(r);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.created < b.created; });
    return records;
}

std::string Describe(const std::vector<Record>& records)
{
    std::string text;
    for (const Record& r : records)
        text += std::to_string(r.pid) + " created " + std::to_string(r.created) + " show " + std::to_string(r.showWindow) + " " + r.module +
                ": " + r.commandLine + "\n";
    return text;
}

namespace {
// The run whose child's windows are being counted: WinEvent callbacks
// carry no context of their own.
ChildRun* g_watched;
}

ChildRun::~ChildRun()
{
    Unhook();
    if (m_hJob) {
        TerminateJobObject(m_hJob, 1);
        CloseHandle(m_hJob);
    }
    if (m_hProcess)
        CloseHandle(m_hProcess);
}

bool ChildRun::Start(const std::string& app, const std::string& commandLine, const std::string& cwd)
{
    std::string line = commandLine;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    return CreateProcessA(app.empty() ? nullptr : app.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                          nullptr, cwd.empty() ? nullptr : cwd.c_str(), &si, &pi) &&
           Watch(pi);
}

bool ChildRun::Start(const std::wstring& app, const std::wstring& commandLine, const std::string& cwd)
{
    std::wstring line = commandLine, folder = WideFromUtf8(cwd);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    return CreateProcessW(app.empty() ? nullptr : app.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                          nullptr, cwd.empty() ? nullptr : folder.c_str(), &si, &pi) &&
           Watch(pi);
}

bool ChildRun::Watch(const PROCESS_INFORMATION& pi)
{
    m_hJob = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    AssignProcessToJobObject(m_hJob, pi.hProcess);
    m_hProcess = pi.hProcess;
    m_pid = pi.dwProcessId;
    // Windows are counted from the child's first instruction on. (Wine
    // reports the creation of a window to other processes, not its showing.)
    g_watched = this;
    m_hHook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnCreate, m_pid, 0,
                              WINEVENT_OUTOFCONTEXT);
    m_start = GetTickCount();
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    return true;
}

void CALLBACK ChildRun::OnCreate(HWINEVENTHOOK, DWORD, HWND, LONG idObject, LONG, DWORD, DWORD)
{
    // The window may be gone by now: the hook's process filter says whose it was.
    if (g_watched && idObject == OBJID_WINDOW)
        ++g_watched->m_created;
}

bool ChildRun::WaitExit(DWORD timeoutMs)
{
    for (;;) {
        DWORD elapsed = GetTickCount() - m_start;
        if (elapsed >= timeoutMs)
            break;
        DWORD result = MsgWaitForMultipleObjects(1, &m_hProcess, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (result != WAIT_OBJECT_0 + 1)
            break;
    }
    m_elapsed = GetTickCount() - m_start;
    Unhook();
    return WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0;
}

void ChildRun::Unhook()
{
    if (m_hHook)
        UnhookWinEvent(m_hHook);
    m_hHook = nullptr;
    g_watched = nullptr;
}

bool ChildRun::WaitAll(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (ActiveProcesses() != 0) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

DWORD ChildRun::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_hProcess, &code);
    return code;
}

static JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting(HANDLE hJob)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    QueryInformationJobObject(hJob, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr);
    return info;
}

DWORD ChildRun::TotalProcesses() const
{
    return Accounting(m_hJob).TotalProcesses;
}

DWORD ChildRun::ActiveProcesses() const
{
    return Accounting(m_hJob).ActiveProcesses;
}

namespace {
struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == search.pid && IsWindowVisible(hWnd)) {
        search.found = hWnd;
        return FALSE;
    }
    return TRUE;
}
}

HWND ChildRun::FindWindowOfChild(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    WindowSearch search = { m_pid, nullptr };
    while (!search.found && GetTickCount() - start < timeoutMs) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(20);
    }
    return search.found;
}

bool HaveDisplay()
{
    HWND hWnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (hWnd)
        DestroyWindow(hWnd);
    return hWnd != nullptr;
}

std::string NoteWant(const std::string& what)
{
    ::testing::Test::RecordProperty("wants", what);
    return "for want of " + what;
}

int WantStatus(const std::string& who, const std::string& what)
{
    if (!Env("CI").empty()) {
        std::printf("FAILED under CI: %s was skipped for want of %s, which the project's scripts provide\n",
                    who.c_str(), what.c_str());
        return 1;
    }
    std::printf("SKIPPED: %s, for want of %s\n", who.c_str(), what.c_str());
    return 77;
}

int RunAllTests()
{
    if (RUN_ALL_TESTS() != 0)
        return 1;
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    int status = 0;
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); ++j) {
            const ::testing::TestInfo& test = *suite.GetTestInfo(j);
            const ::testing::TestResult& result = *test.result();
            if (!result.Skipped())
                continue;
            std::string wants;
            for (int k = 0; k < result.test_property_count(); ++k)
                if (std::string(result.GetTestProperty(k).key()) == "wants")
                    wants = result.GetTestProperty(k).value();
            int testStatus = wants.empty() ? 77 : WantStatus(std::string(suite.name()) + "." + test.name(), wants);
            if (status != 1)
                status = testStatus;
        }
    }
    return status;
}
