#include "codepage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <locale.h>

#include <map>
#endif

#include <cstdio>

namespace {

const int kAnySub = -1;

struct LocaleCodePage {
    uint16_t primary;
    int sub;  // kAnySub: every sub-language not named before
    uint16_t codePage;
};

// The ANSI code page Windows gives each language, as GetLocaleInfoA tells
// it (nlscheck_codepage_wine compares every locale). Languages that Windows
// writes in Unicode only (Armenian, Georgian, Kazakh, the Indic
// languages...) are left out: they have none. Sub-language 0 is the
// language's default locale; those from 0x19 up stand for one of its
// scripts (6C1A: Serbian in Cyrillic).
const LocaleCodePage kLocaleCodePages[] = {
    { 0x01, kAnySub, 1256 },  // Arabic
    { 0x02, kAnySub, 1251 },  // Bulgarian
    { 0x03, kAnySub, 1252 },  // Catalan
    { 0x04, 0x01, 950 },      // Chinese (Taiwan)
    { 0x04, 0x03, 950 },      // Chinese (Hong Kong)
    { 0x04, 0x05, 950 },      // Chinese (Macau)
    { 0x04, 0x1F, 950 },      // Chinese (Traditional)
    { 0x04, kAnySub, 936 },   // Chinese (PRC, Singapore, Simplified)
    { 0x05, kAnySub, 1250 },  // Czech
    { 0x06, kAnySub, 1252 },  // Danish
    { 0x07, kAnySub, 1252 },  // German
    { 0x08, kAnySub, 1253 },  // Greek
    { 0x09, 0x13, kNoCodePage },  // English (United Arab Emirates): Unicode only
    { 0x09, kAnySub, 1252 },  // English
    { 0x0A, kAnySub, 1252 },  // Spanish
    { 0x0B, kAnySub, 1252 },  // Finnish
    { 0x0C, kAnySub, 1252 },  // French
    { 0x0D, kAnySub, 1255 },  // Hebrew
    { 0x0E, kAnySub, 1250 },  // Hungarian
    { 0x0F, kAnySub, 1252 },  // Icelandic
    { 0x10, kAnySub, 1252 },  // Italian
    { 0x11, kAnySub, 932 },   // Japanese
    { 0x12, kAnySub, 949 },   // Korean
    { 0x13, kAnySub, 1252 },  // Dutch
    { 0x14, kAnySub, 1252 },  // Norwegian
    { 0x15, kAnySub, 1250 },  // Polish
    { 0x16, kAnySub, 1252 },  // Portuguese
    { 0x17, kAnySub, 1252 },  // Romansh
    { 0x18, kAnySub, 1250 },  // Romanian
    { 0x19, kAnySub, 1251 },  // Russian
    { 0x1A, 0x03, 1251 },     // Serbian (Cyrillic, Serbia and Montenegro)
    { 0x1A, 0x07, 1251 },     // Serbian (Cyrillic, Bosnia)
    { 0x1A, 0x08, 1251 },     // Bosnian (Cyrillic)
    { 0x1A, 0x0A, 1251 },     // Serbian (Cyrillic, Serbia)
    { 0x1A, 0x0C, 1251 },     // Serbian (Cyrillic, Montenegro)
    { 0x1A, 0x19, 1251 },     // Bosnian (Cyrillic)
    { 0x1A, 0x1B, 1251 },     // Serbian (Cyrillic)
    { 0x1A, kAnySub, 1250 },  // Croatian, Serbian and Bosnian (Latin)
    { 0x1B, kAnySub, 1250 },  // Slovak
    { 0x1C, kAnySub, 1250 },  // Albanian
    { 0x1D, kAnySub, 1252 },  // Swedish
    { 0x1E, kAnySub, 874 },   // Thai
    { 0x1F, kAnySub, 1254 },  // Turkish
    { 0x20, kAnySub, 1256 },  // Urdu
    { 0x21, kAnySub, 1252 },  // Indonesian
    { 0x22, kAnySub, 1251 },  // Ukrainian
    { 0x23, kAnySub, 1251 },  // Belarusian
    { 0x24, kAnySub, 1250 },  // Slovenian
    { 0x25, kAnySub, 1257 },  // Estonian
    { 0x26, kAnySub, 1257 },  // Latvian
    { 0x27, kAnySub, 1257 },  // Lithuanian
    { 0x28, kAnySub, 1251 },  // Tajik
    { 0x29, kAnySub, 1256 },  // Persian
    { 0x2A, kAnySub, 1258 },  // Vietnamese
    { 0x2C, 0x02, 1251 },     // Azeri (Cyrillic, Azerbaijan)
    { 0x2C, 0x1D, 1251 },     // Azeri (Cyrillic)
    { 0x2C, kAnySub, 1254 },  // Azeri (Latin)
    { 0x2D, kAnySub, 1252 },  // Basque
    { 0x2E, kAnySub, 1252 },  // Sorbian
    { 0x2F, kAnySub, 1251 },  // Macedonian
    { 0x32, kAnySub, 1252 },  // Tswana
    { 0x34, kAnySub, 1252 },  // Xhosa
    { 0x35, kAnySub, 1252 },  // Zulu
    { 0x36, kAnySub, 1252 },  // Afrikaans
    { 0x38, kAnySub, 1252 },  // Faroese
    { 0x3B, kAnySub, 1252 },  // Sami
    { 0x3C, kAnySub, 1252 },  // Irish
    { 0x3E, kAnySub, 1252 },  // Malay
    { 0x40, kAnySub, 1251 },  // Kyrgyz
    { 0x41, kAnySub, 1252 },  // Swahili
    { 0x42, kAnySub, 1250 },  // Turkmen
    { 0x43, 0x02, 1251 },     // Uzbek (Cyrillic, Uzbekistan)
    { 0x43, 0x1E, 1251 },     // Uzbek (Cyrillic)
    { 0x43, kAnySub, 1254 },  // Uzbek (Latin)
    { 0x44, kAnySub, 1251 },  // Tatar
    { 0x46, 0x02, 1256 },     // Punjabi (Arabic, Pakistan)
    { 0x46, 0x1F, 1256 },     // Punjabi (Arabic)
    { 0x50, 0x00, 1251 },     // Mongolian
    { 0x50, 0x01, 1251 },     // Mongolian (Cyrillic, Mongolia)
    { 0x50, 0x1E, 1251 },     // Mongolian (Cyrillic)
    { 0x52, kAnySub, 1252 },  // Welsh
    { 0x56, kAnySub, 1252 },  // Galician
    { 0x59, 0x00, 1256 },     // Sindhi
    { 0x59, 0x02, 1256 },     // Sindhi (Arabic, Pakistan)
    { 0x59, 0x1F, 1256 },     // Sindhi (Arabic)
    { 0x5D, 0x00, 1252 },     // Inuktitut
    { 0x5D, 0x02, 1252 },     // Inuktitut (Latin, Canada)
    { 0x5D, 0x1F, 1252 },     // Inuktitut (Latin)
    { 0x5F, 0x00, 1252 },     // Tamazight
    { 0x5F, 0x02, 1252 },     // Tamazight (Latin, Algeria)
    { 0x5F, 0x1F, 1252 },     // Tamazight (Latin)
    { 0x62, kAnySub, 1252 },  // Frisian
    { 0x64, kAnySub, 1252 },  // Filipino
    { 0x66, kAnySub, 1252 },  // Bini
    { 0x67, kAnySub, 1252 },  // Fulah
    { 0x68, kAnySub, 1252 },  // Hausa
    { 0x6A, kAnySub, 1252 },  // Yoruba
    { 0x6B, kAnySub, 1252 },  // Quechua
    { 0x6C, kAnySub, 1252 },  // Sesotho sa Leboa
    { 0x6D, kAnySub, 1251 },  // Bashkir
    { 0x6E, kAnySub, 1252 },  // Luxembourgish
    { 0x6F, kAnySub, 1252 },  // Greenlandic
    { 0x70, kAnySub, 1252 },  // Igbo
    { 0x71, kAnySub, 1252 },  // Kanuri
    { 0x74, kAnySub, 1252 },  // Guarani
    { 0x75, kAnySub, 1252 },  // Hawaiian
    { 0x76, kAnySub, 1252 },  // Latin
    { 0x7A, kAnySub, 1252 },  // Mapudungun
    { 0x7C, kAnySub, 1252 },  // Mohawk
    { 0x7E, kAnySub, 1252 },  // Breton
    { 0x7F, kAnySub, 1252 },  // Invariant
    { 0x80, kAnySub, 1256 },  // Uyghur
    { 0x82, kAnySub, 1252 },  // Occitan
    { 0x83, kAnySub, 1252 },  // Corsican
    { 0x84, kAnySub, 1252 },  // Alsatian
    { 0x85, kAnySub, 1251 },  // Yakut
    { 0x86, kAnySub, 1252 },  // K'iche'
    { 0x87, kAnySub, 1252 },  // Kinyarwanda
    { 0x88, kAnySub, 1252 },  // Wolof
    { 0x8C, kAnySub, 1256 },  // Dari
    { 0x91, kAnySub, 1252 },  // Scottish Gaelic
    { 0x92, kAnySub, 1256 },  // Central Kurdish
};

struct LocaleLanguage {
    uint16_t primary;
    int sub;  // kAnySub: every sub-language
};

// The locales whose languages read right to left, as GetLocaleInfo's
// LOCALE_IREADINGLAYOUT and the right-to-left bit of LOCALE_FONTSIGNATURE
// tell it (nlscheck_codepage_wine compares every locale). A language that
// is written in another script too is named by its sub-languages: Punjabi
// in Gurmukhi (0446), Sindhi (0459) and Kashmiri (0860) in Devanagari read
// left to right.
const LocaleLanguage kRightToLeftLocales[] = {
    { 0x01, kAnySub },  // Arabic
    { 0x0D, kAnySub },  // Hebrew
    { 0x20, kAnySub },  // Urdu
    { 0x29, kAnySub },  // Persian
    { 0x3D, kAnySub },  // Yiddish
    { 0x46, 0x02 },     // Punjabi (Arabic, Pakistan)
    { 0x46, 0x1F },     // Punjabi (Arabic)
    { 0x59, 0x00 },     // Sindhi
    { 0x59, 0x02 },     // Sindhi (Arabic, Pakistan)
    { 0x59, 0x1F },     // Sindhi (Arabic)
    { 0x5A, kAnySub },  // Syriac
    { 0x5F, 0x01 },     // Tamazight (Arabic, Morocco), which Wine lacks
    { 0x60, 0x00 },     // Kashmiri
    { 0x60, 0x01 },     // Kashmiri (Arabic)
    { 0x63, kAnySub },  // Pashto
    { 0x65, kAnySub },  // Divehi
    { 0x80, kAnySub },  // Uyghur
    { 0x8C, kAnySub },  // Dari
    { 0x92, kAnySub },  // Central Kurdish
};

// The display languages of Windows (its language packs, from Windows 2000
// to 11) whose language Windows offers in more than one variant. Croatian
// and Serbian share a primary language number but are languages of their
// own, so they are not here.
const DisplayLanguage kDisplayLanguages[] = {
    { 0x0404, "Chinese (Taiwan)" },
    { 0x0804, "Chinese (PRC)" },
    { 0x0C04, "Chinese (Hong Kong)" },
    { 0x0409, "English (United States)" },
    { 0x0809, "English (United Kingdom)" },
    { 0x040C, "French (France)" },
    { 0x0C0C, "French (Canada)" },
    { 0x0416, "Portuguese (Brazil)" },
    { 0x0816, "Portuguese (Portugal)" },
    { 0x0C0A, "Spanish (Spain)" },
    { 0x080A, "Spanish (Mexico)" },
};

struct CodePageScript {
    unsigned codePage;
    const char* script;
};

const CodePageScript kScripts[] = {
    { 874, "Thai" },         { 932, "Japanese" },          { 936, "Simplified Chinese" },
    { 949, "Korean" },       { 950, "Traditional Chinese" }, { 1250, "Central European" },
    { 1251, "Cyrillic" },    { 1252, "Western European" }, { 1253, "Greek" },
    { 1254, "Turkish" },     { 1255, "Hebrew" },           { 1256, "Arabic" },
    { 1257, "Baltic" },      { 1258, "Vietnamese" },       { kUtf8CodePage, "UTF-8" },
};

const char32_t kReplacement = 0xFFFD;

#ifdef _WIN32

std::wstring Utf16Of(char32_t ch)
{
    if (ch < 0x10000)
        return std::wstring(1, static_cast<wchar_t>(ch));
    ch -= 0x10000;
    return { static_cast<wchar_t>(0xD800 + (ch >> 10)), static_cast<wchar_t>(0xDC00 + (ch & 0x3FF)) };
}

// One character's bytes, or false when they are none.
bool DecodeOne(const char* bytes, size_t length, unsigned codePage, char32_t& ch)
{
    wchar_t wide[4];
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), wide, 4);
    if (n == 1) {
        ch = wide[0];
        return true;
    }
    if (n == 2 && wide[0] >= 0xD800 && wide[0] < 0xDC00) {
        ch = 0x10000 + ((wide[0] - 0xD800) << 10) + (wide[1] - 0xDC00);
        return true;
    }
    return false;
}

