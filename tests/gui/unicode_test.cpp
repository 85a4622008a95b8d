// setup.exe on the NT family on a machine whose code page is not its
// languages' (the run's LC_CTYPE: 1252, 932, or 65001 for Windows' UTF-8
// setting). Every language of the example, chosen by its resource locale,
// shows its texts in the dialog, records its name and starts the installer
// and Notepad with the texts its files hold, decoded in the language's code
// page: all read back as Unicode. A package in a folder whose name the
// machine's code page can't write is found and installed from its folder.
#include "launcherrun.h"

#include <gtest/gtest.h>

namespace {

struct Language {
    const char* code;
    const char* locale;  // a resource locale of the example's table that leads to it
    UINT codePage;       // its files' code page
};

const Language kLanguages[] = {
    /* 0 */ { "ENG", "0409", 1252 },
    /* 1 */ { "DEU", "0407", 1252 },
    /* 2 */ { "FRA", "040C", 1252 },
    /* 3 */ { "POL", "0415", 1250 },
    /* 4 */ { "RUS", "0419", 1251 },
    /* 5 */ { "ELL", "0408", 1253 },
    /* 6 */ { "TUR", "041F", 1254 },
    /* 7 */ { "HEB", "040D", 1255 },
    /* 8 */ { "ARA", "0401", 1256 },
    /* 9 */ { "LIT", "0427", 1257 },
    /* 10 */ { "VIE", "042A", 1258 },
    /* 11 */ { "THA", "041E", 874 },
    /* 12 */ { "JPN", "0411", 932 },
    /* 13 */ { "CHS", "0804", 936 },
    /* 14 */ { "KOR", "0412", 949 },
    /* 15 */ { "CHT", "0404", 950 },
};

std::wstring Decoded(const std::string& bytes, UINT codePage)
{
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), n > 0 ? static_cast<int>(bytes.size()) : 0, &text[0], n);
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Runs setup.exe in the package, answers Yes with the readme box ticked, and
// expects every text of the language as its files hold it in codePage.
void ExpectLanguage(LauncherRun& run, const std::wstring& package, const std::string& nls, const char* code,
                    UINT codePage)
{
    const std::string proj = nls + "\\PROJ." + code, str = nls + "\\STR." + code;
    auto text = [&](const std::string& file, const char* key) { return Utf8FromWide(Decoded(FileValue(file, key), codePage)); };
    ASSERT_TRUE(run.WaitForDialog()) << "no dialog";
    EXPECT_EQ(text(proj, "Name"), Utf8FromWide(run.TitleText()));
    EXPECT_EQ(text(str, "Inst"), Utf8FromWide(run.ItemText(1000)));
    EXPECT_EQ(text(str, "Readme"), Utf8FromWide(run.ItemText(1001)));
    EXPECT_EQ(text(str, "Yes"), Utf8FromWide(run.ItemText(IDOK)));
    EXPECT_EQ(text(str, "No"), Utf8FromWide(run.ItemText(IDCANCEL)));
    ASSERT_EQ(BST_CHECKED, run.CheckState(1001));
    run.Click(IDOK);

    Outcome outcome = run.WaitForEnd();
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), outcome.nameType);
    EXPECT_EQ(text(proj, "Name"), Utf8FromWide(outcome.displayNameText));
    EXPECT_EQ(FileValue(str, "Remove") + std::string(1, '\0'), outcome.message) << "the Message is the file's bytes";
    ASSERT_EQ(2u, outcome.started.size()) << "the installer and Notepad";
    const std::string install = " 132 " + Utf8FromWide(package) + "\\" + text(proj, "INF");
    EXPECT_TRUE(EndsWith(outcome.started[0].commandLineUtf8, install))
        << "expected the install command to end in \"" << install << "\", got \"" << outcome.started[0].commandLineUtf8
        << "\"";
    const std::string readme = "\" " + text(str, "ReadmePath");
    EXPECT_TRUE(EndsWith(outcome.started[1].commandLineUtf8, readme))
        << "expected the Notepad command to end in \"" << readme << "\", got \"" << outcome.started[1].commandLineUtf8
        << "\"";
}

TEST(Unicode, EveryLanguageOfTheExample)
{
    std::string package = MakePackage("example", {});
    CopyTree(WinPath(EXAMPLE_DIR), package);
    for (size_t i = 0; i < sizeof kLanguages / sizeof kLanguages[0]; ++i) {
        const Language& language = kLanguages[i];
        SCOPED_TRACE(testing::Message() << "row " << i << ", " << language.code << " on code page " << GetACP());
        DeleteUninstallKey();
        SetResourceLocale(language.locale);
        LauncherRun run(package);
        ExpectLanguage(run, WideFromUtf8(package), package + "\\NLS", language.code, language.codePage);
    }
    DeleteUninstallKey();
}

