#include "support/WineSettings.h"

#include "platform/Registry.h"

#include <stdexcept>

WineProgramSetting::WineProgramSetting(const std::string& program, const std::string& subkey, const std::string& name,
                                       const std::string& value)
    : key_("Software\\Wine\\AppDefaults\\" + program + (subkey.empty() ? "" : "\\" + subkey))
{
    platform::RegKey key = platform::CreateKey(HKEY_CURRENT_USER, key_);
    if (!key || !platform::SetTextValue(key.get(), name, value))
        throw std::runtime_error("cannot set " + name + " in " + key_);
}

WineProgramSetting::~WineProgramSetting()
{
    platform::DeleteKey(HKEY_CURRENT_USER, key_);
}
