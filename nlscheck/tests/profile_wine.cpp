// Runs the launcher's lookups on a series of initialization files twice,
// through the platform's GetPrivateProfileStringA and through nlscheck's
// own reader, and reports every answer on which they differ. Each file is
// written with LF, CR+LF and CR-only line ends. Run under Wine, in a
// folder of its own (the first argument, created if need be), once for
// each code page of the table below: the Unix locale gives Wine its ANSI
// code page, which the second argument names.
//
//   profile_wine FOLDER [CODEPAGE]
#include "codepage.h"
#include "files.h"
#include "profile.h"
#include "testutil.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int g_failures = 0;
int g_queries = 0;

std::string Repeat(char c, size_t n)
{
    return std::string(n, c);
}

struct Case {
    const char* what;
    std::string text;  // lines end in "\n"; rewritten per variant
};

std::vector<Case> Cases()
{
    std::string long1022 = Repeat('a', 1022), long1023 = Repeat('b', 1023), long1024 = Repeat('c', 1024);
    return {
        /* 0 */ { "plain", "[Proj]\nName=KAVRO\nINF=kavro.inf\n" },
        /* 1 */ { "case of names", "[pRoJ]\nNAME=upper\ninf=lower\n[TRANSLATION]\nyEs=mixed\n" },
        /* 2 */ { "blanks around names and values",
                  "  [Proj]  \n  Name  =  two  words  \n\tINF\t=\tk.inf\t\n[Translation]\nYes = \v\f y \v\f\n" },
        /* 3 */ { "blanks inside brackets", "[ Proj ]\nName=spaced\n[Translation ]\nYes=right\n[\tConstant]\nReadmePath=tab\n" },
        /* 4 */ { "quotes",
                  "[Proj]\nName=\"quoted\"\nINF='single'\n[Translation]\nYes=\"mismatch'\nNo=\"\nInst=\"\"\n"
                  "Readme=\" inner \"\nRemove='\n[Constant]\nReadmePath=\"a\"b\"\n" },
        /* 5 */ { "duplicate keys", "[Proj]\nName=first\nname=second\nINF=\nINF=later\n" },
        /* 6 */ { "duplicate sections",
                  "[Proj]\nName=first\n[Translation]\nYes=y\n[proj]\nName=second\nINF=only in second\n" },
        /* 7 */ { "keys without equals sign", "[Proj]\nName\nName=later\nINF =\n[Translation]\nYes\n" },
        /* 8 */ { "keys before any section", "Name=outside\nINF=outside\n[Proj]\nINF=inside\n" },
        /* 9 */ { "comments", "[Proj]\n;Name=commented\nName=real ; not a comment\n# INF=hash\nINF=x # y\n"
                  "; [Translation]\n[Translation]\n;Yes=no\n" },
        /* 10 */ { "empty values", "[Proj]\nName=\nINF=   \n[Translation]\nYes=\"\"\n" },
        /* 11 */ { "odd section headers",
                   "[Proj\nName=no close\n[Translation]]\nYes=double close\n[Constant] trailing\nReadmePath=after\n"
                   "[]\nName=empty section\n" },
        /* 12 */ { "odd section headers 2", "[Proj]x]\nName=a\n[[Proj]\nName=b\n[Translation]\nNo=c\n" },
        /* 13 */ { "long values",
                   "[Proj]\nName=" + long1023 + "\nINF=" + long1024 + "\n[Translation]\nInst=" + long1022 +
                   "\nReadme=\"" + long1022 + "\"\nYes=\"" + long1023 + "\"\nNo=\"" + long1024 + "\"\nRemove=" +
                   Repeat('d', 3000) + "\n[Constant]\nReadmePath='" + Repeat('e', 1021) + "'\n" },
        /* 14 */ { "bytes of the upper half",
                   "[Proj]\nName=Beispielpaket M\xF6" "chten \xE9t\xE9\nINF=\xA0nbsp\xA0\n[Translation]\n"
                   "Yes=\x81\x8D\x8F\x90\x9D\nNo=\x80\x9F\x85\nInst=\xFF\xFE\n" },
        /* 15 */ { "control characters",
                   "[Proj]\nName=\x1A\x1A" "eof\x1A\nINF=a\x0B\x0C\n[Translation]\nYes=tab\tin\tside\nNo=\x01" "x\x02\n" },
        /* 16 */ { "equals signs in values", "[Proj]\nName==x=y\nINF = a = b\n[Translation]\n=Yes\nYes\t==\n" },
        /* 17 */ { "no line end at the end", "[Proj]\nName=last" },
        /* 18 */ { "blank lines", "\n\n[Proj]\n   \n\t\nName=x\n\n\nINF=y\n\n" },
        /* 19 */ { "empty file", "" },
        /* 20 */ { "zero bytes", std::string("[Proj]\nName=ab\0cd\nINF=\"q\0\"\n[Translation]\nYes=\0\n", 39) },
        /* 21 */ { "UTF-8 with mark", "\xEF\xBB\xBF[Proj]\nName=caf\xC3\xA9 \xE2\x82\xAC\nINF=\xC5\x93\n" },
        /* 22 */ { "mark only at the start", "[Proj]\nName=\xEF\xBB\xBFtext\n" },
        /* 23 */ { "section names with blanks inside", "[Pro j]\nName=x\n[Translation]\nYe s=y\n" },
    };
}

