#include "PrsSrch/ToolHelpApi.h"

#include "platform/SystemLibrary.h"

namespace ToolHelp {

namespace {

platform::SystemDll kernel("kernel32.dll");
platform::SystemFunction<decltype(&::CreateToolhelp32Snapshot)> createSnapshot(kernel, "CreateToolhelp32Snapshot");
platform::SystemFunction<decltype(&::Process32First)> processFirst(kernel, "Process32First");
platform::SystemFunction<decltype(&::Process32Next)> processNext(kernel, "Process32Next");
platform::SystemFunction<decltype(&::Module32First)> moduleFirst(kernel, "Module32First");
platform::SystemFunction<decltype(&::Module32Next)> moduleNext(kernel, "Module32Next");

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId)
{
    return createSnapshot(flags, processId);
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry)
{
    return processFirst(snapshot, entry);
}

BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry)
{
    return processNext(snapshot, entry);
}

BOOL Module32First(HANDLE snapshot, MODULEENTRY32* entry)
{
    return moduleFirst(snapshot, entry);
}

BOOL Module32Next(HANDLE snapshot, MODULEENTRY32* entry)
{
    return moduleNext(snapshot, entry);
}

}  // namespace ToolHelp
