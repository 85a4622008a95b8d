// Reads the resources back from the built setup.exe, loaded as a data file,
// and checks the bytes that the dialog, the icon and the version depend on.
#include "testpath.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

std::string g_setupExe;

namespace {

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Reads a resource's fields in order; past the end it yields zeros and
// remembers that it ran short.
class Reader {
public:
    Reader(const void* data, size_t size) : m_p(static_cast<const uint8_t*>(data)), m_size(size) {}

    uint8_t Byte() { return m_pos < m_size ? m_p[m_pos++] : (m_short = true, 0); }
    uint16_t Word() { uint16_t lo = Byte(); return static_cast<uint16_t>(lo | Byte() << 8); }
    uint32_t Dword() { uint32_t lo = Word(); return lo | static_cast<uint32_t>(Word()) << 16; }
    int16_t Int16() { return static_cast<int16_t>(Word()); }
    void AlignToDword() { m_pos = (m_pos + 3) & ~size_t(3); }

    // A UTF-16 string as ASCII ('?' beyond it).
    std::string String()
    {
        std::string s;
        for (uint16_t c; (c = Word()) != 0 && !m_short;)
            s += c < 0x80 ? static_cast<char>(c) : '?';
        return s;
    }
    // An ordinal as "#n", else the string ("" when empty).
    std::string NameOrOrdinal()
    {
        if (m_pos + 2 <= m_size && m_p[m_pos] == 0xFF && m_p[m_pos + 1] == 0xFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return String();
    }

    size_t Pos() const { return m_pos; }
    bool RanShort() const { return m_short; }

private:
    const uint8_t* m_p;
    size_t m_size;
    size_t m_pos = 0;
    bool m_short = false;
};

// Passes over the header that the test DialogHeader checks: 13 words of
// fixed fields, menu, class, title, then the font (3 words and its face).
void SkipDialogHeader(Reader& r)
{
    for (int i = 0; i < 13; ++i)
        r.Word();
    r.NameOrOrdinal();
    r.NameOrOrdinal();
    r.String();
    for (int i = 0; i < 3; ++i)
        r.Word();
    r.String();
}

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_module = LoadLibraryExA(g_setupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(s_module); }

    void SetUp() override { ASSERT_NE(nullptr, s_module) << "Can't load " << g_setupExe; }

    // The bytes of a resource in US English; empty if there is none.
    static std::vector<uint8_t> Bytes(LPCSTR type, WORD id)
    {
        HRSRC hRes = FindResourceExA(s_module, type, MAKEINTRESOURCEA(id), kEnglishUs);
        HGLOBAL hData = hRes ? LoadResource(s_module, hRes) : nullptr;
        const uint8_t* p = static_cast<const uint8_t*>(hData ? LockResource(hData) : nullptr);
        return p ? std::vector<uint8_t>(p, p + SizeofResource(s_module, hRes)) : std::vector<uint8_t>();
    }

