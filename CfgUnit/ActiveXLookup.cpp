#include "CfgUnit/ActiveXLookup.h"

#include "CfgUnit/Configurator.h"

#include "common/FileNames.h"
#include "common/Text.h"
#include "platform/Registry.h"

namespace {

// A registered path of up to 260 characters and its terminating zero.
constexpr DWORD InprocServerValueCapacity = 261;

}  // namespace

std::string BracedClsid(const std::string& clsid)
{
    std::string braced = TrimControls(clsid);
    if (braced.empty())
        return braced;
    if (braced.front() != '{')
        braced.insert(braced.begin(), '{');
    if (braced.back() != '}')
        braced += '}';
    return braced;
}

std::string TConfigurator::GetRegisteredActiveXFullName(const std::string& clsid)
{
    std::string braced = BracedClsid(clsid);
    if (braced.empty())
        return std::string();
    platform::RegKey key =
        platform::OpenKeyForQuery(HKEY_CLASSES_ROOT, "CLSID\\" + braced + "\\InprocServer32");
    if (!key)
        return std::string();
    // The value's type is not examined: an expandable path stays unexpanded.
    std::string value;
    if (!platform::QueryValueBytes(key.get(), "", InprocServerValueCapacity, value))
        return std::string();
    return value.substr(0, value.find('\0'));
}

bool IsActiveX(const std::string& entry)
{
    return HasExtension(entry, ".ocx");
}
