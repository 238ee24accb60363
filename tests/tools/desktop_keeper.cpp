// Keeps Wine's desktop in use for as long as the wineserver runs (started by
// wine-run with the other daemons; see there why), and stands in for the
// user's shell, which Wine does not have: its hidden window is the shell
// window, whose process gives the rights with which an elevated program starts
// the user's programs again. Once it is, the file named on the command line is
// made. It never shows a window.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR readyFile, int)
{
    WNDCLASSA shellClass{};
    shellClass.lpfnWndProc = ::DefWindowProcA;
    shellClass.hInstance = instance;
    shellClass.lpszClassName = "ShellStandIn";
    ::RegisterClassA(&shellClass);  // joins the desktop, starting its process if needed
    // Disabled and never activated: the focus of the tests' windows must not come to it.
    HWND shell = ::CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "ShellStandIn", "", WS_POPUP | WS_DISABLED, 0,
                                   0, 0, 0, nullptr, nullptr, instance, nullptr);
    using SetShell = BOOL(WINAPI*)(HWND);  // in user32, named by no header
    auto setShellWindow = reinterpret_cast<SetShell>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "SetShellWindow")));
    if (shell && setShellWindow && setShellWindow(shell) && *readyFile)
        ::CloseHandle(::CreateFileA(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    MSG message;  // answered, so that no broadcast to the top-level windows waits on it
    while (::GetMessageA(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&message);
    return 0;
}
