// What the Win32 tests share: folders and files under Wine's temporary
// folder, and the registry values that the launcher reads and writes.
#ifndef TESTS_WIN32_HARNESS_H
#define TESTS_WIN32_HARNESS_H

#include <windows.h>

#include <string>

#define UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO"
#define LOCALE_KEY ".DEFAULT\\Control Panel\\Desktop\\ResourceLocale"

// A Unix path ("/work/...") as Wine's drive Z: sees it; others unchanged.
std::string WindowsPath(std::string path);

// This test program's own folder under the temporary folder, made on
// first use and removed by RemoveTestRoot.
std::string TestRoot();
void RemoveTestRoot();

// Makes a folder and the folders above it.
void MakeFolder(const std::string& path);
// Writes a file, its folders included; the bytes may hold zero bytes.
void WriteBytes(const std::string& path, const std::string& bytes);

// The resource locale's unnamed value, its type and exact bytes, or
// no value (and no key) for type REG_NONE.
void SetLocaleValue(DWORD type, const std::string& bytes);
// The same as text: a REG_SZ value with its terminating zero byte.
void SetLocaleText(const char* text);
void DeleteLocale();

#endif
