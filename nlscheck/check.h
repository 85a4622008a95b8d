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
    std::string value;  // the bytes the launcher gets, in the run's code page
    std::string whenMissing;  // what the launcher does without it
};

// The launcher's run for every locale that yields the same two codes on
// machines of the same code page.
struct LanguageRun {
    std::vector<uint32_t> locales;
    LanguageCodes codes;
    unsigned codePage;  // the machines' ANSI code page, which the texts are in
    std::string projFile, strFile;                // current language's names
    std::string defaultProjFile, defaultStrFile;  // the default's
    std::vector<TextRead> texts;
    bool rightToLeft = false;  // the dialog is mirrored and reads right to left
    bool installStarted;
    std::string installCommand;    // on the NT family, with setupapi.dll
    std::string installCommand9x;  // on Windows 9x, with setupx.dll
    std::string readmeCommand;     // empty when Notepad is not started
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
    std::vector<TableRow> rows;
    std::vector<LanguageRun> runs;
    std::vector<Finding> findings;

    // 0 clean, 1 warnings, 2 errors.
    int ExitStatus() const;
};

Report CheckPackage(const std::string& folder, const CheckOptions& options);

// The table part of the check, on the table file's bytes.
void CheckTable(const std::string& data, const std::string& shownName, Report& report);

// The ANSI code page a language's files are read in: that of the first
// locale of the table that reaches the code and has one; Windows-1252
// where none does.
unsigned LanguageCodePage(const std::vector<TableRow>& rows, const std::string& code);

// The family of language files (NLS\PROJ or NLS\STR) that a file of the
// NLS folder belongs to, by its name up to the first dot; null for
// another file.
const char* LanguageFileBase(const std::string& fileName);

// The code page that a table entry's bytes are shown in: its locale's,
// or Windows-1252 where that has none.
unsigned TableCodePage(uint32_t locale);

#endif
