#include "PrsSrch/PsapiApi.h"

#include "platform/SystemLibrary.h"

namespace Psapi {

namespace {

platform::SystemDll library("PSAPI.dll");
platform::SystemFunction<BOOL(WINAPI*)(DWORD*, DWORD, DWORD*)> enumProcesses(library, "EnumProcesses");
platform::SystemFunction<BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*)> enumProcessModules(library,
                                                                                     "EnumProcessModules");
platform::SystemFunction<DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD)> moduleFileName(library,
                                                                                   "GetModuleFileNameExA");

}  // namespace

BOOL EnumProcesses(DWORD* processIds, DWORD size, DWORD* bytesReturned)
{
    return enumProcesses(processIds, size, bytesReturned);
}

BOOL EnumProcessModules(HANDLE process, HMODULE* modules, DWORD size, DWORD* bytesNeeded)
{
    return enumProcessModules(process, modules, size, bytesNeeded);
}

DWORD GetModuleFileNameExA(HANDLE process, HMODULE module, char* fileName, DWORD size)
{
    return moduleFileName(process, module, fileName, size);
}

}  // namespace Psapi
