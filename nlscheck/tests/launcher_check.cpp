// Checks nlscheck against the launcher itself: for each package and locale
// of the table below, what `nlscheck --machine` predicts for the NT family
// (the display name and the dialog's texts as Unicode, the uninstall
// message as the bytes of its file, the install command) must be what
// `setup.exe /s` really wrote to the registry and started; with a display,
// also what its dialog shows and what it starts after "Yes". Runs under Wine in a prefix in
// which a recorder stands in for rundll32.exe and notepad.exe.
//
//   launcher_check SETUP_EXE NLSCHECK_EXE PACKAGES_FOLDER... WORK_FOLDER
#include "print.h"
#include "app/actions.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

int g_passed = 0;
int g_failed = 0;
bool g_interactive = false;  // with a display: dialog runs too

void Expect(const std::string& row, const char* what, const std::string& expected, const std::string& actual)
{
    if (expected == actual) {
        ++g_passed;
        return;
    }
    ++g_failed;
    std::printf("%s: %s: expected \"%s\", got \"%s\"\n", row.c_str(), what, expected.c_str(), actual.c_str());
}

std::vector<std::string> Split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

// A program started in a job of its own, so that the end of every program
// it starts in turn can be waited for.
class Job {
public:
    Job() : m_job(CreateJobObjectA(nullptr, nullptr)), m_pi() {}
    ~Job()
    {
        if (m_pi.hProcess) {
            CloseHandle(m_pi.hThread);
            CloseHandle(m_pi.hProcess);
        }
        CloseHandle(m_job);
    }

    // Starts a command line, standard output into a file if one is named.
    bool Start(const std::string& commandLine, const std::string& outputFile)
    {
        SECURITY_ATTRIBUTES sa = { sizeof sa, nullptr, TRUE };
        HANDLE out = INVALID_HANDLE_VALUE;
        if (!outputFile.empty())
            out = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (out != INVALID_HANDLE_VALUE) {
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdOutput = out;
            si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
            si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        }
        std::string buffer = commandLine;
        BOOL started = CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                                      nullptr, &si, &m_pi);
        if (out != INVALID_HANDLE_VALUE)
            CloseHandle(out);
        if (!started)
            return false;
        AssignProcessToJobObject(m_job, m_pi.hProcess);
        ResumeThread(m_pi.hThread);
        return true;
    }

    DWORD ProcessId() const { return m_pi.dwProcessId; }

    // Waits until the program and every program it started have ended.
    bool Wait(DWORD timeoutMs)
    {
        if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return false;
        for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
            if (!QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) ||
                info.ActiveProcesses == 0)
                return true;
            Sleep(20);
        }
        return false;
    }

private:
    HANDLE m_job;
    PROCESS_INFORMATION m_pi;
};

bool Run(const std::string& commandLine, const std::string& outputFile, DWORD timeoutMs)
{
    Job job;
    return job.Start(commandLine, outputFile) && job.Wait(timeoutMs);
}

void SetResourceLocale(uint32_t locale)
{
    HKEY hKey;
    if (RegCreateKeyA(HKEY_USERS, ".DEFAULT\\Control Panel\\Desktop\\ResourceLocale", &hKey) != ERROR_SUCCESS)
        return;
    if (locale == 0) {
        RegDeleteValueA(hKey, nullptr);
    } else {
        char text[16];
        wsprintfA(text, "%08X", locale);
        RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
    }
    RegCloseKey(hKey);
}

// A value of the uninstall entry: its type and bytes, or "absent".
std::string EntryValue(const char* name, DWORD& type)
{
    type = REG_NONE;
    HKEY hKey;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, &hKey) != ERROR_SUCCESS)
        return "(no key)";
    std::string data(4096, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    LONG rc = RegQueryValueExA(hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS)
        return "(absent)";
    data.resize(size);
    return data;
}

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                                static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n : 0);
    return wide;
}

std::string InCodePage(const std::wstring& wide, unsigned codePage)
{
    std::string bytes(wide.size() * 4 + 1, '\0');
    int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0],
                                static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(n > 0 ? n : 0);
    return bytes;
}

