#include "PrsSrch/ToolHelpApi.h"

#include "platform/SystemLibrary.h"

namespace ToolHelp {

namespace {

struct Binding {
    decltype(&::CreateToolhelp32Snapshot) createSnapshot = nullptr;
    decltype(&::Process32First) processFirst = nullptr;
    decltype(&::Process32Next) processNext = nullptr;
    decltype(&::Module32First) moduleFirst = nullptr;
    decltype(&::Module32Next) moduleNext = nullptr;
    bool available = false;
};

// kernel32 is always loaded: it is only looked up, never loaded or freed here.
// While it cannot be found, the lookup is tried again at the next call.
const Binding& Bound()
{
    static Binding binding;
    static bool bound = false;
    if (!bound) {
        HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
        if (kernel) {
            using platform::EntryPoint;
            binding.createSnapshot = EntryPoint<decltype(binding.createSnapshot)>(kernel, "CreateToolhelp32Snapshot");
            binding.processFirst = EntryPoint<decltype(binding.processFirst)>(kernel, "Process32First");
            binding.processNext = EntryPoint<decltype(binding.processNext)>(kernel, "Process32Next");
            binding.moduleFirst = EntryPoint<decltype(binding.moduleFirst)>(kernel, "Module32First");
            binding.moduleNext = EntryPoint<decltype(binding.moduleNext)>(kernel, "Module32Next");
            binding.available = binding.createSnapshot != nullptr;
            bound = true;
        }
    }
    return binding;
}

template <typename Function, typename... Args>
auto CallBound(Function Binding::*entry, Args... args) -> decltype((Bound().*entry)(args...))
{
    const Binding& binding = Bound();
    Function function = binding.*entry;
    return binding.available && function ? function(args...) : 0;
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId)
{
    return CallBound(&Binding::createSnapshot, flags, processId);
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry)
{
    return CallBound(&Binding::processFirst, snapshot, entry);
}

BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry)
{
    return CallBound(&Binding::processNext, snapshot, entry);
}

BOOL Module32First(HANDLE snapshot, MODULEENTRY32* entry)
{
    return CallBound(&Binding::moduleFirst, snapshot, entry);
}

BOOL Module32Next(HANDLE snapshot, MODULEENTRY32* entry)
{
    return CallBound(&Binding::moduleNext, snapshot, entry);
}

}  // namespace ToolHelp
