#include "CfgUnit/Configurator.h"

#include "common/Text.h"
#include "platform/Registry.h"

namespace {

// A registered path of up to 260 characters and its terminating zero.
constexpr DWORD InprocServerValueCapacity = 261;

std::string Braced(std::string clsid)
{
    if (clsid.front() != '{')
        clsid.insert(clsid.begin(), '{');
    if (clsid.back() != '}')
        clsid += '}';
    return clsid;
}

}  // namespace

std::string TConfigurator::GetRegisteredActiveXFullName(const std::string& clsid)
{
    std::string trimmed = TrimControls(clsid);
    if (trimmed.empty())
        return std::string();
    platform::RegKey key =
        platform::OpenKeyForQuery(HKEY_CLASSES_ROOT, "CLSID\\" + Braced(trimmed) + "\\InprocServer32");
    if (!key)
        return std::string();
    // The value's type is not examined: an expandable path stays unexpanded.
    std::string value;
    if (!platform::QueryValueBytes(key.get(), "", InprocServerValueCapacity, value))
        return std::string();
    return value.substr(0, value.find('\0'));
}
