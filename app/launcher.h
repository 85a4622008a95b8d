// CLauncherApp: the application object. Its start-up runs the whole
// install sequence once and then fails on purpose, so that the process
// ends without a message loop; its exit processing gives the run's exit
// code.
#ifndef APP_LAUNCHER_H
#define APP_LAUNCHER_H

#include "afx/afxwin.h"
#include "nls/codes.h"
#include "nls/texts.h"

class CLauncherApp : public CWinApp {
public:
    CLauncherApp();
    ~CLauncherApp() override;

    // Called once by the framework: asks, installs, and returns FALSE.
    BOOL InitInstance() override;
    // Called once after InitInstance: the process's exit code. 0, as the
    // framework's, unless the run waits for the installer (/w): then the
    // installer's exit status, 1602 for a refusal, 1603 for nothing to
    // install.
    int ExitInstance() override;

    LanguageCodes m_langCodes;
    LanguageCodePages m_codePages;
    // The program's folder was made current: its language files can be
    // read, and the installer started on its INF.
    BOOL m_bFolderCurrent;
    int m_nExitCode;

    DECLARE_MESSAGE_MAP()
};

// One of the launcher's texts in the application's languages, and the
// code page it is in (0: the machine's). FALSE, leaving both alone, when
// neither language has it, and always when the program's folder couldn't
// be made current: no other folder's files stand in for its own.
BOOL LookupAppText(TextRole role, CString& text, UINT& codePage);

#endif
