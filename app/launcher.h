// CLauncherApp: the application object. Its start-up runs the whole
// install sequence once and then fails on purpose, so that the process
// ends without a message loop.
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

    LanguageCodes m_langCodes;

    DECLARE_MESSAGE_MAP()
};

// The codes of the one application object, for every text lookup.
const LanguageCodes& AppLanguageCodes();

#endif
