// Run-time binding of system DLLs: loaded by full path from the system
// directory, so that a DLL of the same name planted beside the program (a
// download folder) is never loaded, and bound by name, so that the program
// still starts where a DLL or an entry point is missing.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The system directory with its trailing backslash; empty when the system cannot give it.
const std::string& SystemDirectory();

// The system loads DLLs by bare name on demand (theming, shell and crypto
// helpers), and would take them from the program's folder, a download folder,
// first. From here on only the system directory is searched
// (SetDefaultDllDirectories); where that call is missing, at least the current
// directory is left out (SetDllDirectoryA("")); on systems without either, nothing changes.
void RestrictDllSearch();

// The standard controls take the system's visual style (Windows XP and later)
// from version 6 of the common controls, which only the program's manifest
// gives: the system directory holds version 5. It is loaded by its bare name,
// and only while the manifest's activation context redirects that name to the
// assembly, which the loader then takes without searching any folder; where
// nothing redirects it (Windows 2000, the 9x family), nothing is loaded.
void EnableVisualStyles();

// A system DLL, loaded from the system directory on first use and kept until
// the program ends; while it cannot be loaded, each use tries again.
class SystemDll {
public:
    constexpr explicit SystemDll(const char* name) : name_(name) {}
    SystemDll(const SystemDll&) = delete;
    SystemDll& operator=(const SystemDll&) = delete;

    // Null while the DLL cannot be loaded.
    HMODULE Module();

private:
    const char* name_;
    HMODULE module_ = nullptr;
};

// One entry point of a SystemDll, looked up once the DLL is loaded. A call
// takes the arguments of the system function and returns its result; while the
// DLL or the entry point is missing, it calls nothing and returns 0 (FALSE, null).
template <typename Function>
class SystemFunction {
public:
    constexpr SystemFunction(SystemDll& dll, const char* name) : dll_(dll), name_(name) {}
    SystemFunction(const SystemFunction&) = delete;
    SystemFunction& operator=(const SystemFunction&) = delete;

    template <typename... Args>
    auto operator()(Args... args) -> decltype(static_cast<Function>(nullptr)(args...))
    {
        if (!bound_) {
            HMODULE module = dll_.Module();
            bound_ = module != nullptr;
            if (bound_)
                function_ = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name_)));
        }
        return function_ ? function_(args...) : 0;
    }

private:
    SystemDll& dll_;
    const char* name_;
    bool bound_ = false;
    Function function_ = nullptr;
};

}  // namespace platform
