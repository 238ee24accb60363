#include "platform/SystemLibrary.h"

#include "platform/Files.h"

namespace platform {

Library LoadSystemLibrary(const char* name)
{
    std::string directory = SystemDirectory();
    if (directory.empty())
        return Library();
    if (directory.back() != '\\')
        directory += '\\';
    return Library(::LoadLibraryA((directory + name).c_str()));
}

void RestrictDllSearch()
{
    // Bound at run time: both are younger than the oldest systems the program runs on.
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    auto setDefaultDirectories = EntryPoint<BOOL(WINAPI*)(DWORD)>(kernel, "SetDefaultDllDirectories");
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    if (auto setDirectory = EntryPoint<BOOL(WINAPI*)(LPCSTR)>(kernel, "SetDllDirectoryA"))
        setDirectory("");
}

}  // namespace platform
