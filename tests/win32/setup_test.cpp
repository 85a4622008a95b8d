// setup.exe end to end: package folders made for each case, the registry
// locale set, setup.exe started as a child process, then the uninstall
// entry and what it started checked. The prefix's rundll32.exe and
// notepad.exe are recorders that write down how they were started.
#include "testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char kRundll32[] = "C:\\windows\\system32\\rundll32.exe";
const char kNotepad[] = "C:\\windows\\system32\\notepad.exe";
// The installer library and restart mode of the system the prefix says it is.
const std::string kInstallArgs = (GetVersion() & 0x80000000u) ? " setupx.dll,InstallHinfSection DefaultInstall 130 "
                                                              : " setupapi.dll,InstallHinfSection DefaultInstall 132 ";

// The language files of one language.
struct Language {
    const char* code;
    const char* proj;
    const char* str;
};

const Language kEnglish = { "ENG", "[Proj]\r\nName=Tool\r\nINF=tool.inf\r\n",
                            "[Translation]\r\nRemove=Tool goes\r\n[Constant]\r\nReadmePath=readme.txt\r\n" };
const Language kGerman = { "DEU", "[Proj]\r\nName=Werkzeug\r\nINF=werkzeug.inf\r\n",
                           "[Translation]\r\nRemove=Werkzeug geht\r\n" };
const Language kFrench = { "FRA", "[Proj]\r\nName=Outil\r\n", "[Translation]\r\nRemove=Outil part\r\n" };
const char kTable[] = "ENG 0\r\nDEU 0407\r\nFRA 040c\r\n";

// A package folder: setup.exe, the language table and the given languages.
void MakePackage(const std::string& dir, std::initializer_list<Language> languages,
                 const char* table = kTable)
{
    MakeEmptyDir(dir);
    CopyFileA(WinPath(Env("SETUP_EXE")).c_str(), (dir + "\\setup.exe").c_str(), FALSE);
    if (table)
        WriteBytes(dir + "\\NLS\\LANGID.TXT", table);
    for (const Language& language : languages) {
        WriteBytes(dir + "\\NLS\\PROJ." + language.code, language.proj);
        WriteBytes(dir + "\\NLS\\STR." + language.code, language.str);
    }
}

void SetLocale(const char* locale)
{
    DeleteTree(HKEY_USERS, LOCALE_KEY);
    if (locale)
        SetValue(HKEY_USERS, LOCALE_KEY, nullptr, REG_SZ, std::string(locale) + '\0');
}

RegValue Uninstall(const char* name)
{
    return ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, name);
}

#define EXPECT_VALUE(expected, actual) \
    EXPECT_EQ(Describe(expected), Describe(actual))

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        SetLocale(nullptr);
        m_root = "C:\\tests\\" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        MakeEmptyDir(m_root);
        m_log = m_root + "\\started.log";
        SetEnvironmentVariableA("RECORDER_LOG", m_log.c_str());
        for (const char* setting : { "RECORDER_STAY_MS", "RECORDER_NEVER_IDLE", "RECORDER_EXIT_CODE" })
            for (const char* program : { "", "_RUNDLL32", "_NOTEPAD" })
                SetEnvironmentVariableA((std::string(setting) + program).c_str(), nullptr);
    }

    void TearDown() override
    {
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        SetLocale(nullptr);
    }

    // Runs setup.exe with the command line in folder cwd (the program's own
    // folder by default) until it and all it started have ended, expecting
    // it to end with exitCode; returns what the recorders wrote down.
    std::vector<Record> Run(const std::string& app, const std::string& commandLine,
                            std::string cwd = "", DWORD exitCode = 0)
    {
        if (cwd.empty())
            cwd = app.substr(0, app.find_last_of('\\'));
        DeleteFileA(m_log.c_str());
        ChildRun run;
        if (!run.Start(app, commandLine, cwd)) {
            ADD_FAILURE() << "cannot start " << app;
            return {};
        }
        EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s: " << commandLine;
        EXPECT_EQ(exitCode, run.ExitCode()) << "setup.exe's exit code (a crash gives its exception's)";
        EXPECT_TRUE(run.WaitAll(10000)) << "what setup.exe started still runs after 10 s";
        EXPECT_EQ(0, run.WindowsCreated()) << "setup.exe made a window";
        return ReadRecords(m_log);
    }

    std::vector<Record> RunSilent(const std::string& dir)
    {
        return Run(dir + "\\setup.exe", "\"" + dir + "\\setup.exe\" /s");
    }

    std::string m_root;
    std::string m_log;
};

// Checks that exactly the installer ran, hidden, with this command line;
// a failure names the caller's line.
#define EXPECT_INSTALLER_ONLY(started, target) \
    do { \
        SCOPED_TRACE("installer check"); \
        ExpectInstallerOnly(started, target); \
    } while (0)

