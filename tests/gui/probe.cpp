// The probe library: loaded by Wine into the launcher's process when the
// test's hook first runs there. See probe.h.
#include "probe.h"

namespace {

void Fill(HWND hDlg, DialogProbe& probe)
{
    probe.bigIcon = reinterpret_cast<HICON>(SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0));
    probe.smallIcon = reinterpret_cast<HICON>(SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0));
    probe.resourceIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
    probe.pictureIcon = reinterpret_cast<HICON>(SendDlgItemMessageA(hDlg, -1, STM_GETICON, 0, 0));
    ICONINFO info;
    if (probe.bigIcon && GetIconInfo(probe.bigIcon, &info)) {
        BITMAP bm;
        if (GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm)) {
            probe.iconWidth = bm.bmWidth;
            probe.iconHeight = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        }
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    probe.dbcsEnabled = GetSystemMetrics(SM_DBCSENABLED);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(hDlg, IDOK, WM_GETFONT, 0, 0));
    if (font)
        GetObjectA(font, sizeof probe.buttonFont, &probe.buttonFont);
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof probe.guiFont, &probe.guiFont);
    probe.done = TRUE;
}

}

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp->message == RegisterWindowMessageA(kProbeName)) {
        HANDLE hMap = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kProbeName);
        void* view = hMap ? MapViewOfFile(hMap, FILE_MAP_WRITE, 0, 0, sizeof(DialogProbe)) : nullptr;
        if (view) {
            Fill(cwp->hwnd, *static_cast<DialogProbe*>(view));
            UnmapViewOfFile(view);
        }
        if (hMap)
            CloseHandle(hMap);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
