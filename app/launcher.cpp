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

CLauncherApp::CLauncherApp() : m_langCodes() {}

CLauncherApp::~CLauncherApp() {}

const LanguageCodes& AppLanguageCodes()
{
    return static_cast<CLauncherApp*>(AfxGetApp())->m_langCodes;
}

BOOL CLauncherApp::InitInstance()
{
    Enable3dControlsStatic();
    bool silent = IsSilent(GetCommandLineA());

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
    bool consent = silent || dlg.DoModal() == IDOK;
    if (consent)
        PerformInstallActions(directory, silent, dlg.m_bShowReadme);

    // The dialog's window, if it had one, is gone; the object goes next.
    m_pMainWnd = nullptr;
    return FALSE;
}
