#include "launcher.h"

#include "actions.h"
#include "cmdline.h"
#include "progdir.h"
#include "nls/language.h"
#include "nls/lookup.h"
#include "ui/confirmdlg.h"

CLauncherApp theApp;

BEGIN_MESSAGE_MAP(CLauncherApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CLauncherApp::CLauncherApp() : m_langCodes(), m_codePages(), m_bFolderCurrent(FALSE), m_nExitCode(0) {}

CLauncherApp::~CLauncherApp() {}

BOOL LookupAppText(TextRole role, CString& text, UINT& codePage)
{
    const CLauncherApp* app = static_cast<CLauncherApp*>(AfxGetApp());
    unsigned found;
    if (!app->m_bFolderCurrent || !LookupText(app->m_langCodes, app->m_codePages, text, role, found))
        return FALSE;
    codePage = found;
    return TRUE;
}

BOOL CLauncherApp::InitInstance()
{
    Enable3dControlsStatic();
    const char* commandLine = GetCommandLineA();
    bool silent = IsSilent(commandLine);
    bool wait = WaitsForInstaller(commandLine);

    // From here on every file name is relative to the program's folder.
    // Where it can't be made current (too long, gone, unreachable), the
    // folder the launcher was started in must not stand in for it: the
    // package goes on without language files, and installs nothing.
    CString directory = ProgramDirectory();
    m_bFolderCurrent = MakeCurrentDirectory(directory);
    if (m_bFolderCurrent)
        SelectLanguage(m_langCodes, m_codePages, kLanguageTableFile);

    CConfirmDlg dlg;
    m_pMainWnd = &dlg;
    dlg.m_bShowReadme = TRUE;
    INT_PTR answer = silent ? IDOK : dlg.DoModal();
    if (answer == IDOK)
        m_nExitCode = m_bFolderCurrent ? PerformInstallActions(directory, silent, dlg.m_bShowReadme, wait)
                                       : wait ? ERROR_INSTALL_FAILURE : 0;
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
