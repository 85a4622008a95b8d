#include "reader.h"

#include "codepage.h"
#include "files.h"
#include "profile.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstring>
#include <filesystem>

namespace {

std::string g_folder = ".";
unsigned g_codePage = 1252;

}

void SetProfileFolder(const std::string& folder)
{
    g_folder = folder;
}

void SetProfileCodePage(unsigned codePage)
{
    g_codePage = codePage;
}

void ReadPackageProfile(const char* file, const char* section, const char* key, char* buffer, size_t capacity)
{
    if (capacity == 0)
        return;
#ifdef _WIN32
    if (g_codePage == GetACP()) {
        std::string path = std::filesystem::u8path(g_folder).string() + "\\" + file;
        GetPrivateProfileStringA(section, key, "", buffer, static_cast<DWORD>(capacity), path.c_str());
        return;
    }
#endif
    std::string path = ResolveName(g_folder, Utf8FromCodePage(file, g_codePage)), bytes;
    std::string text;
    if (!path.empty() && ReadFileBytes(JoinPath(g_folder, path), bytes))
        text = ProfileFile(bytes, g_codePage).Read(section, key, capacity);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}
