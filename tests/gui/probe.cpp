// The probe library: loaded by Wine into the launcher's process when the
// test's hook first runs there. See probe.h.
#include "probe.h"

#include <algorithm>
#include <vector>

namespace {

// The pixels of a bitmap as 32-bit values, top row first.
std::vector<DWORD> Pixels(HDC hDC, HBITMAP hBitmap, LONG width, LONG height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(width * height));
    GetDIBits(hDC, hBitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// Whether the picture is the icon at (x, y) on the plain background.
bool IconAt(const std::vector<DWORD>& picture, LONG width, LONG height, const std::vector<DWORD>& icon, LONG size,
            DWORD background, LONG x, LONG y)
{
    for (LONG row = 0; row < height; ++row)
        for (LONG column = 0; column < width; ++column) {
            LONG ix = column - x, iy = row - y;
            bool inIcon = ix >= 0 && ix < size && iy >= 0 && iy < size;
            DWORD expected = inIcon ? icon[static_cast<size_t>(iy * size + ix)] : background;
            if (picture[static_cast<size_t>(row * width + column)] != expected)
                return false;
        }
    return true;
}

// Where the icon stands in the picture, on its plain background; false if
// it isn't there.
bool FindIcon(const std::vector<DWORD>& picture, LONG width, LONG height, const std::vector<DWORD>& icon, LONG size,
              DWORD background, LONG& x, LONG& y)
{
    for (y = -size; y < height; ++y)
        for (x = -size; x < width; ++x)
            if (IconAt(picture, width, height, icon, size, background, x, y))
                return true;
    return false;
}

// The icon's pixels drawn on a background colour, or reversed.
std::vector<DWORD> IconPixels(HDC hDC, DWORD background, bool reversed)
{
    const LONG size = GetSystemMetrics(SM_CXICON);
    HDC hMemDC = CreateCompatibleDC(hDC);
    HBITMAP hIcon = CreateCompatibleBitmap(hDC, size, size);
    HGDIOBJ old = SelectObject(hMemDC, hIcon);
    HBRUSH hBrush = CreateSolidBrush(background);
    RECT all = { 0, 0, size, size };
    FillRect(hMemDC, &all, hBrush);
    DeleteObject(hBrush);
    DrawIcon(hMemDC, 0, 0, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128)));
    SelectObject(hMemDC, old);
    std::vector<DWORD> icon = Pixels(hMemDC, hIcon, size, size);
    DeleteObject(hIcon);
    DeleteDC(hMemDC);
    if (reversed)
        for (LONG row = 0; row < size; ++row)
            std::reverse(icon.begin() + row * size, icon.begin() + (row + 1) * size);
    return icon;
}

// The picture as the screen shows it now.
void CapturePicture(HWND hPicture, DialogProbe& probe)
{
    RECT rect;
    GetWindowRect(hPicture, &rect);
    InflateRect(&rect, 4, 4);
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC hScreenDC = GetDC(nullptr);
    HDC hMemDC = CreateCompatibleDC(hScreenDC);
    HBITMAP hShot = CreateCompatibleBitmap(hScreenDC, width, height);
    HGDIOBJ old = SelectObject(hMemDC, hShot);
    BitBlt(hMemDC, 0, 0, width, height, hScreenDC, rect.left, rect.top, SRCCOPY);
    SelectObject(hMemDC, old);
    std::vector<DWORD> picture = Pixels(hMemDC, hShot, width, height);
    const LONG size = GetSystemMetrics(SM_CXICON);
    LONG x, y;
    // Background alone would match the icon and its reverse, each placed
    // wholly outside: that is a picture not drawn yet.
    bool drawn = std::count(picture.begin(), picture.end(), picture[0]) != static_cast<ptrdiff_t>(picture.size());
    probe.pictureAsIs =
        drawn && FindIcon(picture, width, height, IconPixels(hScreenDC, picture[0], false), size, picture[0], x, y);
    probe.pictureReversed =
        drawn && FindIcon(picture, width, height, IconPixels(hScreenDC, picture[0], true), size, picture[0], x, y);
    DeleteObject(hShot);
    DeleteDC(hMemDC);
    ReleaseDC(nullptr, hScreenDC);
}

