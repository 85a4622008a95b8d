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

// A language file as the launcher's reader takes it: its text after any
// byte-order mark, UTF-16 brought to UTF-8.
struct LanguageFile {
    CString name;
    SBuf bytes;
    SBuf utf8;
    const char* text;
    size_t size;
    ProfileMark mark;
    bool read;
};

void LoadLanguageFile(LanguageFile& file)
{
    file.read = ReadWholeFile(file.name, file.bytes);
    if (!file.read)
        return;
    file.text = file.bytes.GetData();
    file.size = static_cast<size_t>(file.bytes.GetSize() - 1);
    file.mark = ProfileMarkOf(file.text, file.size);
    if (file.mark == kNoMark)
        return;
    file.text += ProfileMarkLength(file.mark);
    file.size -= ProfileMarkLength(file.mark);
    if (file.mark == kUtf8Mark)
        return;
    char* units = file.bytes.GetData() + 2;
    for (size_t i = 0; file.mark == kUtf16BEMark && i + 1 < file.size; i += 2) {
        char high = units[i];
        units[i] = units[i + 1];
        units[i + 1] = high;
    }
    int length = static_cast<int>(file.size / 2);
    char* out = file.utf8.SetSize(length * 3 + 1);
    if (!out) {
        file.read = false;
        return;
    }
    file.size = static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const WCHAR*>(units), length,
                                                        out, length * 3, nullptr, nullptr));
    file.text = out;
}

// Each language file is read once for the run: the dialog alone looks up
// six texts in two files. Four hold a language's two files and the default
// language's.
LanguageFile g_files[4];
unsigned g_nextFile;

bool SameName(const char* a, const char* b)
{
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

const LanguageFile& CachedLanguageFile(const char* name)
{
    for (const LanguageFile& file : g_files)
        if (SameName(file.name, name))
            return file;
    LanguageFile& file = g_files[g_nextFile++ % 4];
    file.name = name;
    LoadLanguageFile(file);
    return file;
}

unsigned ReadLanguageFile(const char* name, unsigned codePage, const char* section, const char* key, char* buffer,
                          size_t capacity)
{
    buffer[0] = '\0';
    if (codePage == 0) {
        ReadProfileString(name, section, key, buffer, capacity);
        return 0;
    }
    const LanguageFile& file = CachedLanguageFile(name);
    if (!file.read)
        return codePage;
    if (file.mark == kNoMark && codePage == GetACP()) {
        ReadProfileString(name, section, key, buffer, capacity);
        return codePage;
    }
    // A file with a mark is read by it.
    if (file.mark != kNoMark)
        codePage = kCodePageUtf8;
    ProfileLine found;
    if (FindProfileKey(file.text, file.size, codePage, section, key, found) && found.hasValue)
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
