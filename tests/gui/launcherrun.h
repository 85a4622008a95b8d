// What the GUI tests share: package folders, the registry that setup.exe
// reads and writes, and one run of setup.exe driven through its dialog.
#ifndef TESTS_GUI_LAUNCHERRUN_H
#define TESTS_GUI_LAUNCHERRUN_H

#include "probe.h"
#include "testutil.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// A file of a package: its name in the package folder and its bytes.
struct PackageFile {
    const char* name;
    const char* content;
};

// Makes a package folder named name under the test's temporary folder,
// with a copy of setup.exe and the files; returns its full path.
std::string MakePackage(const char* name, std::initializer_list<PackageFile> files);

// Sets the resource locale that setup.exe chooses its language by, "0407".
void SetResourceLocale(const char* locale);
void DeleteUninstallKey();

// A program that setup.exe started, as the recorder saw it.
struct Started {
    std::string module;
    std::string commandLine;      // in the system's code page
    int showMode;
    std::string commandLineUtf8;  // as the system keeps it, in Unicode
};

// What a run left behind.
struct Outcome {
    bool ended = false;  // setup.exe ended in time
    DWORD exitCode = STILL_ACTIVE;  // setup.exe's, once it has ended
    bool keyWritten = false;
    DWORD nameType = 0;
    std::string displayName;  // the value's bytes, its zero included
    DWORD messageType = 0;
    std::string message;
    std::wstring displayNameText;  // the display name as a Unicode program reads it
    std::vector<Started> started;  // in the order they were started
};

// One run of setup.exe (or a copy by another name) in a package folder,
// from a folder other than its own, without arguments unless given. Its dialog is found by the process id, among the visible windows.
//
// Keys are posted to the dialog's focused control, where its modal loop
// finds them as if typed: on Wine that works every time, whereas real
// input (xdotool) depends on which X window has the focus, and on a
// display without a window manager that is not always the dialog. A
// button is pressed with BM_CLICK, the close command is posted as
// WM_SYSCOMMAND SC_CLOSE. Wine doesn't pass WM_GETICON between processes,
// nor GDI objects: the icons and fonts are read by the probe library,
// inside setup.exe's process.
class LauncherRun {
public:
    explicit LauncherRun(const std::string& package, const std::string& program = "setup.exe",
                         const char* arguments = "");
    // setup.exe in a package folder of any name, started by the wide call.
    explicit LauncherRun(const std::wstring& package);
    ~LauncherRun();

    // Waits until the dialog is shown; null if it isn't within seconds.
    HWND WaitForDialog();

    std::string Title() const;
    std::string Text(int nID) const;
    // The same as a Unicode program reads them.
    std::wstring TitleText() const;
    std::wstring ItemText(int nID) const;
    int CheckState(int nID) const;
    // The control with the keyboard focus, 0 if none; its id in *pID.
    HWND Focus(int* pID = nullptr) const;
    // Posts a key press to the focused control.
    void PressKey(WORD vk) const;
    // Waits until the focus leaves hWnd; false if it stays.
    bool WaitForFocusToLeave(HWND hWnd) const;
    void Click(int nID) const;
    void Close() const;
    // Passes probe to the probe library in setup.exe, as its request, and
    // fills it with the answers.
    bool Probe(DialogProbe& probe) const;
    // Sends the help message, as the F1 key makes it.
    void Help() const;
    // Expects the dialog laid out as its template is or mirrored, as a
    // right-to-left language's: its style, where Yes and the icon stand,
    // the device contexts of the title and the texts (a mirrored one reads
    // right to left), and the icon drawn as it is either way.
    void ExpectLayout(bool mirrored) const;
    // Expects the focus on Yes, and Tab to move it to No, to the check box
    // and back to Yes.
    void ExpectTabOrder() const;

    // Waits for setup.exe and the programs it started to end, then reads
    // the uninstall entry and the recorder's log.
    Outcome WaitForEnd();

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hDlg = nullptr;
    std::string m_log;
};

#endif
