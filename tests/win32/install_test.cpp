// The real thing, once: the example package installed by setup.exe /s
// through Wine's own rundll32.exe and INF installer, in German.
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

const char kPackage[] = "C:\\tests\\example";
const char kExampleKey[] = "SOFTWARE\\KAVRO Example";
const char kCopiedReadme[] = "C:\\windows\\KAVRO\\readme.txt";

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
    DeleteFileA("C:\\windows\\inf\\kavro.inf");
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override { Uninstalled(); }
    void TearDown() override { Uninstalled(); }
};

TEST_F(InstallTest, ExamplePackageInGerman)
{
    std::string example = WinPath(Env("EXAMPLE_DIR"));
    MakeEmptyDir(kPackage);
    CopyTree(example, kPackage);
    std::string setup = std::string(kPackage) + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(WinPath(Env("SETUP_EXE")).c_str(), setup.c_str(), FALSE));
    SetValue(HKEY_USERS, LOCALE_KEY, nullptr, REG_SZ, std::string("00000407", 9));

    ChildRun run;
    ASSERT_TRUE(run.Start(setup, "\"" + setup + "\" /s", kPackage));
    EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
    // The installer runs on after setup.exe; its effects come when it ends.
    EXPECT_TRUE(run.WaitAll(60000)) << "the installer still runs after 60 s";
    EXPECT_GE(run.TotalProcesses(), 2u) << "setup.exe started no installer";

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
    RegValue uninstall = ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), uninstall.type);
    EXPECT_NE(std::string::npos, uninstall.data.find("DefaultUninstall 132")) << Describe(uninstall);

    std::string list = Output("uninstaller.exe --list");
    EXPECT_NE(std::string::npos, list.find("|||KAVRO Beispielpaket")) << "uninstaller --list printed:\n" << list;
}

}
