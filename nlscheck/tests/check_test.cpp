// The check on small packages made here: each surprise a package author
// can build in is named, in the right file and on the right line, and the
// predictions follow the launcher's fallbacks.
#include "check.h"
#include "codepage.h"
#include "convert.h"
#include "files.h"
#include "format.h"
#include "print.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

typedef std::map<std::string, std::string> Files;  // path -> bytes; "" removes

// A clean two-language package.
Files BasePackage()
{
    return {
        { "NLS/LANGID.TXT", "ENG 0\r\nENG 0409\r\nDEU 0407\r\n" },
        { "NLS/PROJ.ENG", "[Proj]\r\nName=Package\r\nINF=pkg.inf\r\n" },
        { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\r\nINF=pkg.inf\r\n" },
        { "NLS/STR.ENG", "[Translation]\r\nInst=Install?\r\nReadme=Readme\r\nYes=Yes\r\nNo=No\r\nRemove=Removed\r\n"
                         "[Constant]\r\nReadmePath=readme.txt\r\n" },
        { "NLS/STR.DEU", "[Translation]\r\nInst=Installieren?\r\nReadme=Liesmich\r\nYes=Ja\r\nNo=Nein\r\n"
                         "Remove=Entfernt\r\n[Constant]\r\nReadmePath=readme.txt\r\n" },
        { "pkg.inf", "[Version]\r\nSignature=\"$CHICAGO$\"\r\n[DefaultInstall]\r\nAddReg=Reg\r\n[Reg]\r\n"
                     "HKLM,\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO\",\"UninstallString\",,\"x\"\r\n" },
        { "readme.txt", "Read me.\r\n" },
    };
}

std::string Repeated(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

CheckOptions Options()
{
    CheckOptions options;
    options.programFolder = "C:\\pkg";
    options.rundll32Path = "C:\\sys\\rundll32.exe";
    options.notepadPath = "C:\\sys\\notepad.exe";
    return options;
}

class CheckTest : public ::testing::Test {
protected:
    // The base package with `changes` made, checked.
    Report Check(const Files& changes, const CheckOptions& options = Options())
    {
        Files files = BasePackage();
        for (const auto& change : changes)
            files[change.first] = change.second;
        return CheckPackage(Write(files).string(), options);
    }

    // A new folder holding the files.
    fs::path Write(const Files& files)
    {
        fs::path dir = fs::path(::testing::TempDir()) / ("nlscheck_" + std::to_string(++m_count));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const auto& file : files) {
            if (file.second.empty())
                continue;
            fs::create_directories((dir / file.first).parent_path());
            std::ofstream(dir / file.first, std::ios::binary) << file.second;
        }
        return dir;
    }

    int m_count = 0;
};

std::string Findings(const Report& report)
{
    std::string out;
    for (const Finding& f : report.findings)
        out += "  " + f.file + ":" + std::to_string(f.line) + ": " + f.message + "\n";
    return out.empty() ? "  (none)\n" : out;
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

const LanguageRun* RunFor(const Report& report, uint32_t locale)
{
    for (const LanguageRun& run : report.runs)
        for (uint32_t l : run.locales)
            if (l == locale)
                return &run;
    return nullptr;
}

const TextRead* TextOf(const LanguageRun& run, const std::string& key)
{
    for (const TextRead& t : run.texts)
        if (key == t.key)
            return &t;
    return nullptr;
}

TEST_F(CheckTest, CleanPackageHasNoFindings)
{
    Report report = Check({});
    EXPECT_EQ(0, report.ExitStatus()) << Findings(report);
    EXPECT_EQ(2u, report.runs.size()) << "ENG for 0 and 0409, DEU for 0407";
}

TEST_F(CheckTest, ExamplePackageIsClean)
{
    Report report = CheckPackage(NLSCHECK_EXAMPLE, Options());
    EXPECT_EQ(0, report.ExitStatus()) << Findings(report);
    EXPECT_EQ(16u, report.runs.size()) << "one run for each language of the example";
}

TEST_F(CheckTest, NamesEachSurpriseWithItsLine)
{
    const std::string uninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO";
    struct Row {
        Files changes;
        Severity severity;
        const char* file;
        int line;
        const char* says;
    };
    const Row rows[] = {
        /* 0 */ { { { "NLS/LANGID.TXT", "ENG 0\r\n  DEU 0407\r\n" } }, kWarning, "NLS/LANGID.TXT", 2, "begins with white space" },
        /* 1 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nITA italiano\r\n" } }, kWarning, "NLS/LANGID.TXT", 3,
                  "does not begin with a hexadecimal digit" },
        /* 2 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nGER 0407\r\n" } }, kWarning, "NLS/LANGID.TXT", 2,
                  "\"GER\", replaces \"DEU\"" },
        /* 3 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEUT 0407\r\n" } }, kWarning, "NLS/LANGID.TXT", 2, "is cut to \"DEU\"" },
        /* 4 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU\r\n0407 German\r\n" } }, kWarning, "NLS/LANGID.TXT", 2,
                  "stands alone on its line: its number is read from line 3" },
        /* 5 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nITA" } }, kWarning, "NLS/LANGID.TXT", 3,
                  "has no number: it counts as a default entry" },
        /* 6 */ { { { "NLS/LANGID.TXT", "ENG 0\rDEU 0407\r" } }, kWarning, "NLS/LANGID.TXT", 1, "bare carriage return" },
        /* 7 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 04O7\r\n" } }, kWarning, "NLS/LANGID.TXT", 2,
                  "is read as 0004: it ends at \"O\"" },
        /* 8 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 100000407\r\n" } }, kWarning, "NLS/LANGID.TXT", 2,
                  "more than 8 digits: it wraps to 0407" },
        /* 9 */ { { { "NLS/LANGID.TXT", "ENG 0409\r\nDEU 0407\r\n" } }, kError, "NLS/LANGID.TXT", 0, "no entry is numbered 0" },
        /* 10 */ { { { "NLS/LANGID.TXT", "" } }, kError, "NLS/LANGID.TXT", 0, "there is no language table" },
        /* 11 */ { { { "NLS/LANGID.TXT", std::string("ENG 0\r\n\0DEU 0407\r\n", 18) } }, kWarning, "NLS/LANGID.TXT", 2,
                   "a zero byte ends the table" },
        /* 12 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nD*U 0407\r\n" } }, kWarning, "NLS/LANGID.TXT", 2, "which no file name can" },
        /* 13 */ { { { "NLS/STR.DEU", "[Translation]\r\nInst=I\r\nReadme=R\r\nNo=N\r\nRemove=E\r\n[Constant]\r\nReadmePath=readme.txt\r\n" } },
                   kWarning, "NLS/STR.DEU", 1, "DEU has no Yes in [Translation]: the launcher takes ENG's text" },
        /* 14 */ { { { "NLS/STR.ENG", "[Translation]\r\nInst=I\r\nReadme=R\r\nYes=Y\r\nNo=N\r\n[Constant]\r\nReadmePath=readme.txt\r\n" },
                     { "NLS/STR.DEU", "[Translation]\r\nInst=I\r\nReadme=R\r\nYes=Y\r\nNo=N\r\n[Constant]\r\nReadmePath=readme.txt\r\n" } },
                   kWarning, "NLS/STR.DEU", 1, "no language has it, so Message is written empty" },
        /* 15 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=\r\nINF=pkg.inf\r\n" } }, kWarning, "NLS/PROJ.DEU", 2,
                   "has an empty Name, which counts as missing" },
        /* 16 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName\r\nName=Paket\r\nINF=pkg.inf\r\n" } }, kWarning, "NLS/PROJ.DEU", 2,
                   "has Name without \"=\"" },
        /* 17 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nINF=pkg.inf\r\n[Other]\r\nName=Paket\r\n" } }, kWarning, "NLS/PROJ.DEU", 1,
                   "(it is in [Other], on line 4)" },
        /* 18 */ { { { "NLS/STR.DEU", "[Translation]\r\nInst=" + std::string(1100, 'x') + "\r\nReadme=R\r\nYes=Y\r\nNo=N\r\n"
                                      "Remove=E\r\n[Constant]\r\nReadmePath=readme.txt\r\n" } },
                   kWarning, "NLS/STR.DEU", 2, "1100 bytes long in code page 1252: the launcher reads only 1023" },
        /* 19 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\r\nINF=paket.inf\r\n" } }, kWarning, "NLS/PROJ.DEU", 3,
                   "the INF \"paket.inf\" is not in the package" },
        /* 20 */ { { { "readme.txt", "" } }, kWarning, "NLS/STR.ENG", 8, "the readme \"readme.txt\" is not in the package" },
        /* 21 */ { { { "NLS/PROJ.ITA", "[Proj]\r\nName=Pacchetto\r\n" } }, kWarning, "NLS/PROJ.ITA", 0,
                   "no table entry reaches this file" },
        /* 22 */ { { { "pkg.inf", "[DefaultInstall]\r\nAddReg=Reg\r\n[Reg]\r\nHKLM,\"" + uninstallKey + "\",\"DisplayIcon\",,\"x\"\r\n" } },
                   kWarning, "pkg.inf", 0, "adds no UninstallString" },
        /* 23 */ { { { "pkg.inf", "[Version]\r\nSignature=\"$CHICAGO$\"\r\n" } }, kWarning, "pkg.inf", 0,
                   "there is no [DefaultInstall] section" },
        /* 24 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=" + std::string(64, 'P') + "\r\nINF=pkg.inf\r\n" } }, kWarning,
                   "NLS/PROJ.DEU", 2, "the display name is 64 bytes long" },
        /* 25 */ { { { "NLS/PROJ.ENG", "[Proj]\r\nName=Package\r\n" }, { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\r\n" } },
                   kError, "NLS/PROJ.DEU", 0, "no INF name for DEU" },
        /* 26 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\r\nINF=pkg.inf\r\nname=Zweiter\r\n" } }, kWarning, "NLS/PROJ.DEU", 4,
                   "Name again: the first, on line 2" },
        /* 27 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\r\n[Proj]\r\nINF=pkg.inf\r\n" } }, kWarning, "NLS/PROJ.DEU", 4,
                   "INF is in a second [Proj] section" },
        /* 28 */ { { { "NLS/PROJ.DEU", "\xEF\xBB\xBF[Proj]\r\nName=Paket\r\nINF=pkg.inf\r\n" } }, kWarning, "NLS/PROJ.DEU", 1,
                   "UTF-8 byte-order mark" },
        /* 29 */ { { { "NLS/STR.DEU", "" } }, kWarning, "NLS/STR.DEU", 0, "the file is missing: DEU gets all its texts from ENG" },
        /* 30 */ { { { "pkg.inf", "[DefaultInstall]\r\nAddReg=Reg\r\n[Reg]\r\nHKLM,\"" + uninstallKey + "\",DisplayName,,\"x\"\r\n"
                                  "HKLM,\"" + uninstallKey + "\",UninstallString,,\"x\"\r\n" } },
                   kWarning, "pkg.inf", 4, "the INF writes DisplayName" },
        /* 31 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket f\xC3\xBCr Gr\xC3\xB6\xC3\x9F" "e\r\nINF=pkg.inf\r\n" } }, kWarning,
                   "NLS/PROJ.DEU", 2,
                   "the file is UTF-8 without a byte-order mark, but DEU's locales (0407) read it in code page 1252 "
                   "(Western European): \"Name=Paket für Größe\" comes out as \"Name=Paket fÃ¼r GrÃ¶ÃŸe\"" },
        /* 32 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nJPN 0411\r\n" },
                     { "NLS/PROJ.JPN", "[Proj]\nName=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\nINF=pkg.inf\n" } },
                   kWarning, "NLS/PROJ.JPN", 2, "the line ends in a lead byte of code page 932 (Japanese) (0x88 0x0A)" },
        /* 33 */ { { { "NLS/PROJ.DEU", "\xEF\xBB\xBF[Proj]\r\nName=Paket \xD0\x96\r\nINF=pkg.inf\r\n" } }, kWarning,
                   "NLS/PROJ.DEU", 2, "no place in code page 1252 (Western European) for \"Ж\" (U+0416), read as \"?\"" },
        /* 34 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\x81\r\nINF=pkg.inf\r\n" } }, kWarning, "NLS/PROJ.DEU", 2,
                   "byte 0x81 stands for no character in code page 1252" },
        /* 35 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nJPN 0411\r\n" },
                     { "NLS/PROJ.JPN", "[Proj]\r\nName=\x82 x\r\nINF=pkg.inf\r\n" } },
                   kWarning, "NLS/PROJ.JPN", 2, "bytes 0x82 0x20 are no character in code page 932" },
        /* 36 */ { { { "NLS/STR.DEU", "[Translation]\r\nInst=I\r\nReadme=R\r\nYes=Y\r\nNo=N\r\nRemove=E\r\n[Constant]\r\n"
                                      "ReadmePath=Gr\xC3\xB6\xC3\x9F" "e.txt\r\n" },
                     { "Gr\xC3\xB6\xC3\x9F" "e.txt", "Lies mich.\r\n" } },
                   kWarning, "NLS/STR.DEU", 8,
                   "the readme name is written in UTF-8: in code page 1252 (Western European) it reads \"GrÃ¶ÃŸe.txt\", "
                   "which is not the file \"Größe.txt\"" },
        /* 37 */ { { { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\r\nINF=pak\xC3\xA9t.inf\r\n" }, { "pak\xC3\xA9t.inf", "[DefaultInstall]\r\n" } },
                   kWarning, "NLS/PROJ.DEU", 3, "the INF name is written in UTF-8" },
        /* 38 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nDEU 0419\r\n" },
                     { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket f\xFCr alle\r\nINF=pkg.inf\r\n" } },
                   kWarning, "NLS/LANGID.TXT", 3,
                   "locale 0419 uses code page 1251 (Cyrillic), DEU's other locales (0407) 1252 (Western European)" },
        /* 39 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nJPN 0411\r\n" },
                     { "NLS/STR.JPN", "[Translation]\r\nInst=" + Repeated("\x95\x5C", 600) + "\r\n" } },
                   kWarning, "NLS/STR.JPN", 2, "1200 bytes long in code page 932: the launcher reads only 1022" },
        /* 40 */ { { { "NLS/STR.DEU", "[Translation]\r\nInst=I\r\nNo=N\r\nRemove=E\r\n[Constant]\r\nReadmePath=readme.txt\r\n" } },
                   kWarning, "NLS/STR.DEU", 1, "DEU has no Readme or Yes in [Translation]: the launcher takes ENG's texts from NLS/STR.ENG" },
        /* 41 */ { { { "NLS/STR.ENG", "[Translation]\r\nReadme=R\r\nYes=Y\r\nNo=N\r\nRemove=E\r\n[Constant]\r\nReadmePath=readme.txt\r\n" } },
                   kWarning, "NLS/STR.ENG", 1,
                   "ENG has no Inst in [Translation]: a language without one of its own gets none, and the dialog asks no question" },
        /* 42 */ { { { "NLS/PROJ.DEU", "\xEF\xBB\xBF[Proj]\r\nName=\xD0\x96 und \xD0\x96\r\nINF=pkg.inf\r\n" } }, kWarning,
                   "NLS/PROJ.DEU", 2, "for \"Ж\" (U+0416), read as \"?\": the NT family reads DEU's files in that code "
                   "page, that of DEU's locales (0407); write the text without it" },
        /* 43 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nDEU 040D\r\nDEU 0401\r\n" } }, kWarning, "NLS/STR.DEU", 7,
                   "DEU has no RightToLeft in [Constant], but locales 040D, 0401 read right to left: its dialog reads left "
                   "to right; add RightToLeft=1 to [Constant]" },
        /* 44 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0429\r\n" },
                     { "NLS/STR.DEU", "[Translation]\r\nInst=I\r\n[Constant]\r\nRightToLeft=0\r\nReadmePath=readme.txt\r\n" } },
                   kWarning, "NLS/STR.DEU", 4, "DEU says RightToLeft=0, but locale 0429 reads right to left" },
        /* 45 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0401\r\n" },
                     { "NLS/STR.ENG", "[Translation]\r\nInst=I\r\n[Constant]\r\nReadmePath=readme.txt\r\nRightToLeft=0\r\n" } },
                   kWarning, "NLS/STR.DEU", 7, "DEU has no RightToLeft in [Constant] and takes \"0\" from NLS/STR.ENG:5, but locale 0401" },
        /* 46 */ { { { "NLS/STR.ENG", "[Translation]\r\nInst=I\r\n[Constant]\r\nReadmePath=readme.txt\r\nRightToLeft=1\r\n" } },
                   kWarning, "NLS/STR.DEU", 7,
                   "DEU has no RightToLeft in [Constant]: it reads right to left only because the default language ENG does "
                   "(NLS/STR.ENG:5); write RightToLeft=1 in [Constant] if DEU reads right to left, RightToLeft=0 if it reads "
                   "left to right" },
        /* 47 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nDEU 040D\r\n" },
                     { "NLS/STR.DEU", "[Translation]\r\nInst=I\r\n[Constant]\r\nRightToLeft=yes\r\n" } },
                   kWarning, "NLS/STR.DEU", 4, "the value of RightToLeft is \"yes\", but only 1 reads right to left: DEU's "
                   "dialog reads left to right, although locale 040D reads right to left" },
        /* 48 */ { { { "NLS/STR.DEU", std::string("\xFE\xFF\0[\0C\0o\0n\0s\0t\0a\0n\0t\0]", 22) } }, kWarning, "NLS/STR.DEU", 1,
                   "UTF-16 byte-order mark: the NT family decodes it by its mark, but Windows 9x reads its bytes as they are" },
        /* 49 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nENG 0409\r\nENG 0419\r\n" }, { "NLS/PROJ.ENG", "[Proj]\r\nName=Caf\xE9\r\nINF=pkg.inf\r\n" } },
                   kWarning, "NLS/LANGID.TXT", 3,
                   "locale 0419 uses code page 1251 (Cyrillic), ENG's other locales (0409) 1252 (Western European): the "
                   "launcher reads ENG's files in the code page of the locale, so one file would have to be two" },
        /* 50 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nENG 0409\r\nFRA 040C\r\n" } }, kWarning, "NLS/LANGID.TXT", 3,
                   "locale 0C0C, French (Canada), a display language of Windows, has no entry: its users get the default "
                   "language ENG, not FRA (locale 040C); add \"FRA 0C0C\"" },
        /* 51 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nPTB 0416\r\n" } }, kWarning, "NLS/LANGID.TXT", 2,
                   "locale 0816, Portuguese (Portugal), a display language of Windows, has no entry: its users get the "
                   "default language ENG, not PTB" },
        /* 52 */ { { { "NLS/LANGID.TXT", "ENG 0\r\nCHS 0804\r\nCHT 0404\r\n" } }, kWarning, "NLS/LANGID.TXT", 3,
                   "locale 0C04, Chinese (Hong Kong), a display language of Windows, has no entry: its users get the "
                   "default language ENG, not CHT (locale 0404)" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        Report report = Check(rows[i].changes);
        bool found = false;
        for (const Finding& f : report.findings)
            found = found || (f.severity == rows[i].severity && f.file == rows[i].file && f.line == rows[i].line &&
                              f.message.find(rows[i].says) != std::string::npos);
        EXPECT_TRUE(found) << "row " << i << ": expected " << rows[i].file << ":" << rows[i].line << " \"" << rows[i].says
                           << "\", got\n" << Findings(report);
        EXPECT_LE(rows[i].severity == kError ? 2 : 1, report.ExitStatus()) << "row " << i;
    }
}

TEST_F(CheckTest, InfReadingFollowsItsSyntax)
{
    // Each INF adds UninstallString under the entry's key in its own way,
    // so none of them gets the warning.
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO";
    const std::string infs[] = {
        /* 0 */ "[defaultinstall]\r\naddreg = A, B\r\n[B]\r\nHKEY_LOCAL_MACHINE,\"" + key + "\\\",\"uninstallstring\",,\"x\"\r\n",
        /* 1 */ "[DefaultInstall]\r\nAddReg=%Sec%\r\n[Reg]\r\nHKLM,%Key%,%Value%,,\"x\" ; why\r\n"
                "[Strings]\r\nSec=Reg\r\nKey=\"" + key + "\"\r\nValue=UninstallString\r\n",
        /* 2 */ "[DefaultInstall]\r\nAddReg=Reg\r\n[Reg]\r\nHKLM,\\\r\n\"" + key + "\",\\\r\nUninstallString,,\"x\"\r\n",
    };
    for (size_t i = 0; i < sizeof infs / sizeof infs[0]; ++i) {
        Report report = Check({ { "pkg.inf", infs[i] } });
        EXPECT_EQ(0, report.ExitStatus()) << "INF " << i << ":\n" << Findings(report);
    }
    // A comment or a deletion doesn't count.
    const std::string misses[] = {
        /* 0 */ "[DefaultInstall]\r\nAddReg=Reg\r\n[Reg]\r\n; HKLM,\"" + key + "\",UninstallString,,\"x\"\r\n",
        /* 1 */ "[DefaultInstall]\r\nAddReg=Reg\r\n[Reg]\r\nHKLM,\"" + key + "\",UninstallString,4,\"x\"\r\n",
        /* 2 */ "[DefaultInstall]\r\nAddReg=Reg\r\n[Reg]\r\nHKCU,\"" + key + "\",UninstallString,,\"x\"\r\n",
    };
    for (size_t i = 0; i < sizeof misses / sizeof misses[0]; ++i) {
        Report report = Check({ { "pkg.inf", misses[i] } });
        EXPECT_NE(std::string::npos, Findings(report).find("adds no UninstallString")) << "miss " << i << ":\n"
                                                                                       << Findings(report);
    }
}

TEST_F(CheckTest, PredictionsFollowTheFallbacks)
{
    Report report = Check({
        { "NLS/STR.DEU", "[Translation]\r\nInst=Installieren?\r\nReadme=Liesmich\r\nYes=\r\nNo=Nein\r\n" },
        { "NLS/PROJ.DEU", "[Proj]\r\n  name = \"Paket mit Leerzeichen\" \r\n" },
    });
    const LanguageRun* deu = RunFor(report, 0x407);
    ASSERT_TRUE(deu) << "no run for 0407";
    EXPECT_STREQ("DEU", deu->codes.currentCode);
    EXPECT_STREQ("ENG", deu->codes.defaultCode);
    struct Expected {
        const char* key;
        TextSource source;
        const char* file;
        int line;
        const char* value;
    };
    const Expected texts[] = {
        /* 0 */ { "Name", kTextFromCurrent, "NLS/PROJ.DEU", 2, "Paket mit Leerzeichen" },
        /* 1 */ { "INF", kTextFromDefault, "NLS/PROJ.ENG", 3, "pkg.inf" },
        /* 2 */ { "Yes", kTextFromDefault, "NLS/STR.ENG", 4, "Yes" },
        /* 3 */ { "No", kTextFromCurrent, "NLS/STR.DEU", 5, "Nein" },
        /* 4 */ { "ReadmePath", kTextFromDefault, "NLS/STR.ENG", 8, "readme.txt" },
    };
    for (size_t i = 0; i < sizeof texts / sizeof texts[0]; ++i) {
        const TextRead* t = TextOf(*deu, texts[i].key);
        ASSERT_TRUE(t) << "row " << i;
        EXPECT_EQ(texts[i].source, t->source) << "row " << i;
        EXPECT_EQ(std::string(texts[i].file) + ":" + std::to_string(texts[i].line), t->file + ":" + std::to_string(t->line))
            << "row " << i;
        EXPECT_EQ(texts[i].value, t->value) << "row " << i;
    }
    EXPECT_EQ("\"C:\\sys\\rundll32.exe\" setupapi.dll,InstallHinfSection DefaultInstall 132 C:\\pkg\\pkg.inf",
              deu->installCommand);
    EXPECT_EQ("\"C:\\sys\\rundll32.exe\" setupx.dll,InstallHinfSection DefaultInstall 130 C:\\pkg\\pkg.inf",
              deu->installCommand9x);
    EXPECT_EQ("\"C:\\sys\\notepad.exe\" readme.txt", deu->readmeCommand);

    // The locales of one pair of codes are one run.
    const LanguageRun* eng = RunFor(report, 0);
    ASSERT_TRUE(eng);
    EXPECT_EQ(eng, RunFor(report, 0x409)) << "0 and 0409 both give ENG";
}

TEST_F(CheckTest, MissingTextsLeadWhereTheLauncherGoes)
{
    Report report = Check({
        { "NLS/PROJ.ENG", "[Proj]\r\nName=Package\r\n" },
        { "NLS/PROJ.DEU", "[Proj]\r\nName=Paket\r\n" },
        { "NLS/STR.ENG", "[Translation]\r\nInst=Install?\r\n" },
        { "NLS/STR.DEU", "[Translation]\r\nInst=Installieren?\r\n" },
    });
    const LanguageRun* deu = RunFor(report, 0x407);
    ASSERT_TRUE(deu);
    EXPECT_EQ(kTextMissing, TextOf(*deu, "INF")->source);
    EXPECT_EQ("\"C:\\sys\\rundll32.exe\" setupapi.dll,InstallHinfSection DefaultInstall 132 C:\\pkg\\", deu->installCommand)
        << "a missing INF name leaves the folder and a backslash";
    EXPECT_EQ("", deu->readmeCommand) << "no readme path, no Notepad";
    EXPECT_EQ(2, report.ExitStatus());

    CheckOptions none = Options();
    none.rundll32Path.clear();
    Report without = Check({}, none);
    ASSERT_FALSE(without.runs.empty());
    EXPECT_FALSE(without.runs[0].installStarted) << "no rundll32.exe, no installer";
}

// Each text of the launcher's list is read for every run and missed by
// name when a language lacks it.
TEST_F(CheckTest, EveryLauncherTextIsChecked)
{
    for (const LauncherText& missing : kLauncherTexts) {
        Files files = BasePackage();
        for (const char* code : { "ENG", "DEU" }) {
            for (const char* base : { kProjectFileBase, kStringFileBase }) {
                std::vector<std::pair<std::string, std::string>> sections;  // name, lines
                for (const LauncherText& t : kLauncherTexts) {
                    if (std::strcmp(t.base, base) != 0 || &t == &missing)
                        continue;
                    auto s = std::find_if(sections.begin(), sections.end(), [&t](const auto& s) { return s.first == t.section; });
                    if (s == sections.end())
                        s = sections.insert(s, { t.section, "" });
                    s->second += std::string(t.key) + "=" +
                                 (t.role == kInfName       ? "pkg.inf"
                                  : t.role == kReadmePath  ? "readme.txt"
                                  : t.role == kReadingOrder ? "0"
                                                            : code) +
                                 "\r\n";
                }
                std::string text;
                for (const auto& s : sections)
                    text += "[" + s.first + "]\r\n" + s.second;
                std::string name = base;  // NLS\PROJ as NLS/PROJ
                files[name.replace(3, 1, "/") + "." + code] = text;
            }
        }
        Report report = CheckPackage(Write(files).string(), Options());
        const LanguageRun* deu = RunFor(report, 0x407);
        ASSERT_TRUE(deu) << missing.key;
        ASSERT_EQ(static_cast<size_t>(kTextRoleCount), deu->texts.size()) << missing.key;
        for (const TextRead& t : deu->texts)
            EXPECT_EQ(t.role == missing.role ? kTextMissing : kTextFromCurrent, t.source) << missing.key << ": " << t.key;
        // Without a reading order of their own, languages read left to
        // right, as these do: nothing to say.
        std::string says = missing.role == kInfName ? "no INF name for DEU" : std::string("no ") + missing.key;
        if (missing.role == kReadingOrder)
            EXPECT_EQ(0, report.ExitStatus()) << Findings(report);
        else
            EXPECT_NE(std::string::npos, Findings(report).find(says)) << missing.key << ":\n" << Findings(report);
    }
}

TEST_F(CheckTest, LocalesAskedForAreTheOnesRun)
{
    CheckOptions options = Options();
    options.locales = { 0x807, 0x407 };
    Report report = Check({}, options);
    ASSERT_EQ(2u, report.runs.size()) << "0807 has no entry: it gets the default";
    EXPECT_STREQ("ENG", report.runs[0].codes.currentCode);
    EXPECT_STREQ("DEU", report.runs[1].codes.currentCode);
}

TEST_F(CheckTest, InstallPathTooLongForTheInstaller)
{
    CheckOptions options = Options();
    options.programFolder = "C:\\" + std::string(252, 'd');  // with "\pkg.inf", 263
    Report report = Check({}, options);
    EXPECT_NE(std::string::npos, Findings(report).find("is 263 characters long: the platform's INF installer cuts it at 259"))
        << Findings(report);
    options.programFolder = "C:\\" + std::string(248, 'd');  // 259: just fits
    EXPECT_EQ(0, Check({}, options).ExitStatus());
}

TEST_F(CheckTest, TextsInTheirCodePagesAreShownReadable)
{
    Report report = CheckPackage(NLSCHECK_WORLD, Options());
    EXPECT_EQ(0, report.ExitStatus()) << Findings(report);
    struct Row {
        uint32_t locale;
        unsigned codePage;
        const char* name;  // UTF-8
    };
    const Row rows[] = {
        /* 0 */ { 0x419, 1251, "Тестовый пакет KAVRO" },
        /* 1 */ { 0x411, 932, "KAVRO テスト パッケージ" },
        /* 2 */ { 0x408, 1253, "Δοκιμαστικό πακέτο KAVRO" },
        /* 3 */ { 0, 1252, "KAVRO World Package" },
    };
    std::string shown = FormatReport(report, PrintStyle{ false, false }), machine = FormatMachine(report);
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const LanguageRun* run = RunFor(report, rows[i].locale);
        ASSERT_TRUE(run) << "row " << i;
        EXPECT_EQ(rows[i].codePage, run->codePage) << "row " << i;
        EXPECT_NE(std::string::npos, shown.find(rows[i].name)) << "row " << i << ":\n" << shown;
        EXPECT_NE(std::string::npos, machine.find("\tName\tcurrent\tNLS/PROJ." + std::string(run->codes.currentCode) +
                                                  "\t2\t" + rows[i].name + "\n"))
            << "row " << i << ":\n" << machine;
    }
    EXPECT_NE(std::string::npos, machine.find("locale\t0419\tENG\tRUS\t1251\n")) << machine;
    EXPECT_NE(std::string::npos, machine.find("wine\t0419\tru_RU\tLiberation Sans\n")) << machine;
    EXPECT_NE(std::string::npos, machine.find("wine\t0411\tja_JP\tWenQuanYi Micro Hei\n")) << machine;
}

// Each language's reading order, where it comes from, and what a program
// reading the report is told.
TEST_F(CheckTest, ReadingOrderIsShownWithItsSource)
{
    Report report = Check({
        { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nHEB 040D\r\nYID 043D\r\n" },
        { "NLS/PROJ.HEB", "[Proj]\r\nName=Package\r\nINF=pkg.inf\r\n" },
        { "NLS/STR.HEB", "[Constant]\r\nRightToLeft=1\r\n" },
        { "NLS/PROJ.YID", "[Proj]\r\nName=Package\r\nINF=pkg.inf\r\n" },
        { "NLS/STR.YID", "[Constant]\r\nRightToLeft=yes\r\n" },
    });
    struct Row {
        uint32_t locale;
        bool rightToLeft;
        const char* shown;  // its columns one blank apart
        const char* machine;
    };
    const Row rows[] = {
        /* 0 */ { 0x40D, true, "reading order NLS/STR.HEB:2 right to left\n", "reading\t040D\trtl\n" },
        /* 1 */ { 0x407, false, "reading order not set left to right\n", "reading\t0407\tltr\n" },
        /* 2 */ { 0x43D, false, "reading order NLS/STR.YID:2 left to right (\"yes\" is not 1)\n", "reading\t043D\tltr\n" },
    };
    std::string shown = FormatReport(report, PrintStyle{ false, false }), machine = FormatMachine(report);
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const LanguageRun* run = RunFor(report, rows[i].locale);
        ASSERT_TRUE(run) << "row " << i;
        EXPECT_EQ(rows[i].rightToLeft, run->rightToLeft) << "row " << i;
        std::string heading = std::string(run->codes.currentCode) + ", falling back to ENG, for locale " + Hex(rows[i].locale);
        size_t at = shown.find(heading);
        ASSERT_NE(std::string::npos, at) << "row " << i << ":\n" << shown;
        std::string block;
        for (size_t k = at; k < shown.size() && shown.compare(k, 2, "\n\n") != 0; ++k)
            if (shown[k] != ' ' || block.empty() || block.back() != ' ')
                block += shown[k];
        EXPECT_NE(std::string::npos, block.find(rows[i].shown)) << "row " << i << ":\n" << block;
        EXPECT_NE(std::string::npos, machine.find(rows[i].machine)) << "row " << i << ":\n" << machine;
    }
}

TEST_F(CheckTest, FilesWithAMarkAreShownConverted)
{
    Report report = Check({
        { "NLS/LANGID.TXT", "ENG 0\r\nDEU 0407\r\nJPN 0411\r\n" },
        { "NLS/PROJ.DEU", "\xEF\xBB\xBF[Proj]\r\nName=Paket f\xC3\xBCr Gr\xC3\xB6\xC3\x9F" "e\r\nINF=pkg.inf\r\n" },
        { "NLS/PROJ.JPN", std::string("\xFF\xFE[\0P\0r\0o\0j\0]\0\r\0\n\0N\0a\0m\0e\0=\0\xC6\x30\xB9\x30\r\0\n\0", 34) },
    });
    const LanguageRun* deu = RunFor(report, 0x407);
    const LanguageRun* jpn = RunFor(report, 0x411);
    ASSERT_TRUE(deu && jpn);
    EXPECT_EQ("Paket f\xFCr Gr\xF6\xDF" "e", TextOf(*deu, "Name")->value) << "the bytes the launcher gets, in 1252";
    EXPECT_EQ("\x83\x65\x83\x58", TextOf(*jpn, "Name")->value) << "in 932";
    std::string shown = FormatReport(report, PrintStyle{ false, false });
    EXPECT_NE(std::string::npos, shown.find("Paket für Größe")) << shown;
    EXPECT_NE(std::string::npos, shown.find("テス")) << shown;
    EXPECT_NE(std::string::npos, Findings(report).find("NLS/PROJ.JPN:1: the file begins with a UTF-16 byte-order mark"))
        << Findings(report);
}

TEST_F(CheckTest, NamesMatchOnceConverted)
{
    // The readme's name in the code page finds the file whose name is
    // the same text, as the platform converts it.
    Report report = Check({
        { "NLS/STR.DEU", "[Translation]\r\nInst=I\r\nReadme=R\r\nYes=Y\r\nNo=N\r\nRemove=E\r\n[Constant]\r\n"
                         "ReadmePath=Gr\xF6\xDF" "e.txt\r\n" },
        { "Gr\xC3\xB6\xC3\x9F" "e.txt", "Lies mich.\r\n" },
    });
    EXPECT_EQ(0, report.ExitStatus()) << Findings(report);
    const LanguageRun* deu = RunFor(report, 0x407);
    ASSERT_TRUE(deu);
    EXPECT_EQ("\"C:\\sys\\notepad.exe\" Gr\xC3\xB6\xC3\x9F" "e.txt", deu->readmeCommand) << "in UTF-8, as the NT family starts it";
}

// The code page the NT family reads each language's files in, and whose it
// is: the locale that chose the language, else the table's first entry of
// its code with a code page, else the machine's.
TEST_F(CheckTest, EachLanguageHasItsCodePageAndItsOrigin)
{
    struct Row {
        const char* table;
        uint32_t locale;
        const char* current;  // the codepage lines of --machine, without "codepage\t<locale>\t"
        const char* fallback;  // "" when the codes are the same
    };
    const Row rows[] = {
        /* 0 */ { "ENG 0\r\nENG 0409\r\nDEU 0407\r\n", 0x407, "DEU\tnt\t1252\tlocale\t0407\t", "ENG\tnt\t1252\ttable\t0409\t2" },
        /* 1 */ { "ENG 0\r\nENG 0409\r\nDEU 0407\r\n", 0, "ENG\tnt\t1252\ttable\t0409\t2", "" },
        /* 2 */ { "ENG 0\r\nDEU 0407\r\nDEU 0419\r\n", 0x419, "DEU\tnt\t1251\tlocale\t0419\t", "ENG\tnt\t1251\tmachine\t\t" },
        /* 3 */ { "ENG 0\r\nENG 0409\r\nHIN 0439\r\n", 0x439, "HIN\tnt\t1252\tmachine\t\t", "ENG\tnt\t1252\ttable\t0409\t2" },
        /* 4 */ { "RUS 0\r\nRUS 0419\r\nENG 0409\r\n", 0xC0C, "RUS\tnt\t1251\ttable\t0419\t2", "" },
        /* 5 */ { "RUS 0\r\nRUS 0419\r\nUKR 0419\r\nENG 0409\r\n", 0x409, "ENG\tnt\t1252\tlocale\t0409\t",
                  "RUS\tnt\t1251\ttable\t0419\t2" },
        /* 6 */ { "ELL 0\r\n  ELL 0419\r\nELL 0408\r\nENG 0409\r\n", 0x409, "ENG\tnt\t1252\tlocale\t0409\t",
                  "ELL\tnt\t1253\ttable\t0408\t3" },
        /* 7 */ { "JPN 0\r\nJPN 0439\r\nJPNX 0411\r\nENG 0409\r\n", 0x409, "ENG\tnt\t1252\tlocale\t0409\t",
                  "JPN\tnt\t932\ttable\t0411\t3" },
        /* 8 */ { "ENG 0\r\nENG 0409\r\nHIN 0439\r\n", 0x411, "ENG\tnt\t1252\ttable\t0409\t2", "" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        CheckOptions options = Options();
        options.locales = { rows[i].locale };
        std::string machine = FormatMachine(Check({ { "NLS/LANGID.TXT", rows[i].table } }, options));
        std::string prefix = "codepage\t" + Hex(rows[i].locale) + "\t";
        EXPECT_NE(std::string::npos, machine.find(prefix + rows[i].current + "\n")) << "row " << i << ":\n" << machine;
        if (*rows[i].fallback)
            EXPECT_NE(std::string::npos, machine.find(prefix + rows[i].fallback + "\n")) << "row " << i << ":\n" << machine;
        std::vector<std::string> lines = Split(machine);
        if (!*rows[i].fallback)
            EXPECT_EQ(2, std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
                          return l.compare(0, prefix.size(), prefix) == 0;
                      })) << "row " << i << ": one code, its nt and 9x lines:\n" << machine;
    }
}

// A text that a language takes from the default language's file is read in
// the default's code page on the NT family, and in the machine's on
// Windows 9x, where the two may differ.
TEST_F(CheckTest, FallbackTextsAreReadInTheirOwnCodePage)
{
    Report report = Check({
        { "NLS/LANGID.TXT", "ENG 0\r\nENG 0409\r\nRUS 0419\r\n" },
        { "NLS/STR.ENG", "[Translation]\r\nInst=Install?\r\nReadme=Readme\r\nYes=Oui \xE9t\xE9\r\nNo=No\r\nRemove=Removed\r\n"
                         "[Constant]\r\nReadmePath=readme.txt\r\n" },
        { "NLS/PROJ.RUS", "[Proj]\r\nName=\xCF\xE0\xEA\xE5\xF2\r\nINF=pkg.inf\r\n" },
        { "NLS/STR.RUS", "[Translation]\r\nInst=?\r\n" },
    });
    const LanguageRun* rus = RunFor(report, 0x419);
    ASSERT_TRUE(rus);
    const TextRead* name = TextOf(*rus, "Name");
    const TextRead* yes = TextOf(*rus, "Yes");
    EXPECT_EQ(1251u, name->codePage);
    EXPECT_EQ(1252u, yes->codePage) << "ENG's file, in ENG's code page";
    EXPECT_EQ("Oui \xE9t\xE9", yes->value9x) << "the same bytes, which 9x shows in 1251";
    std::string machine = FormatMachine(report), shown = FormatReport(report, PrintStyle{ false, false });
    EXPECT_NE(std::string::npos, machine.find("\tName\tcurrent\tNLS/PROJ.RUS\t2\tПакет\n")) << machine;
    EXPECT_NE(std::string::npos, machine.find("\tYes\tdefault\tNLS/STR.ENG\t4\tOui été\n")) << machine;
    EXPECT_NE(std::string::npos, machine.find("text9x\t0419\tTranslation\tYes\tOui йtй\n")) << machine;
    EXPECT_EQ(std::string::npos, machine.find("text9x\t0419\tProj")) << "the same on both families: no text9x line\n" << machine;
    EXPECT_NE(std::string::npos, shown.find("on Windows 9x")) << shown;
}

// The converter: UTF-8 sources in, each language's files in the code page
// of its locales out, read back as the sources say.
TEST_F(CheckTest, ConverterWritesEachCodePage)
{
    Files package = BasePackage();
    package["NLS/LANGID.TXT"] = "ENG 0\r\nENG 0409\r\nDEU 0407\r\nRUS 0419\r\nJPN 0411\r\n";
    fs::path dir = Write(package);
    struct Row {
        const char* name;
        std::string source;  // UTF-8
        unsigned codePage;
    };
    const Row rows[] = {
        /* 0 */ { "PROJ.DEU", "[Proj]\r\nName=Paket f\xC3\xBCr Gr\xC3\xB6\xC3\x9F" "e\r\nINF=pkg.inf\r\n", 1252 },
        /* 1 */ { "PROJ.RUS", "\xEF\xBB\xBF[Proj]\nName=\xD0\x9F\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82\nINF=pkg.inf\n", 1251 },
        /* 2 */ { "STR.JPN", "[Translation]\r\nInst=\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x82\xBD\r\n", 932 },
        /* 3 */ { "proj.jpn", "[Proj]\r\nName=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\r\nINF=pkg.inf\r\n", 932 },
    };
    Files sources = { { "STR.XYZ", "[Translation]\r\nInst=unreached\r\n" } };
    for (const Row& row : rows)
        sources[row.name] = row.source;
    fs::path from = Write(sources);

    Conversion conversion = ConvertSources(from.string(), dir.string());
    ASSERT_FALSE(conversion.Refused()) << conversion.findings[0].message;
    EXPECT_EQ(4u, conversion.written.size());
    ASSERT_EQ(1u, conversion.skipped.size()) << "no entry reaches XYZ";
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        std::string written;
        ASSERT_TRUE(ReadFileBytes(JoinPath(dir.string(), ResolveName(dir.string(), std::string("NLS\\") + rows[i].name)), written))
            << "row " << i;
        std::string text = rows[i].source.compare(0, 3, "\xEF\xBB\xBF") == 0 ? rows[i].source.substr(3) : rows[i].source;
        EXPECT_EQ(text, Utf8FromCodePage(written, rows[i].codePage)) << "row " << i << ": the round trip";
        EXPECT_FALSE(IsValidUtf8(written)) << "row " << i << ": no longer UTF-8";
    }
    EXPECT_TRUE(fs::exists(dir / "NLS/PROJ.DEU")) << "an existing file keeps its name";
    EXPECT_FALSE(fs::exists(dir / "NLS/PROJ.JPN")) << "a new one takes the source's";

    Report report = CheckPackage(dir.string(), Options());
    EXPECT_EQ(std::string::npos, Findings(report).find("code page")) << Findings(report);
    EXPECT_EQ(0u, ConvertSources(from.string(), dir.string()).written.size()) << "a second run changes nothing";
}

TEST_F(CheckTest, ConverterRefusesWritingNothing)
{
    fs::path dir = Write(BasePackage());
    std::string before;
    ReadFileBytes((dir / "NLS/PROJ.ENG").string(), before);
    struct Row {
        const char* source;  // STR.DEU's, UTF-8
        int line;
        const char* says;
    };
    const Row rows[] = {
        /* 0 */ { "[Translation]\r\nInst=ok\r\nYes=\xD0\x96\r\n", 3, "\"Ж\" (U+0416) has no place in code page 1252" },
        /* 1 */ { "[Translation]\nNo=\xF0\x9F\x98\x80\n", 2, "(U+1F600) has no place in code page 1252" },
        /* 2 */ { "[Translation]\r\nNo=Gr\xF6\xDF" "e\r\n", 2, "is not UTF-8" },
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        fs::path from = Write({ { "PROJ.ENG", "[Proj]\r\nName=Changed\r\n" }, { "STR.DEU", rows[i].source } });
        Conversion conversion = ConvertSources(from.string(), dir.string());
        ASSERT_TRUE(conversion.Refused()) << "row " << i;
        const Finding& f = conversion.findings[0];
        EXPECT_EQ(JoinPath(from.string(), "STR.DEU") + ":" + std::to_string(rows[i].line),
                  f.file + ":" + std::to_string(f.line)) << "row " << i;
        EXPECT_NE(std::string::npos, f.message.find(rows[i].says)) << "row " << i << ": " << f.message;
        EXPECT_TRUE(conversion.written.empty()) << "row " << i;
        std::string after;
        ReadFileBytes((dir / "NLS/PROJ.ENG").string(), after);
        EXPECT_EQ(before, after) << "row " << i << ": the good file is not written either";
        EXPECT_EQ(std::vector<std::string>({ "LANGID.TXT", "PROJ.DEU", "PROJ.ENG", "STR.DEU", "STR.ENG" }),
                  FilesIn((dir / "NLS").string()))
            << "row " << i << ": no file added, no temporary file left";
    }
}

}
