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
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

namespace {

// The longest display name that older lists of installed programs show,
// and the longest INF path the platform's INF installer takes.
const size_t kDisplayNameLimit = 63;
const size_t kInfPathLimit = 259;

// How a report names a text, and what the launcher does without it.
struct TextDescription {
    TextRole role;
    const char* label;
    const char* whenMissing;
};

const TextDescription kDescriptions[] = {
    { kPackageName, "title, DisplayName", "the dialog has no title and DisplayName is written empty" },
    { kQuestion, "question", "the dialog asks no question" },
    { kReadmeCaption, "check box", "the check box has no caption" },
    { kYesCaption, "Yes button", "the button keeps its caption \"Yes\"" },
    { kNoCaption, "No button", "the button keeps its caption \"No\"" },
    { kReadingOrder, "reading order", "the dialog reads left to right" },
    { kRemoveMessage, "Message", "Message is written empty" },
    { kInfName, "INF", "the installer is started on the package folder itself" },
    { kReadmePath, "readme", "Notepad is not started" },
};

// A text the launcher gains is read and checked before it is described
// above, under its key.
TextDescription Describe(const LauncherText& text)
{
    for (const TextDescription& d : kDescriptions)
        if (d.role == text.role)
            return d;
    return { text.role, text.key, "the launcher goes without it" };
}

const char* const kBases[] = { kProjectFileBase, kStringFileBase };

struct LanguageFile {
    std::string shown;  // the file's own name when it exists, else the launcher's
    bool exists;
    std::string bytes;
    ProfileFile profile;
};

bool HasNonAscii(const std::string& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

int FirstNonAsciiLine(const std::string& bytes)
{
    int line = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return line;
        line += bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'));
    }
    return 0;
}

std::string LineOf(const std::string& bytes, int wanted)
{
    int line = 1;
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        bool end = i == bytes.size() || bytes[i] == '\n' || bytes[i] == '\r';
        if (!end)
            continue;
        if (line == wanted)
            return bytes.substr(start, i - start);
        if (i < bytes.size() && bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        ++line;
        start = i + 1;
    }
    return std::string();
}

std::string HexBytes(const std::string& bytes)
{
    std::string out;
    char hex[8];
    for (unsigned char c : bytes) {
        std::snprintf(hex, sizeof hex, "%s0x%02X", out.empty() ? "" : " ", c);
        out += hex;
    }
    return out;
}

std::string LocaleNames(const std::vector<uint32_t>& locales)
{
    std::string out;
    for (uint32_t l : locales)
        out += (out.empty() ? "" : ", ") + Hex(l);
    return out;
}

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

// Texts that a language file lacks, and where the launcher gets them.
struct MissingText {
    enum Outcome {
        kNoneForAnyLanguage,  // none: the file is the default language's
        kNowhere,             // none: the default language's file lacks it too
        kFromDefault,         // from the default language's file
    };
    std::string file;
    int line = 0;
    std::string code;     // the language's, as shown
    std::string section;  // as shown
    std::vector<std::string> keys;  // more than one only from the default's file
    Outcome outcome = kNowhere;
    std::string defaultCode, defaultFile;  // kFromDefault: as shown
    std::string whenMissing;
};

// What the launcher does instead.
std::string Outcome(const MissingText& m)
{
    switch (m.outcome) {
    case MissingText::kNoneForAnyLanguage:
        return "a language without one of its own gets none, and " + m.whenMissing;
    case MissingText::kNowhere:
        return "no language has it, so " + m.whenMissing;
    case MissingText::kFromDefault:
        break;
    }
    return "the launcher takes " + m.defaultCode + "'s " + (m.keys.size() == 1 ? "text" : "texts") + " from " + m.defaultFile;
}

// Why a language file gives no value for a text: its section or key is
// missing, or the key has no value.
std::string WhyMissing(const ProfileSection* section, const ProfileKey* key, const LauncherText& text)
{
    if (!section)
        return "has no [" + std::string(text.section) + "] section, so no " + text.key;
    if (!key)
        return "has no " + std::string(text.key) + " in [" + text.section + "]";
    if (!key->hasValue)
        return "has " + std::string(text.key) + " without \"=\", which counts as missing";
    return "has an empty " + std::string(text.key) + ", which counts as missing";
}

// The NT family's reading of one run: the current language's files in
// their code page, the default language's in theirs. A ProfileReader is a
// plain function, so the run's code pages are kept here.
std::string g_currentCode;
unsigned g_currentCodePage = 1252, g_fallbackCodePage = 1252;

void ReadAsTheNtFamily(const char* file, const char* section, const char* key, char* buffer, size_t capacity)
{
    bool current = false;
    for (const char* base : kBases)
        current = current || std::strcmp(LanguageFileName(base, g_currentCode.c_str()), file) == 0;
    SetProfileCodePage(current ? g_currentCodePage : g_fallbackCodePage);
    ReadPackageProfile(file, section, key, buffer, capacity);
}

class PackageChecker {
public:
    PackageChecker(const std::string& folder, const CheckOptions& options, Report& report)
        : m_folder(folder), m_options(options), m_report(report)
    {
    }