void ExpectInstallerOnly(const std::vector<Record>& started, const std::string& target)
{
    ASSERT_EQ(1u, started.size()) << "expected the installer alone to be started; recorded:\n"
                                  << Describe(started);
    EXPECT_STRCASEEQ(kRundll32, started[0].module.c_str());
    EXPECT_EQ("\"" + std::string(kRundll32) + "\"" + kInstallArgs + target, started[0].commandLine);
    EXPECT_EQ(SW_HIDE, started[0].showWindow);
    EXPECT_EQ(SW_HIDE, started[0].cmdShow);
}

// Every silent switch counts, also inside a longer argument.
TEST_F(SetupTest, SilentSwitches)
{
    static const struct {
        const char* folder;
        const char* arguments;
    } rows[] = {
        /* 0 */ { "pkg", " /s" },
        /* 1 */ { "pkg", " /S" },
        /* 2 */ { "pkg", " -s" },
        /* 3 */ { "pkg", " -S" },
        /* 4 */ { "pkg", " /x /s" },
        /* 5 */ { "kavro-setup", " /silent" },
        /* 6 */ { "Tools-Spare", " -Sx" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        std::string dir = m_root + "\\" + rows[i].folder;
        MakePackage(dir, { kEnglish });
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        auto started = Run(dir + "\\setup.exe", "\"" + dir + "\\setup.exe\"" + rows[i].arguments);
        EXPECT_VALUE(TextValue(REG_SZ, "Tool"), Uninstall("DisplayName"));
        EXPECT_VALUE(TextValue(REG_BINARY, "Tool goes"), Uninstall("Message"));
        EXPECT_INSTALLER_ONLY(started, dir + "\\tool.inf");
    }
}

// The registry locale picks the language through the table; a text that
// the language lacks comes from the default language.
TEST_F(SetupTest, LanguageFromLocale)
{
    static const struct {
        const char* locale;
        const char* name;
        const char* message;
        const char* inf;
    } rows[] = {
        /* 0 */ { nullptr, "Tool", "Tool goes", "tool.inf" },
        /* 1 */ { "00000407", "Werkzeug", "Werkzeug geht", "werkzeug.inf" },
        /* 2 */ { "0000040C", "Outil", "Outil part", "tool.inf" },
        /* 3 */ { "0000040c", "Outil", "Outil part", "tool.inf" },
        /* 4 */ { "00000409", "Tool", "Tool goes", "tool.inf" },
    };
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish, kGerman, kFrench });
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        SetLocale(rows[i].locale);
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        auto started = RunSilent(dir);
        EXPECT_VALUE(TextValue(REG_SZ, rows[i].name), Uninstall("DisplayName"));
        EXPECT_VALUE(TextValue(REG_BINARY, rows[i].message), Uninstall("Message"));
        EXPECT_INSTALLER_ONLY(started, dir + "\\" + rows[i].inf);
    }
}

// A second run in another language replaces both values, to the byte,
// and leaves the key's other values alone.
TEST_F(SetupTest, SecondRunOverwrites)
{
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish, kGerman });
    SetValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", REG_SZ, std::string("keep me\0", 8));
    SetValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "Extra", REG_DWORD, std::string("\x07\0\0\0", 4));

    SetLocale("00000407");
    RunSilent(dir);
    EXPECT_VALUE(TextValue(REG_SZ, "Werkzeug"), Uninstall("DisplayName"));
    SetLocale("00000409");
    auto started = RunSilent(dir);
    EXPECT_VALUE(TextValue(REG_SZ, "Tool"), Uninstall("DisplayName"));
    EXPECT_VALUE(TextValue(REG_BINARY, "Tool goes"), Uninstall("Message"));
    EXPECT_VALUE(TextValue(REG_SZ, "keep me"), Uninstall("UninstallString"));
    EXPECT_VALUE((RegValue{ true, REG_DWORD, std::string("\x07\0\0\0", 4) }), Uninstall("Extra"));
    EXPECT_INSTALLER_ONLY(started, dir + "\\tool.inf");
}

