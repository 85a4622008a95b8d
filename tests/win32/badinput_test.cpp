// setup.exe /s on packages and machines that hand it bad input: huge,
// binary, sparse and locked tables, odd registry locales, overlong texts.
// For each the run must end by itself, make no window, and write and start
// exactly what the launcher's rules give.
#include "testutil.h"

#include <gtest/gtest.h>

namespace {


class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        DeleteTree(HKEY_USERS, LOCALE_KEY);
        m_dir = "C:\\tests\\bad\\" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        MakeEmptyDir(m_dir);
        CopyFileA(WinPath(Env("SETUP_EXE")).c_str(), (m_dir + "\\setup.exe").c_str(), FALSE);
        // One name per language file, so the name written tells which was read.
        static const char* const codes[] = { "ENG", "DEU", "" };
        for (const char* code : codes) {
            std::string name = *code ? code : "bare";
            std::string suffix = *code ? std::string(".") + code : std::string();
            WriteBytes(m_dir + "\\NLS\\PROJ" + suffix, "[Proj]\r\nName=" + name + "\r\nINF=p.inf\r\n");
            WriteBytes(m_dir + "\\NLS\\STR" + suffix, "[Translation]\r\nRemove=" + name + " goes\r\n");
        }
        m_log = m_dir + "\\started.log";
        SetEnvironmentVariableA("RECORDER_LOG", m_log.c_str());
        SetEnvironmentVariableA("RECORDER_STAY_MS", nullptr);
    }

    void TearDown() override
    {
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        DeleteTree(HKEY_USERS, LOCALE_KEY);
        RemoveTree(m_dir);
    }

    void SetLocale(DWORD type, const std::string& bytes)
    {
        SetValue(HKEY_USERS, LOCALE_KEY, nullptr, type, bytes);
    }

    std::string Table() const { return m_dir + "\\NLS\\LANGID.TXT"; }

    // Runs setup.exe /s to its end; returns its exit code.
    DWORD RunSilent()
    {
        DeleteFileA(m_log.c_str());
        ChildRun run;
        std::string exe = m_dir + "\\setup.exe";
        if (!run.Start(exe, "\"" + exe + "\" /s", m_dir)) {
            ADD_FAILURE() << "cannot start " << exe;
            return ~0u;
        }
        EXPECT_TRUE(run.WaitExit(20000)) << "setup.exe still runs after 20 s";
        EXPECT_TRUE(run.WaitAll(10000)) << "what setup.exe started still runs";
        EXPECT_EQ(0, run.WindowsCreated()) << "setup.exe made a window";
        return run.ExitCode();
    }

    // A finished run that wrote the entry of one language file (or, for
    // null, of a code that has no files: empty texts) and started the
    // installer once.
    void ExpectInstalled(const char* name)
    {
        EXPECT_EQ(0u, RunSilent()) << "setup.exe crashed or failed";
        std::string displayName = name ? name : "";
        std::string message = name ? displayName + " goes" : "";
        EXPECT_EQ(Describe(TextValue(REG_SZ, displayName)),
                  Describe(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName")));
        EXPECT_EQ(Describe(TextValue(REG_BINARY, message)),
                  Describe(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "Message")));
        EXPECT_EQ(1u, ReadRecords(m_log).size()) << "expected the installer to be started once";
    }

    std::string m_dir;
    std::string m_log;
};

// A table of tens of megabytes: read whole, the last matching entry wins.
TEST_F(BadInputTest, HugeTable)
{
    std::string table;
    table.reserve(32u << 20);
    while (table.size() < (30u << 20))
        table += "XYZ 0409 filler that is ignored after the number\r\n";
    table += "ENG 0\r\nDEU 0407\r\n";
    WriteBytes(Table(), table);
    SetLocale(REG_SZ, std::string("00000407") + '\0');
    ExpectInstalled("DEU");
}