// A code page's own cases: its script in the code page and in every
// encoding with a byte-order mark, and the bytes an author gets wrong.
struct CodePageRow {
    unsigned codePage;
    const char* sample;   // UTF-8: a text in the code page's script
    const char* foreign;  // UTF-8: a character the code page lacks
};

const CodePageRow kCodePages[] = {
    /* 0 */ { 1252, "Gr\xC3\xB6\xC3\x9F" "e, d\xC3\xA9j\xC3\xA0 vu \xE2\x82\xAC", "\xE6\xBC\xA2" },
    /* 1 */ { 1250, "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85", "\xE6\xBC\xA2" },
    /* 2 */ { 1251, "\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xB9 \xD0\xBF\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82",
                  "\xE6\xBC\xA2" },
    /* 3 */ { 1253, "\xCE\x94\xCE\xBF\xCE\xBA\xCE\xB9\xCE\xBC\xCE\xAE \xCF\x80\xCE\xB1\xCE\xBA\xCE\xAD\xCF\x84\xCE\xBF",
                  "\xE6\xBC\xA2" },
    /* 4 */ { 1254, "\xC3\x87ok g\xC3\xBCzel \xC4\xB1\xC4\x9F\xC5\x9F", "\xE6\xBC\xA2" },
    /* 5 */ { 1255, "\xD7\x97\xD7\x91\xD7\x99\xD7\x9C\xD7\x94 \xD7\xA0\xD7\xA1\xD7\x99\xD7\x95\xD7\x9F", "\xE6\xBC\xA2" },
    /* 6 */ { 1256, "\xD8\xAD\xD8\xB2\xD9\x85\xD8\xA9 \xD8\xAA\xD8\xAC\xD8\xB1\xD9\x8A\xD8\xA8", "\xE6\xBC\xA2" },
    /* 7 */ { 1257, "Bandomasis paketas \xC4\x85\xC4\x8D\xC4\x99\xC4\x97\xC4\xAF\xC5\xA1\xC5\xB3\xC5\xAB\xC5\xBE", "\xE6\xBC\xA2" },
    /* 8 */ { 1258, "G\xC3\xB3i th\xC6\xB0 \xC4\x91\xC6\xA1n", "\xE6\xBC\xA2" },
    /* 9 */ { 874, "\xE0\xB9\x81\xE0\xB8\x9E\xE0\xB9\x87\xE0\xB8\x84\xE0\xB9\x80\xE0\xB8\x81\xE0\xB8\x88", "\xE6\xBC\xA2" },
    /* 10 */ { 932, "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x82\xBD", "\xE0\xB8\x81" },
    /* 11 */ { 936, "\xE6\xB5\x8B\xE8\xAF\x95\xE8\xBD\xAF\xE4\xBB\xB6\xE5\x8C\x85", "\xE0\xB8\x81" },
    /* 12 */ { 949, "\xED\x85\x8C\xEC\x8A\xA4\xED\x8A\xB8 \xED\x8C\xA8\xED\x82\xA4\xEC\xA7\x80", "\xE0\xB8\x81" },
    /* 13 */ { 950, "\xE6\xB8\xAC\xE8\xA9\xA6\xE8\xBB\x9F\xE9\xAB\x94\xE5\x8C\x85", "\xE0\xB8\x81" },
};

std::string Utf16(const std::u32string& text, bool bigEndian);