// Texts missing from both languages are empty: an empty entry (one zero
// byte) and an install command that ends in the folder and a backslash.
TEST_F(SetupTest, MissingTexts)
{
    const Language noInf = { "ENG", "[Proj]\r\nName=Tool\r\n", "[Translation]\r\nRemove=Tool goes\r\n" };
    const Language noName = { "ENG", "[Proj]\r\nINF=tool.inf\r\n", "[Constant]\r\nReadmePath=r.txt\r\n" };
    const Language emptyValues = { "ENG", "[Proj]\r\nName=\r\nINF=\r\n", "[Translation]\r\nRemove=\r\n" };
    static const struct {
        const Language* language;  // none: no NLS folder at all
        const char* name;
        const char* message;
        const char* inf;
    } rows[] = {
        /* 0 */ { &noInf, "Tool", "Tool goes", "" },
        /* 1 */ { &noName, "", "", "tool.inf" },
        /* 2 */ { &emptyValues, "", "", "" },
        /* 3 */ { nullptr, "", "", "" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        std::string dir = m_root + "\\pkg" + std::to_string(i);
        if (rows[i].language)
            MakePackage(dir, { *rows[i].language });
        else
            MakePackage(dir, {}, nullptr);
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        auto started = RunSilent(dir);
        EXPECT_VALUE(TextValue(REG_SZ, rows[i].name), Uninstall("DisplayName"));
        EXPECT_VALUE(TextValue(REG_BINARY, rows[i].message), Uninstall("Message"));
        EXPECT_INSTALLER_ONLY(started, dir + "\\" + rows[i].inf);
    }
}

// Texts are data: percent signs and quotes reach the registry and the
// command line as written; a folder with spaces goes in unquoted.
TEST_F(SetupTest, TextsAndFoldersAsWritten)
{
    const Language odd = { "ENG", "[Proj]\r\nName=50% \"off\" %s%n %%d\r\nINF=%s%n%%\"x\".inf\r\n",
                           "[Translation]\r\nRemove=%s %n %% \"gone\"\r\n" };
    std::string dir = m_root + "\\My Package %s Folder";
    MakePackage(dir, { odd });
    auto started = RunSilent(dir);
    EXPECT_VALUE(TextValue(REG_SZ, "50% \"off\" %s%n %%d"), Uninstall("DisplayName"));
    EXPECT_VALUE(TextValue(REG_BINARY, "%s %n %% \"gone\""), Uninstall("Message"));
    EXPECT_INSTALLER_ONLY(started, dir + "\\%s%n%%\"x\".inf");
}

// The installer library and restart mode are those of the system that
// setup.exe runs on: setupx.dll and 130 on Windows 9x; setupapi.dll and
// 132 on the NT family, where 130 would always ask for a restart. Wine
// tells a program the version its AppDefaults key names. On either family
// the wait switch ends with the installer's status (here 3010), and a run
// without it with 0.
TEST_F(SetupTest, InstallerOfTheSystem)
{
    const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\setup.exe";
    static const struct {
        const char* version;
        const char* installer;
        bool wait;
    } rows[] = {
        /* 0 */ { "win95", "setupx.dll,InstallHinfSection DefaultInstall 130 ", true },
        /* 1 */ { "win98", "setupx.dll,InstallHinfSection DefaultInstall 130 ", false },
        /* 2 */ { "winme", "setupx.dll,InstallHinfSection DefaultInstall 130 ", false },
        /* 3 */ { "nt40", "setupapi.dll,InstallHinfSection DefaultInstall 132 ", true },
        /* 4 */ { "win2k", "setupapi.dll,InstallHinfSection DefaultInstall 132 ", false },
        /* 5 */ { "winxp", "setupapi.dll,InstallHinfSection DefaultInstall 132 ", false },
        /* 6 */ { "win7", "setupapi.dll,InstallHinfSection DefaultInstall 132 ", false },
        /* 7 */ { "win10", "setupapi.dll,InstallHinfSection DefaultInstall 132 ", true },
    };
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    WriteBytes(dir + "\\tool.inf", "[Version]\r\n");
    SetEnvironmentVariableA("RECORDER_EXIT_CODE", "3010");
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << rows[i].version);
        SetValue(HKEY_CURRENT_USER, kAppDefaults, "Version", REG_SZ, std::string(rows[i].version) + '\0');
        std::string exe = dir + "\\setup.exe";
        auto started = Run(exe, "\"" + exe + (rows[i].wait ? "\" /s /w" : "\" /s"), "", rows[i].wait ? 3010 : 0);
        EXPECT_EQ(1u, started.size()) << Describe(started);
        if (!started.empty()) {
            EXPECT_EQ("\"" + std::string(kRundll32) + "\" " + rows[i].installer + dir + "\\tool.inf",
                      started[0].commandLine);
        }
    }
    // Removed even after a failure: the other tests run at the prefix's version.
    DeleteTree(HKEY_CURRENT_USER, kAppDefaults);
}

// Started by its bare name, the launcher still finds its own folder,
// whatever the current folder is.
TEST_F(SetupTest, StartedByBareName)
{
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    std::string elsewhere = m_root + "\\elsewhere";
    MakeEmptyDir(elsewhere);
    const std::string cwds[] = { dir, elsewhere };
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << ": current folder " << cwds[i]);
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        auto started = Run(dir + "\\setup.exe", "setup /s", cwds[i]);
        EXPECT_VALUE(TextValue(REG_SZ, "Tool"), Uninstall("DisplayName"));
        EXPECT_INSTALLER_ONLY(started, dir + "\\tool.inf");
    }
}