// A value of the uninstall entry as Unicode text, as the list of installed
// programs reads it.
std::string EntryText(const wchar_t* name, DWORD& type)
{
    type = REG_NONE;
    HKEY hKey;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, &hKey) != ERROR_SUCCESS)
        return "(no key)";
    std::wstring data(2048, L'\0');
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    LONG rc = RegQueryValueExW(hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS)
        return "(absent)";
    data.resize(size / sizeof(wchar_t));
    return InCodePage(data, CP_UTF8);
}

struct Prediction {
    // By key: the text as the NT family shows it (UTF-8), and its bytes in
    // the code page of its file; absent when missing.
    std::map<std::string, std::string> texts, bytes;
    std::string install, readme;  // the commands of the NT family, as Wine is (UTF-8)
    bool hasInstall = false;
    bool rightToLeft = false;
};

// What nlscheck's report on the package (--machine, every locale) predicts
// for one locale.
Prediction Predict(const std::string& report, uint32_t locale)
{
    char hex[16];
    wsprintfA(hex, "%X", locale);
    Prediction p;
    std::string wanted = locale == 0 ? "0" : hex;
    while (wanted.size() < 4 && locale != 0)
        wanted = "0" + wanted;
    std::string currentCode, defaultCode;
    std::map<std::string, unsigned> codePages;  // the NT family's, by code
    for (const std::string& line : Split(report, '\n')) {
        std::vector<std::string> f = Split(line, '\t');
        for (std::string& field : f)
            field = UnescapeField(field);
        if (f.size() < 2 || f[1] != wanted)
            continue;
        if (f[0] == "locale" && f.size() >= 5) {
            defaultCode = f[2];
            currentCode = f[3];
        }
        if (f[0] == "codepage" && f.size() >= 5 && f[3] == "nt")
            codePages[f[2]] = static_cast<unsigned>(std::strtoul(f[4].c_str(), nullptr, 10));
        if (f[0] == "text" && f.size() >= 8 && f[4] != "missing") {
            p.texts[f[3]] = f[7];
            p.bytes[f[3]] = InCodePage(Wide(f[7]), codePages[f[4] == "current" ? currentCode : defaultCode]);
        }
        if (f[0] == "install" && f.size() >= 4 && f[3] == "nt") {
            p.install = f[2];
            p.hasInstall = true;
        }
        if (f[0] == "readme" && f.size() >= 3)
            p.readme = f[2];
        if (f[0] == "reading" && f.size() >= 3)
            p.rightToLeft = f[2] == "rtl";
    }
    return p;
}

