#include "profile.h"

#include "codepage.h"

namespace {

std::string Trimmed(const std::string& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && IsProfileBlank(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && IsProfileBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

}

bool IsProfileBlank(unsigned char c)
{
    // 0x1A is the end-of-file mark of old editors.
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

ProfileFile::ProfileFile(const std::string& bytes) : m_encoding(kAnsi)
{
    std::string text;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        m_encoding = kUtf8;
        text = AnsiFromUtf8(bytes.substr(3));
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        m_encoding = kUtf16LE;
        text = AnsiFromUtf16(bytes.substr(2), false);
    } else if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
        m_encoding = kUtf16BE;
        text = AnsiFromUtf16(bytes.substr(2), true);
    } else {
        text = bytes;
    }

    // Keys before the first header go to a section with the empty name.
    m_sections.push_back(ProfileSection{ std::string(), 0, {} });
    int line = 1;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string content = Trimmed(text.substr(pos, end - pos));
        int number = line;
        if (end < text.size()) {
            ++line;
            end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        }
        pos = end;
        if (content.empty())
            continue;

        if (content[0] == '[') {
            size_t close = content.rfind(']');
            if (close != std::string::npos && close > 0) {
                m_sections.push_back(ProfileSection{ Trimmed(content.substr(1, close - 1)), number, {} });
                continue;
            }
        }
        ProfileKey key;
        key.line = number;
        size_t equals = content.find('=');
        key.hasValue = equals != std::string::npos;
        key.name = Trimmed(content.substr(0, equals));
        if (key.hasValue)
            key.value = Trimmed(content.substr(equals + 1));
        m_sections.back().keys.push_back(key);
    }
}

const ProfileKey* ProfileFile::Find(const std::string& section, const std::string& key) const
{
    std::string s = Trimmed(section), k = Trimmed(key);
    for (const ProfileSection& sec : m_sections) {
        if (!SameLetters(sec.name, s))
            continue;
        for (const ProfileKey& entry : sec.keys)
            if (SameLetters(entry.name, k))
                return &entry;
        return nullptr;
    }
    return nullptr;
}

std::string ProfileFile::Read(const std::string& section, const std::string& key, size_t capacity) const
{
    const ProfileKey* entry = Find(section, key);
    if (!entry || !entry->hasValue || capacity == 0)
        return std::string();
    // The value is a zero-terminated string to the platform.
    std::string value = entry->value.substr(0, entry->value.find('\0'));
    bool quoted = value.size() > 1 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (quoted)
        value.erase(0, 1);
    // The closing quote is dropped after the value is cut to the buffer:
    // a value that only just fits loses its last character instead.
    size_t whole = value.size();
    if (value.size() > capacity - 1)
        value.resize(capacity - 1);
    if (quoted && capacity >= whole)
        value.pop_back();
    return value;
}
