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

ProfileFile::ProfileFile(const std::string& bytes, unsigned codePage) : m_encoding(kAnsi), m_codePage(codePage)
{
    std::string text;
    std::vector<size_t> linesTaken;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        m_encoding = kUtf8;
        text = FromUnicode(DecodeUtf8(bytes.substr(3)));
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        m_encoding = kUtf16LE;
        text = FromUnicode(DecodeUtf16(bytes.substr(2), false));
    } else if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
        m_encoding = kUtf16BE;
        text = FromUnicode(DecodeUtf16(bytes.substr(2), true));
    } else {
        text = AsThePlatformReads(bytes, linesTaken);
    }
    Parse(text, linesTaken);
}

std::string ProfileFile::FromUnicode(const std::u32string& text)
{
    std::string out;
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        size_t before = out.size();
        if (!EncodeChar(ch, m_codePage, out)) {
            if (!BestFitChar(ch, m_codePage, out))
                out += '?';
            m_notes.push_back(ProfileNote{ ProfileNote::kNotInCodePage, line, ch, out.substr(before) });
        }
        line += ch == '\n' || (ch == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    }
    return out;
}

// The bytes of a file without a byte-order mark as the platform's reading
// through Unicode leaves them; `linesTaken` gets the places where a line
// end went into a character.
std::string ProfileFile::AsThePlatformReads(const std::string& bytes, std::vector<size_t>& linesTaken)
{
    std::string out, fallback;
    if (!EncodeChar(kDoubleByteDefault, m_codePage, fallback))
        fallback = "?";
    int line = 1;
    for (const CodeUnit& unit : DecodeCodePage(bytes, m_codePage)) {
        std::string written = bytes.substr(unit.offset, unit.length);
        bool lead = IsLeadByte(m_codePage, static_cast<unsigned char>(written[0]));
        if (unit.valid) {
            out += written;
        } else if (unit.length == 2) {
            char second = written[1];
            size_t next = unit.offset + 2;
            bool lineEnd = second == '\n' || (second == '\r' && (next == bytes.size() || bytes[next] != '\n'));
            out += fallback;
            m_notes.push_back(ProfileNote{ lineEnd ? ProfileNote::kLineEndTaken : ProfileNote::kBadSequence, line, 0, written });
            if (lineEnd) {
                linesTaken.push_back(out.size());
                ++line;
            }
            continue;
        } else if (lead) {
            out += fallback;  // a lead byte at the file's end
            m_notes.push_back(ProfileNote{ ProfileNote::kBadSequence, line, 0, written });
        } else {
            out += written;  // the platform maps it to a character of its own and back
            m_notes.push_back(ProfileNote{ ProfileNote::kNoCharacter, line, 0, written });
        }
        char c = written[0];
        size_t next = unit.offset + 1;
        line += c == '\n' || (c == '\r' && (next == bytes.size() || bytes[next] != '\n'));
    }
    return out;
}

void ProfileFile::Parse(const std::string& text, const std::vector<size_t>& linesTaken)
{
    // Keys before the first header go to a section with the empty name.
    m_sections.push_back(ProfileSection{ std::string(), 0, {} });
    int line = 1;
    size_t pos = 0, taken = 0;
    ProfileLine read;
    while (NextProfileLine(text.data(), text.size(), m_codePage, pos, read)) {
        int number = line;
        for (; taken < linesTaken.size() && linesTaken[taken] <= read.end; ++taken)
            ++line;
        if (read.end < text.size())
            ++line;
        if (read.kind == ProfileLine::kSection) {
            m_sections.push_back(ProfileSection{ std::string(read.name, read.nameLength), number, {} });
        } else if (read.kind == ProfileLine::kKey) {
            ProfileKey key;
            key.line = number;
            key.name.assign(read.name, read.nameLength);
            key.hasValue = read.hasValue;
            if (read.hasValue)
                key.value.assign(read.value, read.valueLength);
            m_sections.back().keys.push_back(key);
        }
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
    std::string buffer(capacity, '\0');
    size_t length = CopyProfileValue(entry->value.data(), entry->value.size(), m_codePage, &buffer[0], capacity);
    return buffer.substr(0, length);
}