// Started by a relative path from the folder above: the folder is made
// full before it becomes current, so the installer is given the INF's full
// path, not one relative to the package folder.
TEST_F(SetupTest, StartedByRelativePath)
{
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    static const char* const commandLines[] = {
        /* 0 */ "pkg\\setup.exe /s",
        /* 1 */ "\"pkg\\setup.exe\" /s",
        /* 2 */ ".\\pkg\\setup.exe /s",
    };
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << commandLines[i]);
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        auto started = Run(dir + "\\setup.exe", commandLines[i], m_root);
        EXPECT_VALUE(TextValue(REG_SZ, "Tool"), Uninstall("DisplayName"));
        EXPECT_INSTALLER_ONLY(started, dir + "\\tool.inf");
    }
}

// A package folder too long for the system's paths can't be made current.
// Started from a folder with a package of its own (whose INF reaches out of
// it), the launcher reads nothing of that folder and starts nothing there:
// it goes on as a package without language files, and installs nothing.
// Wine starts no program by a name longer than MAX_PATH: a copy by a short
// name is started, with the long name in its command line, from which the
// launcher takes its folder.
TEST_F(SetupTest, FolderThatCannotBeMadeCurrent)
{
    std::string planted = m_root + "\\planted";
    MakePackage(planted, { { "ENG", "[Proj]\r\nName=PLANTED\r\nINF=..\\..\\evil.inf\r\n",
                             "[Translation]\r\nRemove=PLANTED\r\n" } });
    std::string copy = m_root + "\\short\\setup.exe";
    MakeEmptyDir(m_root + "\\short");
    ASSERT_TRUE(CopyFileA(WinPath(Env("SETUP_EXE")).c_str(), copy.c_str(), FALSE));
    std::string longFolder = m_root;
    while (longFolder.size() <= MAX_PATH)
        longFolder += "\\" + std::string(50, 'L');
    // The folder exists: only its length keeps it from being current.
    for (size_t slash = longFolder.find('\\', 3); slash != std::string::npos; slash = longFolder.find('\\', slash + 1))
        CreateDirectoryW(WideFromUtf8("\\\\?\\" + longFolder.substr(0, slash)).c_str(), nullptr);
    CreateDirectoryW(WideFromUtf8("\\\\?\\" + longFolder).c_str(), nullptr);
    for (const char* arguments : { " /s", "" }) {
        SCOPED_TRACE(*arguments ? "silent run" : "interactive run, Yes");
        if (!*arguments && !HaveDisplay())
            SKIP_FOR_WANT_OF("a display for the dialog: the interactive run is untested");
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        DeleteFileA(m_log.c_str());
        ChildRun run;
        ASSERT_TRUE(run.Start(copy, "\"" + longFolder + "\\setup.exe\"" + arguments, planted));
        if (!*arguments) {
            HWND hDlg = run.FindWindowOfChild(10000);
            ASSERT_TRUE(hDlg != nullptr) << "no dialog appeared";
            char title[64] = "junk";
            GetWindowTextA(hDlg, title, sizeof title);
            EXPECT_STREQ("", title) << "a text of the planted package";
            PostMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
        }
        EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
        EXPECT_TRUE(run.WaitAll(10000)) << "what setup.exe started still runs after 10 s";
        EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName").present);
        EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "Message").present);
        std::vector<Record> started = ReadRecords(m_log);
        EXPECT_TRUE(started.empty()) << Describe(started);
    }
}

// A package in a drive's root works from the root, not from the drive's
// current folder (which holds another package here).
TEST_F(SetupTest, PackageInDriveRoot)
{
    const Language wrong = { "ENG", "[Proj]\r\nName=Wrong\r\nINF=wrong.inf\r\n", "" };
    MakePackage("R:", { kEnglish });
    MakePackage("R:\\sub", { wrong });
    SetEnvironmentVariableA("=R:", "R:\\sub");
    // The premise: "R:" alone names the drive's current folder.
    char before[MAX_PATH], current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    SetCurrentDirectoryA("R:");
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(before);
    EXPECT_STREQ("R:\\sub", current);

    static const struct {
        const char* commandLine;
        const char* cwd;
    } rows[] = {
        /* 0 */ { "\"R:\\setup.exe\" /s", "R:\\sub" },
        /* 1 */ { "R:\\setup.exe /s", "C:\\" },
        /* 2 */ { "setup /s", "R:\\sub" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << rows[i].commandLine);
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        auto started = Run("R:\\setup.exe", rows[i].commandLine, rows[i].cwd);
        EXPECT_VALUE(TextValue(REG_SZ, "Tool"), Uninstall("DisplayName"));
        EXPECT_INSTALLER_ONLY(started, "R:\\tool.inf");
    }
    SetEnvironmentVariableA("=R:", nullptr);
}

