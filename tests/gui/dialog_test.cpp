// setup.exe's dialog on a virtual display: what it shows in which language,
// where the focus goes, where it stands, its icons, and what each answer
// leaves in the registry and starts.
#include "launcherrun.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

struct Texts {
    const char* title;
    const char* inst;
    const char* readme;
    const char* yes;
    const char* no;
    const char* remove;
};

// In the system code page, 1252.
const Texts kEnglish = { "Kavro Test Package", "Install the Kavro Test Package now?",
                         "Show the readme afterwards", "Install", "Cancel", "Kavro Test Package will be removed." };
const Texts kGerman = { "Kavro-Testpaket", "Das Kavro-Testpaket jetzt installieren? Gr\xFC\xDF" "e!",
                        "Liesmich danach zeigen", "Ja", "Nein", "Das Kavro-Testpaket wird entfernt." };
const Texts kFrench = { "Paquet d'essai Kavro", "Installer le paquet d'essai Kavro maintenant ?",
                        "Afficher le fichier Lisez-moi apr\xE8s", "Oui", "Non", "Le paquet sera supprim\xE9." };

std::string ProjFile(const Texts& t)
{
    return std::string("[Proj]\r\nName=") + t.title + "\r\nINF=kavro.inf\r\n";
}

std::string StrFile(const Texts& t)
{
    return std::string("[Translation]\r\nInst=") + t.inst + "\r\nReadme=" + t.readme + "\r\nYes=" + t.yes +
           "\r\nNo=" + t.no + "\r\nRemove=" + t.remove + "\r\n\r\n[Constant]\r\nReadmePath=readme.txt\r\n";
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string SystemProgram(const char* name)
{
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

std::string WindowsFolder()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

class Dialog : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string eng[2] = { ProjFile(kEnglish), StrFile(kEnglish) };
        const std::string deu[2] = { ProjFile(kGerman), StrFile(kGerman) };
        const std::string fra[2] = { ProjFile(kFrench), StrFile(kFrench) };
        s_full = MakePackage("full", {
            { "kavro.inf", "[Version]\r\n" },
            { "readme.txt", "Readme\r\n" },
            { "NLS\\LANGID.TXT", "ENG 0\r\nENG 0409\r\nDEU 0407\r\nFRA 040C\r\n" },
            { "NLS\\PROJ.ENG", eng[0].c_str() }, { "NLS\\STR.ENG", eng[1].c_str() },
            { "NLS\\PROJ.DEU", deu[0].c_str() }, { "NLS\\STR.DEU", deu[1].c_str() },
            { "NLS\\PROJ.FRA", fra[0].c_str() }, { "NLS\\STR.FRA", fra[1].c_str() },
        });
        // German chosen, English the default; the name, the readme label
        // and the Yes caption are in neither.
        s_gaps = MakePackage("gaps", {
            { "NLS\\LANGID.TXT", "ENG 0\r\nDEU 0407\r\n" },
            { "NLS\\PROJ.ENG", "[Proj]\r\nINF=kavro.inf\r\n" },
            { "NLS\\PROJ.DEU", "[Proj]\r\n" },
            { "NLS\\STR.ENG", "[Translation]\r\nNo=Cancel\r\n" },
            { "NLS\\STR.DEU", "[Translation]\r\nInst=Jetzt installieren?\r\n" },
        });
        s_bare = MakePackage("bare", { { "kavro.inf", "[Version]\r\n" } });
        // Arabic reads right to left, and so does German through it, its
        // default; English says it doesn't, Persian says something else.
        s_orders = MakePackage("orders", {
            { "kavro.inf", "[Version]\r\n" },
            { "NLS\\LANGID.TXT", "ARA 0\r\nARA 0401\r\nDEU 0407\r\nENG 0409\r\nFAS 0429\r\n" },
            { "NLS\\PROJ.ARA", "[Proj]\r\nName=Test\r\nINF=kavro.inf\r\n" },
            { "NLS\\STR.ARA", "[Translation]\r\nInst=Install?\r\nReadme=Readme\r\n[Constant]\r\nRightToLeft=1\r\n" },
            { "NLS\\STR.ENG", "[Constant]\r\nRightToLeft=0\r\n" },
            { "NLS\\STR.FAS", "[Constant]\r\nRightToLeft=yes\r\n" },
        });
    }

    void SetUp() override
    {
        DeleteUninstallKey();
        SetEnvironmentVariableA("RECORDER_EXIT_CODE_RUNDLL32", nullptr);
    }
    void TearDown() override { DeleteUninstallKey(); }

    // Answers with Esc and checks that the run then ends without a trace.
    static void Refuse(LauncherRun& run)
    {
        run.PressKey(VK_ESCAPE);
        Outcome outcome = run.WaitForEnd();
        EXPECT_TRUE(outcome.ended);
        EXPECT_FALSE(outcome.keyWritten);
        EXPECT_EQ(0u, outcome.started.size());
    }

    static std::string s_full, s_gaps, s_bare, s_orders;
};

