// PSAPI.dll, bound by name on first use: loaded by full path from the system
// directory and kept until the program ends. Each wrapper takes the arguments
// of the system function of its name and returns its result; while the
// library cannot be loaded (tried again at each call), or the entry point is
// missing, it calls nothing and returns FALSE or 0.
#pragma once

#include <windows.h>

namespace Psapi {

BOOL EnumProcesses(DWORD* processIds, DWORD size, DWORD* bytesReturned);
BOOL EnumProcessModules(HANDLE process, HMODULE* modules, DWORD size, DWORD* bytesNeeded);
DWORD GetModuleFileNameExA(HANDLE process, HMODULE module, char* fileName, DWORD size);

}  // namespace Psapi
