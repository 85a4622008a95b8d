#include "launcherrun.h"

#include "testpath.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

std::string g_setupExe;

namespace {

const DWORD kTimeoutMs = 15000;

// The tests' own folder under Wine's temporary folder.
std::string TestFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "launcher-gui-" + std::to_string(GetCurrentProcessId());
}

// Waits up to kTimeoutMs for done() to hold.
template <class F> bool WaitFor(F done)
{
    for (DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start > kTimeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

struct FindDialog {
    DWORD pid;
    HWND hDlg;
};

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam)
{
    FindDialog* find = reinterpret_cast<FindDialog*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    char className[16] = "";
    GetClassNameA(hWnd, className, sizeof className);
    if (pid != find->pid || !IsWindowVisible(hWnd) || lstrcmpA(className, "#32770") != 0)
        return TRUE;
    find->hDlg = hWnd;
    return FALSE;
}

// Whether a program that process pid started is still running.
bool ChildRunning(DWORD pid)
{
    HANDLE hSnap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnap == INVALID_HANDLE_VALUE)
        return true;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(hSnap, &entry); more && !found; more = Process32Next(hSnap, &entry))
        found = entry.th32ParentProcessID == pid;
    CloseHandle(hSnap);
    return found;
}

// A value's type and bytes; REG_NONE and no bytes when it is missing.
std::string QueryValue(HKEY hKey, const char* name, DWORD* pType)
{
    char data[512];
    memset(data, 0xA5, sizeof data);
    DWORD size = sizeof data;
    *pType = REG_NONE;
    if (RegQueryValueExA(hKey, name, nullptr, pType, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return std::string();
    return std::string(data, size);
}

}

std::string MakePackage(const char* name, std::initializer_list<PackageFile> files)
{
    // The package's name may be in the system's code page: made by the
    // ANSI call, not through a conversion of the library's own.
    std::filesystem::create_directories(TestFolder());
    std::string folder = TestFolder() + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA(g_setupExe.c_str(), (folder + "\\setup.exe").c_str(), FALSE);
    for (const PackageFile& file : files) {
        const std::string name = file.name;
        for (size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1))
            CreateDirectoryA((folder + "\\" + name.substr(0, slash)).c_str(), nullptr);
        std::ofstream(folder + "\\" + name, std::ios::binary) << file.content;
    }
    return folder;
}

void SetResourceLocale(const char* locale)
{
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_USERS, LOCALE_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return;
    std::string value = std::string(8 - strlen(locale), '0') + locale;
    RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(hKey);
}

void DeleteUninstallKey()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
}

LauncherRun::LauncherRun(const std::string& package, const std::string& program, const char* arguments)
    : m_log(TestFolder() + "\\recorder.log")
{
    DeleteFileA(m_log.c_str());
    SetEnvironmentVariableA("RECORDER_LOG", m_log.c_str());
    std::string commandLine = "\"" + package + "\\" + program + "\"" + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string folder = TestFolder();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &m_pi))
        ADD_FAILURE() << "Can't start " << commandLine << ": error " << GetLastError();
}

LauncherRun::LauncherRun(const std::wstring& package) : m_log(TestFolder() + "\\recorder.log")
{
    DeleteFileA(m_log.c_str());
    SetEnvironmentVariableA("RECORDER_LOG", m_log.c_str());
    std::wstring commandLine = L"\"" + package + L"\\setup.exe\"";
    std::wstring folder = WideFromUtf8(TestFolder());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &m_pi))
        ADD_FAILURE() << "Can't start setup.exe in " << Utf8FromWide(package) << ": error " << GetLastError();
}

LauncherRun::~LauncherRun()
{
    if (!m_pi.hProcess)
        return;
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_pi.hProcess, 1);
    WaitForSingleObject(m_pi.hProcess, kTimeoutMs);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

HWND LauncherRun::WaitForDialog()
{
    FindDialog find = { m_pi.dwProcessId, nullptr };
    WaitFor([&] {
        EnumWindows(FindDialogProc, reinterpret_cast<LPARAM>(&find));
        return find.hDlg || !m_pi.hProcess || WaitForSingleObject(m_pi.hProcess, 0) != WAIT_TIMEOUT;
    });
    return m_hDlg = find.hDlg;
}

std::string LauncherRun::Title() const
{
    char text[512] = "junk";
    GetWindowTextA(m_hDlg, text, sizeof text);
    return text;
}

std::string LauncherRun::Text(int nID) const
{
    char text[512] = "junk";
    GetDlgItemTextA(m_hDlg, nID, text, sizeof text);
    return text;
}

std::wstring LauncherRun::TitleText() const
{
    wchar_t text[512] = L"junk";
    GetWindowTextW(m_hDlg, text, 512);
    return text;
}

std::wstring LauncherRun::ItemText(int nID) const
{
    wchar_t text[512] = L"junk";
    GetDlgItemTextW(m_hDlg, nID, text, 512);
    return text;
}

int LauncherRun::CheckState(int nID) const
{
    return static_cast<int>(SendDlgItemMessageA(m_hDlg, nID, BM_GETCHECK, 0, 0));
}

HWND LauncherRun::Focus(int* pID) const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(m_pi.dwThreadId, &info))
        info.hwndFocus = nullptr;
    if (pID)
        *pID = info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
    return info.hwndFocus;
}

void LauncherRun::PressKey(WORD vk) const
{
    HWND hFocus = Focus();
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(hFocus ? hFocus : m_hDlg, WM_KEYDOWN, vk, scan | 1);
    PostMessageA(hFocus ? hFocus : m_hDlg, WM_KEYUP, vk, scan | 1 | 0xC0000000);
}

