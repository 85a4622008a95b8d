#include "print.h"

#include "codepage.h"
#include "display.h"
#include "format.h"

#include <algorithm>

namespace {

class Writer {
public:
    explicit Writer(const PrintStyle& style) : m_style(style) {}

    std::string Bold(const std::string& text) const { return Paint("1", text); }
    std::string Paint(const char* sgr, const std::string& text) const
    {
        return m_style.colour ? "\x1b[" + std::string(sgr) + "m" + text + "\x1b[0m" : text;
    }

private:
    const PrintStyle& m_style;
};

std::string Padded(const std::string& text, size_t width)
{
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text + " ";
}

std::string LocaleList(const std::vector<uint32_t>& locales)
{
    std::string out;
    for (uint32_t l : locales)
        out += (out.empty() ? "" : ", ") + (l == 0 ? std::string("0 (no UI language)") : Hex(l));
    return out;
}

std::string Where(const std::string& file, int line)
{
    return line > 0 ? file + ":" + std::to_string(line) : file;
}

std::string Plural(size_t n, const char* word)
{
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// Whose code page the NT family reads a language's files in.
std::string OriginText(const FilesCodePage& page)
{
    switch (page.origin) {
    case kFromLocale:
        return "the locale's";
    case kFromTable:
        return "that of locale " + Hex(page.locale) + " (table line " + std::to_string(page.line) + ")";
    case kFromMachine:
        break;
    }
    return "the machine's";
}

// "1251 (Cyrillic), the locale's"
std::string FilesCodePageText(const FilesCodePage& page)
{
    if (page.origin == kFromMachine)
        return "the machine's code page (here " + CodePageName(page.codePage) + ")";
    return CodePageName(page.codePage) + ", " + OriginText(page);
}

const char* const kOrigins[] = { "locale", "table", "machine" };

void FormatTable(const Report& report, const Writer& w, std::string& out)
{
    if (report.tableFile.empty())
        return;
    out += w.Bold("Language table " + report.tableFile) + "\n";
    out += "  line  code  number    read as\n";
    for (const TableRow& row : report.rows) {
        std::string line = std::to_string(row.line);
        out += "  " + std::string(line.size() < 4 ? 4 - line.size() : 0, ' ') + line + "  ";
        if (row.skipped) {
            out += Padded("", 16) + row.status + "\n";
            continue;
        }
        std::string meaning = row.status.empty() ? "locale " + Hex(row.value) : row.status;
        if (row.code != row.cut)
            meaning += ", code cut from " + Quoted(row.code);
        if (row.numberLine != row.line)
            meaning += ", number from line " + std::to_string(row.numberLine);
        unsigned codePage = TableCodePage(row.value);
        out += Padded(Utf8FromCodePage(row.cut, codePage), 6) + Padded(Utf8FromCodePage(row.number, codePage), 10) +
               Utf8FromCodePage(meaning, codePage) + "\n";
    }
    out += "\n";
}

void FormatRun(const LanguageRun& run, const Writer& w, std::string& out)
{
    auto text = [&run](const std::string& bytes) { return Utf8FromCodePage(bytes, run.codePage); };
    std::string current = run.codes.currentCode[0] ? run.codes.currentCode : "(no code)";
    std::string heading = current;
    bool sameCodes = std::string(run.codes.currentCode) == run.codes.defaultCode;
    if (!sameCodes)
        heading += ", falling back to " + std::string(run.codes.defaultCode[0] ? run.codes.defaultCode : "(no code)");
    heading += run.locales.size() == 1 ? ", for locale " : ", for locales ";
    out += w.Bold(text(heading) + LocaleList(run.locales)) + "\n";

    std::string files = run.projFile + ", " + run.strFile;
    if (!sameCodes)
        files += "; else " + run.defaultProjFile + ", " + run.defaultStrFile;
    const size_t label = 20;
    std::string codes = "default " + std::string(run.codes.defaultCode[0] ? run.codes.defaultCode : "(none)") +
                        ", current " + (run.codes.currentCode[0] ? run.codes.currentCode : "(none)");
    out += "  " + Padded("codes", label) + text(codes) + "\n";
    out += "  " + Padded("files", label) + text(files) + "\n";
    std::string nt = text(current) + " in " + FilesCodePageText(run.current[0]);
    for (size_t i = 1; i < run.current.size(); ++i)
        if (run.current[i].origin != run.current[0].origin) {
            nt = text(current) + " in " + CodePageName(run.current[0].codePage);
            for (size_t k = 0; k < run.current.size(); ++k)
                nt += std::string(k == 0 ? ", " : "; ") + OriginText(run.current[k]) + " for " +
                      LocaleList({ run.locales[k] });
            break;
        }
    if (!sameCodes)
        nt += "; " + text(run.codes.defaultCode[0] ? run.codes.defaultCode : "(no code)") + " in " +
              FilesCodePageText(run.fallback);
    out += "  " + Padded("code page, NT", label) + nt + "\n";
    out += "  " + Padded("code page, 9x", label) + "the machine's, " + CodePageName(run.codePage) + "\n";

    size_t width = 16;
    for (const TextRead& t : run.texts)
        width = std::max(width, Where(t.file, t.line).size() + (t.source == kTextFromDefault && !sameCodes ? 11 : 0) + 2);
    for (const TextRead& t : run.texts) {
        out += "  " + Padded(t.label, label);
        if (t.role == kReadingOrder) {
            // Without a value of its own, a language reads left to right.
            std::string from = t.source == kTextMissing ? "not set" : Where(t.file, t.line);
            if (t.source == kTextFromDefault && !sameCodes)
                from += " (fallback)";
            std::string order = run.rightToLeft ? "right to left" : "left to right";
            if (!t.value.empty() && t.value != "0" && !run.rightToLeft)
                order += " (" + Quoted(text(t.value)) + " is not 1)";
            out += Padded(from, width) + order + "\n";
            continue;
        }
        if (t.source == kTextMissing) {
            out += w.Paint("33", Padded("missing", width)) + t.whenMissing + "\n";
            continue;
        }
        std::string from = Where(t.file, t.line);
        if (t.source == kTextFromDefault && !sameCodes)
            from += " (fallback)";
        std::string shown = Utf8FromCodePage(t.value, t.codePage);
        out += Padded(from, width) + shown + "\n";
        std::string shown9x = text(t.value9x);
        if (shown9x != shown)
            out += "  " + Padded("", label) + Padded("on Windows 9x", width) +
                   (t.value9x.empty() ? std::string("missing") : shown9x) + "\n";
    }
    if (run.installStarted) {
        out += "  " + Padded("install, NT family", label) + run.installCommand + "\n";
        out += "  " + Padded("install, Windows 9x", label) + run.installCommand9x + "\n";
    } else {
        out += "  " + Padded("install", label) + "not started: no rundll32.exe in the system folders\n";
    }
    out += "  " + Padded("Notepad", label) +
           (run.readmeCommand.empty() ? std::string("not started")
                                      : run.readmeCommand + "\n  " + Padded("", label) +
                                            "(after an interactive install with the check box checked)") +
           "\n\n";
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Fields(std::initializer_list<std::string> fields)
{
    std::string out;
    for (const std::string& f : fields)
        out += (out.empty() ? "" : "\t") + Escaped(f);
    return out + "\n";
}

}

std::string FormatReport(const Report& report, const PrintStyle& style)
{
    Writer w(style);
    std::string out;
    if (!style.quiet) {
        out += w.Bold("Package " + report.folder) + "\n\n";
        FormatTable(report, w, out);
        for (const LanguageRun& run : report.runs)
            FormatRun(run, w, out);
    }
    size_t warnings = 0, errors = 0;
    for (const Finding& f : report.findings) {
        bool error = f.severity == kError;
        (error ? errors : warnings) += 1;
        std::string where = Where(f.file, f.line);
        out += (where.empty() ? "" : where + ": ") +
               (error ? w.Paint("1;31", "error:") : w.Paint("1;33", "warning:")) + " " + f.message + "\n";
    }
    if (!style.quiet)
        out += errors + warnings == 0 ? std::string("No warnings.\n")
                                      : (errors ? Plural(errors, "error") + (warnings ? ", " : "") : std::string()) +
                                            (warnings ? Plural(warnings, "warning") : std::string()) + ".\n";
    return out;
}

std::string FormatMachine(const Report& report)
{
    std::string out;
    for (const TableRow& row : report.rows) {
        unsigned codePage = TableCodePage(row.value);
        out += Fields({ "entry", std::to_string(row.line), Utf8FromCodePage(row.code, codePage),
                        Utf8FromCodePage(row.cut, codePage), Utf8FromCodePage(row.number, codePage), Hex(row.value),
                        row.skipped ? row.status : row.status.empty() ? "locale " + Hex(row.value) : row.status });
    }
    for (const LanguageRun& run : report.runs) {
        auto text = [&run](const std::string& bytes) { return Utf8FromCodePage(bytes, run.codePage); };
        for (size_t i = 0; i < run.locales.size(); ++i) {
            uint32_t locale = run.locales[i];
            std::string l = Hex(locale);
            out += Fields({ "locale", l, text(run.codes.defaultCode), text(run.codes.currentCode),
                            std::to_string(run.codePage) });
            bool sameCodes = std::string(run.codes.currentCode) == run.codes.defaultCode;
            for (const FilesCodePage* page : { &run.current[i], &run.fallback }) {
                if (page == &run.fallback && sameCodes)
                    break;
                const char* code = page == &run.current[i] ? run.codes.currentCode : run.codes.defaultCode;
                uint32_t whose = page->origin == kFromLocale ? locale : page->locale;
                out += Fields({ "codepage", l, text(code), "nt", std::to_string(page->codePage), kOrigins[page->origin],
                                page->origin == kFromMachine ? "" : Hex(whose),
                                page->origin == kFromTable ? std::to_string(page->line) : "" });
                out += Fields({ "codepage", l, text(code), "9x", std::to_string(run.codePage), "machine", "", "" });
            }
            for (const TextRead& t : run.texts) {
                const char* source = t.source == kTextFromCurrent ? "current" : t.source == kTextFromDefault ? "default" : "missing";
                std::string shown = Utf8FromCodePage(t.value, t.codePage);
                out += Fields({ "text", l, t.section, t.key, source, t.file, std::to_string(t.line), shown });
                if (text(t.value9x) != shown)
                    out += Fields({ "text9x", l, t.section, t.key, text(t.value9x) });
            }
            out += Fields({ "reading", l, run.rightToLeft ? "rtl" : "ltr" });
            if (run.installStarted) {
                out += Fields({ "install", l, run.installCommand, "nt" });
                out += Fields({ "install", l, run.installCommand9x, "9x" });
            } else {
                out += Fields({ "install", l });
            }
            out += run.readmeCommand.empty() ? Fields({ "readme", l }) : Fields({ "readme", l, run.readmeCommand });
            const char* unixName = UnixLocaleOf(locale);
            const char* font = FontOfCodePage(run.codePage);
            out += Fields({ "wine", l, unixName ? unixName : "", font ? font : "" });
        }
    }
    for (const Finding& f : report.findings)
        out += Fields({ f.severity == kError ? "error" : "warning", f.file, std::to_string(f.line), f.message });
    return out;
}

std::string UnescapeField(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        char c = field[++i];
        out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return out;
}