std::string Dialog::s_full, Dialog::s_gaps, Dialog::s_bare, Dialog::s_orders;

TEST_F(Dialog, ShowsTheTextsOfTheChosenLanguage)
{
    const Texts kGaps = { "", "Jetzt installieren?", "", "Yes", "Cancel", "" };
    const Texts kNone = { "", "", "", "Yes", "No", "" };
    const struct {
        const char* locale;
        const std::string& package;
        const Texts& expected;
    } rows[] = {
        /* 0 */ { "0409", s_full, kEnglish },
        /* 1 */ { "0407", s_full, kGerman },
        /* 2 */ { "040C", s_full, kFrench },
        /* 3 */ { "0411", s_full, kEnglish },  // not in the table: the default
        /* 4 */ { "0407", s_gaps, kGaps },     // misses keep the template's text
        /* 5 */ { "0409", s_bare, kNone },     // no NLS folder at all
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        SetResourceLocale(rows[i].locale);
        LauncherRun run(rows[i].package);
        ASSERT_TRUE(run.WaitForDialog()) << "no dialog";
        EXPECT_EQ(rows[i].expected.title, run.Title());
        EXPECT_EQ(rows[i].expected.inst, run.Text(1000));
        EXPECT_EQ(rows[i].expected.readme, run.Text(1001));
        EXPECT_EQ(rows[i].expected.yes, run.Text(IDOK));
        EXPECT_EQ(rows[i].expected.no, run.Text(IDCANCEL));
        Refuse(run);
    }
}

// Mirrored only where the language, or the default for a language that
// doesn't say, says RightToLeft=1.
TEST_F(Dialog, MirroredWhereTheLanguageReadsRightToLeft)
{
    const struct {
        const std::string& package;
        const char* locale;
        bool mirrored;
    } rows[] = {
        /* 0 */ { s_full, "0409", false },
        /* 1 */ { s_full, "0407", false },
        /* 2 */ { s_orders, "0401", true },
        /* 3 */ { s_orders, "0407", true },   // from the default
        /* 4 */ { s_orders, "0409", false },  // 0 over the default's 1
        /* 5 */ { s_orders, "0429", false },  // "yes" is not 1
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        SetResourceLocale(rows[i].locale);
        LauncherRun run(rows[i].package);
        ASSERT_TRUE(run.WaitForDialog()) << "no dialog";
        run.ExpectLayout(rows[i].mirrored);
        Refuse(run);
    }
}

TEST_F(Dialog, OpensTickedWithTheFocusOnYes)
{
    SetResourceLocale("0409");
    LauncherRun run(s_full);
    ASSERT_TRUE(run.WaitForDialog());
    EXPECT_EQ(BST_CHECKED, run.CheckState(1001));
    int focus = 0;
    run.Focus(&focus);
    EXPECT_EQ(IDOK, focus);
    Refuse(run);
}

TEST_F(Dialog, TabGoesFromYesToNoToTheBoxAndBack)
{
    SetResourceLocale("0409");
    LauncherRun run(s_full);
    ASSERT_TRUE(run.WaitForDialog());
    run.ExpectTabOrder();
    Refuse(run);
}

TEST_F(Dialog, StandsInTheMiddleOfTheWorkArea)
{
    SetResourceLocale("0409");
    LauncherRun run(s_full);
    HWND hDlg = run.WaitForDialog();
    ASSERT_TRUE(hDlg);
    RECT work, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hDlg, &rect);
    // Halves are rounded either way.
    EXPECT_LE(abs((rect.left - work.left) - (work.right - rect.right)), 1)
        << "left " << rect.left << ", right " << rect.right << " in " << work.left << ".." << work.right;
    EXPECT_LE(abs((rect.top - work.top) - (work.bottom - rect.bottom)), 1)
        << "top " << rect.top << ", bottom " << rect.bottom << " in " << work.top << ".." << work.bottom;
    Refuse(run);
}

