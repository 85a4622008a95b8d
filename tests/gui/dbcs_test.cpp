// setup.exe on a double-byte system: Wine running in a Japanese locale
// (LANG=ja_JP.UTF-8, code page 932). The dialog takes the face and size of
// the default GUI font instead of the template's "MS Sans Serif", and shows
// Shift-JIS texts as they are in the files; a path whose characters have
// a backslash's byte as their second byte is cut at real backslashes.
#include "launcherrun.h"

#include <gtest/gtest.h>

namespace {

// "Test", "Install?", "Show the readme" (its 0x95 0x5C holds a backslash
// as trail byte), "Yes", "No", in Shift-JIS.
const char kTitle[] = "\x83\x65\x83\x58\x83\x67";
const char kInst[] = "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";
const char kReadme[] = "\x90\xe0\x96\xbe\x8f\x91\x82\xf0\x95\x5c\x8e\xa6\x82\xb7\x82\xe9";
const char kYes[] = "\x82\xcd\x82\xa2";
const char kNo[] = "\x82\xa2\x82\xa2\x82\xa6";

#define SKIP_UNLESS_DOUBLE_BYTE() \
    if (!GetSystemMetrics(SM_DBCSENABLED)) \
        SKIP_FOR_WANT_OF("the ja_JP.UTF-8 locale: Wine runs in the single-byte code page " + \
                         std::to_string(GetACP()))

TEST(DoubleByteSystem, DialogUsesTheDefaultGuiFont)
{
    SKIP_UNLESS_DOUBLE_BYTE();

    std::string proj = std::string("[Proj]\r\nName=") + kTitle + "\r\nINF=kavro.inf\r\n";
    std::string str = std::string("[Translation]\r\nInst=") + kInst + "\r\nReadme=" + kReadme + "\r\nYes=" + kYes +
                      "\r\nNo=" + kNo + "\r\n";
    std::string package = MakePackage("japanese", {
        { "NLS\\LANGID.TXT", "ENG 0\r\nJPN 0411\r\n" },
        { "NLS\\PROJ.JPN", proj.c_str() },
        { "NLS\\STR.JPN", str.c_str() },
    });
    DeleteUninstallKey();
    SetResourceLocale("0411");
    LauncherRun run(package);
    ASSERT_TRUE(run.WaitForDialog()) << "no dialog";

    EXPECT_EQ(kTitle, run.Title());
    EXPECT_EQ(kInst, run.Text(1000));
    EXPECT_EQ(kReadme, run.Text(1001));
    EXPECT_EQ(kYes, run.Text(IDOK));
    EXPECT_EQ(kNo, run.Text(IDCANCEL));

    DialogProbe probe = {};
    ASSERT_TRUE(run.Probe(probe)) << "the probe didn't run in setup.exe";
    EXPECT_TRUE(probe.dbcsEnabled) << "setup.exe runs in a single-byte locale";
    EXPECT_STRNE("MS Sans Serif", probe.guiFont.lfFaceName) << "the check would prove nothing";
    EXPECT_STREQ(probe.guiFont.lfFaceName, probe.buttonFont.lfFaceName);
    EXPECT_EQ(probe.guiFont.lfHeight, probe.buttonFont.lfHeight);

    run.PressKey(VK_ESCAPE);
    Outcome outcome = run.WaitForEnd();
    EXPECT_TRUE(outcome.ended);
    EXPECT_FALSE(outcome.keyWritten);
}

// "ソフト" and "表示.exe": the second bytes of ソ and 表 are 0x5C.
TEST(DoubleByteSystem, ProgramFolderWithBackslashTrailBytes)
{
    SKIP_UNLESS_DOUBLE_BYTE();
    const char kFolder[] = "\x83\x5C\x83\x74\x83\x67";
    const char kProgram[] = "\x95\x5C\x8E\xA6.exe";
    std::string package = MakePackage(kFolder, {
        { "kavro.inf", "[Version]\r\n" },
        { "NLS\\LANGID.TXT", "ENG 0\r\n" },
        { "NLS\\PROJ.ENG", "[Proj]\r\nName=Test\r\nINF=kavro.inf\r\n" },
    });
    std::string exe = package + "\\" + kProgram;
    ASSERT_TRUE(MoveFileA((package + "\\setup.exe").c_str(), exe.c_str())) << "error " << GetLastError();
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(exe.c_str())) << "no file named in code page 932";
    DeleteUninstallKey();

    LauncherRun run(package, kProgram, " /s");
    Outcome outcome = run.WaitForEnd();
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ("Test" + std::string(1, '\0'), outcome.displayName) << "the language files weren't found";
    ASSERT_EQ(1u, outcome.started.size());
    const std::string tail = ((GetVersion() & 0x80000000u) ? " 130 " : " 132 ") + package + "\\kavro.inf";
    const std::string& commandLine = outcome.started[0].commandLine;
    EXPECT_TRUE(commandLine.size() > tail.size() && commandLine.compare(commandLine.size() - tail.size(), tail.size(), tail) == 0)
        << "expected the install command to end in \"" << tail << "\", got \"" << commandLine << "\"";
    DeleteUninstallKey();
}

}
