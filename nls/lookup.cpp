// Localized texts read through the platform's initialization-file call,
// or on the NT family, where that would bring them to the machine's code
// page, through the launcher's own reader.
#include "lookup.h"

#include "profile.h"
#include "support/sbuf.h"

#include <windows.h>

#include <cstring>

// The text ends at the count that the call returns, and a byte it didn't
// write reads as zero: a value cut inside a double-byte character is
// reported one byte longer than Wine writes it.
static void ReadProfileString(const char* file, const char* section, const char* key,
                              char* buffer, size_t capacity)
{
    std::memset(buffer, 0, capacity);
    DWORD length = GetPrivateProfileStringA(section, key, "", buffer, static_cast<DWORD>(capacity), file);
    if (length < capacity)
        buffer[length] = '\0';
}

BOOL LookupText(const LanguageCodes& codes, CString& dest, const char* base,
                const char* section, const char* key)
{
    return LookupTextWith(ReadProfileString, codes, base, section, key, dest) != kTextMissing;
}

BOOL LookupText(const LanguageCodes& codes, CString& dest, TextRole role)
{
    const LauncherText& text = kLauncherTexts[role];
    return LookupText(codes, dest, text.base, text.section, text.key);
}

namespace {

// A language file's bytes, up to a size no language file comes near; false
// when it can't be opened or read, which reads as an empty file.
bool ReadWholeFile(const char* file, SBuf& buf)
{
    HANDLE hFile = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD size = GetFileSize(hFile, &high);
    DWORD read = 0;
    bool ok = high == 0 && size < 0x1000000 && buf.SetSize(static_cast<int32_t>(size) + 1) &&
              ReadFile(hFile, buf.GetData(), size, &read, nullptr) && read == size;
    CloseHandle(hFile);
    return ok;
}

unsigned ReadLanguageFile(const char* file, unsigned codePage, const char* section, const char* key, char* buffer,
                          size_t capacity)
{
    buffer[0] = '\0';
    if (codePage == 0) {
        ReadProfileString(file, section, key, buffer, capacity);
        return 0;
    }
    SBuf bytes;
    if (!ReadWholeFile(file, bytes))
        return codePage;
    const char* text = bytes.GetData();
    size_t size = static_cast<size_t>(bytes.GetSize() - 1);
    ProfileMark mark = ProfileMarkOf(text, size);
    if (mark == kNoMark && codePage == GetACP()) {
        ReadProfileString(file, section, key, buffer, capacity);
        return codePage;
    }
    // A file with a mark is read by it: UTF-16 is brought to UTF-8 first.
    SBuf utf8;
    if (mark != kNoMark) {
        text += ProfileMarkLength(mark);
        size -= ProfileMarkLength(mark);
        codePage = kCodePageUtf8;
        if (mark != kUtf8Mark) {
            char* units = bytes.GetData() + 2;
            for (size_t i = 0; mark == kUtf16BEMark && i + 1 < size; i += 2) {
                char high = units[i];
                units[i] = units[i + 1];
                units[i + 1] = high;
            }
            int length = static_cast<int>(size / 2);
            char* out = utf8.SetSize(length * 3 + 1);
            if (!out)
                return codePage;
            size = static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const WCHAR*>(units), length,
                                                           out, length * 3, nullptr, nullptr));
            text = out;
        }
    }
    ProfileLine found;
    if (FindProfileKey(text, size, codePage, section, key, found) && found.hasValue)
        CopyProfileValue(found.value, found.valueLength, codePage, buffer, capacity);
    return codePage;
}

}

BOOL LookupText(const LanguageCodes& codes, const LanguageCodePages& codePages, CString& dest, TextRole role,
                unsigned& codePage)
{
    const LauncherText& text = kLauncherTexts[role];
    return LookupLanguageText(ReadLanguageFile, codes, codePages, text.base, text.section, text.key, dest, codePage) !=
           kTextMissing;
}
