#include "platform/SystemLibrary.h"

namespace platform {

namespace {

SystemDll kernel32("kernel32.dll");

}  // namespace

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
    static SystemFunction<BOOL(WINAPI*)(DWORD)> setDefaultDirectories(kernel32, "SetDefaultDllDirectories");
    static SystemFunction<BOOL(WINAPI*)(LPCSTR)> setDirectory(kernel32, "SetDllDirectoryA");
    if (!setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        setDirectory("");
}

void EnableVisualStyles()
{
    static SystemFunction<BOOL(WINAPI*)(DWORD, const GUID*, ULONG, LPCSTR, PACTCTX_SECTION_KEYED_DATA)>
        findInActivationContext(kernel32, "FindActCtxSectionStringA");
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof redirection;
    if (!findInActivationContext(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, "comctl32.dll",
                                 &redirection))
        return;
    HMODULE controls = ::LoadLibraryA("comctl32.dll");
    if (!controls)
        return;
    // Registers the classes of version 6, which the standard controls of the program's windows then take.
    if (auto initialize = reinterpret_cast<void(WINAPI*)()>(
            reinterpret_cast<void*>(::GetProcAddress(controls, "InitCommonControls"))))
        initialize();
}

}  // namespace platform
