#include "platform/SystemLibrary.h"

namespace platform {

const std::string& SystemDirectory()
{
    static const std::string directory = [] {
        char buffer[261];
        UINT length = ::GetSystemDirectoryA(buffer, sizeof buffer);
        if (length == 0 || length >= sizeof buffer)
            return std::string();
        std::string path(buffer, length);
        if (path.back() != '\\')
            path += '\\';
        return path;
    }();
    return directory;
}

HMODULE SystemDll::Module()
{
    if (!module_ && !SystemDirectory().empty())
        module_ = ::LoadLibraryA((SystemDirectory() + name_).c_str());
    return module_;
}

void RestrictDllSearch()
{
    // Both are younger than the oldest systems the program runs on.
    static SystemDll kernel("kernel32.dll");
    static SystemFunction<BOOL(WINAPI*)(DWORD)> setDefaultDirectories(kernel, "SetDefaultDllDirectories");
    static SystemFunction<BOOL(WINAPI*)(LPCSTR)> setDirectory(kernel, "SetDllDirectoryA");
    if (!setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        setDirectory("");
}

}  // namespace platform
