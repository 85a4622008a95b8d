#include "profile.h"

namespace {

bool IsDoubleByteLead(unsigned codePage, unsigned char c)
{
    if (codePage == 932)
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    return (codePage == 936 || codePage == 949 || codePage == 950) && c >= 0x81 && c <= 0xFE;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* a, size_t aLength, const char* b, size_t bLength)
{
    if (aLength != bLength)
        return false;
    for (size_t i = 0; i < aLength; ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// Drops the blanks at both ends of [begin, end).
void Trim(const char*& begin, const char*& end)
{
    while (begin < end && IsProfileBlank(static_cast<unsigned char>(*begin)))
        ++begin;
    while (end > begin && IsProfileBlank(static_cast<unsigned char>(end[-1])))
        --end;
}

size_t Length(const char* s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

}

bool IsProfileBlank(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

size_t ProfileCharLength(unsigned codePage, const char* p, const char* end)
{
    unsigned char c = static_cast<unsigned char>(*p);
    size_t length = 1;
    if (IsDoubleByteLead(codePage, c)) {
        length = 2;
    } else if (codePage == kCodePageUtf8 && c >= 0xC2 && c <= 0xF4) {
        size_t wanted = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        while (length < wanted && p + length < end && (static_cast<unsigned char>(p[length]) & 0xC0) == 0x80)
            ++length;
    }
    return p + length <= end ? length : static_cast<size_t>(end - p);
}

bool NextProfileLine(const char* text, size_t size, unsigned codePage, size_t& pos, ProfileLine& line)
{
    if (pos >= size)
        return false;
    const char* end = text + size;
    const char* begin = text + pos;
    const char* p = begin;
    while (p < end && *p != '\r' && *p != '\n')
        p += ProfileCharLength(codePage, p, end);
    const char* lineEnd = p;
    if (p < end)
        p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
    pos = static_cast<size_t>(p - text);

    line = ProfileLine();
    line.start = static_cast<size_t>(begin - text);
    line.end = static_cast<size_t>(lineEnd - text);
    Trim(begin, lineEnd);
    if (begin == lineEnd)
        return true;

    if (*begin == '[') {
        const char* close = nullptr;
        for (const char* q = begin; q < lineEnd; q += ProfileCharLength(codePage, q, lineEnd))
            if (*q == ']')
                close = q;
        if (close && close > begin) {
            const char* nameBegin = begin + 1;
            Trim(nameBegin, close);
            line.kind = ProfileLine::kSection;
            line.name = nameBegin;
            line.nameLength = static_cast<size_t>(close - nameBegin);
            return true;
        }
    }
    const char* equals = begin;
    while (equals < lineEnd && *equals != '=')
        equals += ProfileCharLength(codePage, equals, lineEnd);
    const char* nameEnd = equals;
    Trim(begin, nameEnd);
    line.kind = ProfileLine::kKey;
    line.name = begin;
    line.nameLength = static_cast<size_t>(nameEnd - begin);
    line.hasValue = equals < lineEnd;
    if (line.hasValue) {
        const char* valueBegin = equals + 1;
        Trim(valueBegin, lineEnd);
        line.value = valueBegin;
        line.valueLength = static_cast<size_t>(lineEnd - valueBegin);
    }
    return true;
}

bool FindProfileKey(const char* text, size_t size, unsigned codePage, const char* section, const char* key,
                    ProfileLine& found)
{
    const char* sectionBegin = section;
    const char* sectionEnd = section + Length(section);
    Trim(sectionBegin, sectionEnd);
    const char* keyBegin = key;
    const char* keyEnd = key + Length(key);
    Trim(keyBegin, keyEnd);
    size_t sectionLength = static_cast<size_t>(sectionEnd - sectionBegin);
    size_t keyLength = static_cast<size_t>(keyEnd - keyBegin);

    bool inSection = sectionLength == 0;  // the keys before the first header
    size_t pos = 0;
    ProfileLine line;
    while (NextProfileLine(text, size, codePage, pos, line)) {
        if (line.kind == ProfileLine::kSection) {
            if (inSection)
                return false;  // only the first section of the name counts
            inSection = SameName(line.name, line.nameLength, sectionBegin, sectionLength);
        } else if (line.kind == ProfileLine::kKey && inSection &&
                   SameName(line.name, line.nameLength, keyBegin, keyLength)) {
            found = line;
            return true;
        }
    }
    return false;
}

size_t CopyProfileValue(const char* value, size_t length, unsigned codePage, char* buffer, size_t capacity)
{
    if (capacity == 0)
        return 0;
    // The platform takes the value as a zero-terminated string.
    for (size_t i = 0; i < length; ++i)
        if (value[i] == '\0')
            length = i;
    const char* end = value + length;
    size_t characters = 0;
    for (const char* p = value; p < end; p += ProfileCharLength(codePage, p, end))
        ++characters;
    bool quoted = characters > 1 && (value[0] == '"' || value[0] == '\'') && end[-1] == value[0];
    size_t first = quoted ? 1 : 0;
    size_t whole = characters - first;
    // The closing quote is dropped after the value is cut to the buffer:
    // a value that only just fits loses its last character instead.
    size_t count = whole < capacity - 1 ? whole : capacity - 1;
    if (quoted && capacity >= whole && count > 0)
        --count;
    const char* from = value + first;
    size_t bytes = 0;
    for (; count > 0; --count) {
        size_t n = ProfileCharLength(codePage, from + bytes, end);
        if (bytes + n > capacity - 1)
            break;
        bytes += n;
    }
    for (size_t i = 0; i < bytes; ++i)
        buffer[i] = from[i];
    buffer[bytes] = '\0';
    return bytes;
}

ProfileMark ProfileMarkOf(const char* bytes, size_t size)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return kUtf8Mark;
    if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        return kUtf16LEMark;
    if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        return kUtf16BEMark;
    return kNoMark;
}

size_t ProfileMarkLength(ProfileMark mark)
{
    return mark == kNoMark ? 0 : mark == kUtf8Mark ? 3 : 2;
}