    void Run();

private:
    const LanguageFile& File(const std::string& name, unsigned codePage);
    void FindCodePages();
    unsigned LanguageCodePage(const std::string& code) const;
    std::string ReachedBy(const std::string& code) const;
    std::string Shown(const std::string& bytes, unsigned codePage) const { return Utf8FromCodePage(bytes, codePage); }
    void CheckEncoding(const LanguageFile& file, const std::string& code);
    void CheckCodePagesAgree();
    void CheckLeftOutLocales();
    void Add(Severity severity, const std::string& file, int line, const std::string& message);
    void Warn(const std::string& file, int line, const std::string& message) { Add(kWarning, file, line, message); }

    std::vector<uint32_t> Locales() const;
    std::vector<std::string> ReachedCodes() const;
    void RunLocales();
    void CheckRun(const LanguageRun& run);
    void CheckLanguageFile(const std::string& code);
    void CheckKeys(const LanguageFile& file, const LauncherText& text, const std::string& code);
    void SayMissing();
    void CheckReadingOrder(const std::string& code);
    void CheckUnreachedFiles(const std::vector<std::string>& codes);
    void CheckInf(const std::string& inf, unsigned codePage);
    bool CheckName(const TextRead& text, unsigned codePage);

    std::string m_folder;
    const CheckOptions& m_options;
    Report& m_report;
    LanguageCodes m_default = {};
    std::map<std::string, LanguageFile> m_files;  // by the launcher's name, in upper case, and code page
    struct LocaleOfCode {
        uint32_t locale;
        unsigned codePage;
        int line;
    };
    std::map<std::string, std::vector<LocaleOfCode>> m_localesOf;  // the table's locales of each code
    std::set<std::string> m_said;                 // findings already made
    std::set<std::string> m_infsRead;

