#include "convert.h"

#include "codepage.h"
#include "files.h"
#include "format.h"
#include "nls/texts.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct Planned {
    std::string source;  // shown
    std::string target;  // relative to the package
    std::string bytes;
    unsigned codePage;
};

// The source's characters; false (with an error) when it is not UTF-8.
bool SourceText(const std::string& bytes, const std::string& shownName, std::u32string& text,
                std::vector<Finding>& findings)
{
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        text = DecodeUtf16(bytes.substr(2), bytes[0] == '\xFE');
        return true;
    }
    std::string body = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    text = DecodeUtf8(body);
    if (IsValidUtf8(body))
        return true;
    // The first line that is not: line ends are the same bytes in UTF-8 as in ASCII.
    int line = 1;
    size_t start = 0;
    for (size_t i = 0; i <= body.size(); ++i) {
        if (i < body.size() && body[i] != '\n' && body[i] != '\r')
            continue;
        if (!IsValidUtf8(body.substr(start, i - start)))
            break;
        line += i < body.size() && !(body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n');
        start = i + 1;
    }
    findings.push_back(Finding{ kError, shownName, line, "the source is not UTF-8 here: write the sources in UTF-8; nothing is written" });
    return false;
}

bool WriteWhole(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}

bool Conversion::Refused() const
{
    for (const Finding& f : findings)
        if (f.severity == kError)
            return true;
    return false;
}

bool EncodeFile(const std::string& bytes, unsigned codePage, const std::string& shownName, std::string& out,
                std::vector<Finding>& findings)
{
    std::u32string text;
    if (!SourceText(bytes, shownName, text, findings))
        return false;
    out.clear();
    bool whole = true;
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        if (!EncodeChar(ch, codePage, out)) {
            findings.push_back(Finding{ kError, shownName, line,
                                        Quoted(Utf8(std::u32string(1, ch))) + " (" + CodePointName(ch) +
                                            ") has no place in code page " + CodePageName(codePage) +
                                            ": write the text without it; nothing is written" });
            whole = false;
        }
        line += ch == '\n' || (ch == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    }
    return whole;
}

Conversion ConvertSources(const std::string& sources, const std::string& package)
{
    Conversion result;
    Report report;
    std::string tableName = ResolveName(package, kLanguageTableFile);
    if (tableName.empty() || !ReadFileBytes(JoinPath(package, tableName), report.table)) {
        result.findings.push_back(Finding{ kError, kLanguageTableFile, 0,
                                           "the package has no language table, which says the code page of each "
                                           "language; nothing is written" });
        return result;
    }
    CheckTable(report.table, tableName, report);
    std::string nls = ResolveFolder(package, "NLS");

    std::vector<Planned> plan;
    for (const std::string& name : FilesIn(sources)) {
        size_t dot = name.find('.');
        if (dot == std::string::npos || !LanguageFileBase(name))
            continue;
        std::string shown = JoinPath(sources, name);
        std::string code = name.substr(dot + 1);
        // The entries that still count, the default one among them.
        std::string exact;
        for (const TableRow& row : report.rows)
            if (!row.skipped && !row.replacedBy && SameLetters(row.cut, code))
                exact = row.cut;
        if (exact.empty()) {
            result.skipped.push_back(shown);
            continue;
        }
        Planned p;
        p.source = shown;
        p.codePage = LanguageCodePage(report, exact);
        std::string existing = ResolveName(package, "NLS\\" + name);
        p.target = !existing.empty() ? existing : JoinPath(nls.empty() ? "NLS" : nls, name);
        std::string bytes;
        if (!ReadFileBytes(shown, bytes)) {
            result.findings.push_back(Finding{ kError, shown, 0, "cannot be read; nothing is written" });
            continue;
        }
        if (EncodeFile(bytes, p.codePage, shown, p.bytes, result.findings))
            plan.push_back(p);
    }
    if (result.Refused())
        return result;

    // Every file to a temporary one beside it first; none replaces the
    // package's until all are written.
    std::vector<std::pair<fs::path, fs::path>> moves;
    bool failed = false;
    for (const Planned& p : plan) {
        fs::path target = fs::u8path(JoinPath(package, p.target));
        std::string current;
        if (ReadFileBytes(target.u8string(), current) && current == p.bytes) {
            result.unchanged.push_back(p.target);
            continue;
        }
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        fs::path temporary = target;
        temporary += ".nlscheck-new";
        if (!WriteWhole(temporary, p.bytes)) {
            result.findings.push_back(Finding{ kError, p.target, 0, "cannot be written; nothing is written" });
            failed = true;
            fs::remove(temporary, ec);
            break;
        }
        moves.push_back({ temporary, target });
        result.written.push_back(p.target + " in code page " + CodePageName(p.codePage));
    }
    for (const auto& move : moves) {
        std::error_code ec;
        if (failed)
            fs::remove(move.first, ec);
        else
            fs::rename(move.first, move.second, ec);
        if (ec && !failed) {
            result.findings.push_back(Finding{ kError, move.second.u8string(), 0, "cannot be replaced: " + ec.message() });
            fs::remove(move.first, ec);
        }
    }
    if (failed)
        result.written.clear();
    return result;
}
