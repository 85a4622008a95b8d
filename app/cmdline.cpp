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

bool IsSilent(const char* commandLine)
{
    static const char* const switches[] = { "/s", "/S", "-s", "-S" };
    const char* arguments = ArgumentsOf(commandLine);
    for (const char* sw : switches)
        if (std::strstr(arguments, sw))
            return true;
    return false;
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
