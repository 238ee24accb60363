#include "PrsSrch/PsapiApi.h"

#include "platform/SystemLibrary.h"

namespace Psapi {

namespace {

struct Binding {
    BOOL(WINAPI* enumProcesses)(DWORD*, DWORD, DWORD*) = nullptr;
    BOOL(WINAPI* enumProcessModules)(HANDLE, HMODULE*, DWORD, DWORD*) = nullptr;
    DWORD(WINAPI* moduleFileName)(HANDLE, HMODULE, char*, DWORD) = nullptr;
};

// Never loaded by bare name: a PSAPI.dll planted beside the program must not
// be the one that runs.
const Binding& Bound()
{
    static Binding binding;
    static HMODULE library = nullptr;
    if (!library) {
        library = platform::LoadSystemLibrary("PSAPI.dll").release();  // stays loaded for the run
        using platform::EntryPoint;
        binding.enumProcesses = EntryPoint<decltype(binding.enumProcesses)>(library, "EnumProcesses");
        binding.enumProcessModules = EntryPoint<decltype(binding.enumProcessModules)>(library, "EnumProcessModules");
        binding.moduleFileName = EntryPoint<decltype(binding.moduleFileName)>(library, "GetModuleFileNameExA");
    }
    return binding;
}

template <typename Function, typename... Args>
auto CallBound(Function Binding::*entry, Args... args) -> decltype((Bound().*entry)(args...))
{
    Function function = Bound().*entry;
    return function ? function(args...) : 0;
}

}  // namespace

BOOL EnumProcesses(DWORD* processIds, DWORD size, DWORD* bytesReturned)
{
    return CallBound(&Binding::enumProcesses, processIds, size, bytesReturned);
}

BOOL EnumProcessModules(HANDLE process, HMODULE* modules, DWORD size, DWORD* bytesNeeded)
{
    return CallBound(&Binding::enumProcessModules, process, modules, size, bytesNeeded);
}

DWORD GetModuleFileNameExA(HANDLE process, HMODULE module, char* fileName, DWORD size)
{
    return CallBound(&Binding::moduleFileName, process, module, fileName, size);
}

}  // namespace Psapi
