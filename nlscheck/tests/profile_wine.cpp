// Runs the launcher's lookups on a series of initialization files twice,
// through the platform's GetPrivateProfileStringA and through nlscheck's
// own reader, and reports every answer on which they differ. Each file is
// written with LF, CR+LF and CR-only line ends. Run under Wine, in a
// folder of its own (the first argument, created if need be).
#include "codepage.h"
#include "files.h"
#include "profile.h"

#include <windows.h>

#include <cstdio>
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

// UTF-16 with a byte-order mark, from text in the code page.
std::string Utf16(const std::string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        uint32_t cp = CodepointOfAnsi(static_cast<unsigned char>(c));
        char lo = static_cast<char>(cp & 0xFF), hi = static_cast<char>(cp >> 8);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
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

// Every query of a file, through both readers.
void CompareFile(const std::string& label, const std::string& path, const std::string& bytes)
{
    ProfileFile mine(bytes);
    for (const char* section : kSections) {
        for (const char* key : kKeys) {
            ++g_queries;
            char buffer[1024 + 16];
            std::memset(buffer, '#', sizeof buffer);
            DWORD n = GetPrivateProfileStringA(section, key, "", buffer, 1024, path.c_str());
            std::string platform(buffer, n < 1024 ? n : 1024);
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
        std::string ours = !path.empty() && ReadFileBytes(path, bytes) ? ProfileFile(bytes).Read("Proj", "Name", 64) : "";
        if (ours != buffer) {
            ++g_failures;
            std::printf("name %zu \"%s\": expected \"%s\" (platform), got \"%s\" (from \"%s\")\n", i, names[i], buffer,
                        ours.c_str(), path.c_str());
        }
    }
}

}

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "profile_wine.files";
    CreateDirectoryA(folder.c_str(), nullptr);
    char full[MAX_PATH];
    GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    folder = full;

    static const struct {
        const char* name;
        const char* eol;
    } variants[] = { { "lf", "\n" }, { "crlf", "\r\n" }, { "cr", "\r" } };
    std::vector<Case> cases = Cases();
    for (size_t i = 0; i < cases.size(); ++i) {
        for (const auto& v : variants) {
            std::string bytes = WithLineEnds(cases[i].text, v.eol);
            std::string label = "case " + std::to_string(i) + " (" + cases[i].what + ", " + v.name + ")";
            std::string path = folder + "\\case" + std::to_string(i) + "." + v.name;
            if (!WriteFile(path, bytes)) {
                std::printf("%s: cannot write %s\n", label.c_str(), path.c_str());
                return 2;
            }
            CompareFile(label, path, bytes);
        }
        // The same texts in UTF-16, where they hold no bytes of their own.
        if (cases[i].text.find('\0') == std::string::npos && cases[i].text.compare(0, 3, "\xEF\xBB\xBF") != 0) {
            for (bool big : { false, true }) {
                std::string bytes = Utf16(WithLineEnds(cases[i].text, "\r\n"), big);
                std::string label = "case " + std::to_string(i) + " (" + cases[i].what + (big ? ", utf-16be)" : ", utf-16le)");
                std::string path = folder + "\\case" + std::to_string(i) + (big ? ".u16be" : ".u16le");
                WriteFile(path, bytes);
                CompareFile(label, path, bytes);
            }
        }
    }
    // A file that is not there gives the default.
    CompareFile("missing file", folder + "\\no such file", "");
    CompareNames(folder);

    std::printf("%d queries, %d differences\n", g_queries, g_failures);
    return g_failures == 0 ? 0 : 1;
}