// Hex for bytes that would not print.
std::string Shown(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            wsprintfA(hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// The programs the recorder saw started, one line each, as their module,
// command line and show mode, split by tabs. The recorder writes
// <pid>|<creation time>|<nCmdShow>|<wShowWindow>|<module>|<command line>.
std::vector<std::string> Started(const std::string& record)
{
    std::vector<std::string> started;
    for (const std::string& line : Split(ReadAll(record), '\n')) {
        std::vector<std::string> f = Split(line, '|');
        if (f.size() < 6)
            continue;
        std::string commandLine = f[5];
        for (size_t i = 6; i < f.size(); ++i)
            commandLine += "|" + f[i];
        started.push_back(f[4] + "\t" + commandLine + "\t" + f[2]);
    }
    return started;
}

// The recorder writes what it was started with in the code page it has,
// or in UTF-8: both stand for the predicted Unicode command.
void ExpectStarted(const std::string& row, const std::string& recorded, const std::string& command, int showMode)
{
    std::vector<std::string> f = Split(recorded, '\t');
    f.resize(3);
    auto asRecorded = [](const std::string& utf8, const std::string& actual) {
        std::string ansi = InCodePage(Wide(utf8), CP_ACP);
        return actual == utf8 ? utf8 : ansi;
    };
    std::string program = command.substr(1, command.find('"', 1) - 1);
    Expect(row, "program", Shown(asRecorded(program, f[0])), Shown(f[0]));
    Expect(row, "command line", Shown(asRecorded(command, f[1])), Shown(f[1]));
    Expect(row, "show mode", std::to_string(showMode), f[2]);
}

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
{
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    char cls[16] = "";
    GetClassNameA(hWnd, cls, sizeof cls);
    if (pid == search.processId && IsWindowVisible(hWnd) && lstrcmpA(cls, "#32770") == 0) {
        search.found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// A control's text as Unicode, in UTF-8.
std::string ControlText(HWND dlg, int id)
{
    wchar_t text[1100] = L"";
    if (id == 0)
        GetWindowTextW(dlg, text, 1100);
    else
        GetDlgItemTextW(dlg, id, text, 1100);
    return InCodePage(text, CP_UTF8);
}

// An interactive run with consent and the check box left checked: the
// dialog shows the predicted texts (the template's where a text is
// missing) in the predicted layout, then the installer and Notepad start
// as predicted.
void CheckDialogRow(const std::string& row, const std::string& package, Prediction& p, const std::string& record)
{
    std::string dialogRow = row + " (dialog)";
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    DeleteFileA(record.c_str());
    Job job;
    if (!job.Start("\"" + package + "\\setup.exe\"", "")) {
        ++g_failed;
        std::printf("%s: setup.exe did not start\n", dialogRow.c_str());
        return;
    }
    DialogSearch search = { job.ProcessId(), nullptr };
    for (int i = 0; i < 500 && !search.found; ++i) {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(20);
    }
    if (!search.found) {
        ++g_failed;
        std::printf("%s: no dialog within 10 s\n", dialogRow.c_str());
        job.Wait(1000);
        return;
    }
    HWND dlg = search.found;
    auto expected = [&p](const char* key, const char* otherwise) {
        auto it = p.texts.find(key);
        return it != p.texts.end() ? it->second : std::string(otherwise);
    };
    Expect(dialogRow, "title", Shown(expected("Name", "")), Shown(ControlText(dlg, 0)));
    Expect(dialogRow, "question", Shown(expected("Inst", "")), Shown(ControlText(dlg, 1000)));
    Expect(dialogRow, "check box", Shown(expected("Readme", "")), Shown(ControlText(dlg, 1001)));
    Expect(dialogRow, "Yes button", Shown(expected("Yes", "Yes")), Shown(ControlText(dlg, IDOK)));
    Expect(dialogRow, "No button", Shown(expected("No", "No")), Shown(ControlText(dlg, IDCANCEL)));
    auto layout = [](bool mirrored) { return mirrored ? "mirrored" : "as the template"; };
    Expect(dialogRow, "layout", layout(p.rightToLeft), layout(GetWindowLongA(dlg, GWL_EXSTYLE) & WS_EX_LAYOUTRTL));

    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    if (!job.Wait(20000)) {
        ++g_failed;
        std::printf("%s: setup.exe did not end after Yes\n", dialogRow.c_str());
        return;
    }
    // The two run side by side: their lines come in either order.
    std::vector<std::string> started = Started(record);
    Expect(dialogRow, "programs started", p.readme.empty() ? "1" : "2", std::to_string(started.size()));
    auto of = [&started](const std::string& command) {
        std::string program = command.substr(1, command.find('"', 1) - 1) + "\t";
        for (const std::string& line : started)
            if (line.compare(0, program.size(), program) == 0)
                return line;
        return std::string();
    };
    ExpectStarted(dialogRow, of(p.install), p.install, SW_HIDE);
    if (!p.readme.empty())
        ExpectStarted(dialogRow, of(p.readme), p.readme, SW_SHOWNORMAL);
}

void CheckRow(const std::string& report, const std::string& package, uint32_t locale, bool dialog,
              const std::string& work)
{
    char hex[16];
    wsprintfA(hex, "%04X", locale);
    std::string row = fs::path(package).filename().string() + " " + hex;
    Prediction p = Predict(report, locale);
    if (!p.hasInstall) {
        ++g_failed;
        std::printf("%s: nlscheck predicted no install command\n", row.c_str());
        return;
    }

    SetResourceLocale(locale);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    std::string record = work + "\\record.txt";
    DeleteFileA(record.c_str());
    SetEnvironmentVariableA("RECORDER_LOG", record.c_str());
    if (!Run("\"" + package + "\\setup.exe\" /s", "", 20000)) {
        ++g_failed;
        std::printf("%s: setup.exe /s did not start or did not end\n", row.c_str());
        return;
    }

    DWORD type;
    std::string name = EntryText(L"DisplayName", type);
    Expect(row, "DisplayName", Shown(p.texts["Name"] + '\0'), Shown(name));
    Expect(row, "DisplayName type", std::to_string(REG_SZ), std::to_string(type));
    std::string message = EntryValue("Message", type);
    Expect(row, "Message", Shown(p.bytes["Remove"] + '\0'), Shown(message));
    Expect(row, "Message type", std::to_string(REG_BINARY), std::to_string(type));

    std::vector<std::string> started = Started(record);
    Expect(row, "programs started", "1", std::to_string(started.size()));
    if (!started.empty())
        ExpectStarted(row, started[0], p.install, SW_HIDE);

    if (dialog)
        CheckDialogRow(row, package, p, record);
}

}

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: launcher_check SETUP_EXE NLSCHECK_EXE PACKAGE... WORK_FOLDER\n");
        return 2;
    }
    std::string setup = argv[1], nlscheck = argv[2];
    g_interactive = GetEnvironmentVariableA("DISPLAY", nullptr, 0) != 0;
    if (!g_interactive)
        std::printf("no display: silent runs only, no dialog runs\n");
    std::string work = argv[argc - 1];
    std::error_code ec;
    fs::remove_all(work, ec);
    fs::create_directories(work, ec);
    char full[MAX_PATH];
    GetFullPathNameA(work.c_str(), MAX_PATH, full, nullptr);
    work = full;

    // Each package, and the locales to run it for: every number its table
    // names (nlscheck finds them), and 0.
    for (int i = 3; i < argc - 1; ++i) {
        std::string package = work + "\\" + fs::path(argv[i]).filename().string();
        fs::copy(argv[i], package, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        fs::copy_file(setup, package + "\\setup.exe", fs::copy_options::overwrite_existing, ec);
        if (ec) {
            std::printf("%s: cannot copy the package: %s\n", argv[i], ec.message().c_str());
            return 2;
        }
        // The dialog is run once for each pair of codes: the texts depend
        // on nothing else.
        std::vector<std::pair<uint32_t, bool>> locales;
        std::vector<std::string> pairs;
        std::map<uint32_t, std::string> currentOf;
        std::string output = work + "\\nlscheck.out";
        Run("\"" + nlscheck + "\" \"" + package + "\" --machine", output, 20000);
        std::string report = ReadAll(output);
        for (const std::string& line : Split(report, '\n')) {
            std::vector<std::string> f = Split(line, '\t');
            if (f.size() < 4 || f[0] != "locale")
                continue;
            bool first = std::find(pairs.begin(), pairs.end(), f[2] + "\t" + f[3]) == pairs.end();
            if (first)
                pairs.push_back(f[2] + "\t" + f[3]);
            locales.push_back({ static_cast<uint32_t>(std::strtoul(f[1].c_str(), nullptr, 16)), first });
            currentOf[locales.back().first] = f[3];
        }
        // Locale 0 stands for a machine that names no UI language, but Wine
        // always names one: without a ResourceLocale value the launcher
        // takes it, so 0's row holds only where it leads to 0's language.
        uint32_t uiLanguage = GetUserDefaultUILanguage();
        if (currentOf.count(0) && currentOf.count(uiLanguage) && currentOf[uiLanguage] != currentOf[0]) {
            std::printf("%s 0000: not checked: the user's UI language %04X leads to %s\n",
                        fs::path(argv[i]).filename().string().c_str(), uiLanguage, currentOf[uiLanguage].c_str());
            locales.erase(std::remove_if(locales.begin(), locales.end(), [](const auto& l) { return l.first == 0; }),
                          locales.end());
        }
        if (locales.empty()) {
            std::printf("%s: nlscheck names no locale\n", argv[i]);
            ++g_failed;
        }
        for (const auto& locale : locales)
            CheckRow(report, package, locale.first, locale.second && g_interactive, work);
    }
    SetResourceLocale(0);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    std::printf("launcher check: %d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