// The files of a code page's row, each as its bytes.
std::vector<Case> CodePageCases(const CodePageRow& row)
{
    unsigned cp = row.codePage;
    std::string sample = row.sample;
    std::string text = "[Proj]\nName=" + sample + "\nINF=" + sample + ".inf\n[Translation]\nYes=\"" + sample +
                       "\"\nNo=" + sample + " " + row.foreign + "\n";
    std::u32string unicode = DecodeUtf8(text);
    // Bytes that no character of the code page stands for.
    std::string none;
    for (int b = 0x80; b < 0x100; ++b) {
        std::string one(1, static_cast<char>(b));
        if (!IsLeadByte(cp, static_cast<unsigned char>(b)) && !DecodeCodePage(one, cp)[0].valid)
            none += one;
    }
    std::vector<Case> cases = {
        { "in the code page", CodePageFromUnicode(unicode, cp) },
        { "UTF-8 with a mark", "\xEF\xBB\xBF" + text },
        { "UTF-16LE with a mark", Utf16(unicode, false) },
        { "UTF-16BE with a mark", Utf16(unicode, true) },
        { "UTF-8 without a mark", text },
        { "bytes that are no character", "[Proj]\nName=a" + none + "b\nINF=" + none + "\n" },
    };
    if (IsDoubleByte(cp)) {
        std::string wide;
        EncodeChar(DecodeUtf8("\xE8\xA1\xA8")[0], cp, wide);  // a character every double-byte code page has
        std::string lead = wide.substr(0, 1);
        cases.push_back({ "lead bytes out of place",
                          "[Proj]\nName=a" + lead + " b\nINF=x" + lead + "\nNo=lost\n[Translation]\nYes=" + lead +
                              "\x7F\nNo=ok\nRemove=end" + lead });
        std::string many;
        for (int i = 0; i < 600; ++i)
            many += wide;
        cases.push_back({ "long double-byte values",
                          "[Proj]\nName=" + many + "\nINF=a" + many + "\n[Translation]\nYes=\"" + many.substr(0, 1022) +
                              "\"\nNo=\"a" + many.substr(0, 1022) + "\"\nInst=" + many.substr(0, 1022) + "a\n" });
    }
    return cases;
}

std::string WithLineEnds(const std::string& text, const char* eol)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += eol;
        else
            out += c;
    }
    return out;
}

