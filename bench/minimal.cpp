// The yardstick for the launcher's start-up: a Win32 GUI program that does
// nothing and ends. It also stands in for rundll32.exe in the benchmark's
// Wine prefix, so that the installer the launcher starts ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
