// Keeps Wine's desktop in use for as long as the wineserver runs (started by
// wine-run with the other daemons; see there why). It never shows a window.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ::GetDesktopWindow();  // joins the desktop, starting its process if needed
    ::Sleep(INFINITE);
    return 0;
}
