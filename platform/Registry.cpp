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

}  // namespace platform
