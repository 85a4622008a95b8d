#include "dlgtemplate.h"

#include <cstring>

namespace {

const uint32_t kDsSetFont = 0x40;

uint16_t Word(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool IsExtended(const uint8_t* p, size_t size)
{
    return size >= 4 && Word(p) == 1 && Word(p + 2) == 0xFFFF;
}

// Skips a zero-terminated UTF-16 string; false if it runs past the end.
bool SkipString(const uint8_t* p, size_t size, size_t& pos)
{
    for (; pos + 2 <= size; pos += 2)
        if (Word(p + pos) == 0) {
            pos += 2;
            return true;
        }
    return false;
}

// Skips a name that is either an ordinal (0xFFFF and a number), empty, or
// a string.
bool SkipNameOrOrdinal(const uint8_t* p, size_t size, size_t& pos)
{
    if (pos + 2 > size)
        return false;
    if (Word(p + pos) == 0xFFFF) {
        pos += 4;
        return pos <= size;
    }
    return SkipString(p, size, pos);
}

size_t AlignToDword(size_t n)
{
    return (n + 3) & ~static_cast<size_t>(3);
}

}

bool ReadDialogTemplateHeader(const void* tmpl, size_t size, DialogTemplateHeader& header)
{
    const uint8_t* p = static_cast<const uint8_t*>(tmpl);
    size_t styleAt = IsExtended(p, size) ? 12 : 0;
    size_t xAt = IsExtended(p, size) ? 18 : 10;
    if (size < xAt + 4)
        return false;
    header.style = Word(p + styleAt) | static_cast<uint32_t>(Word(p + styleAt + 2)) << 16;
    header.x = static_cast<int16_t>(Word(p + xAt));
    header.y = static_cast<int16_t>(Word(p + xAt + 2));
    return true;
}

size_t SetDialogTemplateFont(const void* tmpl, size_t size, uint16_t pointSize,
                             const char16_t* face, void* out, size_t capacity, int charSet)
{
    const uint8_t* p = static_cast<const uint8_t*>(tmpl);
    DialogTemplateHeader header;
    if (!ReadDialogTemplateHeader(tmpl, size, header) || !(header.style & kDsSetFont))
        return 0;
    bool extended = IsExtended(p, size);
    size_t pos = extended ? 26 : 18;
    if (!SkipNameOrOrdinal(p, size, pos) || !SkipNameOrOrdinal(p, size, pos) || !SkipString(p, size, pos))
        return 0;
    size_t pointSizeAt = pos;
    size_t faceAt = pointSizeAt + (extended ? 6 : 2);
    size_t oldFaceEnd = faceAt;
    if (faceAt > size || !SkipString(p, size, oldFaceEnd))
        return 0;
    size_t itemsAt = AlignToDword(oldFaceEnd);
    if (itemsAt > size)
        itemsAt = size;

    size_t faceLength = face ? 0 : (oldFaceEnd - faceAt) / 2 - 1;
    while (face && face[faceLength])
        ++faceLength;
    size_t newItemsAt = AlignToDword(faceAt + 2 * (faceLength + 1));
    size_t total = newItemsAt + (size - itemsAt);
    if (total > capacity)
        return 0;

    uint8_t* q = static_cast<uint8_t*>(out);
    std::memcpy(q, p, face ? faceAt : oldFaceEnd);
    if (pointSize) {
        q[pointSizeAt] = static_cast<uint8_t>(pointSize);
        q[pointSizeAt + 1] = static_cast<uint8_t>(pointSize >> 8);
    }
    if (extended && charSet >= 0)
        q[pointSizeAt + 5] = static_cast<uint8_t>(charSet);
    size_t at = faceAt;
    for (size_t i = 0; face && i <= faceLength; ++i, at += 2) {
        q[at] = static_cast<uint8_t>(face[i]);
        q[at + 1] = static_cast<uint8_t>(face[i] >> 8);
    }
    if (!face)
        at = oldFaceEnd;
    std::memset(q + at, 0, newItemsAt - at);
    std::memcpy(q + newItemsAt, p + itemsAt, size - itemsAt);
    return total;
}
