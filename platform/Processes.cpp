#include "platform/Processes.h"

namespace platform {

DWORD PlatformId()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    static_assert(sizeof version == 148, "the ANSI version record");
    return ::GetVersionExA(&version) ? version.dwPlatformId : 0;
}

UniqueHandle OpenProcessFor(DWORD access, DWORD processId)
{
    return UniqueHandle(::OpenProcess(access, FALSE, processId));
}

bool TerminateProcessWith(HANDLE process, UINT exitCode)
{
    return ::TerminateProcess(process, exitCode) != FALSE;
}

DWORD WaitForObject(HANDLE object, DWORD milliseconds)
{
    return ::WaitForSingleObject(object, milliseconds);
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

DWORD WindowProcessId(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

bool PostMessageTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(window, message, wParam, lParam) != FALSE;
}

}  // namespace platform
