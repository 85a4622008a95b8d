// The yardstick for the time until the launcher's dialog is shown: a Win32
// program that shows one modal dialog from a template in its resources, in
// the common controls 6 as the launcher does, and ends when it is closed.
#include <windows.h>
#include <commctrl.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hWnd, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    return static_cast<int>(DialogBoxParamA(hInstance, "MINIDIALOG", nullptr, DialogProc, 0));
}
