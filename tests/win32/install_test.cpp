// The real thing: the example package installed by setup.exe through
// Wine's own rundll32.exe and INF installer, in German, silently with the
// wait switch and through the dialog without it, and removed again
// through its uninstall entry, as the list of installed programs does it.
// One run of this program a kind of system (ctest's install_* entries):
// Windows 9x chooses the language by the ResourceLocale value, the NT
// family by the user's UI language, which Wine takes from LANG.
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

const char kPackage[] = "C:\\tests\\example";
const char kExampleKey[] = "SOFTWARE\\KAVRO Example";
const char kCopiedReadme[] = "C:\\windows\\KAVRO\\readme.txt";
const char kCopiedInf[] = "C:\\windows\\inf\\kavro.inf";

bool WindowsNineX()
{
    return (GetVersion() & 0x80000000) != 0;
}

// What a console program prints, run to its end.
std::string Output(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES sa = { sizeof sa, nullptr, TRUE };
    HANDLE hRead, hWrite;
    CreatePipe(&hRead, &hWrite, &sa, 0);
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = hWrite;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi;
    std::string line = commandLine, output;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(hWrite);
        char buffer[4096];
        DWORD n;
        while (ReadFile(hRead, buffer, sizeof buffer, &n, nullptr) && n > 0)
            output.append(buffer, n);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    } else {
        CloseHandle(hWrite);
    }
    CloseHandle(hRead);
    return output;
}

void Uninstalled()
{
    DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    DeleteTree(HKEY_LOCAL_MACHINE, kExampleKey);
    DeleteTree(HKEY_USERS, LOCALE_KEY);
    RemoveTree("C:\\windows\\KAVRO");
    DeleteFileA(kCopiedInf);
}

// Waits up to timeoutMs for done() to hold.
template <class F> bool WaitFor(F done, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(100))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Uninstalled();
        example = WinPath(Env("EXAMPLE_DIR"));
        MakeEmptyDir(kPackage);
        CopyTree(example, kPackage);
        setup = std::string(kPackage) + "\\setup.exe";
        ASSERT_TRUE(CopyFileA(WinPath(Env("SETUP_EXE")).c_str(), setup.c_str(), FALSE));
        // German, each system's way.
        if (WindowsNineX())
            SetValue(HKEY_USERS, LOCALE_KEY, nullptr, REG_SZ, std::string("00000407", 9));
        else
            ASSERT_EQ(0x407, GetUserDefaultUILanguage()) << "LANG=de_DE.UTF-8 gave no German UI language";
    }
    void TearDown() override { Uninstalled(); }

    void ExpectInstalled();
    void ExpectRemovedThroughItsEntry();

    std::string example;
    std::string setup;
};

void InstallTest::ExpectInstalled()
{
    EXPECT_EQ(Describe(TextValue(REG_SZ, "KAVRO Beispielpaket")),
              Describe(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName")));
    EXPECT_EQ(Describe(TextValue(REG_BINARY, "Das KAVRO Beispielpaket wird von Ihrem Computer entfernt.")),
              Describe(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "Message")));

    // What the INF's CopyFiles and AddReg did.
    std::string readme = ReadBytes(example + "\\readme.txt");
    ASSERT_FALSE(readme.empty());
    EXPECT_EQ(readme, ReadBytes(kCopiedReadme)) << "the readme was not copied to " << kCopiedReadme;
    EXPECT_EQ(Describe(TextValue(REG_SZ, "1")), Describe(ReadValue(HKEY_LOCAL_MACHINE, kExampleKey, "Installed")));
    EXPECT_EQ(Describe(TextValue(REG_SZ, "2.3")), Describe(ReadValue(HKEY_LOCAL_MACHINE, kExampleKey, "Version")));
    // The remover of the system's own installer: on 64-bit Windows the
    // 32-bit rundll32.exe, which works on the registry view written here.
    std::string remover = ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString").data;
    if (WindowsNineX()) {
        EXPECT_EQ(std::string("rundll32.exe setupx.dll,InstallHinfSection DefaultUninstall 132 ") + kCopiedInf + '\0',
                  remover);
    } else {
        // The 32-bit system folder: SysWOW64 on 64-bit Windows.
        char systemFolder[MAX_PATH];
        if (!GetSystemWow64DirectoryA(systemFolder, sizeof systemFolder))
            GetSystemDirectoryA(systemFolder, sizeof systemFolder);
        EXPECT_EQ(std::string("\"") + systemFolder + "\\rundll32.exe\" setupapi.dll,InstallHinfSection DefaultUninstall 132 " +
                      kCopiedInf + '\0',
                  remover);
    }

    std::string list = Output("uninstaller.exe --list");
    EXPECT_NE(std::string::npos, list.find("|||KAVRO Beispielpaket")) << "uninstaller --list printed:\n" << list;
}

void InstallTest::ExpectRemovedThroughItsEntry()
{
    Output("uninstaller.exe --remove KAVRO");
    // The remover runs on after the uninstaller; its effects come when it ends.
    EXPECT_TRUE(WaitFor([] { return !ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName").present; }, 30000))
        << "the uninstall entry is still there";
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kExampleKey, "Installed").present);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kCopiedReadme));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kCopiedInf));
    std::string list = Output("uninstaller.exe --list");
    EXPECT_EQ(std::string::npos, list.find("KAVRO")) << "uninstaller --list printed:\n" << list;
}

// Silently, as a deployment tool runs it (/s /w): setup.exe ends once the
// installer has, with the installer's status, 0; what the INF installs is
// there at that moment, for the tool's detection rule to find. (Nothing
// waits for the rest of the job: on a new prefix the installer may have
// started Wine's desktop process, explorer.exe, which stays.)
TEST_F(InstallTest, SilentRunThenRemoval)
{
    ChildRun run;
    ASSERT_TRUE(run.Start(setup, "\"" + setup + "\" /s /w", kPackage));
    EXPECT_TRUE(run.WaitExit(60000)) << "setup.exe still runs after 60 s";
    EXPECT_EQ(0u, run.ExitCode()) << "the installer's status";
    EXPECT_GE(run.TotalProcesses(), 2u) << "setup.exe started no installer";
    ExpectInstalled();
    ExpectRemovedThroughItsEntry();
}

// The dialog answered with the Enter key: "Ja" is the default button, the
// readme box starts checked, so the installer runs and Notepad opens the
// readme (ended with the run).
TEST_F(InstallTest, DialogAnsweredWithEnter)
{
    if (!HaveDisplay())
        SKIP_FOR_WANT_OF("a display for the dialog");
    ChildRun run;
    ASSERT_TRUE(run.Start(setup, "\"" + setup + "\"", kPackage));
    HWND hDlg = run.FindWindowOfChild(10000);
    ASSERT_TRUE(hDlg) << "no dialog";
    char title[256] = "";
    GetWindowTextA(hDlg, title, sizeof title);
    EXPECT_STREQ("KAVRO Beispielpaket", title);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(WaitFor([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &gui) && gui.hwndFocus;
    }, 5000)) << "nothing in the dialog has the focus";
    PostMessageA(gui.hwndFocus, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(gui.hwndFocus, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs 10 s after Enter";
    // The installer's last step writes the remover; its first ones the
    // package's own values, which alone would let the checks run early.
    EXPECT_TRUE(WaitFor([] { return ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString").present; }, 60000))
        << "the installer did not install";
    EXPECT_TRUE(WaitFor([&] { return run.TotalProcesses() >= 3; }, 10000)) << "no installer and Notepad started";
    ExpectInstalled();
    ExpectRemovedThroughItsEntry();
}

}
