#include "platform/Registry.h"

#include <vector>

namespace platform {

RegKey OpenKeyForQuery(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

bool QueryValueBytes(HKEY key, const std::string& valueName, DWORD capacity, std::string& bytes)
{
    std::vector<char> buffer(capacity);
    DWORD size = capacity;
    if (::RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                           &size) != ERROR_SUCCESS)
        return false;
    bytes.assign(buffer.data(), size < capacity ? size : capacity);
    return true;
}

RegKey OpenKeyForUpdate(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

RegKey CreateKey(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

bool SetTextValue(HKEY key, const std::string& valueName, const std::string& text)
{
    return ::RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteKey(HKEY root, const std::string& path)
{
    return ::RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool FlushKey(HKEY key)
{
    return ::RegFlushKey(key) == ERROR_SUCCESS;
}

}  // namespace platform
