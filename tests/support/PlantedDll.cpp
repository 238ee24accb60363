#include "support/PlantedDll.h"

#include <windows.h>

#include <stdexcept>

PreferDllBesideProgram::PreferDllBesideProgram(const std::string& program, const std::string& dll)
    : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides")
{
    HKEY overrides = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides,
                          nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + key_);
    const char order[] = "native,builtin";
    ::RegSetValueExA(overrides, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
    ::RegCloseKey(overrides);
}

PreferDllBesideProgram::~PreferDllBesideProgram()
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
}