// Rows of tables whose bytes are odd but whose reading is defined.
TEST_F(BadInputTest, OddTables)
{
    static const struct {
        const char* locale;
        std::string table;
        const char* expected;
    } cases[] = {
        // 0: bytes 0x80-0xFF read as a code; the zero byte ends the data.
        { "00000407", std::string("DEU 0407\n\x80\xFF\xFE 0\n\0ENG 0\n", 21), "DEU" },
        // 1: lines ended by CR alone are one line: only its first entry counts.
        { "00000407", "ENG 0\rDEU 0407\r", "ENG" },
        // 2: no final line break.
        { "00000407", "ENG 0\nDEU 0407", "DEU" },
        // 3: nothing but binary garbage: its first 3 bytes are the default
        // code, which names no file.
        { "00000407", std::string("\x01\x02\xF0\xF1\x00\x7F", 6), nullptr },
        // 4: an empty table: no codes, the bare-dot files.
        { "00000407", "", "bare" },
        // 5: no default entry and no match.
        { "00000407", "ENG 0409\n", "bare" },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        WriteBytes(Table(), cases[i].table);
        SetLocale(REG_SZ, std::string(cases[i].locale) + '\0');
        ExpectInstalled(cases[i].expected);
    }
}

// Locale values that don't fit, or aren't text, never select by accident.
TEST_F(BadInputTest, OddRegistryLocales)
{
    WriteBytes(Table(), "ENG 0\nDEU 407\n");
    static const struct {
        DWORD type;
        std::string bytes;
        const char* expected;
    } cases[] = {
        /* 0 */ { REG_SZ, std::string(30, '0') + "407" + '\0', "ENG" },  // longer than read
        /* 1 */ { REG_BINARY, "00000000000000000407", "DEU" },              // 20 bytes, no zero
        /* 2 */ { REG_DWORD, std::string("\x07\x04\0\0", 4), "ENG" },
        /* 3 */ { REG_SZ, "%s%n" + std::string(1, '\0'), "ENG" },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        SetLocale(cases[i].type, cases[i].bytes);
        ExpectInstalled(cases[i].expected);
    }
}

// A table of 2 GB or more can't be held: it counts as one that can't be
// opened. Sparse, so it costs no disk; 4 GB + 16 checks that the length
// isn't taken modulo 2^32.
TEST_F(BadInputTest, TablesTooLargeToHold)
{
    static const ULONGLONG sizes[] = { 3ull << 30, (4ull << 30) + 16 };
    SetLocale(REG_SZ, std::string("00000407") + '\0');
    for (ULONGLONG size : sizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        DeleteTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        WriteBytes(Table(), "ENG 0\nDEU 0407\n");
        HANDLE h = CreateFileA(Table().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(h));
        CloseHandle(h);
        ExpectInstalled("bare");
        DeleteFileA(Table().c_str());
    }
}

// Held open for writing by another program, the table can't be opened.
TEST_F(BadInputTest, TableOpenForWriting)
{
    WriteBytes(Table(), "ENG 0\nDEU 0407\n");
    SetLocale(REG_SZ, std::string("00000407") + '\0');
    HANDLE h = CreateFileA(Table().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ExpectInstalled("bare");
    CloseHandle(h);
}

// Texts longer than the 1023 characters a lookup gives are cut, not lost;
// quotes and percent signs pass unchanged.
TEST_F(BadInputTest, OverlongAndOddTexts)
{
    WriteBytes(Table(), "ENG 0\n");
    std::string name = "\"%s%n%%\" " + std::string(1500, 'n');
    WriteBytes(m_dir + "\\NLS\\PROJ.ENG", "[Proj]\r\nName=" + name + "\r\n");
    WriteBytes(m_dir + "\\NLS\\STR.ENG", "[Translation]\r\nRemove=" + std::string(1023, 'r') + "\r\n");
    EXPECT_EQ(0u, RunSilent());
    // The profile call removes a pair of surrounding quotes only when the
    // value ends in one; this one doesn't.
    EXPECT_EQ(Describe(TextValue(REG_SZ, name.substr(0, 1023))),
              Describe(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName")));
    EXPECT_EQ(Describe(TextValue(REG_BINARY, std::string(1023, 'r'))),
              Describe(ReadValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "Message")));
}

}
