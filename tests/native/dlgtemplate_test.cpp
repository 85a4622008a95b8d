#include "afx/dlgtemplate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Builds templates byte by byte, the way the resource compiler lays them out.
struct TemplateBuilder {
    std::vector<uint8_t> bytes;

    void Word(uint16_t w) { bytes.push_back(w & 0xFF); bytes.push_back(w >> 8); }
    void Dword(uint32_t d) { Word(d & 0xFFFF); Word(d >> 16); }
    void String(const std::u16string& s) { for (char16_t c : s) Word(c); Word(0); }
    void Align() { while (bytes.size() % 4) bytes.push_back(0); }
};

const uint32_t kStyle = 0x90C800C0;  // popup, visible, caption, sysmenu, modal frame, set font

// An extended template with one button, "MS Sans Serif" 8 pt, at (x, y).
std::vector<uint8_t> ExtendedTemplate(uint32_t style, int16_t x, int16_t y)
{
    TemplateBuilder b;
    b.Word(1); b.Word(0xFFFF); b.Dword(0); b.Dword(0x00040000); b.Dword(style);
    b.Word(1); b.Word(static_cast<uint16_t>(x)); b.Word(static_cast<uint16_t>(y)); b.Word(215); b.Word(93);
    b.Word(0); b.Word(0); b.String(u"Title");
    if (style & 0x40) {
        b.Word(8); b.Word(0); b.bytes.push_back(0); b.bytes.push_back(1); b.String(u"MS Sans Serif");
    }
    b.Align();
    b.Dword(0); b.Dword(0); b.Dword(0x50010001);
    b.Word(53); b.Word(72); b.Word(50); b.Word(14); b.Dword(1);
    b.Word(0xFFFF); b.Word(0x0080); b.String(u"Yes"); b.Word(0);
    return b.bytes;
}

// The classic template: style first, no version or signature.
std::vector<uint8_t> ClassicTemplate()
{
    TemplateBuilder b;
    b.Dword(kStyle); b.Dword(0); b.Word(0);
    b.Word(5); b.Word(6); b.Word(100); b.Word(50);
    b.Word(0); b.Word(0); b.Word(0);
    b.Word(8); b.String(u"MS Sans Serif");
    b.Align();
    return b.bytes;
}

}

TEST(DialogTemplate, HeaderOfBothFormats)
{
    std::vector<uint8_t> ex = ExtendedTemplate(kStyle, 0, 0);
    DialogTemplateHeader header = { 0xDEADBEEF, 99, 99 };
    ASSERT_TRUE(ReadDialogTemplateHeader(ex.data(), ex.size(), header));
    EXPECT_EQ(header.style, kStyle);
    EXPECT_EQ(header.x, 0);
    EXPECT_EQ(header.y, 0);

    std::vector<uint8_t> classic = ClassicTemplate();
    ASSERT_TRUE(ReadDialogTemplateHeader(classic.data(), classic.size(), header));
    EXPECT_EQ(header.style, kStyle);
    EXPECT_EQ(header.x, 5);
    EXPECT_EQ(header.y, 6);

    EXPECT_FALSE(ReadDialogTemplateHeader(ex.data(), 20, header));
}

TEST(DialogTemplate, NewFontKeepsTheControls)
{
    std::vector<uint8_t> ex = ExtendedTemplate(kStyle, 0, 0);
    const std::u16string oldFace = u"MS Sans Serif";
    size_t faceAt = 26 + 2 + 2 + 12 + 6;
    size_t oldItemsAt = (faceAt + 2 * (oldFace.size() + 1) + 3) & ~size_t(3);

    // Shorter and longer faces: the controls move to the next 4-byte boundary.
    for (const std::u16string& face : { std::u16string(u"Tahoma"), std::u16string(u"MS UI Gothic Extra Long") }) {
        alignas(4) uint8_t out[512];
        std::memset(out, 0xCC, sizeof out);
        size_t n = SetDialogTemplateFont(ex.data(), ex.size(), 9, face.c_str(), out, sizeof out);
        size_t newItemsAt = (faceAt + 2 * (face.size() + 1) + 3) & ~size_t(3);
        ASSERT_EQ(n, newItemsAt + ex.size() - oldItemsAt);
        EXPECT_EQ(0, std::memcmp(out, ex.data(), faceAt - 6)) << "header before the font changed";
        EXPECT_EQ(out[faceAt - 6], 9);
        EXPECT_EQ(out[faceAt - 5], 0);
        EXPECT_EQ(0, std::memcmp(out + faceAt - 4, ex.data() + faceAt - 4, 4)) << "weight, italic, charset";
        std::u16string written;
        for (size_t i = faceAt; out[i] || out[i + 1]; i += 2)
            written += static_cast<char16_t>(out[i] | out[i + 1] << 8);
        EXPECT_EQ(written, face);
        EXPECT_EQ(0, std::memcmp(out + newItemsAt, ex.data() + oldItemsAt, ex.size() - oldItemsAt))
            << "controls changed";
        EXPECT_EQ(out[n], 0xCC) << "wrote past the copy";
    }
}

// The character set alone: the face, the size and the controls stay.
TEST(DialogTemplate, CharacterSetOfTheFont)
{
    std::vector<uint8_t> ex = ExtendedTemplate(kStyle, 0, 0);
    size_t faceAt = 26 + 2 + 2 + 12 + 6;
    alignas(4) uint8_t out[512];
    std::memset(out, 0xCC, sizeof out);
    size_t n = SetDialogTemplateFont(ex.data(), ex.size(), 0, nullptr, out, sizeof out, 204);
    ASSERT_EQ(ex.size(), n);
    EXPECT_EQ(204, out[faceAt - 1]) << "the character set";
    out[faceAt - 1] = ex[faceAt - 1];
    EXPECT_EQ(0, std::memcmp(out, ex.data(), ex.size())) << "more than the character set changed";
    EXPECT_EQ(out[n], 0xCC) << "wrote past the copy";

    // A classic template has no character set: it is copied as it is.
    std::vector<uint8_t> classic = ClassicTemplate();
    n = SetDialogTemplateFont(classic.data(), classic.size(), 0, nullptr, out, sizeof out, 204);
    ASSERT_EQ(classic.size(), n);
    EXPECT_EQ(0, std::memcmp(out, classic.data(), classic.size()));
}

TEST(DialogTemplate, NoCopyWithoutFontOrRoom)
{
    alignas(4) uint8_t out[512];
    std::vector<uint8_t> noFont = ExtendedTemplate(kStyle & ~0x40u, 0, 0);
    EXPECT_EQ(SetDialogTemplateFont(noFont.data(), noFont.size(), 9, u"Tahoma", out, sizeof out), 0u);

    std::vector<uint8_t> ex = ExtendedTemplate(kStyle, 0, 0);
    EXPECT_EQ(SetDialogTemplateFont(ex.data(), ex.size(), 9, u"Tahoma", out, 40), 0u);
    // Cut inside the title or the face name: nothing to read.
    EXPECT_EQ(SetDialogTemplateFont(ex.data(), 34, 9, u"Tahoma", out, sizeof out), 0u);
    EXPECT_EQ(SetDialogTemplateFont(ex.data(), 54, 9, u"Tahoma", out, sizeof out), 0u);

    std::vector<uint8_t> classic = ClassicTemplate();
    EXPECT_GT(SetDialogTemplateFont(classic.data(), classic.size(), 9, u"Tahoma", out, sizeof out), 0u);
}
