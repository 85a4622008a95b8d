// nlscheck: tells a package author what the setup launcher will make of a
// package's language table and language files, before the package ships.
#include "check.h"
#include "convert.h"
#include "platform.h"
#include "print.h"
#include "nls/hexparse.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

const char kUsage[] =
    "usage: nlscheck PACKAGE_DIR [--locale HEX]... [--folder PATH] [--system DIR] [--quiet] [--machine]\n"
    "       nlscheck --convert SOURCE_DIR PACKAGE_DIR\n"
    "\n"
    "Shows what the setup launcher reads from the package's NLS folder for each locale:\n"
    "the code page each language's files are decoded in on the NT family and where it\n"
    "comes from (on Windows 9x: the machine's), every text as the NT family shows it\n"
    "(and Windows 9x where it differs), the commands it starts on each family, and\n"
    "what a package author should fix.\n"
    "\n"
    "  --locale HEX   check this locale (e.g. 0407): the ResourceLocale value on\n"
    "                 Windows 9x, the user's UI language on the NT family; default:\n"
    "                 each number in the table, and 0, a machine that names no UI\n"
    "                 language at all (no ResourceLocale value, no UI language)\n"
    "  --folder PATH  the package folder as the launcher sees it, for the install\n"
    "                 command (default: its full path; elsewhere than on Windows,\n"
    "                 as Wine sees it, Z:\\...)\n"
    "  --system DIR   the folder of rundll32.exe and notepad.exe (default: where the\n"
    "                 launcher finds them)\n"
    "  --quiet        print only warnings and errors\n"
    "  --machine      one fact a line, tab-separated, for other programs\n"
    "  --convert SOURCE_DIR\n"
    "                 write each PROJ.<code> and STR.<code> of SOURCE_DIR (UTF-8)\n"
    "                 into the package's NLS folder in the code page of the\n"
    "                 locales the table gives that code; writes nothing if a\n"
    "                 character has no place in its code page\n"
    "\n"
    "The report is UTF-8. Exit status: 0 clean, 1 warnings, 2 errors (or a refused\n"
    "conversion).\n";

bool IsHex(const char* text)
{
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    if (!*text || std::strlen(text) > 8)
        return false;
    for (; *text; ++text)
        if (!std::strchr("0123456789abcdefABCDEF", *text))
            return false;
    return true;
}

// A path from the command line in UTF-8, as nlscheck handles paths (on
// Windows the command line is in the system code page).
std::string Utf8Path(const std::string& arg)
{
    return std::filesystem::path(arg).u8string();
}

int Usage(const char* problem)
{
    if (problem)
        std::fprintf(stderr, "nlscheck: %s\n\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

int Convert(const std::string& sources, const std::string& package)
{
    Conversion conversion = ConvertSources(sources, package);
    for (const Finding& f : conversion.findings)
        std::fprintf(stderr, "%s%s%s: %s: %s\n", f.file.c_str(), f.line ? ":" : "",
                     f.line ? std::to_string(f.line).c_str() : "", f.severity == kError ? "error" : "warning",
                     f.message.c_str());
    if (conversion.Refused())
        return 2;
    for (const std::string& name : conversion.skipped)
        std::printf("%s: no table entry reaches this language: not written\n", name.c_str());
    for (const std::string& name : conversion.unchanged)
        std::printf("%s: unchanged\n", name.c_str());
    for (const std::string& name : conversion.written)
        std::printf("wrote %s\n", name.c_str());
    return 0;
}

}

int main(int argc, char** argv)
{
    std::string folder, programFolder, systemFolder, sources;
    bool quiet = false, machine = false;
    CheckOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--quiet" || arg == "-q") {
            quiet = true;
        } else if (arg == "--machine") {
            machine = true;
        } else if (arg == "--locale" && hasValue) {
            const char* value = argv[++i];
            if (!IsHex(value))
                return Usage(("not a hexadecimal locale number: " + std::string(value)).c_str());
            const char* digits = value[0] == '0' && (value[1] == 'x' || value[1] == 'X') ? value + 2 : value;
            options.locales.push_back(ParseHexPrefix(digits));
        } else if (arg == "--folder" && hasValue) {
            programFolder = argv[++i];
        } else if (arg == "--system" && hasValue) {
            systemFolder = argv[++i];
        } else if (arg == "--convert" && hasValue) {
            sources = Utf8Path(argv[++i]);
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage(("unknown or incomplete option: " + arg).c_str());
        } else if (folder.empty()) {
            folder = Utf8Path(arg);
        } else {
            return Usage("one package folder at a time");
        }
    }
    if (folder.empty())
        return Usage(nullptr);
    std::error_code ec;
    for (const std::string& dir : { folder, sources }) {
        if (!dir.empty() && !std::filesystem::is_directory(dir, ec)) {
            std::fprintf(stderr, "nlscheck: %s: not a folder\n", dir.c_str());
            return 2;
        }
    }
    if (!sources.empty())
        return Convert(sources, folder);

    options.programFolder = programFolder.empty() ? LauncherFolder(std::filesystem::u8path(folder).string()) : programFolder;
    while (options.programFolder.size() > 1 && options.programFolder.back() == '\\')
        options.programFolder.pop_back();
    while (systemFolder.size() > 1 && systemFolder.back() == '\\')
        systemFolder.pop_back();
    options.rundll32Path = systemFolder.empty() ? SystemProgram("rundll32.exe") : systemFolder + "\\rundll32.exe";
    options.notepadPath = systemFolder.empty() ? SystemProgram("notepad.exe") : systemFolder + "\\notepad.exe";

    Report report = CheckPackage(folder, options);
    if (machine) {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF alone, as the texts' own bytes stand
#endif
        std::fputs(FormatMachine(report).c_str(), stdout);
    } else {
        PrintStyle style = { quiet, false };
        PrepareTerminal(style.colour);
        std::fputs(FormatReport(report, style).c_str(), stdout);
    }
    return report.ExitStatus();
}