bool LauncherRun::WaitForFocusToLeave(HWND hWnd) const
{
    return WaitFor([&] { return Focus() != hWnd; });
}

void LauncherRun::Click(int nID) const
{
    SendDlgItemMessageA(m_hDlg, nID, BM_CLICK, 0, 0);
}

void LauncherRun::Close() const
{
    PostMessageA(m_hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void LauncherRun::Help() const
{
    HELPINFO info = { sizeof info, HELPINFO_WINDOW, IDOK, GetDlgItem(m_hDlg, IDOK), 0, { 0, 0 } };
    SendMessageA(m_hDlg, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

void LauncherRun::ExpectLayout(bool mirrored) const
{
    EXPECT_EQ(mirrored, (GetWindowLongA(m_hDlg, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0) << "the dialog's WS_EX_LAYOUTRTL";
    RECT dialog, yes, no, picture;
    GetWindowRect(m_hDlg, &dialog);
    GetWindowRect(GetDlgItem(m_hDlg, IDOK), &yes);
    GetWindowRect(GetDlgItem(m_hDlg, IDCANCEL), &no);
    GetWindowRect(GetDlgItem(m_hDlg, -1), &picture);
    EXPECT_EQ(mirrored, yes.left > no.left) << "Yes at " << yes.left << ", No at " << no.left;
    EXPECT_EQ(mirrored, picture.left > (dialog.left + dialog.right) / 2)
        << "the icon at " << picture.left << " in " << dialog.left << ".." << dialog.right;
    // In a mirrored window that style reverses the reading order.
    for (int nID : { 0, 1000, 1001, IDOK, IDCANCEL })
        EXPECT_FALSE(GetWindowLongA(nID ? GetDlgItem(m_hDlg, nID) : m_hDlg, GWL_EXSTYLE) & WS_EX_RTLREADING)
            << "WS_EX_RTLREADING on " << nID;
    DialogProbe probe = {};
    ASSERT_TRUE(Probe(probe)) << "the probe didn't run in setup.exe";
    EXPECT_EQ(mirrored ? 5 : 0, probe.mirroredTexts) << "mirrored device contexts of the title and the texts";
    EXPECT_TRUE(probe.pictureAsIs) << "the icon isn't shown as it is";
    EXPECT_FALSE(probe.pictureReversed) << "the icon is shown reversed";
}

void LauncherRun::ExpectTabOrder() const
{
    const int order[] = { IDOK, IDCANCEL, 1001, IDOK };
    for (size_t i = 0; i < sizeof order / sizeof order[0]; ++i) {
        int focus = 0;
        HWND hFocus = Focus(&focus);
        EXPECT_EQ(order[i], focus) << "after " << i << " Tab presses";
        if (i + 1 < sizeof order / sizeof order[0]) {
            PressKey(VK_TAB);
            EXPECT_TRUE(WaitForFocusToLeave(hFocus)) << "Tab number " << i + 1;
        }
    }
}

bool LauncherRun::Probe(DialogProbe& probe) const
{
    HANDLE hMap = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof probe, kProbeName);
    void* view = hMap ? MapViewOfFile(hMap, FILE_MAP_WRITE, 0, 0, sizeof probe) : nullptr;
    HMODULE hProbe = LoadLibraryA("guiprobe.dll");
    HOOKPROC proc = hProbe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(hProbe, "ProbeHook")))
                           : nullptr;
    HHOOK hHook = proc && view ? SetWindowsHookExA(WH_CALLWNDPROC, proc, hProbe, m_pi.dwThreadId) : nullptr;
    if (hHook) {
        memcpy(view, &probe, sizeof probe);  // the request; the answers are written over it
        SendMessageA(m_hDlg, RegisterWindowMessageA(kProbeName), 0, 0);
        UnhookWindowsHookEx(hHook);
        memcpy(&probe, view, sizeof probe);
    }
    if (view)
        UnmapViewOfFile(view);
    if (hMap)
        CloseHandle(hMap);
    return hHook && probe.done;
}

Outcome LauncherRun::WaitForEnd()
{
    Outcome outcome;
    outcome.ended = WaitForSingleObject(m_pi.hProcess, kTimeoutMs) == WAIT_OBJECT_0;
    GetExitCodeProcess(m_pi.hProcess, &outcome.exitCode);
    // A program it started is running, or has logged itself and ended.
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(m_pi.dwProcessId); })) << "started programs still running";

    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        outcome.keyWritten = true;
        outcome.displayName = QueryValue(hKey, "DisplayName", &outcome.nameType);
        outcome.message = QueryValue(hKey, "Message", &outcome.messageType);
        wchar_t name[512] = L"junk";
        DWORD size = sizeof name - sizeof name[0];
        if (RegQueryValueExW(hKey, L"DisplayName", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size) ==
            ERROR_SUCCESS)
            outcome.displayNameText.assign(name, size / sizeof name[0] - (size >= sizeof name[0] ? 1 : 0));
        RegCloseKey(hKey);
    }

    for (const Record& record : ReadRecords(m_log))
        outcome.started.push_back({ record.module, record.commandLine, record.cmdShow, record.commandLineUtf8 });
    return outcome;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s [gtest options] SETUP_EXE\n", argv[0]);
        return 2;
    }
    g_setupExe = WindowsPath(argv[1]);
    int result = RunAllTests();

    DeleteUninstallKey();
    RegDeleteKeyA(HKEY_USERS, LOCALE_KEY);
    std::error_code error;
    std::filesystem::remove_all(TestFolder(), error);
    return result;
}