    static HMODULE s_module;
};

HMODULE Resources::s_module;

TEST_F(Resources, DialogHeader)
{
    std::vector<uint8_t> bytes = Bytes(RT_DIALOG, 102);
    ASSERT_FALSE(bytes.empty()) << "No dialog 102 in language 1033";
    Reader r(bytes.data(), bytes.size());
    EXPECT_EQ(1, r.Word()) << "version";
    EXPECT_EQ(0xFFFF, r.Word()) << "signature";
    EXPECT_EQ(0u, r.Dword()) << "help id";
    EXPECT_EQ(0x00040000u, r.Dword()) << "extended style";
    EXPECT_EQ(0x90C800C0u, r.Dword()) << "style";
    EXPECT_EQ(5, r.Word()) << "controls";
    EXPECT_EQ(0, r.Int16()) << "x";
    EXPECT_EQ(0, r.Int16()) << "y";
    EXPECT_EQ(215, r.Int16()) << "width";
    EXPECT_EQ(93, r.Int16()) << "height";
    EXPECT_EQ("", r.NameOrOrdinal()) << "menu";
    EXPECT_EQ("", r.NameOrOrdinal()) << "class";
    EXPECT_EQ("", r.String()) << "title";
    EXPECT_EQ(8, r.Word()) << "point size";
    EXPECT_EQ(0, r.Word()) << "weight";
    EXPECT_EQ(0, r.Byte()) << "italic";
    EXPECT_EQ(1, r.Byte()) << "character set";
    EXPECT_EQ("MS Sans Serif", r.String()) << "face";
    EXPECT_FALSE(r.RanShort());
}

TEST_F(Resources, DialogControls)
{
    static const struct {
        uint32_t id;
        const char* windowClass;
        uint32_t style;
        int16_t x, y, cx, cy;
        const char* text;
    } expected[] = {
        /* 0 */ { 1, "#128", 0x50010001, 53, 72, 50, 14, "Yes" },
        /* 1 */ { 2, "#128", 0x50010000, 122, 72, 50, 14, "No" },
        /* 2 */ { 0xFFFFFFFF, "#130", 0x50000003, 7, 23, 20, 20, "#128" },
        /* 3 */ { 1000, "#130", 0x50020000, 41, 13, 167, 31, "" },
        /* 4 */ { 1001, "#128", 0x50010003, 41, 55, 167, 10, "" },
    };
    std::vector<uint8_t> bytes = Bytes(RT_DIALOG, 102);
    ASSERT_FALSE(bytes.empty()) << "No dialog 102 in language 1033";
    Reader r(bytes.data(), bytes.size());
    SkipDialogHeader(r);

    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        r.AlignToDword();
        EXPECT_EQ(0u, r.Dword()) << "help id";
        EXPECT_EQ(0u, r.Dword()) << "extended style";
        EXPECT_EQ(expected[i].style, r.Dword()) << "style";
        EXPECT_EQ(expected[i].x, r.Int16()) << "x";
        EXPECT_EQ(expected[i].y, r.Int16()) << "y";
        EXPECT_EQ(expected[i].cx, r.Int16()) << "width";
        EXPECT_EQ(expected[i].cy, r.Int16()) << "height";
        EXPECT_EQ(expected[i].id, r.Dword()) << "id";
        EXPECT_EQ(expected[i].windowClass, r.NameOrOrdinal()) << "class";
        EXPECT_EQ(expected[i].text, r.NameOrOrdinal()) << "text";
        EXPECT_EQ(0, r.Word()) << "creation data";
    }
    EXPECT_FALSE(r.RanShort());
    EXPECT_EQ(bytes.size(), r.Pos()) << "bytes after the last control";
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountLanguage(HMODULE, LPCSTR, LPCSTR, WORD, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(Resources, OneIconGroupWithOne16ColourImage)
{
    int groups = 0, languages = 0;
    EnumResourceNamesA(s_module, RT_GROUP_ICON, CountName, reinterpret_cast<LONG_PTR>(&groups));
    EnumResourceLanguagesA(s_module, RT_GROUP_ICON, MAKEINTRESOURCEA(128), CountLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(1, groups) << "icon groups in the file";
    EXPECT_EQ(1, languages) << "languages of icon group 128";

    std::vector<uint8_t> group = Bytes(RT_GROUP_ICON, 128);
    ASSERT_FALSE(group.empty()) << "No icon group 128 in language 1033";
    Reader g(group.data(), group.size());
    EXPECT_EQ(0, g.Word()) << "reserved";
    EXPECT_EQ(1, g.Word()) << "type";
    EXPECT_EQ(1, g.Word()) << "images";
    EXPECT_EQ(32, g.Byte()) << "width";
    EXPECT_EQ(32, g.Byte()) << "height";
    EXPECT_EQ(16, g.Byte()) << "colours";
    EXPECT_EQ(0, g.Byte()) << "reserved";
    EXPECT_EQ(1, g.Word()) << "planes";
    EXPECT_EQ(4, g.Word()) << "bits per pixel";
    EXPECT_EQ(744u, g.Dword()) << "image size";
    WORD imageId = g.Word();
    EXPECT_EQ(1, imageId) << "image id";
    EXPECT_FALSE(g.RanShort());

    std::vector<uint8_t> image = Bytes(RT_ICON, imageId);
    ASSERT_EQ(744u, image.size()) << "size of icon image " << imageId;
    Reader r(image.data(), image.size());
    EXPECT_EQ(40u, r.Dword()) << "header size";
    EXPECT_EQ(32u, r.Dword()) << "width";
    EXPECT_EQ(64u, r.Dword()) << "height: colour bitmap and mask";
    EXPECT_EQ(1, r.Word()) << "planes";
    EXPECT_EQ(4, r.Word()) << "bits per pixel";
    EXPECT_EQ(0u, r.Dword()) << "compression";

    // The standard 16 VGA colours, as RGB.
    static const uint32_t vga[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    Reader palette(image.data() + 40, 64);
    for (int i = 0; i < 16; ++i) {
        uint32_t quad = palette.Dword();  // blue, green, red, 0
        EXPECT_EQ(vga[i], quad) << "palette entry " << i;
    }
}

std::string VersionString(const std::vector<uint8_t>& info, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "(none)";
    return value;
}

TEST_F(Resources, VersionRecord)
{
    EXPECT_FALSE(Bytes(RT_VERSION, 1).empty()) << "No version record in language 1033";

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(g_setupExe.c_str(), &handle);
    ASSERT_NE(0u, size);
    std::vector<uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(g_setupExe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(sizeof *fixed, length);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00020003u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00020003u, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);

    EXPECT_EQ("2, 3, 0, 0", VersionString(info, "FileVersion"));
    EXPECT_EQ("2, 3, 0, 0", VersionString(info, "ProductVersion"));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(4u, length) << "one language and code page";
    EXPECT_EQ(0x0409, translation[0]) << "language";
    EXPECT_EQ(1200, translation[1]) << "code page";
}

}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s [gtest options] SETUP_EXE\n", argv[0]);
        return 2;
    }
    g_setupExe = WindowsPath(argv[1]);
    return RunAllTests();
}