// Very long command lines and unbalanced quotes: no crash, and the folder
// is cut as the command-line rules say.
TEST_F(SetupTest, LongAndUnbalancedCommandLines)
{
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    std::string empty = m_root + "\\empty";
    MakeEmptyDir(empty);
    std::string exe = dir + "\\setup.exe";
    // Unquoted, the path runs to the end of the line: the folder then
    // reaches into the arguments, a folder that can't be made current, so
    // nothing is recorded and nothing started.
    std::string unquotedDir = exe + " /s " + std::string(20000, 'C');
    static const struct {
        std::string commandLine;
        std::string target;  // empty: nothing started
        const char* name;
    } rows[] = {
        /* 0 */ { "\"" + exe + "\" /s " + std::string(30000, 'A'), dir + "\\tool.inf", "Tool" },
        /* 1 */ { "\"" + exe + "\" /s \"" + std::string(20000, 'B'), dir + "\\tool.inf", "Tool" },
        /* 2 */ { unquotedDir + "\\tail", "", nullptr },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << rows[i].commandLine.size() << " bytes");
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        auto started = Run(exe, rows[i].commandLine, empty);
        if (!rows[i].name) {
            EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName").present);
            EXPECT_TRUE(started.empty()) << Describe(started);
            continue;
        }
        EXPECT_VALUE(TextValue(REG_SZ, rows[i].name), Uninstall("DisplayName"));
        EXPECT_INSTALLER_ONLY(started, rows[i].target);
    }
}

// The launcher ends at once, while the programs it started run on: it
// waits neither for their end nor for them to become idle. The stand-ins
// never become idle, as programs without a message loop never do, and
// live 20 s; the launcher must be gone within 3 s of the answer. The
// interactive run matters most: a wait for idleness is made only by a
// process that has loaded USER32, which a silent run never does.
TEST_F(SetupTest, DoesNotWaitForStartedPrograms)
{
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    SetEnvironmentVariableA("RECORDER_STAY_MS", "20000");
    SetEnvironmentVariableA("RECORDER_NEVER_IDLE", "1");
    // The premise: a caller waiting for a stand-in to become idle waits.
    {
        ChildRun standIn;
        ASSERT_TRUE(standIn.Start(kRundll32, "rundll32.exe premise", ""));
        HANDLE hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, standIn.Pid());
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForInputIdle(hProcess, 1000))
            << "the stand-in became idle: a wait for that would go unseen";
        CloseHandle(hProcess);
    }
    for (bool silent : { true, false }) {
        SCOPED_TRACE(silent ? "silent run" : "interactive run, Yes");
        if (!silent && !HaveDisplay())
            SKIP_FOR_WANT_OF("a display for the dialog: the interactive run is untested");
        DeleteFileA(m_log.c_str());
        ChildRun run;
        ASSERT_TRUE(run.Start(dir + "\\setup.exe", silent ? "setup.exe /s" : "setup.exe", dir));
        if (!silent) {
            HWND hDlg = run.FindWindowOfChild(10000);
            ASSERT_TRUE(hDlg != nullptr) << "no dialog appeared";
            PostMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
        }
        DWORD answered = GetTickCount();
        EXPECT_TRUE(run.WaitExit(15000)) << "setup.exe still runs";
        EXPECT_LT(GetTickCount() - answered, 3000u) << "setup.exe waited for what it started";
        EXPECT_EQ(0u, run.ExitCode()) << "without /w the exit code is the framework's 0";
        DWORD expected = silent ? 1u : 2u;  // the installer; then Notepad on the readme
        EXPECT_EQ(expected, run.ActiveProcesses()) << "what setup.exe started should still run";
        EXPECT_EQ(expected + 1, run.TotalProcesses());
        // They have begun, though they may not have written their lines yet.
        std::vector<Record> started;
        for (DWORD start = GetTickCount(); started.size() < expected && GetTickCount() - start < 5000; Sleep(20))
            started = ReadRecords(m_log);
        EXPECT_EQ(expected, started.size()) << Describe(started);
        // The job ends them when run goes out of scope.
    }
}

// Copies of the system's programs beside the launcher or in the current
// folder never run: only the system folder's do.
TEST_F(SetupTest, PlantedProgramsNeverRun)
{
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    std::string cwd = m_root + "\\downloads";
    MakeEmptyDir(cwd);
    std::string recorder = WinPath(Env("RECORDER_EXE"));
    for (const std::string& folder : { dir, cwd })
        for (const char* name : { "\\rundll32.exe", "\\notepad.exe", "\\rundll32", "\\notepad" })
            CopyFileA(recorder.c_str(), (folder + name).c_str(), FALSE);
    auto started = Run(dir + "\\setup.exe", "\"" + dir + "\\setup.exe\" /s", cwd);
    EXPECT_INSTALLER_ONLY(started, dir + "\\tool.inf");
}

