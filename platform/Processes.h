// Processes and their windows: thin wrappers over the kernel32 and user32 calls.
#pragma once

#include "platform/Owner.h"

#include <vector>

namespace platform {

// The platform id of GetVersionExA (ANSI record of 148 bytes); 0 when the call fails.
DWORD PlatformId();

// An empty owner when the process cannot be opened.
UniqueHandle OpenProcessFor(DWORD access, DWORD processId);
bool TerminateProcessWith(HANDLE process, UINT exitCode);
// WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForObject(HANDLE object, DWORD milliseconds);

// Every top-level window, in the order EnumWindows visits them.
std::vector<HWND> TopLevelWindows();
DWORD WindowProcessId(HWND window);
bool PostMessageTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
