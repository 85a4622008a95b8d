#include "codepage.h"

namespace {

// 0x80 to 0x9F; 0 where the code page leaves the byte undefined (the
// platform then maps it to the control character of the same number).
const uint16_t kHighControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}

uint32_t CodepointOfAnsi(unsigned char c)
{
    if (c >= 0x80 && c < 0xA0 && kHighControls[c - 0x80] != 0)
        return kHighControls[c - 0x80];
    return c;
}

char AnsiOfCodepoint(uint32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100))
        return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == cp || (kHighControls[i] == 0 && cp == 0x80u + i))
            return static_cast<char>(0x80 + i);
    return '?';
}

std::string AnsiFromUtf8(const std::string& text)
{
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0) {
            out += '?';
            ++i;
            continue;
        }
        uint32_t cp = more == 0 ? c : more == 1 ? (c & 0x1F) : more == 2 ? (c & 0x0F) : (c & 0x07);
        size_t j = i + 1;
        bool whole = true;
        for (int k = 0; k < more; ++k, ++j) {
            if (j >= text.size() || (static_cast<unsigned char>(text[j]) >> 6) != 2) {
                whole = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
        }
        out += whole ? AnsiOfCodepoint(cp) : '?';
        i = j;
    }
    return out;
}

std::string AnsiFromUtf16(const std::string& bytes, bool bigEndian)
{
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned lo = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        unsigned hi = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        uint32_t unit = hi << 8 | lo;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            i += 2;  // a pair stands for one character outside the code page
            out += '?';
            continue;
        }
        out += AnsiOfCodepoint(unit);
    }
    return out;
}

std::string Utf8FromAnsi(const std::string& text)
{
    std::string out;
    for (char c : text)
        AppendUtf8(out, CodepointOfAnsi(static_cast<unsigned char>(c)));
    return out;
}

bool SameLetters(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}
