// The check of a package: the table, then the launcher's run for each
// locale, then the language files, the INF and the readme one by one.
#include "check.h"

#include "codepage.h"
#include "files.h"
#include "format.h"
#include "inf.h"
#include "profile.h"
#include "reader.h"
#include "app/actions.h"
#include "app/commands.h"
#include "nls/langtable.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

const char kTableName[] = "NLS\\LANGID.TXT";

// The longest display name that older lists of installed programs show,
// and the longest INF path the platform's INF installer takes.
const size_t kDisplayNameLimit = 63;
const size_t kInfPathLimit = 259;

struct TextKind {
    const char* label;
    const char* base;
    const char* section;
    const char* key;
    const char* whenMissing;
};

// Every text the launcher reads, in the order a user meets them.
const TextKind kTexts[] = {
    { "title, DisplayName", "NLS\\PROJ", "Proj", "Name", "the dialog has no title and DisplayName is written empty" },
    { "question", "NLS\\STR", "Translation", "Inst", "the dialog asks no question" },
    { "check box", "NLS\\STR", "Translation", "Readme", "the check box has no caption" },
    { "Yes button", "NLS\\STR", "Translation", "Yes", "the button keeps its caption \"Yes\"" },
    { "No button", "NLS\\STR", "Translation", "No", "the button keeps its caption \"No\"" },
    { "Message", "NLS\\STR", "Translation", "Remove", "Message is written empty" },
    { "INF", "NLS\\PROJ", "Proj", "INF", "the installer is started on the package folder itself" },
    { "readme", "NLS\\STR", "Constant", "ReadmePath", "Notepad is not started" },
};

const char* const kBases[] = { "NLS\\PROJ", "NLS\\STR" };

struct LanguageFile {
    std::string shown;  // the file's own name when it exists, else the launcher's
    bool exists;
    ProfileFile profile;
};

bool IsAbsolute(const std::string& path)
{
    return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || (path.size() >= 2 && path[1] == ':');
}

// A name the launcher forms, written as the host writes paths.
std::string HostName(std::string name)
{
#ifndef _WIN32
    for (char& c : name)
        if (c == '\\')
            c = '/';
#endif
    return name;
}

std::string CodeName(const char* code)
{
    return code[0] ? std::string(code) : std::string("(no code)");
}

class PackageChecker {
public:
    PackageChecker(const std::string& folder, const CheckOptions& options, Report& report)
        : m_folder(folder), m_options(options), m_report(report)
    {
    }

    void Run();

private:
    const LanguageFile& File(const std::string& name);
    void Add(Severity severity, const std::string& file, int line, const std::string& message);
    void Warn(const std::string& file, int line, const std::string& message) { Add(kWarning, file, line, message); }

    std::vector<uint32_t> Locales() const;
    std::vector<std::string> ReachedCodes() const;
    void RunLocales();
    void CheckRun(const LanguageRun& run);
    void CheckLanguageFile(const std::string& code);
    void CheckKeys(const LanguageFile& file, const TextKind& text, const std::string& code);
    void SayMissing();
    void CheckUnreachedFiles(const std::vector<std::string>& codes);
    void CheckInf(const std::string& inf, const std::string& from, int line);

    std::string m_folder;
    const CheckOptions& m_options;
    Report& m_report;
    std::string m_table;  // the table's bytes
    LanguageCodes m_default = {};
    std::map<std::string, LanguageFile> m_files;  // by the launcher's name, in upper case
    std::set<std::string> m_said;                 // findings already made
    std::set<std::string> m_infsRead;

    struct Missing {
        std::string file, start, rest;
        int line;
        std::vector<std::string> keys;
    };
    std::map<std::string, Missing> m_missing;
};

void PackageChecker::Add(Severity severity, const std::string& file, int line, const std::string& message)
{
    std::string id = file + ":" + std::to_string(line) + ":" + message;
    if (m_said.insert(id).second)
        m_report.findings.push_back(Finding{ severity, file, line, message });
}

const LanguageFile& PackageChecker::File(const std::string& name)
{
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    auto it = m_files.find(upper);
    if (it != m_files.end())
        return it->second;
    std::string relative = ResolveName(m_folder, name), bytes;
    bool exists = !relative.empty() && ReadFileBytes(JoinPath(m_folder, relative), bytes);
    LanguageFile file = { exists ? relative : HostName(name), exists, ProfileFile(exists ? bytes : std::string()) };
    return m_files.emplace(upper, file).first->second;
}

std::vector<uint32_t> PackageChecker::Locales() const
{
    if (!m_options.locales.empty())
        return m_options.locales;
    std::vector<uint32_t> locales;
    locales.push_back(0);
    for (const TableRow& row : m_report.rows)
        if (!row.skipped && std::find(locales.begin(), locales.end(), row.value) == locales.end())
            locales.push_back(row.value);
    return locales;
}

