// CLauncherApp: the application object. Its start-up runs the whole
// install sequence once and then fails on purpose, so that the process
// ends without a message loop; its exit processing gives the run's exit
// code.
#ifndef APP_LAUNCHER_H
#define APP_LAUNCHER_H

#include "afx/afxwin.h"
#include "nls/codes.h"

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
    int m_nExitCode;

    DECLARE_MESSAGE_MAP()
};

// The codes of the one application object, for every text lookup.
const LanguageCodes& AppLanguageCodes();

#endif
