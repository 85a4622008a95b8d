// The hex prefix parse on any bytes, against a second reading of the same
// digits: modulo 2^32 only the last eight of them count.
#include "check.h"
#include "nls/hexparse.h"

#include <cstring>
#include <string>

static bool IsHexDigit(unsigned char c)
{
    return c != 0 && std::strchr("0123456789abcdefABCDEF", c) != nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    uint32_t value = ParseHexPrefix(text, size);

    size_t digits = 0;
    while (digits < size && IsHexDigit(data[digits]))
        ++digits;
    size_t first = digits > 8 ? digits - 8 : 0;
    std::string last(text + first, digits - first);
    uint32_t expected = last.empty() ? 0 : static_cast<uint32_t>(std::strtoul(last.c_str(), nullptr, 16));
    CHECK(value == expected, "got %08X, expected %08X", value, expected);

    // Zero-terminated and read without a size, the same bytes give the same.
    std::string terminated(text, size);
    uint32_t again = ParseHexPrefix(terminated.c_str());
    CHECK(again == value, "without a size %08X, with one %08X", again, value);
    return 0;
}
