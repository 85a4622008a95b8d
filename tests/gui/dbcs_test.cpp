// setup.exe's dialog on a double-byte system: Wine running in a Japanese
// locale (LANG=ja_JP.UTF-8, code page 932). The dialog takes the face and
// size of the default GUI font instead of the template's "MS Sans Serif",
// and shows Shift-JIS texts as they are in the files.
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

TEST(DoubleByteSystem, DialogUsesTheDefaultGuiFont)
{
    if (!GetSystemMetrics(SM_DBCSENABLED))
        GTEST_SKIP() << "Wine runs in a single-byte locale (code page " << GetACP()
                     << "); is the ja_JP.UTF-8 locale there?";

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

}