// The codes some locale leads to: the default and each number's last entry.
std::vector<std::string> PackageChecker::ReachedCodes() const
{
    std::vector<std::string> codes;
    auto add = [&codes](const std::string& code) {
        for (const std::string& c : codes)
            if (c == code)
                return;
        codes.push_back(code);
    };
    if (m_default.defaultCode[0] || m_report.tableFile.empty())
        add(m_default.defaultCode);
    for (const TableRow& row : m_report.rows)
        if (!row.skipped && row.value != 0 && row.status.empty())
            add(row.cut);
    return codes;
}

void PackageChecker::Run()
{
    m_report.folder = m_folder;
    SetProfileFolder(m_folder);

    std::string table = ResolveName(m_folder, kTableName);
    if (!table.empty() && ReadFileBytes(JoinPath(m_folder, table), m_table)) {
        m_report.tableFile = table;
        CheckTable(m_table, table, m_report);
    } else {
        Add(kError, HostName(kTableName), 0,
            "there is no language table: the launcher reads every text from NLS\\PROJ. and NLS\\STR. "
            "(no language code)");
    }
    ParseLanguageTable(m_table.data(), m_table.size(), 0, m_default);

    RunLocales();
    for (const LanguageRun& run : m_report.runs)
        CheckRun(run);
    std::vector<std::string> codes = ReachedCodes();
    for (const std::string& code : codes)
        CheckLanguageFile(code);
    CheckUnreachedFiles(codes);

    std::stable_sort(m_report.findings.begin(), m_report.findings.end(), [](const Finding& a, const Finding& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
}

void PackageChecker::RunLocales()
{
    for (uint32_t locale : Locales()) {
        LanguageCodes codes;
        ParseLanguageTable(m_table.data(), m_table.size(), locale, codes);
        auto same = std::find_if(m_report.runs.begin(), m_report.runs.end(), [&codes](const LanguageRun& run) {
            return std::memcmp(&run.codes, &codes, sizeof codes) == 0;
        });
        if (same != m_report.runs.end()) {
            same->locales.push_back(locale);
            continue;
        }
        LanguageRun run;
        run.locales.push_back(locale);
        run.codes = codes;
        run.projFile = static_cast<const char*>(LanguageFileName("NLS\\PROJ", codes.currentCode));
        run.strFile = static_cast<const char*>(LanguageFileName("NLS\\STR", codes.currentCode));
        run.defaultProjFile = static_cast<const char*>(LanguageFileName("NLS\\PROJ", codes.defaultCode));
        run.defaultStrFile = static_cast<const char*>(LanguageFileName("NLS\\STR", codes.defaultCode));
        std::string inf, readme;
        for (const TextKind& kind : kTexts) {
            TextRead text = { kind.label, kind.base, kind.section, kind.key, kTextMissing, "", 0, "", kind.whenMissing };
            CString value;
            text.source = LookupTextWith(ReadPackageProfile, codes, kind.base, kind.section, kind.key, value);
            if (text.source != kTextMissing) {
                const char* code = text.source == kTextFromCurrent ? codes.currentCode : codes.defaultCode;
                const LanguageFile& file = File(static_cast<const char*>(LanguageFileName(kind.base, code)));
                const ProfileKey* key = file.profile.Find(kind.section, kind.key);
                text.file = file.shown;
                text.line = key ? key->line : 0;
                text.value = static_cast<const char*>(value);
            }
            if (std::strcmp(kind.key, "INF") == 0)
                inf = text.value;
            if (std::strcmp(kind.key, "ReadmePath") == 0)
                readme = text.value;
            run.texts.push_back(text);
        }
        run.installStarted = !m_options.rundll32Path.empty();
        if (run.installStarted)
            run.installCommand = static_cast<const char*>(
                InstallCommand(m_options.rundll32Path.c_str(), InstallerLibrary(true), m_options.programFolder.c_str(),
                               inf.c_str()));
        if (!readme.empty() && !m_options.notepadPath.empty())
            run.readmeCommand = static_cast<const char*>(ReadmeCommand(m_options.notepadPath.c_str(), readme.c_str()));
        m_report.runs.push_back(run);
    }
}

void PackageChecker::CheckRun(const LanguageRun& run)
{
    for (const TextRead& text : run.texts) {
        std::string key = text.key;
        if (key == "INF" && text.source == kTextMissing)
            Add(kError, File(run.projFile).shown, 0,
                "no INF name for " + CodeName(run.codes.currentCode) +
                    (run.projFile == run.defaultProjFile ? " (" + run.projFile + " has no INF in [Proj]): "
                                                         : " (neither " + run.projFile + " nor " + run.defaultProjFile +
                                                               " has INF in [Proj]): ") +
                    text.whenMissing);
        if (text.source == kTextMissing)
            continue;
        if (key == "Name" && text.value.size() > kDisplayNameLimit)
            Warn(text.file, text.line,
                 "the display name is " + std::to_string(text.value.size()) +
                     " characters long: older lists of installed programs hide names over " +
                     std::to_string(kDisplayNameLimit));
        if (key == "INF")
            CheckInf(text.value, text.file, text.line);
        if (key == "INF" && m_options.programFolder.size() + 1 + text.value.size() > kInfPathLimit)
            Warn(text.file, text.line,
                 "the installer's INF path " + Quoted(m_options.programFolder + "\\" + text.value) + " is " +
                     std::to_string(m_options.programFolder.size() + 1 + text.value.size()) +
                     " characters long: the platform's INF installer cuts it at " + std::to_string(kInfPathLimit));
        if (key == "ReadmePath" && !IsAbsolute(text.value) && ResolveName(m_folder, text.value).empty())
            Warn(text.file, text.line,
                 "the readme " + Quoted(text.value) + " is not in the package: Notepad opens it from the package folder");
    }
}

void PackageChecker::CheckInf(const std::string& inf, const std::string& from, int line)
{
    std::string relative = IsAbsolute(inf) ? std::string() : ResolveName(m_folder, inf);
    if (relative.empty()) {
        Warn(from, line, "the INF " + Quoted(inf) + " is not in the package: the installer looks for it in the package folder");
        return;
    }
    if (!m_infsRead.insert(relative).second)
        return;
    std::string bytes;
    ReadFileBytes(JoinPath(m_folder, relative), bytes);
    InfFacts facts = ReadInf(bytes, UNINSTALL_KEY);
    std::string key = std::string("HKLM\\") + UNINSTALL_KEY;
    if (!facts.hasDefaultInstall)
        Warn(relative, 0, "there is no [DefaultInstall] section, the one the launcher has installed: the installer does nothing");
    else if (!facts.uninstallStringLine)
        Warn(relative, 0, "[DefaultInstall] adds no UninstallString under " + key +
                              ": the package stays out of the system's list of installed programs");
    if (facts.displayNameLine)
        Warn(relative, facts.displayNameLine,
             "the INF writes DisplayName under " + key + " too: it replaces the launcher's once the installer runs");
}

void PackageChecker::CheckLanguageFile(const std::string& code)
{
    for (const char* base : kBases) {
        const LanguageFile& file = File(static_cast<const char*>(LanguageFileName(base, code.c_str())));
        bool isDefault = code == m_default.defaultCode;
        if (!file.exists) {
            if (isDefault)
                Warn(file.shown, 0, "the default language's file is missing: a text that another language lacks is "
                                    "missing altogether");
            else
                Warn(file.shown, 0, "the file is missing: " + CodeName(code.c_str()) + " gets all its texts from " +
                                        CodeName(m_default.defaultCode) + "'s file");
            continue;
        }
        if (file.profile.Encoding() != kAnsi)
            Warn(file.shown, 1,
                 std::string("the file begins with a ") + (file.profile.Encoding() == kUtf8 ? "UTF-8" : "UTF-16") +
                     " byte-order mark: older Windows reads the mark as part of the first line, so its first section "
                     "is not found there; write it in the system code page");
        for (const TextKind& text : kTexts)
            if (std::strcmp(text.base, base) == 0)
                CheckKeys(file, text, code);
        SayMissing();
    }
}

void PackageChecker::CheckKeys(const LanguageFile& file, const TextKind& text, const std::string& code)
{
    const ProfileSection* section = nullptr;
    for (const ProfileSection& s : file.profile.Sections()) {
        if (!SameLetters(s.name, text.section))
            continue;
        if (!section) {
            section = &s;
            continue;
        }
        for (const ProfileKey& k : s.keys)
            if (SameLetters(k.name, text.key))
                Warn(file.shown, k.line, std::string(text.key) + " is in a second [" + text.section +
                                             "] section: the launcher reads only the first, on line " +
                                             std::to_string(section->line));
    }
    const ProfileKey* key = file.profile.Find(text.section, text.key);
    if (key && section) {
        for (const ProfileKey& k : section->keys)
            if (&k != key && SameLetters(k.name, text.key))
                Warn(file.shown, k.line, std::string(text.key) + " again: the first, on line " + std::to_string(key->line) +
                                             ", is the one the launcher reads");
    }
    std::string value = file.profile.Read(text.section, text.key, kTextCapacity);
    if (key && key->hasValue && key->value.size() >= kTextCapacity)
        Warn(file.shown, key->line, std::string("the value of ") + text.key + " is " +
                                        std::to_string(key->value.size()) + " characters long: the launcher reads only " +
                                        std::to_string(value.size()));
    if (!value.empty())
        return;

    // Missing: say why, and what the launcher does instead.
    std::string why;
    int line = section ? section->line : 0;
    if (!section)
        why = "has no [" + std::string(text.section) + "] section, so no " + text.key;
    else if (!key)
        why = "has no " + std::string(text.key) + " in [" + text.section + "]";
    else if (!key->hasValue)
        why = "has " + std::string(text.key) + " without \"=\", which counts as missing", line = key->line;
    else
        why = "has an empty " + std::string(text.key) + ", which counts as missing", line = key->line;
    if (!key) {
        for (const ProfileSection& s : file.profile.Sections())
            for (const ProfileKey& k : s.keys)
                if (SameLetters(k.name, text.key) && !SameLetters(s.name, text.section) &&
                    why.find(" (it is ") == std::string::npos)
                    why += " (it is " + (s.name.empty() && s.line == 0 ? std::string("before the first section")
                                                                        : "in [" + s.name + "]") +
                           ", on line " + std::to_string(k.line) + ")";
    }
    std::string result;
    bool isDefault = code == m_default.defaultCode;
    std::string fallback = static_cast<const char*>(LanguageFileName(text.base, m_default.defaultCode));
    bool fallsBack = !isDefault && !File(fallback).profile.Read(text.section, text.key, kTextCapacity).empty();
    if (std::strcmp(text.key, "INF") == 0 && !fallsBack)
        return;  // an error of the run says so
    if (fallsBack)
        result = "the launcher takes " + CodeName(m_default.defaultCode) + "'s text from " + File(fallback).shown;
    else if (isDefault)
        result = "a language without one of its own gets none, and " + std::string(text.whenMissing);
    else
        result = "no language has it, so " + std::string(text.whenMissing);
    if (section && !key && why.find(" (it is ") == std::string::npos) {
        // Said once for all the keys a section lacks alike.
        Missing& m = m_missing[file.shown + "\n" + std::to_string(line) + "\n" + result];
        m.file = file.shown;
        m.line = line;
        m.start = CodeName(code.c_str()) + " has no ";
        m.rest = " in [" + std::string(section->name) + "]: " + result;
        m.keys.push_back(text.key);
        return;
    }
    Warn(file.shown, line, CodeName(code.c_str()) + " " + why + ": " + result);
}

void PackageChecker::SayMissing()
{
    for (const auto& entry : m_missing) {
        const Missing& m = entry.second;
        std::string keys;
        for (size_t i = 0; i < m.keys.size(); ++i)
            keys += (i == 0 ? "" : i + 1 == m.keys.size() ? " or " : ", ") + m.keys[i];
        std::string rest = m.rest;
        size_t one = rest.find("'s text from");
        if (m.keys.size() > 1 && one != std::string::npos)
            rest.insert(one + 7, "s");
        Warn(m.file, m.line, m.start + keys + rest);
    }
    m_missing.clear();
}

void PackageChecker::CheckUnreachedFiles(const std::vector<std::string>& codes)
{
    std::string nls = ResolveFolder(m_folder, "NLS");
    if (nls.empty())
        return;
    for (const std::string& name : FilesIn(JoinPath(m_folder, nls))) {
        size_t dot = name.find('.');
        std::string stem = name.substr(0, dot);
        if (!SameLetters(stem, "PROJ") && !SameLetters(stem, "STR"))
            continue;
        std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
        bool reached = false;
        for (const std::string& code : codes) {
            std::string launcherName = static_cast<const char*>(LanguageFileName(SameLetters(stem, "PROJ") ? "NLS\\PROJ" : "NLS\\STR", code.c_str()));
            if (ResolveName(m_folder, launcherName) == JoinPath(nls, name))
                reached = true;
        }
        if (reached)
            continue;
        std::string why = "no entry has the code " + Quoted(ext);
        if (ext.size() > 3)
            why = "language codes have at most 3 characters";
        for (const TableRow& row : m_report.rows)
            if (!row.skipped && SameLetters(row.cut, ext))
                why = "the entry on line " + std::to_string(row.line) + " is " + row.status;
        Warn(JoinPath(nls, name), 0, "no table entry reaches this file: " + why);
    }
}

}

int Report::ExitStatus() const
{
    int status = 0;
    for (const Finding& f : findings)
        status = std::max(status, f.severity == kError ? 2 : 1);
    return status;
}

Report CheckPackage(const std::string& folder, const CheckOptions& options)
{
    Report report;
    PackageChecker(folder, options, report).Run();
    return report;
}
