#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

std::string WindowsPath(std::string path)
{
    if (path.empty() || path[0] != '/')
        return path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

std::string TestRoot()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string root = std::string(temp) + "launcher-win32-" + std::to_string(GetCurrentProcessId());
    MakeFolder(root);
    return root;
}

void RemoveTestRoot()
{
    std::error_code error;
    std::filesystem::remove_all(TestRoot(), error);
}

void MakeFolder(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    MakeFolder(std::filesystem::path(path).parent_path().string());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << "Can't write " << path;
}

void SetLocaleValue(DWORD type, const std::string& bytes)
{
    DeleteLocale();
    if (type == REG_NONE)
        return;
    HKEY hKey;
    LONG result = RegCreateKeyExA(HKEY_USERS, LOCALE_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr);
    ASSERT_EQ(ERROR_SUCCESS, result) << "Can't create the locale key";
    // The registry adds a zero byte to a string whose count leaves it out
    // when the byte after the data is zero; junk after it keeps the count.
    std::string data = bytes + "\xA5";
    result = RegSetValueExA(hKey, nullptr, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(bytes.size()));
    RegCloseKey(hKey);
    ASSERT_EQ(ERROR_SUCCESS, result) << "Can't set the locale value";
}

void SetLocaleText(const char* text)
{
    SetLocaleValue(REG_SZ, std::string(text, strlen(text) + 1));
}

void DeleteLocale()
{
    RegDeleteKeyA(HKEY_USERS, LOCALE_KEY);
}