    // The texts a section lacks, by file and line: those the default's file
    // gives together, each other one by what the launcher does without it.
    typedef std::tuple<std::string, int, MissingText::Outcome, std::string, std::string> MissingGroup;
    std::map<MissingGroup, MissingText> m_missing;
};

void PackageChecker::Add(Severity severity, const std::string& file, int line, const std::string& message)
{
    std::string id = file + ":" + std::to_string(line) + ":" + message;
    if (m_said.insert(id).second)
        m_report.findings.push_back(Finding{ severity, file, line, message });
}

const LanguageFile& PackageChecker::File(const std::string& name, unsigned codePage)
{
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    upper += "\n" + std::to_string(codePage);
    auto it = m_files.find(upper);
    if (it != m_files.end())
        return it->second;
    std::string shownName = Shown(name, codePage);
    std::string relative = ResolveName(m_folder, shownName), bytes;
    bool exists = !relative.empty() && ReadFileBytes(JoinPath(m_folder, relative), bytes);
    if (!exists)
        bytes.clear();
    LanguageFile file = { exists ? relative : HostName(shownName), exists, bytes, ProfileFile(bytes, codePage) };
    return m_files.emplace(upper, file).first->second;
}

// Which locales of the table reach each code, and their code pages.
void PackageChecker::FindCodePages()
{
    for (const TableRow& row : m_report.rows)
        if (!row.skipped && row.value != 0 && !row.replacedBy)
            m_localesOf[row.cut].push_back(LocaleOfCode{ row.value, CodePageOfLocale(row.value), row.line });
}

unsigned PackageChecker::LanguageCodePage(const std::string& code) const
{
    return ::LanguageCodePage(m_report, code);
}

// "RUS's locales (0419)", for messages.
std::string PackageChecker::ReachedBy(const std::string& code) const
{
    auto it = m_localesOf.find(code);
    std::vector<uint32_t> locales;
    if (it != m_localesOf.end())
        for (const LocaleOfCode& l : it->second)
            locales.push_back(l.locale);
    std::string name = CodeName(code.c_str());
    return locales.empty() ? name + " (no locale of its own)" : name + "'s locales (" + LocaleNames(locales) + ")";
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
        if (!row.skipped && row.value != 0 && !row.replacedBy)
            add(row.cut);
    return codes;
}

void PackageChecker::Run()
{
    m_report.folder = m_folder;
    SetProfileFolder(m_folder);

    std::string table = ResolveName(m_folder, kLanguageTableFile);
    if (!table.empty() && ReadFileBytes(JoinPath(m_folder, table), m_report.table)) {
        m_report.tableFile = table;
        CheckTable(m_report.table, table, m_report);
    } else {
        Add(kError, HostName(kLanguageTableFile), 0,
            "there is no language table: the launcher reads every text from " + std::string(kProjectFileBase) +
                ". and " + kStringFileBase + ". (no language code)");
    }
    ParseLanguageTable(m_report.table.data(), m_report.table.size(), 0, m_default);
    FindCodePages();

    RunLocales();
    for (const LanguageRun& run : m_report.runs)
        CheckRun(run);
    std::vector<std::string> codes = ReachedCodes();
    for (const std::string& code : codes) {
        CheckLanguageFile(code);
        CheckReadingOrder(code);
    }
    CheckCodePagesAgree();
    CheckLeftOutLocales();
    CheckUnreachedFiles(codes);

    std::stable_sort(m_report.findings.begin(), m_report.findings.end(), [](const Finding& a, const Finding& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
}

// Whether a locale has an entry of its own, which makes its code current.
bool ChoosesCurrent(const std::vector<TableRow>& rows, uint32_t locale)
{
    for (const TableRow& row : rows)
        if (!row.skipped && locale != 0 && row.value == locale)
            return true;
    return false;
}

void PackageChecker::RunLocales()
{
    for (uint32_t locale : Locales()) {
        LanguageCodes codes;
        ParseLanguageTable(m_report.table.data(), m_report.table.size(), locale, codes);
        // A locale without a code page of its own (0 among them) is taken
        // to be on a machine of its language's.
        unsigned codePage = CodePageOfLocale(locale);
        if (codePage == kNoCodePage)
            codePage = LanguageCodePage(codes.currentCode);
        FilesCodePage current = NtFilesCodePage(m_report, codes.currentCode,
                                                ChoosesCurrent(m_report.rows, locale) ? locale : 0, codePage);
        bool sameCodes = std::strcmp(codes.currentCode, codes.defaultCode) == 0;
        FilesCodePage fallback = sameCodes ? current : NtFilesCodePage(m_report, codes.defaultCode, 0, codePage);
        auto same = std::find_if(m_report.runs.begin(), m_report.runs.end(), [&](const LanguageRun& run) {
            return std::memcmp(&run.codes, &codes, sizeof codes) == 0 && run.codePage == codePage &&
                   run.current[0].codePage == current.codePage && run.fallback.codePage == fallback.codePage;
        });
        if (same != m_report.runs.end()) {
            same->locales.push_back(locale);
            same->current.push_back(current);
            continue;
        }
        LanguageRun run;
        run.locales.push_back(locale);
        run.codes = codes;
        run.codePage = codePage;
        run.current.push_back(current);
        run.fallback = fallback;
        run.projFile = static_cast<const char*>(LanguageFileName(kProjectFileBase, codes.currentCode));
        run.strFile = static_cast<const char*>(LanguageFileName(kStringFileBase, codes.currentCode));
        run.defaultProjFile = static_cast<const char*>(LanguageFileName(kProjectFileBase, codes.defaultCode));
        run.defaultStrFile = static_cast<const char*>(LanguageFileName(kStringFileBase, codes.defaultCode));
        std::string inf, inf9x, readme;
        for (const LauncherText& kind : kLauncherTexts) {
            TextDescription description = Describe(kind);
            TextRead text = { kind.role, description.label, kind.base, kind.section, kind.key, kTextMissing, "", 0, "",
                              current.codePage, "", description.whenMissing };
            CString value, value9x;
            g_currentCodePage = current.codePage;
            g_fallbackCodePage = fallback.codePage;
            g_currentCode = codes.currentCode;
            text.source = LookupTextWith(ReadAsTheNtFamily, codes, kind.base, kind.section, kind.key, value);
            SetProfileCodePage(codePage);
            LookupTextWith(ReadPackageProfile, codes, kind.base, kind.section, kind.key, value9x);
            text.value9x = static_cast<const char*>(value9x);
            if (text.source != kTextMissing) {
                bool fromCurrent = text.source == kTextFromCurrent;
                const char* code = fromCurrent ? codes.currentCode : codes.defaultCode;
                text.codePage = fromCurrent ? current.codePage : fallback.codePage;
                const LanguageFile& file = File(static_cast<const char*>(LanguageFileName(kind.base, code)), text.codePage);
                const ProfileKey* key = file.profile.Find(kind.section, kind.key);
                text.file = file.shown;
                text.line = key ? key->line : 0;
                text.value = static_cast<const char*>(value);
            }
            if (kind.role == kInfName) {
                inf = Shown(text.value, text.codePage);
                inf9x = Shown(text.value9x, codePage);
            }
            if (kind.role == kReadmePath)
                readme = Shown(text.value, text.codePage);
            if (kind.role == kReadingOrder)
                run.rightToLeft = MeansRightToLeft(text.value.c_str());
            run.texts.push_back(text);
        }
        // The NT family makes its command lines in Unicode from each text
        // in its own code page; Windows 9x from the machine's bytes.
        run.installStarted = !m_options.rundll32Path.empty();
        if (run.installStarted) {
            const char* rundll32 = m_options.rundll32Path.c_str();
            const char* folder = m_options.programFolder.c_str();
            run.installCommand = static_cast<const char*>(InstallCommand(rundll32, true, folder, inf.c_str()));
            run.installCommand9x = static_cast<const char*>(InstallCommand(rundll32, false, folder, inf9x.c_str()));
        }
        if (!readme.empty() && !m_options.notepadPath.empty())
            run.readmeCommand = static_cast<const char*>(ReadmeCommand(m_options.notepadPath.c_str(), readme.c_str()));
        m_report.runs.push_back(run);
    }
}

void PackageChecker::CheckRun(const LanguageRun& run)
{
    for (const TextRead& text : run.texts) {
        if (text.role == kInfName && text.source == kTextMissing) {
            std::string lacking = std::string(text.key) + " in [" + text.section + "]";
            Add(kError, File(run.projFile, run.current[0].codePage).shown, 0,
                "no INF name for " + Shown(CodeName(run.codes.currentCode), run.current[0].codePage) +
                    (run.projFile == run.defaultProjFile ? " (" + run.projFile + " has no " + lacking + "): "
                                                         : " (neither " + run.projFile + " nor " + run.defaultProjFile +
                                                               " has " + lacking + "): ") +
                    text.whenMissing);
        }
        if (text.source == kTextMissing)
            continue;
        if (text.role == kPackageName && text.value.size() > kDisplayNameLimit)
            Warn(text.file, text.line,
                 "the display name is " + std::to_string(text.value.size()) +
                     " bytes long: older lists of installed programs hide names over " +
                     std::to_string(kDisplayNameLimit));
        if (text.role == kInfName && CheckName(text, text.codePage))
            CheckInf(text.value, text.codePage);
        if (text.role == kInfName && m_options.programFolder.size() + 1 + text.value.size() > kInfPathLimit)
            Warn(text.file, text.line,
                 "the installer's INF path " + Quoted(m_options.programFolder + "\\" + Shown(text.value, text.codePage)) +
                     " is " + std::to_string(m_options.programFolder.size() + 1 + text.value.size()) +
                     " characters long: the platform's INF installer cuts it at " + std::to_string(kInfPathLimit));
        if (text.role == kReadmePath && !IsAbsolute(text.value))
            CheckName(text, text.codePage);
    }
}

// Whether a name the launcher passes on names a file of the package once
// the platform converts it from the code page; warns if not.
bool PackageChecker::CheckName(const TextRead& text, unsigned codePage)
{
    const std::string& name = text.value;
    std::string converted = Shown(name, codePage);
    if (!IsAbsolute(name) && !ResolveName(m_folder, converted).empty())
        return true;
    std::string what = text.label;
    std::string opener = text.role == kInfName ? "the installer looks for it" : "Notepad opens it";
    std::string message = "the " + what + " " + Quoted(converted) + " is not in the package: " + opener +
                          " from the package folder";
    std::string asWritten = ResolveName(m_folder, name);
    if (!IsAbsolute(name) && !asWritten.empty() && asWritten != converted)
        message = "the " + what + " name is written in UTF-8: in code page " + CodePageName(codePage) +
                  " it reads " + Quoted(converted) + ", which is not the file " + Quoted(asWritten) + "; " + opener +
                  " by the name the platform converts, so write the name in code page " + std::to_string(codePage);
    Warn(text.file, text.line, message);
    return false;
}

void PackageChecker::CheckInf(const std::string& inf, unsigned codePage)
{
    std::string relative = ResolveName(m_folder, Shown(inf, codePage));
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
    unsigned codePage = LanguageCodePage(code);
    for (const char* base : kBases) {
        const LanguageFile& file = File(static_cast<const char*>(LanguageFileName(base, code.c_str())), codePage);
        bool isDefault = code == m_default.defaultCode;
        std::string name = Shown(CodeName(code.c_str()), codePage);
        if (!file.exists) {
            if (isDefault)
                Warn(file.shown, 0, "the default language's file is missing: a text that another language lacks is "
                                    "missing altogether");
            else
                Warn(file.shown, 0, "the file is missing: " + name + " gets all its texts from " +
                                        Shown(CodeName(m_default.defaultCode), codePage) + "'s file");
            continue;
        }
        CheckEncoding(file, code);
        for (const LauncherText& text : kLauncherTexts)
            if (std::strcmp(text.base, base) == 0)
                CheckKeys(file, text, code);
        SayMissing();
    }
}

// What the platform makes of the file's bytes in the code page of the
// locales that reach it, and how to write the file instead.
void PackageChecker::CheckEncoding(const LanguageFile& file, const std::string& code)
{
    unsigned codePage = file.profile.CodePage();
    std::string page = "code page " + CodePageName(codePage);
    std::string who = Shown(ReachedBy(code), codePage);
    std::string fix = "save it in code page " + std::to_string(codePage) + " (nlscheck --convert writes it so)";
    bool utf8WithoutMark = file.profile.Encoding() == kAnsi && codePage != kUtf8CodePage && HasNonAscii(file.bytes) &&
                           IsValidUtf8(file.bytes);
    if (utf8WithoutMark) {
        int line = FirstNonAsciiLine(file.bytes);
        std::string text = LineOf(file.bytes, line);
        Warn(file.shown, line,
             "the file is UTF-8 without a byte-order mark, but " + who + " read it in " + page + ": " +
                 Quoted(Shown(text, kUtf8CodePage)) + " comes out as " + Quoted(Shown(text, codePage)) + "; " + fix);
    } else if (file.profile.Encoding() != kAnsi) {
        Warn(file.shown, 1,
             std::string("the file begins with a ") + (file.profile.Encoding() == kUtf8 ? "UTF-8" : "UTF-16") +
                 " byte-order mark: the NT family decodes it by its mark, but Windows 9x reads its bytes as they are, "
                 "so there its first section is not found and every other letter that is not ASCII comes out as "
                 "garbage; for Windows 9x, " + fix);
    }

    // Each kind of note once a line.
    std::map<std::pair<int, int>, std::vector<const ProfileNote*>> byLine;
    for (const ProfileNote& note : file.profile.Notes())
        byLine[{ note.line, note.kind }].push_back(&note);
    for (const auto& entry : byLine) {
        int line = entry.first.first;
        const std::vector<const ProfileNote*>& notes = entry.second;
        std::string list;
        std::set<std::string> listed;
        for (const ProfileNote* note : notes) {
            std::string one = note->kind == ProfileNote::kNotInCodePage
                                  ? Quoted(Utf8(std::u32string(1, note->ch))) + " (" + CodePointName(note->ch) +
                                        "), read as " + Quoted(Shown(note->bytes, codePage))
                                  : HexBytes(note->bytes);
            if (listed.insert(one).second)
                list += (list.empty() ? "" : ", ") + one;
        }
        switch (notes[0]->kind) {
        case ProfileNote::kNotInCodePage:
            Warn(file.shown, line,
                 "no place in " + page + " for " + list + ": the NT family reads " +
                     Shown(CodeName(code.c_str()), codePage) + "'s files in that code page, that of " + who +
                     "; write the text without " + (listed.size() == 1 ? "it" : "them"));
            break;
        case ProfileNote::kNoCharacter:
            if (!utf8WithoutMark)
                Warn(file.shown, line,
                     "byte " + list + " stands for no character in " + page +
                         ": Windows shows a box or nothing for it; the file is not in the code page of " + who + ", " + fix);
            break;
        case ProfileNote::kBadSequence:
            if (!utf8WithoutMark)
                Warn(file.shown, line,
                     "bytes " + list + " are no character in " + page + ": the platform reads \"" +
                         Utf8(std::u32string(1, kDoubleByteDefault)) + "\" for each, and a byte after a lead byte goes "
                         "with it; " + fix);
            break;
        case ProfileNote::kLineEndTaken:
            Warn(file.shown, line,
                 "the line ends in a lead byte of " + page + " (" + list + "): the platform takes the line end into "
                 "that character, so line " + std::to_string(line + 1) + " is read into this line and a key on it is "
                 "lost; " + fix);
            break;
        }
    }
}

// Locales of one language on machines of different code pages read its
// files alike, and only one of them gets the letters right.
void PackageChecker::CheckCodePagesAgree()
{
    for (const auto& entry : m_localesOf) {
        const std::string& code = entry.first;
        unsigned codePage = LanguageCodePage(code);
        bool hasText = false;
        for (const char* base : kBases)
            hasText = hasText || HasNonAscii(File(static_cast<const char*>(LanguageFileName(base, code.c_str())), codePage).bytes);
        std::vector<uint32_t> agree;
        for (const LocaleOfCode& l : entry.second)
            if (l.codePage == codePage)
                agree.push_back(l.locale);
        for (const LocaleOfCode& l : entry.second) {
            if (l.codePage == codePage || l.codePage == kNoCodePage)
                continue;
            std::string name = Shown(CodeName(code.c_str()), codePage);
            std::string message = "locale " + Hex(l.locale) + " uses code page " + CodePageName(l.codePage) + ", " + name +
                                  "'s other locales (" + LocaleNames(agree) + ") " + CodePageName(codePage);
            if (hasText)
                Warn(m_report.tableFile, l.line,
                     message + ": the launcher reads " + name + "'s files in the code page of the locale, so one file "
                               "would have to be two, and its letters that are not ASCII come out wrong for one of "
                               "them; give " + Hex(l.locale) + " a language code of its own");
        }
    }
}

// Display languages of Windows whose language the package speaks for
// another locale but which have no entry: their users get the default
// language instead.
void PackageChecker::CheckLeftOutLocales()
{
    std::set<uint32_t> numbered, said;
    for (const TableRow& row : m_report.rows)
        if (!row.skipped)
            numbered.insert(row.value);
    for (const TableRow& row : m_report.rows) {
        if (row.skipped || row.replacedBy || row.value == 0)
            continue;
        for (const DisplayLanguage& left : DisplayLanguagesOf(row.value)) {
            if (numbered.count(left.locale) || !said.insert(left.locale).second)
                continue;
            // The entry of its language to follow: one of its code page if any.
            const TableRow* like = nullptr;
            bool speaksDefault = false;
            for (const TableRow& r : m_report.rows) {
                if (r.skipped || r.replacedBy || r.value == 0 || (r.value & 0x3FF) != (left.locale & 0x3FF))
                    continue;
                speaksDefault = speaksDefault || r.cut == m_default.defaultCode;
                if (!like || (CodePageOfLocale(r.value) == CodePageOfLocale(left.locale) &&
                              CodePageOfLocale(like->value) != CodePageOfLocale(left.locale)))
                    like = &r;
            }
            if (speaksDefault)
                continue;  // its users get a language of theirs all the same
            unsigned codePage = TableCodePage(like->value);
            std::string code = Shown(like->cut, codePage);
            Warn(m_report.tableFile, like->line,
                 "locale " + Hex(left.locale) + ", " + left.name + ", a display language of Windows, has no entry: its "
                 "users get the default language " + Shown(CodeName(m_default.defaultCode), codePage) + ", not " + code +
                 " (locale " + Hex(like->value) + "); add \"" + code + " " + Hex(left.locale) + "\" if " + code +
                 " is written for them too");
        }
    }
}

void PackageChecker::CheckKeys(const LanguageFile& file, const LauncherText& text, const std::string& code)
{
    unsigned codePage = file.profile.CodePage();
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
        Warn(file.shown, key->line, std::string("the value of ") + text.key + " is " + std::to_string(key->value.size()) +
                                        " bytes long in code page " + std::to_string(file.profile.CodePage()) +
                                        ": the launcher reads only " + std::to_string(value.size()) +
                                        " (its buffer holds 1023 bytes, and whole characters only)");
    if (!value.empty() || text.role == kReadingOrder)
        return;  // a missing reading order is no loss of itself: CheckReadingOrder

    // Missing: say why, and what the launcher does instead.
    MissingText missing;
    missing.file = file.shown;
    missing.line = section ? section->line : 0;
    missing.code = Shown(CodeName(code.c_str()), codePage);
    missing.whenMissing = Describe(text).whenMissing;
    missing.keys.push_back(text.key);
    std::string fallback = static_cast<const char*>(LanguageFileName(text.base, m_default.defaultCode));
    if (code == m_default.defaultCode) {
        missing.outcome = MissingText::kNoneForAnyLanguage;
    } else if (!File(fallback, codePage).profile.Read(text.section, text.key, kTextCapacity).empty()) {
        missing.outcome = MissingText::kFromDefault;
        missing.defaultCode = Shown(CodeName(m_default.defaultCode), codePage);
        missing.defaultFile = File(fallback, codePage).shown;
    } else {
        missing.outcome = MissingText::kNowhere;
    }
    if (text.role == kInfName && missing.outcome != MissingText::kFromDefault)
        return;  // an error of the run says so

    std::string why = WhyMissing(section, key, text);
    if (key)
        missing.line = key->line;
    // The first place the key is in another section, where it may have been meant.
    const ProfileSection* elsewhere = nullptr;
    const ProfileKey* misplaced = nullptr;
    for (const ProfileSection& s : file.profile.Sections())
        for (const ProfileKey& k : s.keys)
            if (!key && !misplaced && SameLetters(k.name, text.key) && !SameLetters(s.name, text.section))
                elsewhere = &s, misplaced = &k;
    if (misplaced)
        why += " (it is " + (elsewhere->name.empty() && elsewhere->line == 0 ? std::string("before the first section")
                                                                            : "in [" + Shown(elsewhere->name, codePage) + "]") +
               ", on line " + std::to_string(misplaced->line) + ")";
    if (section && !key && !misplaced) {
        // Said once for all the keys a section lacks alike.
        missing.section = Shown(section->name, codePage);
        bool alike = missing.outcome == MissingText::kFromDefault;
        MissingText& group = m_missing[MissingGroup(file.shown, missing.line, missing.outcome,
                                                    alike ? "" : missing.whenMissing, alike ? "" : text.key)];
        if (group.keys.empty())
            group = missing;
        else
            group.keys.push_back(text.key);
        return;
    }
    Warn(file.shown, missing.line, missing.code + " " + why + ": " + Outcome(missing));
}

void PackageChecker::SayMissing()
{
    for (const auto& entry : m_missing) {
        const MissingText& m = entry.second;
        std::string keys;
        for (size_t i = 0; i < m.keys.size(); ++i)
            keys += (i == 0 ? "" : i + 1 == m.keys.size() ? " or " : ", ") + m.keys[i];
        Warn(m.file, m.line, m.code + " has no " + keys + " in [" + m.section + "]: " + Outcome(m));
    }
    m_missing.clear();
}

// Whether a language reads the way its locales do: right to left where
// one of them does, and by a value of its own rather than its default's.
void PackageChecker::CheckReadingOrder(const std::string& code)
{
    const LauncherText& order = kLauncherTexts[kReadingOrder];
    unsigned codePage = LanguageCodePage(code);
    const LanguageFile& file = File(static_cast<const char*>(LanguageFileName(order.base, code.c_str())), codePage);
    const ProfileSection* section = nullptr;
    for (const ProfileSection& s : file.profile.Sections())
        if (!section && SameLetters(s.name, order.section))
            section = &s;
    const ProfileKey* key = file.profile.Find(order.section, order.key);
    int line = key ? key->line : section ? section->line : 0;
    std::string own = file.profile.Read(order.section, order.key, kTextCapacity);
    std::string name = Shown(CodeName(code.c_str()), codePage);

    // The launcher takes the default language's value where this one has none.
    const LanguageFile& fallback =
        File(static_cast<const char*>(LanguageFileName(order.base, m_default.defaultCode)), codePage);
    const ProfileKey* fallbackKey = fallback.profile.Find(order.section, order.key);
    std::string inherited = own.empty() ? fallback.profile.Read(order.section, order.key, kTextCapacity) : "";
    bool rightToLeft = MeansRightToLeft((own.empty() ? inherited : own).c_str());

    std::vector<uint32_t> rightToLeftLocales;
    auto reached = m_localesOf.find(code);
    if (reached != m_localesOf.end())
        for (const LocaleOfCode& l : reached->second)
            if (LocaleReadsRightToLeft(l.locale))
                rightToLeftLocales.push_back(l.locale);
    std::string locales = rightToLeftLocales.empty() ? ""
                          : (rightToLeftLocales.size() == 1 ? "locale " : "locales ") + LocaleNames(rightToLeftLocales) +
                                (rightToLeftLocales.size() == 1 ? " reads" : " read") + " right to left";

    std::string why = file.exists ? WhyMissing(section, key, order) : "has no RightToLeft, its file being missing";
    if (!own.empty() && own != "0" && own != "1") {
        Warn(file.shown, line,
             "the value of RightToLeft is " + Quoted(Shown(own, codePage)) + ", but only 1 reads right to left: " + name +
                 "'s dialog reads left to right" + (locales.empty() ? "" : ", although " + locales) +
                 "; write RightToLeft=1 for right to left, RightToLeft=0 for left to right");
    } else if (!rightToLeft && !locales.empty()) {
        std::string says = own == "0" ? "says RightToLeft=0" : why;
        if (own.empty() && !inherited.empty())
            says += " and takes " + Quoted(Shown(inherited, codePage)) + " from " + fallback.shown + ":" +
                    std::to_string(fallbackKey ? fallbackKey->line : 0);
        Warn(file.shown, line,
             name + " " + says + ", but " + locales + ": its dialog reads left to right; " +
                 (own == "0" ? "write RightToLeft=1" : "add RightToLeft=1 to [Constant]") + " if " + name +
                 "'s texts are in a right-to-left language");
    } else if (rightToLeft && own.empty() && code != m_default.defaultCode) {
        Warn(file.shown, line,
             name + " " + why + ": it reads right to left only because the default language " +
                 Shown(CodeName(m_default.defaultCode), codePage) + " does (" + fallback.shown + ":" +
                 std::to_string(fallbackKey ? fallbackKey->line : 0) + "); write RightToLeft=1 in [Constant] " +
                 (locales.empty() ? "if " + name + " reads right to left, RightToLeft=0 if it reads left to right"
                                  : "as " + locales));
    }
}

void PackageChecker::CheckUnreachedFiles(const std::vector<std::string>& codes)
{
    std::string nls = ResolveFolder(m_folder, "NLS");
    if (nls.empty())
        return;
    for (const std::string& name : FilesIn(JoinPath(m_folder, nls))) {
        const char* base = LanguageFileBase(name);
        if (!base)
            continue;
        size_t dot = name.find('.');
        std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
        bool reached = false;
        for (const std::string& code : codes) {
            std::string launcherName = static_cast<const char*>(LanguageFileName(base, code.c_str()));
            if (ResolveName(m_folder, Shown(launcherName, LanguageCodePage(code))) == JoinPath(nls, name))
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

FilesCodePage NtFilesCodePage(const Report& report, const std::string& code, uint32_t chooser,
                              unsigned machineCodePage)
{
    const char* data = report.table.data();
    const char* entry = nullptr;
    unsigned codePage = ::LanguageCodePage(data, report.table.size(), code.c_str(), chooser, CodePageOfLocale,
                                           machineCodePage, &entry);
    if (!entry)
        return CodePageOfLocale(chooser) != kNoCodePage ? FilesCodePage{ codePage, kFromLocale, chooser, 0 }
                                                         : FilesCodePage{ codePage, kFromMachine, 0, 0 };
    int line = 1 + static_cast<int>(std::count(data, entry, '\n'));
    for (const TableRow& row : report.rows)
        if (row.line == line)
            return FilesCodePage{ codePage, kFromTable, row.value, line };
    return FilesCodePage{ codePage, kFromTable, 0, line };
}

unsigned LanguageCodePage(const Report& report, const std::string& code)
{
    return NtFilesCodePage(report, code, 0, 1252).codePage;
}

const char* LanguageFileBase(const std::string& fileName)
{
    std::string stem = fileName.substr(0, fileName.find('.'));
    for (const char* base : kBases)
        if (SameLetters(stem, std::strrchr(base, '\\') + 1))
            return base;
    return nullptr;
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