// Without the resource locale, the NT family takes the user's UI language
// (LC_MESSAGES), whatever the machine's code page.
TEST(Unicode, TheUsersLanguage)
{
    std::string package = MakePackage("example", {});
    CopyTree(WinPath(EXAMPLE_DIR), package);
    RegDeleteKeyA(HKEY_USERS, LOCALE_KEY);
    LANGID ui = GetUserDefaultUILanguage();
    char locale[8];
    wsprintfA(locale, "%04X", ui);
    const Language* language = nullptr;
    for (const Language& row : kLanguages)
        if (lstrcmpA(row.locale, locale) == 0)
            language = &row;
    if (!language)
        GTEST_SKIP() << "the example has no language for the UI language " << locale;
    SCOPED_TRACE(testing::Message() << language->code << " on code page " << GetACP());
    DeleteUninstallKey();
    LauncherRun run(package);
    ExpectLanguage(run, WideFromUtf8(package), package + "\\NLS", language->code, language->codePage);
    DeleteUninstallKey();
}

// A folder named in other scripts, started from another folder: its
// language files are found, and its INF and readme are named in the
// command lines as they are.
TEST(Unicode, FolderNamedInOtherScripts)
{
    // "Łódź-пакет-日本", "Прочти меня.txt" and "установка.inf" (in code page 1251).
    const std::string name = "\xC5\x81\xC3\xB3\x64\xC5\xBA-\xD0\xBF\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82-\xE6\x97\xA5\xE6\x9C\xAC";
    const std::initializer_list<PackageFile> files = {
        { "NLS\\LANGID.TXT", "ENG 0\r\nRUS 0419\r\n" },
        { "NLS\\PROJ.RUS", "[Proj]\r\nName=\xCF\xE0\xEA\xE5\xF2\r\nINF=\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0.inf\r\n" },
        { "NLS\\STR.RUS", "[Translation]\r\nInst=\xC4\xE0?\r\nReadme=\xD7\xE8\xF2\xE0\xF2\xFC\r\nYes=\xC4\xE0\r\n"
                          "No=\xCD\xE5\xF2\r\nRemove=\xD3\xE4\xE0\xEB\xE8\xF2\xFC\r\n"
                          "[Constant]\r\nReadmePath=\xCF\xF0\xEE\xF7\xF2\xE8 \xEC\xE5\xED\xFF.txt\r\n" },
    };
    // The files as they were written, read back by a name of the test's own.
    std::string written = MakePackage("scripts-written", files);
    std::string made = MakePackage("scripts", files);
    std::wstring package = WideFromUtf8(made.substr(0, made.rfind('\\') + 1) + name);
    ASSERT_TRUE(MoveFileW(WideFromUtf8(made).c_str(), package.c_str())) << "error " << GetLastError();
    DeleteUninstallKey();
    SetResourceLocale("0419");
    LauncherRun run(package);
    ExpectLanguage(run, package, written + "\\NLS", "RUS", 1251);
    DeleteUninstallKey();
}


// A language file that begins with a byte-order mark is read by its mark,
// whatever the language's code page: here texts beyond code page 1251.
TEST(Unicode, FilesWithAByteOrderMark)
{
    const std::initializer_list<PackageFile> files = {
        { "NLS\\LANGID.TXT", "ENG 0\r\nRUS 0419\r\n" },
        { "NLS\\PROJ.RUS", "[Proj]\r\nName=Пакет 日本 Ünï\r\nINF=установка.inf\r\n" },
        { "NLS\\STR.RUS", "[Translation]\r\nInst=Установить «日本»?\r\nReadme=Читать\r\nYes=Да ✓\r\nNo=Нет\r\n"
                          "Remove=Удалить\r\n[Constant]\r\nReadmePath=Прочти €.txt\r\n" },
    };
    // The texts, in UTF-8 without a mark.
    std::string written = MakePackage("marks-written", files);
    const char* marks[] = { "UTF-8", "UTF-16LE", "UTF-16BE" };
    for (const char* mark : marks) {
        SCOPED_TRACE(testing::Message() << mark << " on code page " << GetACP());
        std::string package = MakePackage(mark, files);
        for (const char* name : { "\\NLS\\PROJ.RUS", "\\NLS\\STR.RUS" }) {
            std::string text = ReadBytes(written + name), bytes;
            if (mark == marks[0]) {
                bytes = "\xEF\xBB\xBF" + text;
            } else {
                std::wstring units = WideFromUtf8(text);
                bytes = mark == marks[1] ? "\xFF\xFE" : "\xFE\xFF";
                for (wchar_t unit : units) {
                    char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
                    bytes += mark == marks[1] ? std::string{ low, high } : std::string{ high, low };
                }
            }
            WriteBytes(package + name, bytes);
        }
        DeleteUninstallKey();
        SetResourceLocale("0419");
        LauncherRun run(package);
        ExpectLanguage(run, WideFromUtf8(package), written + "\\NLS", "RUS", CP_UTF8);
    }
    DeleteUninstallKey();
}
}
