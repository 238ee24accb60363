// Run-time binding of system DLLs that Windows does not always take from the
// system directory (version.dll, PSAPI.dll): loaded by full path, so that a
// DLL of the same name planted beside the program is never loaded.
#pragma once

#include "platform/Owner.h"

namespace platform {

// LoadLibraryA of the system directory + name; an empty owner on failure.
Library LoadSystemLibrary(const char* name);

// The system loads DLLs by bare name on demand (theming, shell and crypto
// helpers), and would take them from the program's folder, a download folder,
// first. From here on only the system directory is searched
// (SetDefaultDllDirectories); where that call is missing, at least the current
// directory is left out (SetDllDirectoryA("")); on systems without either, nothing changes.
void RestrictDllSearch();

// GetProcAddress cast to the entry point's type; null when it is missing.
template <typename Function>
Function EntryPoint(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace platform
