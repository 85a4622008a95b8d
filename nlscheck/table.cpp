// The language table as the launcher reads it: its entries, the lines it
// skips and the entries that later ones replace.
#include "check.h"

#include "codepage.h"
#include "format.h"
#include "nls/langtable.h"

#include <cstring>
#include <map>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Bytes that no file name can hold, or that would lead into another folder.
bool IsBadInFileName(unsigned char c)
{
    return c < 0x20 || std::strchr("<>:\"|?*\\/", c) != nullptr;
}

// A table text as UTF-8, read in the code page of the entry's locale.
std::string Text(const std::string& bytes, uint32_t locale)
{
    return Utf8FromCodePage(bytes, TableCodePage(locale));
}

void CollectItem(const TableItem& item, void* context)
{
    static_cast<std::vector<TableItem>*>(context)->push_back(item);
}

class TableChecker {
public:
    TableChecker(const std::string& data, const std::string& file, Report& report)
        : m_data(data), m_file(file), m_report(report)
    {
        size_t zero = data.find('\0');
        m_end = zero == std::string::npos ? data.size() : zero;
    }

    void Run();

private:
    // Lines as the launcher counts them: by line feeds.
    int LineOf(const char* p) const
    {
        int line = 1;
        for (const char* q = m_data.data(); q < p; ++q)
            line += *q == '\n';
        return line;
    }

    std::string LineText(const char* p) const
    {
        const char* end = m_data.data() + m_end;
        const char* q = p;
        while (q < end && *q != '\n' && *q != '\r')
            ++q;
        return std::string(p, q);
    }

    void Warn(int line, const std::string& message)
    {
        m_report.findings.push_back(Finding{ kWarning, m_file, line, message });
    }

    void CheckLineEnds();
    void CheckNumber(const TableRow& row, const char* number);

    const std::string& m_data;
    std::string m_file;
    Report& m_report;
    size_t m_end;
};

void TableChecker::CheckLineEnds()
{
    if (m_end < m_data.size())
        Warn(LineOf(m_data.data() + m_end), "a zero byte ends the table here: the launcher reads nothing after it");
    for (size_t i = 0; i + 1 < m_end; ++i) {
        if (m_data[i] == '\r' && m_data[i + 1] != '\n') {
            Warn(LineOf(m_data.data() + i),
                 "a line ends in a bare carriage return: the launcher reads on to the next line feed, "
                 "so what follows is not an entry of its own");
            return;
        }
    }
}

void TableChecker::CheckNumber(const TableRow& row, const char* number)
{
    const char* end = m_data.data() + m_end;
    if (number == end) {
        Warn(row.line, Quoted(Text(row.code, row.value)) + " has no number: it counts as a default entry (0)");
        return;
    }
    if (row.numberLine != row.line)
        Warn(row.line, Quoted(Text(row.code, row.value)) + " stands alone on its line: its number is read from line " +
                           std::to_string(row.numberLine) + " (" + Quoted(Text(LineText(number), row.value)) +
                           "), and the rest of that line is skipped");
    size_t digits = 0;
    while (digits < row.number.size() && IsHexDigit(row.number[digits]))
        ++digits;
    if (digits == 0) {
        Warn(row.numberLine, "the number " + Quoted(Text(row.number, row.value)) +
                                 " does not begin with a hexadecimal digit: the entry counts as the default language");
        return;
    }
    std::string tail = digits < row.number.size() ? row.number.substr(digits) : "";
    if (!tail.empty())
        Warn(row.numberLine, "the number " + Quoted(Text(row.number, row.value)) + " is read as " + Hex(row.value) + ": it ends at " +
                                 Quoted(Text(tail.substr(0, 1), row.value)) +
                                 (row.value == 0 ? ", so the entry counts as the default language" : ""));
    size_t lead = 0;
    while (lead < digits && row.number[lead] == '0')
        ++lead;
    if (digits - lead > 8)
        Warn(row.numberLine, "the number " + Quoted(Text(row.number.substr(0, digits), row.value)) + " has more than 8 digits: it wraps to " +
                                 Hex(row.value));
}

void TableChecker::Run()
{
    CheckLineEnds();

    std::vector<TableItem> items;
    ScanLanguageTable(m_data.data(), m_data.size(), CollectItem, &items);
    const char* end = m_data.data() + m_end;
    std::map<uint32_t, size_t> last;  // number -> row that wins
    for (const TableItem& item : items) {
        TableRow row;
        row.line = LineOf(item.start);
        row.skipped = item.skipped;
        row.value = item.value;
        row.numberLine = LineOf(item.number);
        if (item.skipped) {
            std::string text = LineText(item.start);
            bool blank = text.find_first_not_of(" \t\v\f") == std::string::npos;
            if (blank)
                continue;  // an empty line: nothing lost
            row.status = "skipped: the line begins with white space";
            Warn(row.line, "the line begins with white space: the launcher skips it");
            m_report.rows.push_back(row);
            continue;
        }
        if (item.start == end && item.codeLength == 0)
            continue;  // the scan's end on an empty table
        row.code.assign(item.start, item.codeLength);
        row.cut = row.code.substr(0, 3);
        const char* n = item.number;
        while (n < end && !IsBlank(*n))
            ++n;
        row.number.assign(item.number, n);

        if (row.code.size() > 3)
            Warn(row.line, "the code " + Quoted(Text(row.code, row.value)) + " is cut to " + Quoted(Text(row.cut, row.value)) +
                               ": codes have at most 3 characters");
        for (char c : row.cut) {
            if (IsBadInFileName(static_cast<unsigned char>(c))) {
                Warn(row.line, "the code " + Quoted(Text(row.cut, row.value)) + " holds " + Quoted(Text(std::string(1, c), row.value)) +
                                   ", which no file name can: its language files are never found");
                break;
            }
        }
        CheckNumber(row, item.number);

        auto it = last.find(row.value);
        if (it != last.end()) {
            TableRow& earlier = m_report.rows[it->second];
            earlier.replacedBy = row.line;
            earlier.status = "replaced by line " + std::to_string(row.line);
            std::string what = row.value == 0 ? "a later default entry (0)" : "a later entry for " + Hex(row.value);
            Warn(earlier.line, "duplicate number: " + what + " on line " + std::to_string(row.line) +
                                   (earlier.cut == row.cut ? " replaces this one" : ", " + Quoted(Text(row.cut, row.value)) + ", replaces " +
                                                                                        Quoted(Text(earlier.cut, earlier.value))));
        }
        row.status = row.value == 0 ? "default language" : "";
        last[row.value] = m_report.rows.size();
        m_report.rows.push_back(row);
    }
    if (last.find(0) == last.end())
        m_report.findings.push_back(Finding{ kError, m_file, 0,
                                             "no entry is numbered 0: there is no default language, so a locale "
                                             "without an entry of its own gets no texts" });
}

}

unsigned TableCodePage(uint32_t locale)
{
    unsigned codePage = CodePageOfLocale(locale);
    return codePage == kNoCodePage ? 1252 : codePage;
}

void CheckTable(const std::string& data, const std::string& shownName, Report& report)
{
    TableChecker(data, shownName, report).Run();
}
