// What the probe library reads inside the launcher's process, where Wine
// answers questions that it can't pass between processes (WM_GETICON is
// not marshalled, and GDI objects belong to their process). The test
// writes its request into the file mapping kProbeName, hooks the dialog's
// thread with the library's ProbeHook, sends it the message of the same
// name, and reads the answers from the mapping.
#ifndef TESTS_GUI_PROBE_H
#define TESTS_GUI_PROBE_H

#include <windows.h>

#define kProbeName "LauncherGuiTestProbe"

struct DialogProbe {
    BOOL done;
    HICON bigIcon;       // WM_GETICON ICON_BIG
    HICON smallIcon;     // WM_GETICON ICON_SMALL
    HICON resourceIcon;  // LoadIconA of icon 128 from setup.exe
    HICON pictureIcon;   // STM_GETICON of the static control -1
    LONG iconWidth, iconHeight;
    BOOL dbcsEnabled;    // GetSystemMetrics(SM_DBCSENABLED)
    LOGFONTA buttonFont;  // of the Yes button's WM_GETFONT
    LOGFONTA guiFont;     // of GetStockObject(DEFAULT_GUI_FONT)
    char commonControls[MAX_PATH];  // the loaded comctl32.dll's path, empty if none

    // How it is drawn: how many of the title's and the four texts' device
    // contexts are mirrored (LAYOUT_RTL), and whether the picture shows the
    // icon as it is or reversed, read from the screen.
    LONG mirroredTexts;
    BOOL pictureAsIs, pictureReversed;

    // Asked for when paintWidth is not 0: the dialog painted as a minimised
    // window with a client area of that size, its pixels read back, and
    // where its icon stands in them.
    LONG paintWidth, paintHeight;
    BOOL iconFound;          // the pixels are the icon on a plain background
    LONG iconX, iconY;       // the icon's top left corner in the client area
};

#endif