// A run without a silent switch asks first, and waits for the answer:
// "No" writes and starts nothing.
TEST_F(SetupTest, InteractiveRunRefused)
{
    if (!HaveDisplay())
        SKIP_FOR_WANT_OF("a display for the dialog");
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    ChildRun run;
    ASSERT_TRUE(run.Start(dir + "\\setup.exe", "\"" + dir + "\\setup.exe\"", dir));
    HWND hDlg = run.FindWindowOfChild(10000);
    ASSERT_TRUE(hDlg != nullptr) << "no dialog appeared";
    EXPECT_FALSE(run.WaitExit(500)) << "setup.exe ended without an answer";
    PostMessageA(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
    EXPECT_EQ(0u, run.ExitCode()) << "setup.exe crashed (or failed)";
    run.WaitAll(10000);
    EXPECT_EQ(0u, ReadRecords(m_log).size()) << "setup.exe started something";
    EXPECT_FALSE(Uninstall("DisplayName").present);
    EXPECT_FALSE(Uninstall("Message").present);
}

// A dialog that can't be made counts as a refusal: no window, nothing
// written or started, on a machine with a display as without one. Here
// the copy's template names a window class that doesn't exist.
TEST_F(SetupTest, InteractiveRunWithoutDialog)
{
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    std::string exe = dir + "\\setup.exe";
    // DLGTEMPLATE: style (the launcher's, without DS_SETFONT), extended
    // style, no controls, x, y, cx, cy; no menu, the class "NoSuchClass",
    // an empty title.
    static const WORD kTemplate[] = { 0x0080, 0x90C8, 0, 0, 0, 0, 0, 100, 50, 0,
                                      'N', 'o', 'S', 'u', 'c', 'h', 'C', 'l', 'a', 's', 's', 0, 0 };
    HANDLE hUpdate = BeginUpdateResourceA(exe.c_str(), FALSE);
    ASSERT_TRUE(hUpdate != nullptr) << "error " << GetLastError();
    ASSERT_TRUE(UpdateResourceA(hUpdate, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(102),
                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), const_cast<WORD*>(kTemplate),
                                sizeof kTemplate));
    ASSERT_TRUE(EndUpdateResourceA(hUpdate, FALSE)) << "error " << GetLastError();
    // The premise: the copy's dialog template is that one.
    HMODULE hCopy = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hCopy != nullptr);
    EXPECT_EQ(sizeof kTemplate, SizeofResource(hCopy, FindResourceA(hCopy, MAKEINTRESOURCEA(102),
                                                                    MAKEINTRESOURCEA(5))));
    FreeLibrary(hCopy);

    ChildRun run;
    ASSERT_TRUE(run.Start(exe, "\"" + exe + "\"", dir));
    EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
    EXPECT_EQ(0u, run.ExitCode()) << "setup.exe crashed (or failed)";
    run.WaitAll(10000);
    EXPECT_EQ(0, run.WindowsCreated()) << "a window was made after all";
    EXPECT_EQ(0u, ReadRecords(m_log).size()) << "setup.exe started something";
    EXPECT_FALSE(Uninstall("DisplayName").present);
    EXPECT_FALSE(Uninstall("Message").present);
}

// A switch in the program's path makes no run silent: started from a folder
// whose name holds one, by a quoted or an unquoted path, or by a quoted path
// without its closing quote, which then runs to the end of the line, the
// launcher asks. "No" then writes and starts nothing.
TEST_F(SetupTest, NoSwitchInTheProgramsPath)
{
    if (!HaveDisplay())
        SKIP_FOR_WANT_OF("a display for the dialog");
    enum Form { kQuoted, kUnquoted, kUnclosed };
    static const struct {
        const char* folder;
        Form form;
    } rows[] = {
        /* 0 */ { "kavro-setup", kQuoted },
        /* 1 */ { "kavro-setup", kUnquoted },
        /* 2 */ { "Jean-Sebastien", kQuoted },
        /* 3 */ { "My -s Folder", kQuoted },
        /* 4 */ { "pkg", kUnclosed },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        std::string dir = m_root + "\\" + rows[i].folder;
        MakePackage(dir, { kEnglish });
        std::string exe = dir + "\\setup.exe";
        std::string commandLine = rows[i].form == kQuoted ? "\"" + exe + "\""
                                  : rows[i].form == kUnquoted ? exe
                                                             : "\"" + exe + " /s";
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << commandLine);
        DeleteFileA(m_log.c_str());
        ChildRun run;
        ASSERT_TRUE(run.Start(exe, commandLine, dir));
        HWND hDlg = run.FindWindowOfChild(10000);
        ASSERT_TRUE(hDlg != nullptr) << "no dialog appeared: the run was silent";
        PostMessageA(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
        run.WaitAll(10000);
        EXPECT_EQ(0u, ReadRecords(m_log).size()) << "setup.exe started something";
        EXPECT_FALSE(Uninstall("DisplayName").present);
    }
}