// UTF-16 with a byte-order mark.
std::string Utf16(const std::u32string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto append = [&out, bigEndian](char32_t unit) {
        char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    for (char32_t ch : text) {
        if (ch >= 0x10000) {
            append(0xD800 + ((ch - 0x10000) >> 10));
            append(0xDC00 + ((ch - 0x10000) & 0x3FF));
        } else {
            append(ch);
        }
    }
    return out;
}

// Text in the code page, character by character, in Unicode.
std::u32string Unicode(const std::string& text, unsigned codePage)
{
    std::u32string out;
    for (const CodeUnit& unit : DecodeCodePage(text, codePage))
        out += unit.ch;
    return out;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string Shown(const std::string& text)
{
    std::string out;
    char hex[8];
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (out.size() > 60)
        out = out.substr(0, 28) + "..." + out.substr(out.size() - 28) + " (" + std::to_string(text.size()) + " bytes)";
    return "\"" + out + "\"";
}

const char* const kSections[] = { "Proj", "Translation", "Constant", "proj", " Proj ", "" };
const char* const kKeys[] = { "Name", "INF", "Inst", "Readme", "Yes", "No", "Remove", "ReadmePath", "name", " Yes " };

// Every query of a file, through both readers. The platform's answer is
// taken as the launcher takes it: from a zeroed buffer, up to its first
// zero byte (a value cut inside a double-byte character is reported one
// byte longer than written).
void CompareFile(const std::string& label, const std::string& path, const std::string& bytes)
{
    ProfileFile mine(bytes, GetACP());
    for (const char* section : kSections) {
        for (const char* key : kKeys) {
            ++g_queries;
            char buffer[1024 + 16], zeroed[1024 + 16] = {};
            std::memset(buffer, '#', sizeof buffer);
            DWORD n = GetPrivateProfileStringA(section, key, "", buffer, 1024, path.c_str());
            GetPrivateProfileStringA(section, key, "", zeroed, 1024, path.c_str());
            std::string platform(zeroed);
            bool terminated = n < 1024 && buffer[n] == '\0' && buffer[1024] == '#';
            std::string ours = mine.Read(section, key, 1024);
            if (platform != ours || !terminated) {
                ++g_failures;
                std::printf("%s [%s] %s: expected %s (platform, %lu%s), got %s\n", label.c_str(), section, key,
                            Shown(platform).c_str(), static_cast<unsigned long>(n),
                            terminated ? "" : ", not terminated in the buffer", Shown(ours).c_str());
            }
        }
    }
}

// File names as the launcher forms them: relative, "\"-separated, any
// case, a bare dot for an empty language code.
void CompareNames(const std::string& folder)
{
    CreateDirectoryA((folder + "\\Nls").c_str(), nullptr);
    WriteFile(folder + "\\Nls\\Proj.Eng", "[Proj]\nName=eng\n");
    WriteFile(folder + "\\Nls\\PROJ", "[Proj]\nName=bare\n");
    WriteFile(folder + "\\Nls\\str.de", "[Proj]\nName=de\n");
    SetCurrentDirectoryA(folder.c_str());
    static const char* const names[] = {
        /* 0 */ "NLS\\PROJ.ENG",
        /* 1 */ "nls\\proj.eng",
        /* 2 */ "NLS\\PROJ.",
        /* 3 */ "NLS\\PROJ",
        /* 4 */ "NLS/PROJ.ENG",
        /* 5 */ "NLS\\STR.DE",
        /* 6 */ "NLS\\STR.DE.",
        /* 7 */ "NLS\\STR.",
        /* 8 */ "NLS.\\PROJ.ENG",
        /* 9 */ "NLS\\PROJ.EN",
        /* 10 */ "NLS\\PROJ.ENG ",
        /* 11 */ "NLS\\PROJ.E?G",
        /* 12 */ "NLS\\PROJ.E*",
        /* 13 */ "NLS\\\\PROJ.ENG",
    };
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        ++g_queries;
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        GetPrivateProfileStringA("Proj", "Name", "", buffer, sizeof buffer, names[i]);
        std::string path = ResolveName(".", names[i]);
        if (!path.empty())
            path = JoinPath(".", path);
        std::string bytes;
        std::string ours =
            !path.empty() && ReadFileBytes(path, bytes) ? ProfileFile(bytes, GetACP()).Read("Proj", "Name", 64) : "";
        if (ours != buffer) {
            ++g_failures;
            std::printf("name %zu \"%s\": expected \"%s\" (platform), got \"%s\" (from \"%s\")\n", i, names[i], buffer,
                        ours.c_str(), path.c_str());
        }
    }
}

void CompareCases(const std::vector<Case>& cases, const std::string& folder, const std::string& prefix)
{
    static const struct {
        const char* name;
        const char* eol;
    } variants[] = { { "lf", "\n" }, { "crlf", "\r\n" }, { "cr", "\r" } };
    for (size_t i = 0; i < cases.size(); ++i) {
        bool marked = cases[i].text.compare(0, 3, "\xEF\xBB\xBF") == 0 || cases[i].text.compare(0, 2, "\xFF\xFE") == 0 ||
                      cases[i].text.compare(0, 2, "\xFE\xFF") == 0;
        bool utf16 = marked && cases[i].text[0] != '\xEF';
        for (const auto& v : variants) {
            if (utf16 && v.eol[0] != '\n')
                continue;  // line ends are characters of their own there
            std::string bytes = utf16 ? cases[i].text : WithLineEnds(cases[i].text, v.eol);
            std::string label = prefix + "case " + std::to_string(i) + " (" + cases[i].what + ", " + v.name + ")";
            std::string path = folder + "\\" + prefix + "case" + std::to_string(i) + "." + v.name;
            if (!WriteFile(path, bytes)) {
                std::printf("%s: cannot write %s\n", label.c_str(), path.c_str());
                std::exit(2);
            }
            CompareFile(label, path, bytes);
        }
        // The same texts in UTF-16, where they hold no bytes of their own.
        if (cases[i].text.find('\0') == std::string::npos && !marked) {
            for (bool big : { false, true }) {
                std::string bytes = Utf16(Unicode(WithLineEnds(cases[i].text, "\r\n"), GetACP()), big);
                std::string label = prefix + "case " + std::to_string(i) + " (" + cases[i].what + (big ? ", utf-16be)" : ", utf-16le)");
                std::string path = folder + "\\" + prefix + "case" + std::to_string(i) + (big ? ".u16be" : ".u16le");
                WriteFile(path, bytes);
                CompareFile(label, path, bytes);
            }
        }
    }
}

}

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "profile_wine.files";
    unsigned expected = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : GetACP();
    if (GetACP() != expected) {
        return WantStatus("the profile check in code page " + std::to_string(expected),
                          "the Unix locale of that code page (Wine runs in code page " + std::to_string(GetACP()) + ")");
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    char full[MAX_PATH];
    GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    folder = full;

    CompareCases(Cases(), folder, "");
    for (const CodePageRow& row : kCodePages)
        if (row.codePage == GetACP())
            CompareCases(CodePageCases(row), folder, "cp" + std::to_string(row.codePage) + " ");
    // A file that is not there gives the default.
    CompareFile("missing file", folder + "\\no such file", "");
    CompareNames(folder);

    std::printf("code page %u: %d queries, %d differences\n", GetACP(), g_queries, g_failures);
    return g_failures == 0 ? 0 : 1;
}
