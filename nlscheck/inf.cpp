#include "inf.h"

#include "codepage.h"

#include <cstdlib>
#include <map>
#include <vector>

namespace {

struct InfLine {
    int line;
    std::string key;                  // before "=", if the line has one
    std::vector<std::string> fields;  // after it, or the whole line
};

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n\v\f");
    if (b == std::string::npos)
        return std::string();
    return s.substr(b, s.find_last_not_of(" \t\r\n\v\f") - b + 1);
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// A line's fields: split at commas outside quotes, quotes taken off
// ("" inside them is one quote), a comment cut off.
std::vector<std::string> Fields(const std::string& text)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            break;
        } else if (c == ',') {
            fields.push_back(Trim(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(Trim(field));
    return fields;
}

// The text before a line's comment.
std::string WithoutComment(const std::string& text)
{
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ';' && !quoted)
            return text.substr(0, i);
    }
    return text;
}

std::string Substituted(const std::string& text, const std::map<std::string, std::string>& strings)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
        if (close == std::string::npos) {
            out += text[i];
            continue;
        }
        std::string name = text.substr(i + 1, close - i - 1);
        auto it = strings.find(Upper(name));
        if (name.empty())
            out += '%';
        else if (it != strings.end())
            out += it->second;
        else
            out += text.substr(i, close - i + 1);
        i = close;
    }
    return out;
}

}

InfFacts ReadInf(const std::string& bytes, const std::string& uninstallKey)
{
    std::map<std::string, std::vector<InfLine>> sections;
    std::vector<InfLine>* current = nullptr;
    std::string pending;
    int pendingLine = 0;
    int line = 0;
    size_t pos = 0;
    while (pos <= bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        ++line;
        std::string text = Trim(WithoutComment(bytes.substr(pos, end - pos)));
        pos = end + 1;
        if (pending.empty())
            pendingLine = line;
        if (!text.empty() && text.back() == '\\' && pos <= bytes.size()) {
            pending += text.substr(0, text.size() - 1);
            continue;
        }
        text = pending + text;
        pending.clear();
        if (text.empty())
            continue;
        if (text[0] == '[') {
            size_t close = text.find(']');
            current = &sections[Upper(Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1)))];
            continue;
        }
        if (!current)
            continue;
        InfLine entry;
        entry.line = pendingLine;
        size_t equals = std::string::npos;
        bool quoted = false;
        for (size_t i = 0; i < text.size() && equals == std::string::npos; ++i) {
            if (text[i] == '"')
                quoted = !quoted;
            else if (text[i] == '=' && !quoted)
                equals = i;
        }
        if (equals != std::string::npos) {
            entry.key = Upper(Trim(text.substr(0, equals)));
            entry.fields = Fields(text.substr(equals + 1));
        } else {
            entry.fields = Fields(text);
        }
        current->push_back(entry);
    }

    std::map<std::string, std::string> strings;
    for (const InfLine& entry : sections["STRINGS"])
        if (!entry.key.empty() && !entry.fields.empty())
            strings[Upper(Fields(entry.key)[0])] = entry.fields[0];

    InfFacts facts = { sections.count("DEFAULTINSTALL") != 0, 0, 0 };
    std::string wanted = Upper(uninstallKey);
    for (const InfLine& install : sections["DEFAULTINSTALL"]) {
        if (install.key != "ADDREG")
            continue;
        for (const std::string& name : install.fields) {
            for (const InfLine& reg : sections[Upper(Substituted(name, strings))]) {
                std::vector<std::string> f = reg.fields;
                if (f.size() < 3)
                    continue;
                for (std::string& field : f)
                    field = Substituted(field, strings);
                std::string root = Upper(f[0]), key = Upper(f[1]);
                while (!key.empty() && key.back() == '\\')
                    key.pop_back();
                if ((root != "HKLM" && root != "HKEY_LOCAL_MACHINE") || key != wanted)
                    continue;
                bool deletes = f.size() > 3 && (std::strtoul(f[3].c_str(), nullptr, 0) & 4) != 0;
                if (deletes)
                    continue;
                if (SameLetters(f[2], "UninstallString") && !facts.uninstallStringLine)
                    facts.uninstallStringLine = reg.line;
                if (SameLetters(f[2], "DisplayName") && !facts.displayNameLine)
                    facts.displayNameLine = reg.line;
            }
        }
    }
    return facts;
}