bool EncodeOne(char32_t ch, unsigned codePage, bool bestFit, std::string& out)
{
    std::wstring wide = Utf16Of(ch);
    char bytes[8];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(codePage, bestFit ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                bytes, sizeof bytes, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    out.append(bytes, n);
    return true;
}

#else

// The converters kept open for the run, one for each code page and
// direction; closed at its end.
class Converters {
public:
    ~Converters()
    {
        for (const auto& entry : m_open)
            if (entry.second != reinterpret_cast<iconv_t>(-1))
                iconv_close(entry.second);
    }

    // `bestFit`: to the code page, with a near character where it lacks one.
    iconv_t Get(unsigned codePage, bool toUnicode, bool bestFit)
    {
        int kind = toUnicode ? 0 : bestFit ? 2 : 1;
        auto it = m_open.find({ codePage, kind });
        if (it != m_open.end())
            return it->second;
        std::string name = "CP" + std::to_string(codePage);
        iconv_t cd = toUnicode ? iconv_open("UTF-32LE", name.c_str())
                               : iconv_open((name + (bestFit ? "//TRANSLIT" : "")).c_str(), "UTF-32LE");
        m_open[{ codePage, kind }] = cd;
        return cd;
    }

private:
    std::map<std::pair<unsigned, int>, iconv_t> m_open;
};

iconv_t Converter(unsigned codePage, bool toUnicode, bool bestFit = false)
{
    static Converters converters;
    return converters.Get(codePage, toUnicode, bestFit);
}

// glibc's near characters are those of the locale: a letter without its
// accent in C.UTF-8, much as the platform's best fit.
class BestFitLocale {
public:
    BestFitLocale() : m_locale(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {}
    ~BestFitLocale()
    {
        if (m_locale)
            freelocale(m_locale);
    }
    locale_t Get() const { return m_locale; }

private:
    locale_t m_locale;
};

// Runs a converter over all of `in`, state reset before and flushed
// after; false when it stops short.
bool Convert(iconv_t cd, const char* in, size_t length, std::string& out)
{
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[64];
    char* input = const_cast<char*>(in);
    char* output = buffer;
    size_t left = length, room = sizeof buffer;
    if (iconv(cd, &input, &left, &output, &room) == static_cast<size_t>(-1) || left != 0)
        return false;
    if (iconv(cd, nullptr, nullptr, &output, &room) == static_cast<size_t>(-1))
        return false;
    out.assign(buffer, output);
    return true;
}

bool DecodeOne(const char* bytes, size_t length, unsigned codePage, char32_t& ch)
{
    std::string utf32;
    if (!Convert(Converter(codePage, true), bytes, length, utf32) || utf32.size() != 4)
        return false;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(utf32.data());
    ch = u[0] | u[1] << 8 | u[2] << 16 | static_cast<char32_t>(u[3]) << 24;
    return true;
}

bool EncodeOne(char32_t ch, unsigned codePage, bool bestFit, std::string& out)
{
    char utf32[4] = { static_cast<char>(ch & 0xFF), static_cast<char>((ch >> 8) & 0xFF),
                      static_cast<char>((ch >> 16) & 0xFF), static_cast<char>(ch >> 24) };
    std::string bytes;
    bool converted;
    if (bestFit) {
        static BestFitLocale locale;
        if (!locale.Get())
            return false;
        locale_t previous = uselocale(locale.Get());
        converted = Convert(Converter(codePage, false, true), utf32, 4, bytes);
        uselocale(previous);
        // One character, as the platform puts, and not its "?".
        std::vector<CodeUnit> units = DecodeCodePage(bytes, codePage);
        converted = converted && units.size() == 1 && bytes != "?";
    } else {
        converted = Convert(Converter(codePage, false), utf32, 4, bytes) && !bytes.empty();
    }
    if (converted)
        out += bytes;
    return converted;
}

#endif

}

unsigned CodePageOfLocale(uint32_t locale)
{
    unsigned primary = locale & 0x3FF, sub = (locale >> 10) & 0x3F;
    for (const LocaleCodePage& entry : kLocaleCodePages)
        if (entry.primary == primary && (entry.sub == kAnySub || entry.sub == static_cast<int>(sub)))
            return entry.codePage;
    return kNoCodePage;
}

bool LocaleReadsRightToLeft(uint32_t locale)
{
    unsigned primary = locale & 0x3FF, sub = (locale >> 10) & 0x3F;
    for (const LocaleLanguage& entry : kRightToLeftLocales)
        if (entry.primary == primary && (entry.sub == kAnySub || entry.sub == static_cast<int>(sub)))
            return true;
    return false;
}

std::vector<DisplayLanguage> DisplayLanguagesOf(uint32_t locale)
{
    std::vector<DisplayLanguage> found;
    for (const DisplayLanguage& d : kDisplayLanguages)
        if ((d.locale & 0x3FF) == (locale & 0x3FF) && locale != 0)
            found.push_back(d);
    return found;
}

std::string CodePageName(unsigned codePage)
{
    for (const CodePageScript& s : kScripts)
        if (s.codePage == codePage)
            return std::to_string(codePage) + " (" + s.script + ")";
    return std::to_string(codePage);
}

bool IsDoubleByte(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool IsLeadByte(unsigned codePage, unsigned char byte)
{
    if (codePage == 932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return IsDoubleByte(codePage) && byte >= 0x81 && byte <= 0xFE;
}

std::vector<CodeUnit> DecodeCodePage(const std::string& bytes, unsigned codePage)
{
    std::vector<CodeUnit> units;
    for (size_t i = 0; i < bytes.size();) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        CodeUnit unit = { i, 1, c, true };
        if (c >= 0x80 || codePage == kUtf8CodePage) {
            if (codePage == kUtf8CodePage) {
                size_t end = i + 1;
                while (end < bytes.size() && end - i < 4 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
                    ++end;
                std::u32string decoded = DecodeUtf8(bytes.substr(i, end - i));
                unit.length = end - i;
                unit.ch = decoded.size() == 1 ? decoded[0] : kReplacement;
            } else {
                unit.length = IsLeadByte(codePage, c) && i + 1 < bytes.size() ? 2 : 1;
                if (!DecodeOne(bytes.data() + i, unit.length, codePage, unit.ch))
                    unit.ch = kReplacement;
            }
            unit.valid = unit.ch != kReplacement;
        }
        units.push_back(unit);
        i += unit.length;
    }
    return units;
}

std::string Utf8FromCodePage(const std::string& bytes, unsigned codePage)
{
    std::string out;
    for (const CodeUnit& unit : DecodeCodePage(bytes, codePage))
        AppendUtf8(out, unit.ch);
    return out;
}

bool EncodeChar(char32_t ch, unsigned codePage, std::string& out)
{
    if (ch < 0x80) {
        out += static_cast<char>(ch);
        return true;
    }
    if (codePage == kUtf8CodePage) {
        AppendUtf8(out, ch);
        return true;
    }
    return EncodeOne(ch, codePage, false, out);
}

bool BestFitChar(char32_t ch, unsigned codePage, std::string& out)
{
    return EncodeChar(ch, codePage, out) || (codePage != kUtf8CodePage && EncodeOne(ch, codePage, true, out));
}

std::string CodePageFromUnicode(const std::u32string& text, unsigned codePage, std::u32string* lacking)
{
    std::string out;
    for (char32_t ch : text) {
        if (!BestFitChar(ch, codePage, out)) {
            out += '?';
            if (lacking)
                *lacking += ch;
        }
    }
    return out;
}

std::u32string DecodeUtf8(const std::string& bytes)
{
    std::u32string out;
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        char32_t ch = more == 0 ? c : more == 1 ? (c & 0x1F) : more == 2 ? (c & 0x0F) : (c & 0x07);
        size_t j = i + 1;
        bool whole = true;
        for (int k = 0; k < more; ++k, ++j) {
            if (j >= bytes.size() || (static_cast<unsigned char>(bytes[j]) >> 6) != 2) {
                whole = false;
                break;
            }
            ch = (ch << 6) | (static_cast<unsigned char>(bytes[j]) & 0x3F);
        }
        // Overlong forms, surrogates and numbers past Unicode are no characters.
        static const char32_t kLeast[] = { 0, 0x80, 0x800, 0x10000 };
        bool valid = whole && ch >= kLeast[more] && ch <= 0x10FFFF && (ch < 0xD800 || ch > 0xDFFF);
        out += valid ? ch : kReplacement;
        i = j;
    }
    return out;
}

bool IsValidUtf8(const std::string& bytes)
{
    return DecodeUtf8(bytes).find(kReplacement) == std::u32string::npos;
}

std::u32string DecodeUtf16(const std::string& bytes, bool bigEndian)
{
    std::u32string out;
    auto unitAt = [&bytes, bigEndian](size_t i) {
        unsigned lo = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        unsigned hi = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        return static_cast<char32_t>(hi << 8 | lo);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
            unitAt(i + 2) < 0xE000) {
            out += 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        } else {
            out += unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit;
        }
    }
    return out;
}

std::string Utf8(const std::u32string& text)
{
    std::string out;
    for (char32_t ch : text)
        AppendUtf8(out, ch);
    return out;
}

void AppendUtf8(std::string& out, char32_t ch)
{
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

std::string CodePointName(char32_t ch)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(ch));
    return name;
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
