/* The physical limit of a silent run of the example package: the platform
 * calls that "setup.exe /s" makes for it with the resource locale 0407, and
 * nothing else. It parses nothing and decides nothing: the language (DEU,
 * whose files have every text) and the installer library are the answers
 * setup.exe comes to on the benchmark's machine, written in. Like setup.exe
 * it has no C runtime, and it loads no USER32.
 *
 *   the program's folder made current; the locale read from the registry;
 *   the language table read; the name and the removal message read from
 *   the language files and written under the uninstall key; the INF's name
 *   read; the installer started hidden, by its full path, not waited for. */
#include <windows.h>

static char *Append(char *to, const char *from)
{
    while ((*to = *from++) != '\0')
        ++to;
    return to;
}

static char g_folder[MAX_PATH];
static char g_table[4096];
static char g_text[1024];
static char g_command[2 * MAX_PATH + 1024];
static STARTUPINFOA g_startup;

void LimitMain(void)
{
    /* "<folder>\limit.exe" /s: the folder is everything before the last
     * backslash of the quoted path. */
    const char *line = GetCommandLineA() + 1;
    char *end = g_folder, *cut = g_folder;
    while (*line != '"' && *line != '\0' && end < g_folder + MAX_PATH - 1) {
        if (*line == '\\')
            cut = end;
        *end++ = *line++;
    }
    *cut = '\0';
    SetCurrentDirectoryA(g_folder);

    HKEY key;
    char locale[20];
    DWORD size = sizeof locale;
    if (RegOpenKeyA(HKEY_USERS, ".DEFAULT\\Control Panel\\Desktop\\ResourceLocale", &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, NULL, NULL, NULL, (BYTE *)locale, &size);
        RegCloseKey(key);
    }

    HANDLE file = CreateFileA("NLS\\LANGID.TXT", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD length = GetFileSize(file, NULL), read;
    ReadFile(file, g_table, length < sizeof g_table ? length : sizeof g_table, &read, NULL);
    CloseHandle(file);

    RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KAVRO", &key);
    DWORD n = GetPrivateProfileStringA("Proj", "Name", "", g_text, sizeof g_text, "NLS\\PROJ.DEU");
    RegSetValueExA(key, "DisplayName", 0, REG_SZ, (const BYTE *)g_text, n + 1);
    n = GetPrivateProfileStringA("Translation", "Remove", "", g_text, sizeof g_text, "NLS\\STR.DEU");
    RegSetValueExA(key, "Message", 0, REG_BINARY, (const BYTE *)g_text, n + 1);

    char *p = Append(g_command, "\"");
    p += GetSystemDirectoryA(p, MAX_PATH);
    p = Append(p, "\\rundll32.exe\" setupapi.dll,InstallHinfSection DefaultInstall 132 ");
    p = Append(p, g_folder);
    p = Append(p, "\\");
    GetPrivateProfileStringA("Proj", "INF", "", p, (DWORD)(g_command + sizeof g_command - p), "NLS\\PROJ.DEU");
    g_startup.cb = sizeof g_startup;
    g_startup.dwFlags = STARTF_USESHOWWINDOW;
    g_startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;
    if (CreateProcessA(NULL, g_command, NULL, NULL, FALSE, 0, NULL, NULL, &g_startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    RegCloseKey(key);
    ExitProcess(0);
}
