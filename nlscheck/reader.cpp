#include "reader.h"

#include "files.h"
#include "profile.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstring>

namespace {

std::string g_folder = ".";

}

void SetProfileFolder(const std::string& folder)
{
    g_folder = folder;
}

void ReadPackageProfile(const char* file, const char* section, const char* key, char* buffer, size_t capacity)
{
    if (capacity == 0)
        return;
#ifdef _WIN32
    std::string path = g_folder + "\\" + file;
    GetPrivateProfileStringA(section, key, "", buffer, static_cast<DWORD>(capacity), path.c_str());
#else
    std::string path = ResolveName(g_folder, file), bytes;
    std::string text;
    if (!path.empty() && ReadFileBytes(JoinPath(g_folder, path), bytes))
        text = ProfileFile(bytes).Read(section, key, capacity);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
#endif
}
