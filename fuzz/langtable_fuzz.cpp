// The language table parse on any bytes and any locale. The first four
// bytes of an input are the locale number (little-endian), the rest is
// the table. Checked: both codes at most 3 characters and zero-terminated,
// the current code the default's when nothing matched, the scan moving
// forward inside the data, and the result the same as a second model of
// the grammar below, built on words and line numbers rather than a cursor.
#include "check.h"
#include "nls/langtable.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The number a word stands for: its hexadecimal prefix, of which modulo
// 2^32 only the last eight digits count.
uint32_t WordValue(const std::string& word)
{
    size_t digits = word.find_first_not_of("0123456789abcdefABCDEF");
    if (digits == std::string::npos)
        digits = word.size();
    size_t first = digits > 8 ? digits - 8 : 0;
    if (digits == first)
        return 0;
    return static_cast<uint32_t>(std::stoul(word.substr(first, digits - first), nullptr, 16));
}

struct Model {
    std::string defaultCode, currentCode;
    bool matched = false;
};

// A line is an entry when it starts with a word: the word is the code, the
// next word in the data (on whatever line) the number, and the scan goes on
// with the line after the number's. Lines that start with white space are
// skipped; nothing counts after the last line feed that ends the data.
Model ModelParse(const std::string& text, uint32_t locale)
{
    struct Word {
        size_t start, length, line;
    };
    std::vector<size_t> lineStart(1, 0);
    std::vector<Word> words;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsBlank(text[i]) && (i == 0 || IsBlank(text[i - 1])))
            words.push_back({ i, 0, lineStart.size() - 1 });
        if (!IsBlank(text[i]))
            ++words.back().length;
        if (text[i] == '\n')
            lineStart.push_back(i + 1);
    }

    Model model;
    size_t line = 0;
    while (line < lineStart.size()) {
        size_t start = lineStart[line];
        if (line > 0 && start == text.size())
            break;
        if (start < text.size() && IsBlank(text[start])) {
            ++line;
            continue;
        }
        size_t w = static_cast<size_t>(
            std::lower_bound(words.begin(), words.end(), start,
                             [](const Word& word, size_t at) { return word.start < at; }) -
            words.begin());
        std::string code = w < words.size() ? text.substr(start, std::min<size_t>(words[w].length, 3)) : "";
        bool haveNumber = w + 1 < words.size();
        uint32_t value = haveNumber ? WordValue(text.substr(words[w + 1].start, words[w + 1].length)) : 0;
        if (value == 0) {
            model.defaultCode = code;
        } else if (value == locale) {
            model.currentCode = code;
            model.matched = true;
        }
        if (!haveNumber)
            break;
        line = words[w + 1].line + 1;
    }
    if (!model.matched)
        model.currentCode = model.defaultCode;
    return model;
}

struct Bounds {
    const char* begin;
    const char* end;
    const char* last;
};

void CheckItem(const TableItem& item, void* context)
{
    Bounds& b = *static_cast<Bounds*>(context);
    CHECK(item.start >= b.begin && item.start <= b.end, "item outside the data");
    CHECK(b.last == nullptr || item.start > b.last, "the scan did not move forward");
    CHECK(item.number >= item.start && item.number <= b.end, "number outside the item");
    CHECK(item.codeLength <= static_cast<size_t>(item.number - item.start), "code past the number");
    b.last = item.number > item.start ? item.number : item.start;
}

std::string Slot(const char* slot)
{
    return std::string(slot, strnlen(slot, 4));
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t locale = 0;
    size_t head = size < 4 ? size : 4;
    for (size_t i = 0; i < head; ++i)
        locale |= static_cast<uint32_t>(data[i]) << (8 * i);
    const char* table = reinterpret_cast<const char*>(data) + head;
    size_t tableSize = size - head;

    LanguageCodes codes;
    std::memset(&codes, 0xA5, sizeof codes);
    ParseLanguageTable(table, tableSize, locale, codes);

    size_t defaultLength = strnlen(codes.defaultCode, 4);
    size_t currentLength = strnlen(codes.currentCode, 4);
    CHECK(defaultLength <= 3, "default code not terminated");
    CHECK(currentLength <= 3, "current code not terminated");
    for (size_t i = 0; i < defaultLength; ++i)
        CHECK(!IsBlank(codes.defaultCode[i]), "blank in the default code");
    for (size_t i = 0; i < currentLength; ++i)
        CHECK(!IsBlank(codes.currentCode[i]), "blank in the current code");

    Model model = ModelParse(std::string(table, strnlen(table, tableSize)), locale);
    CHECK(Slot(codes.defaultCode) == model.defaultCode, "default \"%s\", model \"%s\"",
          Slot(codes.defaultCode).c_str(), model.defaultCode.c_str());
    CHECK(Slot(codes.currentCode) == model.currentCode, "current \"%s\", model \"%s\"",
          Slot(codes.currentCode).c_str(), model.currentCode.c_str());
    if (!model.matched)
        CHECK(Slot(codes.currentCode) == Slot(codes.defaultCode), "current differs from default without a match");

    const char* zero = static_cast<const char*>(std::memchr(table, '\0', tableSize));
    Bounds bounds = { table, zero ? zero : table + tableSize, nullptr };
    ScanLanguageTable(table, tableSize, CheckItem, &bounds);
    return 0;
}