// The picture as the screen shows it, with a margin of the dialog's
// background, searched for the icon as it is and reversed.
void FindPicture(HWND hDlg, DialogProbe& probe)
{
    HWND hPicture = GetDlgItem(hDlg, -1);
    RedrawWindow(hPicture, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // Wine brings a window's drawing to the screen a little later: until
    // then the screen shows the picture's background alone.
    for (int attempt = 0; attempt < 40; ++attempt) {
        CapturePicture(hPicture, probe);
        if (probe.pictureAsIs || probe.pictureReversed)
            return;
        GdiFlush();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_PAINT);
    }
}

WNDPROC g_dialogWindowProc;

// Gives the minimised window a client area as large as the window, as
// minimised windows had when they showed their icon.
LRESULT CALLBACK WholeWindowIsClient(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCALCSIZE)
        return 0;
    return CallWindowProcA(g_dialogWindowProc, hWnd, message, wParam, lParam);
}

// Paints the dialog as a minimised window of the requested client size and
// finds the icon in its pixels. A window really minimised is parked off
// the screen with no client area, where nothing can be read back: here
// the window keeps its place, is given the size with all of it as client
// area, and then only the minimised style, which IsIconic in the
// launcher's paint handler answers. The controls are hidden, so that the
// picture holds what the handler paints and nothing else. The style can't
// be taken back (the system keeps WS_MINIMIZE once set): one request a run.
void PaintMinimised(HWND hDlg, DialogProbe& probe)
{
    const LONG width = probe.paintWidth, height = probe.paintHeight;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        ShowWindow(hChild, SW_HIDE);
    g_dialogWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WholeWindowIsClient)));
    SetWindowPos(hDlg, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetWindowLongA(hDlg, GWL_STYLE, GetWindowLongA(hDlg, GWL_STYLE) | WS_MINIMIZE);
    RECT client;
    GetClientRect(hDlg, &client);
    if (client.right == width && client.bottom == height) {
        RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC hWindowDC = GetDC(hDlg);
        SetLayout(hWindowDC, 0);  // the pixels as the screen shows them
        HDC hMemDC = CreateCompatibleDC(hWindowDC);
        HBITMAP hPicture = CreateCompatibleBitmap(hWindowDC, width, height);
        HGDIOBJ old = SelectObject(hMemDC, hPicture);
        BitBlt(hMemDC, 0, 0, width, height, hWindowDC, 0, 0, SRCCOPY);
        SelectObject(hMemDC, old);
        std::vector<DWORD> picture = Pixels(hMemDC, hPicture, width, height);

        // The icon is away from the corners in every request of the test:
        // a corner shows the background.
        const DWORD background = picture[0];
        const LONG size = GetSystemMetrics(SM_CXICON);
        probe.iconFound = FindIcon(picture, width, height, IconPixels(hWindowDC, background, false), size, background,
                                   probe.iconX, probe.iconY);
        DeleteObject(hPicture);
        DeleteDC(hMemDC);
        ReleaseDC(hDlg, hWindowDC);
    }
}

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
    if (HMODULE hComCtl = GetModuleHandleA("comctl32.dll"))
        GetModuleFileNameA(hComCtl, probe.commonControls, sizeof probe.commonControls);
    for (int nID : { 0, 1000, 1001, IDOK, IDCANCEL }) {
        HWND hWnd = nID ? GetDlgItem(hDlg, nID) : hDlg;
        HDC hDC = GetDC(hWnd);
        probe.mirroredTexts += (GetLayout(hDC) & LAYOUT_RTL) ? 1 : 0;
        ReleaseDC(hWnd, hDC);
    }
    FindPicture(hDlg, probe);
    if (probe.paintWidth)
        PaintMinimised(hDlg, probe);
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