TEST_F(Dialog, ShowsIcon128InTheTitleBarAndThePicture)
{
    SetResourceLocale("0409");
    LauncherRun run(s_full);
    ASSERT_TRUE(run.WaitForDialog());
    DialogProbe probe = {};
    ASSERT_TRUE(run.Probe(probe)) << "the probe didn't run in setup.exe";
    // LoadIconA hands out one shared handle per resource and size.
    EXPECT_NE(nullptr, probe.resourceIcon);
    EXPECT_EQ(probe.resourceIcon, probe.bigIcon) << "big icon";
    EXPECT_EQ(probe.resourceIcon, probe.smallIcon) << "small icon";
    EXPECT_EQ(probe.resourceIcon, probe.pictureIcon) << "picture";
    EXPECT_EQ(32, probe.iconWidth);
    EXPECT_EQ(32, probe.iconHeight);
    // A single-byte system keeps the template's font.
    EXPECT_FALSE(probe.dbcsEnabled);
    EXPECT_STREQ("MS Sans Serif", probe.buttonFont.lfFaceName);
    Refuse(run);
}

// The manifest's common controls 6, loaded by name before the dialog is
// made: Wine's side-by-side copy of version 6 (whose DllGetVersion says 5,
// as the system folder's copy does).
TEST_F(Dialog, RunsWithTheCommonControls6)
{
    SetResourceLocale("0409");
    LauncherRun run(s_full);
    ASSERT_TRUE(run.WaitForDialog());
    DialogProbe probe = {};
    ASSERT_TRUE(run.Probe(probe)) << "the probe didn't run in setup.exe";
    const std::string path = Lower(probe.commonControls);
    EXPECT_EQ(0u, path.find(Lower(WindowsFolder()) + "\\winsxs\\")) << path;
    EXPECT_NE(std::string::npos, path.find("_microsoft.windows.common-controls_6595b64144ccf1df_6.0.")) << path;
    Refuse(run);
}

// Minimised, the dialog paints its icon in the middle of the client area,
// halves rounded up: read back from the pixels the launcher painted, for
// client areas wider and narrower than the 32-pixel icon. A mirrored
// dialog paints it in the same place, not reversed.
TEST_F(Dialog, MinimisedPaintsTheIconInTheMiddle)
{
    const struct {
        LONG width, height;
        LONG x, y;
        bool mirrored;
    } rows[] = {
        /* 0 */ { 36, 100, 2, 34, false },
        /* 1 */ { 37, 100, 3, 34, false },
        /* 2 */ { 31, 100, 0, 34, false },
        /* 3 */ { 30, 100, 0, 34, false },   // not -1
        /* 4 */ { 29, 100, -1, 34, false },
        /* 5 */ { 28, 100, -1, 34, false },  // not -2
        /* 6 */ { 100, 37, 34, 3, false },
        /* 7 */ { 100, 30, 34, 0, false },
        /* 8 */ { 100, 28, 34, -1, false },
        /* 9 */ { 36, 100, 2, 34, true },
        /* 10 */ { 37, 100, 3, 34, true },   // not 2
        /* 11 */ { 29, 100, -1, 34, true },  // not 0
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        SetResourceLocale(rows[i].mirrored ? "0401" : "0409");
        LauncherRun run(rows[i].mirrored ? s_orders : s_full);
        ASSERT_TRUE(run.WaitForDialog());
        DialogProbe probe = {};
        probe.paintWidth = rows[i].width;
        probe.paintHeight = rows[i].height;
        ASSERT_TRUE(run.Probe(probe)) << "the probe didn't run in setup.exe";
        EXPECT_TRUE(probe.iconFound) << "the painted pixels are not the icon on a plain background";
        EXPECT_EQ(rows[i].x, probe.iconX);
        EXPECT_EQ(rows[i].y, probe.iconY);
        Refuse(run);
    }
}

// F1 opens nothing: neither a help viewer planted beside the launcher,
// which a viewer started by bare name would be, nor a help file there.
TEST_F(Dialog, HelpKeyOpensNothing)
{
    std::string package = MakePackage("help", {
        { "NLS\\LANGID.TXT", "ENG 0\r\n" },
        { "setup.hlp", "?_\x03\0" },
    });
    CopyFileA(SystemProgram("rundll32.exe").c_str(), (package + "\\winhlp32.exe").c_str(), FALSE);
    SetResourceLocale("0409");
    LauncherRun run(package);
    ASSERT_TRUE(run.WaitForDialog());
    run.Help();
    EXPECT_NE(nullptr, run.Focus()) << "the dialog went away";
    Refuse(run);
}

enum class Answer { Enter, YesBoxCleared, EnterOnTheBox, EnterOnNo, No, Esc, CloseCommand };