// Consent in the dialog: the entry, the installer hidden, then the readme
// in the system's Notepad, shown normally, even with copies planted.
TEST_F(SetupTest, InteractiveRunAccepted)
{
    if (!HaveDisplay())
        SKIP_FOR_WANT_OF("a display for the dialog");
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    std::string recorder = WinPath(Env("RECORDER_EXE"));
    CopyFileA(recorder.c_str(), (dir + "\\rundll32.exe").c_str(), FALSE);
    CopyFileA(recorder.c_str(), (dir + "\\notepad.exe").c_str(), FALSE);
    ChildRun run;
    ASSERT_TRUE(run.Start(dir + "\\setup.exe", "\"" + dir + "\\setup.exe\"", dir));
    HWND hDlg = run.FindWindowOfChild(10000);
    ASSERT_TRUE(hDlg != nullptr) << "no dialog appeared";
    PostMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
    EXPECT_EQ(0u, run.ExitCode()) << "setup.exe crashed (or failed)";
    EXPECT_TRUE(run.WaitAll(10000));
    EXPECT_GT(run.WindowsCreated(), 0) << "the window watch saw no dialog";
    EXPECT_VALUE(TextValue(REG_SZ, "Tool"), Uninstall("DisplayName"));
    const auto started = ReadRecords(m_log);
    ASSERT_EQ(2u, started.size()) << run.TotalProcesses() << " processes ran; recorded:\n"
                                  << Describe(started);
    // In the order of starting: the installer first, then Notepad.
    EXPECT_STRCASEEQ(kRundll32, started[0].module.c_str());
    EXPECT_EQ(SW_HIDE, started[0].showWindow);
    EXPECT_STRCASEEQ(kNotepad, started[1].module.c_str());
    EXPECT_EQ("\"" + std::string(kNotepad) + "\" readme.txt", started[1].commandLine);
    EXPECT_EQ(SW_SHOWNORMAL, started[1].showWindow);
    EXPECT_EQ(SW_SHOWNORMAL, started[1].cmdShow);
}

// The exit code of a run that waits when there is nothing to install,
// Windows Installer's "fatal error", which deployment tools know. (A
// refusal's, 1602, is the GUI tests' to check.)
const DWORD kFailure = 1603;  // ERROR_INSTALL_FAILURE

// With the wait switch the launcher ends after the installer, with the
// installer's exit status; without it, while the installer still runs,
// with 0 whatever the installer ends with. A switch in the folder's name
// counts for nothing. The installer stays 1 s and never becomes idle.
TEST_F(SetupTest, WaitSwitchWaitsForTheInstaller)
{
    const DWORD kStayMs = 1000;
    static const struct {
        const char* folder;
        const char* arguments;
        const char* status;  // the installer's
        bool waits;
    } rows[] = {
        /* 0 */ { "pkg", " /s /w", "0", true },
        /* 1 */ { "pkg", " -W -S", "3221225477", true },  // 0xC0000005, a crash's
        /* 2 */ { "kavro-win", " /s", "3010", false },
    };
    SetEnvironmentVariableA("RECORDER_STAY_MS", std::to_string(kStayMs).c_str());
    SetEnvironmentVariableA("RECORDER_NEVER_IDLE", "1");
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        std::string dir = m_root + "\\" + rows[i].folder;
        std::string exe = dir + "\\setup.exe";
        SCOPED_TRACE(testing::Message() << "row " << i << ": \"" << exe << "\"" << rows[i].arguments);
        MakePackage(dir, { kEnglish });
        WriteBytes(dir + "\\tool.inf", "[Version]\r\n");
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        DeleteFileA(m_log.c_str());
        SetEnvironmentVariableA("RECORDER_EXIT_CODE", rows[i].status);
        ChildRun run;
        ASSERT_TRUE(run.Start(exe, "\"" + exe + "\"" + rows[i].arguments, dir));
        EXPECT_TRUE(run.WaitExit(15000)) << "setup.exe still runs after 15 s";
        if (rows[i].waits) {
            EXPECT_EQ(0u, run.ActiveProcesses()) << "setup.exe ended before the installer";
            EXPECT_GE(run.ElapsedMs(), kStayMs) << "setup.exe ended before the installer could";
            EXPECT_EQ(std::strtoul(rows[i].status, nullptr, 10), run.ExitCode()) << "the installer's status";
        } else {
            EXPECT_EQ(1u, run.ActiveProcesses()) << "setup.exe waited for the installer";
            EXPECT_EQ(0u, run.ExitCode()) << "without /w the exit code is the framework's 0";
        }
        EXPECT_TRUE(run.WaitAll(10000));
        EXPECT_VALUE(TextValue(REG_SZ, "Tool"), Uninstall("DisplayName"));
        EXPECT_INSTALLER_ONLY(ReadRecords(m_log), dir + "\\tool.inf");
    }
}

