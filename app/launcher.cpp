#include "launcher.h"

#include "actions.h"
#include "cmdline.h"
#include "progdir.h"
#include "nls/language.h"
#include "nls/texts.h"
#include "ui/confirmdlg.h"

CLauncherApp theApp;

BEGIN_MESSAGE_MAP(CLauncherApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CLauncherApp::CLauncherApp() : m_langCodes(), m_nExitCode(0) {}

CLauncherApp::~CLauncherApp() {}

const LanguageCodes& AppLanguageCodes()
{
    return static_cast<CLauncherApp*>(AfxGetApp())->m_langCodes;
}

BOOL CLauncherApp::InitInstance()
{
    Enable3dControlsStatic();
    const char* commandLine = GetCommandLineA();
    bool silent = IsSilent(commandLine);
    bool wait = WaitsForInstaller(commandLine);

    // From here on every file name is relative to the program's folder. A
    // bare drive ("X:") would name that drive's current folder, not its root.
    CString directory = ProgramDirectory();
    if (directory.GetLength() == 2 && directory[1] == ':')
        SetCurrentDirectoryA(directory + "\\");
    else
        SetCurrentDirectoryA(directory);

    SelectLanguage(m_langCodes, kLanguageTableFile);

    CConfirmDlg dlg;
    m_pMainWnd = &dlg;
    dlg.m_bShowReadme = TRUE;
    INT_PTR answer = silent ? IDOK : dlg.DoModal();
    if (answer == IDOK)
        m_nExitCode = PerformInstallActions(directory, silent, dlg.m_bShowReadme, wait);
    else if (wait)
        // No, Esc and the close box give IDCANCEL; -1 is a dialog that
        // could not be shown, which no one refused.
        m_nExitCode = answer == IDCANCEL ? ERROR_INSTALL_USEREXIT : ERROR_INSTALL_FAILURE;

    // The dialog's window, if it had one, is gone; the object goes next.
    m_pMainWnd = nullptr;
    return FALSE;
}

int CLauncherApp::ExitInstance()
{
    return m_nExitCode;
}