void Give(LauncherRun& run, Answer answer)
{
    switch (answer) {
    case Answer::Enter:
        run.PressKey(VK_RETURN);
        break;
    case Answer::YesBoxCleared:
        run.Click(1001);
        EXPECT_EQ(BST_UNCHECKED, run.CheckState(1001));
        run.Click(IDOK);
        break;
    case Answer::EnterOnTheBox:
    case Answer::EnterOnNo:
        for (int tabs = answer == Answer::EnterOnNo ? 1 : 2; tabs > 0; --tabs) {
            HWND hFocus = run.Focus();
            run.PressKey(VK_TAB);
            EXPECT_TRUE(run.WaitForFocusToLeave(hFocus));
        }
        run.PressKey(VK_RETURN);
        break;
    case Answer::No:
        run.Click(IDCANCEL);
        break;
    case Answer::Esc:
        run.PressKey(VK_ESCAPE);
        break;
    case Answer::CloseCommand:
        run.Close();
        break;
    }
}

// Each answer, with the wait switch (/w) and without: the same entry and
// programs started, and the exit code that a deployment tool reads. Without
// the switch it is 0, whatever the answer. With it a refusal, by No, Esc or
// the close box, gives 1602 (ERROR_INSTALL_USEREXIT), and Yes the
// installer's exit status, here 3010.
TEST_F(Dialog, AnswersDecideWhatIsWrittenAndStarted)
{
    const DWORD kInstallerStatus = 3010;
    const DWORD kRefused = 1602;
    const struct {
        Answer answer;
        const char* locale;
        const Texts& texts;
        bool consent;
        bool readme;
        bool wait;
    } rows[] = {
        /* 0 */ { Answer::Enter, "0409", kEnglish, true, true, true },
        /* 1 */ { Answer::YesBoxCleared, "0407", kGerman, true, false, false },
        /* 2 */ { Answer::EnterOnTheBox, "040C", kFrench, true, true, false },
        /* 3 */ { Answer::EnterOnNo, "0409", kEnglish, false, false, false },
        /* 4 */ { Answer::No, "0407", kGerman, false, false, true },
        /* 5 */ { Answer::Esc, "0409", kEnglish, false, false, true },
        /* 6 */ { Answer::CloseCommand, "040C", kFrench, false, false, true },
    };
    const std::string rundll32 = SystemProgram("rundll32.exe");
    const std::string notepad = SystemProgram("notepad.exe");
    SetEnvironmentVariableA("RECORDER_EXIT_CODE_RUNDLL32", std::to_string(kInstallerStatus).c_str());
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + (rows[i].wait ? ", /w" : ""));
        DeleteUninstallKey();
        SetResourceLocale(rows[i].locale);
        LauncherRun run(s_full, "setup.exe", rows[i].wait ? " /w" : "");
        ASSERT_TRUE(run.WaitForDialog()) << "no dialog";
        Give(run, rows[i].answer);
        Outcome outcome = run.WaitForEnd();
        EXPECT_TRUE(outcome.ended) << "setup.exe still running";
        EXPECT_EQ(!rows[i].wait ? 0u : rows[i].consent ? kInstallerStatus : kRefused, outcome.exitCode)
            << "exit code";

        EXPECT_EQ(rows[i].consent, outcome.keyWritten) << "uninstall entry";
        if (rows[i].consent) {
            EXPECT_EQ(DWORD(REG_SZ), outcome.nameType);
            EXPECT_EQ(std::string(rows[i].texts.title) + '\0', outcome.displayName);
            EXPECT_EQ(DWORD(REG_BINARY), outcome.messageType);
            EXPECT_EQ(std::string(rows[i].texts.remove) + '\0', outcome.message);
        }

        // In the order of starting: the installer, then Notepad.
        std::vector<Started> expected;
        if (rows[i].consent)
            expected.push_back(
                { rundll32, "\"" + rundll32 + "\" " + ((GetVersion() & 0x80000000u) ? "setupx.dll,InstallHinfSection DefaultInstall 130 " : "setupapi.dll,InstallHinfSection DefaultInstall 132 ") + s_full +
                                "\\kavro.inf", SW_HIDE, "" });
        if (rows[i].readme)
            expected.push_back({ notepad, "\"" + notepad + "\" readme.txt", SW_SHOWNORMAL, "" });
        ASSERT_EQ(expected.size(), outcome.started.size()) << "programs started";
        for (size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(Lower(expected[k].module), Lower(outcome.started[k].module));
            EXPECT_EQ(expected[k].commandLine, outcome.started[k].commandLine);
            EXPECT_EQ(expected[k].showMode, outcome.started[k].showMode) << "show mode";
        }
    }
}


}