// With the wait switch, a package with nothing to install ends with 1603,
// starts nothing and writes no entry: no INF file by the name the language
// files give, no name at all, a folder by that name. (Without the switch
// such a package gets its entry and the installer started, as before the
// switch was there: the packages of SilentSwitches and MissingTexts have
// no INF file.)
TEST_F(SetupTest, WaitSwitchWithNothingToInstall)
{
    const Language noInf = { "ENG", "[Proj]\r\nName=Tool\r\n", "[Translation]\r\nRemove=Tool goes\r\n" };
    const Language folderInf = { "ENG", "[Proj]\r\nName=Tool\r\nINF=sub\r\n", "" };
    static const struct {
        const Language* language;
        const char* arguments;
    } rows[] = {
        /* 0 */ { &kEnglish, " /s /w" },
        /* 1 */ { &noInf, " /s /w" },
        /* 2 */ { &folderInf, " -w -s" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i << ":" << rows[i].arguments);
        std::string dir = m_root + "\\pkg" + std::to_string(i);
        MakePackage(dir, { *rows[i].language });
        CreateDirectoryA((dir + "\\sub").c_str(), nullptr);
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        std::string exe = dir + "\\setup.exe";
        auto started = Run(exe, "\"" + exe + "\"" + rows[i].arguments, "", kFailure);
        EXPECT_EQ(0u, started.size()) << "setup.exe started something:\n" << Describe(started);
        EXPECT_FALSE(Uninstall("DisplayName").present) << "setup.exe wrote an entry";
        EXPECT_FALSE(Uninstall("Message").present) << "setup.exe wrote an entry";
    }
}

// With the wait switch and no rundll32.exe to start the installer with,
// 1603: when the system folder has none, nothing is written or started;
// when its rundll32.exe is no program, the start fails. The prefix's
// recorder is put back afterwards, also after a failure.
TEST_F(SetupTest, WaitSwitchWithoutRundll32)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    // The premise: the Windows folder has no copy to fall back on.
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(windows) + "\\rundll32.exe").c_str()));
    struct PutBack {
        ~PutBack() { CopyFileA(WinPath(Env("RECORDER_EXE")).c_str(), kRundll32, FALSE); }
    } putBack;

    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    WriteBytes(dir + "\\tool.inf", "[Version]\r\n");
    std::string exe = dir + "\\setup.exe";

    ASSERT_TRUE(DeleteFileA(kRundll32));
    auto started = Run(exe, "\"" + exe + "\" /s /w", "", kFailure);
    EXPECT_EQ(0u, started.size()) << Describe(started);
    EXPECT_FALSE(Uninstall("DisplayName").present) << "setup.exe wrote an entry";

    WriteBytes(kRundll32, "no program\r\n");
    started = Run(exe, "\"" + exe + "\" /s /w", "", kFailure);
    EXPECT_EQ(0u, started.size()) << Describe(started);
}

// After Yes in the dialog, the wait switch waits for the installer (1 s)
// and not for Notepad on the readme (20 s): the launcher ends with the
// installer's status while Notepad still runs.
TEST_F(SetupTest, WaitSwitchWaitsNotForNotepad)
{
    if (!HaveDisplay())
        SKIP_FOR_WANT_OF("a display for the dialog");
    std::string dir = m_root + "\\pkg";
    MakePackage(dir, { kEnglish });
    WriteBytes(dir + "\\tool.inf", "[Version]\r\n");
    SetEnvironmentVariableA("RECORDER_NEVER_IDLE", "1");
    SetEnvironmentVariableA("RECORDER_STAY_MS_RUNDLL32", "1000");
    SetEnvironmentVariableA("RECORDER_EXIT_CODE_RUNDLL32", "5");
    SetEnvironmentVariableA("RECORDER_STAY_MS_NOTEPAD", "20000");
    ChildRun run;
    ASSERT_TRUE(run.Start(dir + "\\setup.exe", "setup.exe /w", dir));
    HWND hDlg = run.FindWindowOfChild(10000);
    ASSERT_TRUE(hDlg != nullptr) << "no dialog appeared";
    PostMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
    DWORD answered = GetTickCount();
    EXPECT_TRUE(run.WaitExit(15000)) << "setup.exe still runs";
    EXPECT_LT(GetTickCount() - answered, 10000u) << "setup.exe waited for Notepad";
    EXPECT_EQ(5u, run.ExitCode()) << "the installer's status";
    EXPECT_EQ(3u, run.TotalProcesses()) << "setup.exe, the installer and Notepad";
    EXPECT_EQ(1u, run.ActiveProcesses()) << "Notepad alone should still run";
    auto started = ReadRecords(m_log);
    ASSERT_EQ(2u, started.size()) << Describe(started);
    EXPECT_STRCASEEQ(kRundll32, started[0].module.c_str());
    EXPECT_STRCASEEQ(kNotepad, started[1].module.c_str());
    // The job ends Notepad when run goes out of scope.
}

}
