// The snapshot interface of kernel32, bound by name on first use so that the
// program starts where the system lacks it. Each wrapper takes the arguments
// of the system function of its name and returns its result; while the
// interface is unavailable, or the entry point is missing, it calls nothing
// and returns 0.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

namespace ToolHelp {

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Module32First(HANDLE snapshot, MODULEENTRY32* entry);
BOOL Module32Next(HANDLE snapshot, MODULEENTRY32* entry);

}  // namespace ToolHelp
