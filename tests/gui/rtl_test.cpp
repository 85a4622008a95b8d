// setup.exe in a language that reads right to left, as the example package
// has two: Wine in the he_IL or ar_SA locale (code page 1255 or 1256). The
// dialog shows the language file's texts mirrored, reading right to left,
// with the icon as it is; Tab and Enter work as in any other language.
#include "launcherrun.h"

#include <gtest/gtest.h>

namespace {

// The example's language in each of the two code pages, by a locale of it.
struct Language {
    UINT codePage;
    const char* code;
    const char* locale;
};
const Language kLanguages[] = { { 1255, "HEB", "040D" }, { 1256, "ARA", "0C01" } };

std::string FileText(const std::string& package, const char* base, const char* code, const char* section,
                     const char* key)
{
    char text[1024] = "junk";
    std::string file = package + "\\NLS\\" + base + "." + code;
    GetPrivateProfileStringA(section, key, "", text, sizeof text, file.c_str());
    return text;
}

TEST(RightToLeft, TheExampleIsMirrored)
{
    const Language* language = nullptr;
    for (const Language& l : kLanguages)
        if (l.codePage == GetACP())
            language = &l;
    if (!language)
        SKIP_FOR_WANT_OF("the he_IL.UTF-8 or ar_SA.UTF-8 locale: Wine runs in code page " + std::to_string(GetACP()));

    std::string package = MakePackage("example", {});
    CopyTree(WinPath(EXAMPLE_DIR), package);
    ASSERT_EQ("1", FileText(package, "STR", language->code, "Constant", "RightToLeft")) << "no example to test";
    DeleteUninstallKey();
    SetResourceLocale(language->locale);
    LauncherRun run(package);
    ASSERT_TRUE(run.WaitForDialog()) << "no dialog";

    EXPECT_EQ(FileText(package, "PROJ", language->code, "Proj", "Name"), run.Title());
    EXPECT_EQ(FileText(package, "STR", language->code, "Translation", "Inst"), run.Text(1000));
    EXPECT_EQ(FileText(package, "STR", language->code, "Translation", "Readme"), run.Text(1001));
    EXPECT_EQ(FileText(package, "STR", language->code, "Translation", "Yes"), run.Text(IDOK));
    EXPECT_EQ(FileText(package, "STR", language->code, "Translation", "No"), run.Text(IDCANCEL));
    run.ExpectLayout(true);

    run.ExpectTabOrder();
    // Enter on Yes: the package is installed and the readme shown.
    run.PressKey(VK_RETURN);
    Outcome outcome = run.WaitForEnd();
    EXPECT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.keyWritten);
    EXPECT_EQ(2u, outcome.started.size()) << "the installer and Notepad";
    DeleteUninstallKey();
}

}
