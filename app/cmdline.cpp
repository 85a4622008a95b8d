#include "cmdline.h"

#include <cstring>

bool IsSilent(const char* commandLine)
{
    static const char* const switches[] = { "/s", "/S", "-s", "-S" };
    for (const char* sw : switches)
        if (std::strstr(commandLine, sw))
            return true;
    return false;
}

size_t ProgramDirectoryOf(const char* commandLine, size_t capacity, char* dest)
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
    const char* cut = end;
    while (cut > start && cut[-1] != '\\')
        --cut;
    if (cut == start)
        return 0;
    size_t len = static_cast<size_t>(cut - 1 - start);
    if (capacity > len) {
        std::memcpy(dest, start, len);
        dest[len] = '\0';
    }
    return len + 1;
}
