#include "cmdline.h"

#include <cstring>

// What follows the program's path: after the closing quote of a quoted
// path (nothing when it lacks one), else from the first blank on.
static const char* ArgumentsOf(const char* commandLine)
{
    if (*commandLine == '"') {
        const char* close = std::strchr(commandLine + 1, '"');
        return close ? close + 1 : "";
    }
    const char* p = commandLine;
    while (*p && *p != ' ' && *p != '\t')
        ++p;
    return p;
}

// Whether "/x", "/X", "-x" or "-X" occurs in the arguments, for the switch
// whose lower-case letter is x: a plain byte search, as strstr would make
// for each of the four.
static bool HasSwitch(const char* commandLine, char letter)
{
    for (const char* p = ArgumentsOf(commandLine); *p; ++p)
        if ((*p == '/' || *p == '-') && (p[1] | 0x20) == letter)
            return true;
    return false;
}

bool IsSilent(const char* commandLine)
{
    return HasSwitch(commandLine, 's');
}

bool WaitsForInstaller(const char* commandLine)
{
    return HasSwitch(commandLine, 'w');
}

const char* LastBackslash(const char* begin, const char* end, LeadByteTest isLeadByte)
{
    const char* last = nullptr;
    for (const char* p = begin; p < end; ++p) {
        if (*p == '\\')
            last = p;
        else if (isLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end)
            ++p;
    }
    return last;
}

size_t ProgramDirectoryOf(const char* commandLine, LeadByteTest isLeadByte, size_t capacity, char* dest)
{
    const char* start = commandLine;
    const char* end;
    if (*start == '"') {
        ++start;
        end = std::strchr(start, '"');
        if (!end)
            end = start + std::strlen(start);
    } else {
        end = start + std::strlen(start);
    }
    const char* cut = LastBackslash(start, end, isLeadByte);
    if (!cut)
        return 0;
    size_t len = static_cast<size_t>(cut - start);
    if (capacity > len) {
        std::memcpy(dest, start, len);
        dest[len] = '\0';
    }
    return len + 1;
}
