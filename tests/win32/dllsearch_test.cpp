// Planted DLLs: copies of the canary under the name of every DLL that the
// dialog brings in, beside setup.exe and in the current folder, with Wine
// told to prefer native copies of them (WINEDLLOVERRIDES, from the same
// list in afx/dllsearch.cpp): no run of setup.exe loads one. Wine always
// has SetDefaultDllDirectories, so the fallback of Windows without it is
// called here in the test's own process.
#include "testutil.h"

#include "afx/dllsearch.h"

#include <gtest/gtest.h>

namespace {

std::string ModulePath(HMODULE hModule)
{
    char path[MAX_PATH] = "junk";
    DWORD n = hModule ? GetModuleFileNameA(hModule, path, MAX_PATH) : 0;
    return n ? std::string(path, n) : "(not loaded)";
}

std::string SystemFolder()
{
    char folder[MAX_PATH];
    UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder, n);
}

class PlantedDlls : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        m_root = "C:\\tests\\" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        MakeEmptyDir(m_root);
        m_marks = m_root + "\\marks";
        SetEnvironmentVariableA("CANARY_MARKS", m_marks.c_str());
        SetEnvironmentVariableA("RECORDER_LOG", (m_root + "\\started.log").c_str());
    }

    void TearDown() override { DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY); }

    // Copies of the canary in folder under each name of the list.
    static void Plant(const std::string& folder)
    {
        const std::string canary = WinPath(Env("CANARY_DLL"));
        for (int i = 0; i < kDialogDllCount; ++i)
            ASSERT_TRUE(CopyFileA(canary.c_str(), (folder + "\\" + kDialogDlls[i].name).c_str(), FALSE))
                << kDialogDlls[i].name << ": error " << GetLastError();
    }

    // The paths of the canaries loaded since the marks were cleared, one a line.
    std::string Loaded() const
    {
        std::string loaded;
        WIN32_FIND_DATAA found;
        HANDLE hFind = FindFirstFileA((m_marks + "\\*.dll").c_str(), &found);
        for (BOOL more = hFind != INVALID_HANDLE_VALUE; more; more = FindNextFileA(hFind, &found))
            loaded += ReadBytes(m_marks + "\\" + found.cFileName) + "\n";
        if (hFind != INVALID_HANDLE_VALUE)
            FindClose(hFind);
        return loaded;
    }

    std::string m_root;
    std::string m_marks;
};

// The silent run and the dialog's, answered No.
TEST_F(PlantedDlls, NoRunLoadsOne)
{
    const std::string dir = m_root + "\\pkg", cwd = m_root + "\\downloads";
    MakeEmptyDir(dir);
    MakeEmptyDir(cwd);
    CopyFileA(WinPath(Env("SETUP_EXE")).c_str(), (dir + "\\setup.exe").c_str(), FALSE);
    WriteBytes(dir + "\\NLS\\LANGID.TXT", "ENG 0\r\n");
    WriteBytes(dir + "\\NLS\\PROJ.ENG", "[Proj]\r\nName=Tool\r\nINF=tool.inf\r\n");
    Plant(dir);
    Plant(cwd);
    // The premise: a copy, once loaded, leaves its mark.
    MakeEmptyDir(m_marks);
    HMODULE hCopy = LoadLibraryA((cwd + "\\version.dll").c_str());
    ASSERT_TRUE(hCopy != nullptr);
    FreeLibrary(hCopy);
    ASSERT_EQ(cwd + "\\version.dll\n", Loaded()) << "the canary leaves no mark";

    for (bool silent : { true, false }) {
        SCOPED_TRACE(silent ? "silent run" : "dialog run");
        if (!silent && !HaveDisplay())
            SKIP_FOR_WANT_OF("a display for the dialog");
        MakeEmptyDir(m_marks);
        ChildRun run;
        ASSERT_TRUE(run.Start(dir + "\\setup.exe", "\"" + dir + "\\setup.exe\"" + (silent ? " /s" : ""), cwd));
        if (!silent) {
            // A planted USER32 has none of its functions: then setup.exe
            // dies before it shows anything, and the marks tell why.
            HWND hDlg = run.FindWindowOfChild(10000);
            EXPECT_TRUE(hDlg != nullptr) << "no dialog appeared";
            PostMessageA(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
        }
        EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
        EXPECT_EQ(0u, run.ExitCode()) << "setup.exe crashed (or failed)";
        EXPECT_TRUE(run.WaitAll(10000));
        EXPECT_EQ("", Loaded()) << "planted copies were loaded";
    }
}

// With a folder of copies searched before the system folder, as the
// program's own folder is on Windows without SetDefaultDllDirectories: once
// the list is loaded from the system folder, a load by name gets the
// system's copy. (The DLLs this process had loaded already pass anyway.)
TEST_F(PlantedDlls, FallbackLoadsTheSystemsCopies)
{
    const std::string planted = m_root + "\\planted";
    MakeEmptyDir(planted);
    MakeEmptyDir(m_marks);
    Plant(planted);
    ASSERT_TRUE(CopyFileA(WinPath(Env("CANARY_DLL")).c_str(), (planted + "\\wtsapi32.dll").c_str(), FALSE));
    ASSERT_TRUE(SetDllDirectoryA(planted.c_str()));
    // The premise: a system DLL not on the list, not loaded yet, comes from there.
    EXPECT_EQ(planted + "\\wtsapi32.dll", ModulePath(LoadLibraryA("wtsapi32.dll")));
    ASSERT_EQ(planted + "\\wtsapi32.dll\n", Loaded()) << "the premise failed";

    LoadDialogDllsFromSystemFolder(false);
    const std::string system = SystemFolder();
    for (int i = 0; i < kDialogDllCount; ++i) {
        SCOPED_TRACE(kDialogDlls[i].name);
        const std::string own = system + "\\" + kDialogDlls[i].name;
        // A DLL the system lacks (Wine has no lpk.dll, cryptbase.dll) is
        // loaded by none of its DLLs.
        if (GetFileAttributesA(own.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        EXPECT_STRCASEEQ(own.c_str(), ModulePath(GetModuleHandleA(kDialogDlls[i].name)).c_str()) << "after the preload";
        EXPECT_STRCASEEQ(own.c_str(), ModulePath(LoadLibraryA(kDialogDlls[i].name)).c_str()) << "loaded by name";
    }
    SetDllDirectoryA(nullptr);
    EXPECT_EQ(planted + "\\wtsapi32.dll\n", Loaded()) << "copies on the list were loaded";
}

}
