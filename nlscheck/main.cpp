// nlscheck: tells a package author what the setup launcher will make of a
// package's language table and language files, before the package ships.
#include "check.h"
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
    "\n"
    "Shows what the setup launcher reads from the package's NLS folder for each locale,\n"
    "the commands it starts, and what a package author should fix.\n"
    "\n"
    "  --locale HEX   check this resource locale (e.g. 0407); default: each number\n"
    "                 in the language table, and 0 (no locale)\n"
    "  --folder PATH  the package folder as the launcher sees it, for the install\n"
    "                 command (default: its full path; elsewhere than on Windows,\n"
    "                 as Wine sees it, Z:\\...)\n"
    "  --system DIR   the folder of rundll32.exe and notepad.exe (default: where the\n"
    "                 launcher finds them)\n"
    "  --quiet        print only warnings and errors\n"
    "  --machine      one fact a line, tab-separated, for other programs\n"
    "\n"
    "Exit status: 0 clean, 1 warnings, 2 errors.\n";

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

int Usage(const char* problem)
{
    if (problem)
        std::fprintf(stderr, "nlscheck: %s\n\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

}

int main(int argc, char** argv)
{
    std::string folder, programFolder, systemFolder;
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
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage(("unknown or incomplete option: " + arg).c_str());
        } else if (folder.empty()) {
            folder = arg;
        } else {
            return Usage("one package folder at a time");
        }
    }
    if (folder.empty())
        return Usage(nullptr);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::fprintf(stderr, "nlscheck: %s: not a folder\n", folder.c_str());
        return 2;
    }

    options.programFolder = programFolder.empty() ? LauncherFolder(folder) : programFolder;
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
        PrintStyle style = { quiet, false, false };
        PrepareTerminal(style.colour, style.utf8);
        std::fputs(FormatReport(report, style).c_str(), stdout);
    }
    return report.ExitStatus();
}
