// The program entry: runs the one application object's start-up and its
// exit processing.
#include "afxwin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    // A start-up that succeeds would go on to a message loop; this framework
    // has none, since its one program does all its work in InitInstance.
    pApp->InitInstance();
    return pApp->ExitInstance();
}
