// The example package in each of its languages, run under the language's
// Unix locale, whose code page Wine takes as the system's: setup.exe /s
// writes the language file's own bytes into the uninstall entry, and the
// platform reads the display name back as the language's text, so the file
// is in the code page of the locale.
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

const char kPackage[] = "C:\\tests\\languages";
const char kUninstallKey[] = UNINSTALL_KEY;

struct Language {
    const char* code;
    const char* locale;      // a resource locale that leads to the language
    const char* unixLocale;  // the run's; Wine takes the code page from it
    UINT codePage;
    const char* name;        // the package's name, in UTF-8
};

const Language kLanguages[] = {
    /* 0 */ { "ENG", "0409", "en_US.UTF-8", 1252, "KAVRO Example Package" },
    /* 1 */ { "DEU", "0C07", "de_DE.UTF-8", 1252, "KAVRO Beispielpaket" },
    /* 2 */ { "FRA", "080C", "fr_FR.UTF-8", 1252, "Paquet d'exemple KAVRO" },
    /* 3 */ { "POL", "0415", "pl_PL.UTF-8", 1250, "Pakiet przykładowy KAVRO" },
    /* 4 */ { "RUS", "0419", "ru_RU.UTF-8", 1251, "Пример пакета KAVRO" },
    /* 5 */ { "ELL", "0408", "el_GR.UTF-8", 1253, "Παράδειγμα πακέτου KAVRO" },
    /* 6 */ { "TUR", "041F", "tr_TR.UTF-8", 1254, "KAVRO Örnek Paketi" },
    /* 7 */ { "HEB", "040D", "he_IL.UTF-8", 1255, "חבילת הדוגמה KAVRO" },
    /* 8 */ { "ARA", "3801", "ar_SA.UTF-8", 1256, "حزمة KAVRO التجريبية" },
    /* 9 */ { "LIT", "0427", "lt_LT.UTF-8", 1257, "KAVRO pavyzdinis paketas" },
    /* 10 */ { "VIE", "042A", "vi_VN.UTF-8", 1258, "Gói ví dụ KAVRO" },
    /* 11 */ { "THA", "041E", "th_TH.UTF-8", 874, "แพ็กเกจตัวอย่าง KAVRO" },
    /* 12 */ { "JPN", "0411", "ja_JP.UTF-8", 932, "KAVRO サンプル パッケージ" },
    /* 13 */ { "CHS", "1004", "zh_CN.UTF-8", 936, "KAVRO 示例软件包" },
    /* 14 */ { "KOR", "0412", "ko_KR.UTF-8", 949, "KAVRO 예제 패키지" },
    /* 15 */ { "CHT", "0C04", "zh_TW.UTF-8", 950, "KAVRO 範例套件" },
};

// UTF-16 text in UTF-8, composed: Vietnamese files hold tone marks as
// combining characters, as code page 1258 has them.
std::string Utf8(const std::wstring& text)
{
    std::wstring composed(text.size() + 16, L'\0');
    int n = NormalizeString(NormalizationC, text.c_str(), static_cast<int>(text.size()), &composed[0],
                            static_cast<int>(composed.size()));
    composed.resize(n > 0 ? n : 0);
    std::string utf8(composed.size() * 3, '\0');
    n = WideCharToMultiByte(CP_UTF8, 0, composed.c_str(), static_cast<int>(composed.size()), &utf8[0],
                            static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(n > 0 ? n : 0);
    return utf8;
}

// The display name as the platform gives it to a Unicode program.
std::string DisplayNameText()
{
    HKEY hKey;
    wchar_t text[256] = L"";
    DWORD size = sizeof text - sizeof text[0];
    std::wstring key(kUninstallKey, kUninstallKey + sizeof kUninstallKey - 1);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "(no key)";
    LONG result = RegQueryValueExW(hKey, L"DisplayName", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS ? Utf8(std::wstring(text, size / sizeof text[0] - 1)) : "(no value)";
}

TEST(Languages, SilentRunWritesTheFilesOwnBytes)
{
    const std::string unixLocale = Env("LANG");
    MakeEmptyDir(kPackage);
    CopyTree(WinPath(Env("EXAMPLE_DIR")), kPackage);
    const std::string setup = std::string(kPackage) + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(WinPath(Env("SETUP_EXE")).c_str(), setup.c_str(), FALSE));
    SetEnvironmentVariableA("RECORDER_LOG", (std::string(kPackage) + "\\started.log").c_str());

    int rows = 0;
    for (size_t i = 0; i < sizeof kLanguages / sizeof kLanguages[0]; ++i) {
        const Language& language = kLanguages[i];
        if (unixLocale != language.unixLocale)
            continue;
        ++rows;
        SCOPED_TRACE(testing::Message() << "row " << i << ", " << language.code << " under " << unixLocale);
        ASSERT_EQ(language.codePage, GetACP()) << "Wine's code page in this locale";
        const std::string proj = std::string(kPackage) + "\\NLS\\PROJ." + language.code;
        const std::string str = std::string(kPackage) + "\\NLS\\STR." + language.code;
        const std::string name = FileValue(proj, "Name"), remove = FileValue(str, "Remove");
        ASSERT_FALSE(name.empty()) << "no Name in " << proj;
        ASSERT_FALSE(remove.empty()) << "no Remove in " << str;

        DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
        SetValue(HKEY_USERS, LOCALE_KEY, nullptr, REG_SZ, std::string("0000") + language.locale + '\0');
        ChildRun run;
        ASSERT_TRUE(run.Start(setup, "\"" + setup + "\" /s", kPackage));
        EXPECT_TRUE(run.WaitExit(10000)) << "setup.exe still runs after 10 s";
        EXPECT_TRUE(run.WaitAll(10000)) << "what setup.exe started still runs after 10 s";

        EXPECT_EQ(Describe(TextValue(REG_SZ, name)),
                  Describe(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName")));
        EXPECT_EQ(Describe(TextValue(REG_BINARY, remove)),
                  Describe(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "Message")));
        EXPECT_EQ(language.name, DisplayNameText()) << proj << " is not in code page " << language.codePage;
    }
    EXPECT_GT(rows, 0) << "no language of the example is run under " << unixLocale;
    DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    DeleteTree(HKEY_USERS, LOCALE_KEY);
}

}
