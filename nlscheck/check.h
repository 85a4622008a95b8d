// The check of a package folder: the language table as the launcher reads
// it, what the launcher reads and starts for each locale, and the findings
// a package author should hear about before shipping.
#ifndef NLSCHECK_CHECK_H
#define NLSCHECK_CHECK_H

#include "nls/codes.h"
#include "nls/lookup.h"
#include "nls/texts.h"

#include <cstdint>
#include <string>
#include <vector>

enum Severity { kWarning, kError };

struct Finding {
    Severity severity;
    std::string file;  // as shown, relative to the package folder; may be empty
    int line;          // 0 when it is about the whole file
    std::string message;  // UTF-8
};

// One entry (or skipped line) of the language table.
struct TableRow {
    int line;
    bool skipped;
    std::string code;    // as written, up to its first white space
    std::string cut;     // as the launcher keeps it, at most 3 characters
    std::string number;  // the number field as written, up to white space
    int numberLine;
    uint32_t value;
    int replacedBy = 0;  // the line of a later entry with the same number
    std::string status;  // "default language", "replaced by line 7", ...
};

// One text the launcher reads, as it gets it for one pair of codes.
struct TextRead {
    TextRole role;
    const char* label;
    const char* base;
    const char* section;
    const char* key;
    TextSource source;
    std::string file;  // the file it came from, when found
    int line;
    std::string value;  // the bytes the launcher gets on the NT family, in codePage
    unsigned codePage;  // the code page of the file it came from on the NT family
    std::string value9x;  // what Windows 9x gets, in the machine's code page
    std::string whenMissing;  // what the launcher does without it
};

// Where the NT family takes the code page of a language's files from.
enum CodePageOrigin {
    kFromLocale,   // the locale that chose the language as current
    kFromTable,    // the table's first entry of the code with a locale that has one
    kFromMachine,  // none of those: the machine's ANSI code page
};

struct FilesCodePage {
    unsigned codePage;
    CodePageOrigin origin;
    uint32_t locale;  // kFromLocale, kFromTable: whose code page it is
    int line;         // kFromTable: the table line of that entry
};

// The launcher's run for every locale that yields the same two codes on
// machines of the same code page.
struct LanguageRun {
    std::vector<uint32_t> locales;
    LanguageCodes codes;
    unsigned codePage;  // the machines' ANSI code page: Windows 9x reads every file in it
    // The NT family's, for each code's files: the current one's for each
    // of the locales (the code page is the same, whose it is may differ).
    std::vector<FilesCodePage> current;
    FilesCodePage fallback;
    std::string projFile, strFile;                // current language's names
    std::string defaultProjFile, defaultStrFile;  // the default's
    std::vector<TextRead> texts;
    bool rightToLeft = false;  // the dialog is mirrored and reads right to left
    bool installStarted;
    // The commands in UTF-8, as the platform converts them.
    std::string installCommand;    // on the NT family, with setupapi.dll
    std::string installCommand9x;  // on Windows 9x, with setupx.dll
    std::string readmeCommand;     // on the NT family; empty when Notepad is not started
};

struct CheckOptions {
    std::vector<uint32_t> locales;  // none: each number in the table, and 0 (no UI language)
    std::string programFolder;      // the folder as the launcher sees it
    std::string rundll32Path;       // empty: the launcher starts no installer
    std::string notepadPath;
};

struct Report {
    std::string folder;
    std::string tableFile;  // empty when there is none
    std::string table;      // its bytes
    std::vector<TableRow> rows;
    std::vector<LanguageRun> runs;
    std::vector<Finding> findings;

    // 0 clean, 1 warnings, 2 errors.
    int ExitStatus() const;
};

Report CheckPackage(const std::string& folder, const CheckOptions& options);

// The table part of the check, on the table file's bytes.
void CheckTable(const std::string& data, const std::string& shownName, Report& report);

// The code page the NT family decodes a language's files in: the ANSI code
// page of the locale that chose the code as current (0: none did), if it
// has one; else that of the table's first entry of the code (skipped
// lines aside) whose locale has one; else the machine's.
FilesCodePage NtFilesCodePage(const Report& report, const std::string& code, uint32_t chooser,
                              unsigned machineCodePage);

// The code page a language's files are written in: the NT family's for
// its code, with Windows-1252 for the machine's.
unsigned LanguageCodePage(const Report& report, const std::string& code);

// The family of language files (NLS\PROJ or NLS\STR) that a file of the
// NLS folder belongs to, by its name up to the first dot; null for
// another file.
const char* LanguageFileBase(const std::string& fileName);

// The code page that a table entry's bytes are shown in: its locale's,
// or Windows-1252 where that has none.
unsigned TableCodePage(uint32_t locale);

#endif
