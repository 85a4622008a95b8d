#include "platform.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#else
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#endif

namespace {

std::string WithoutTrailingBackslash(std::string path)
{
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    return path;
}

#ifdef _WIN32
UINT g_consoleCodePage;

void RestoreConsole()
{
    SetConsoleOutputCP(g_consoleCodePage);
}
#endif

}

#ifdef _WIN32

std::string LauncherFolder(const std::string& folder)
{
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    return WithoutTrailingBackslash(n > 0 && n < MAX_PATH ? full : folder);
}

std::string SystemProgram(const char* fileName)
{
    char folder[MAX_PATH];
    for (int i = 0; i < 2; ++i) {
        UINT n = i == 0 ? GetSystemDirectoryA(folder, MAX_PATH) : GetWindowsDirectoryA(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            continue;
        std::string path = WithoutTrailingBackslash(folder) + "\\" + fileName;
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return path;
    }
    return std::string();
}

void PrepareTerminal(bool& colour)
{
    colour = false;
    DWORD mode;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) {
        g_consoleCodePage = GetConsoleOutputCP();
        SetConsoleOutputCP(CP_UTF8);
        std::atexit(RestoreConsole);
    }
}

#else

std::string LauncherFolder(const std::string& folder)
{
    std::error_code ec;
    std::string path = std::filesystem::absolute(folder, ec).lexically_normal().string();
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return WithoutTrailingBackslash("Z:" + path);
}

std::string SystemProgram(const char* fileName)
{
    return std::string("C:\\windows\\system32\\") + fileName;
}

void PrepareTerminal(bool& colour)
{
    const char* term = std::getenv("TERM");
    colour = isatty(1) && !std::getenv("NO_COLOR") && term && std::string(term) != "dumb";
}

#endif
