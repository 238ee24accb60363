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

LONG QueryValue(HKEY key, const std::string& valueName, DWORD capacity, DWORD& type, std::string& bytes)
{
    std::vector<char> buffer(capacity);
    DWORD size = capacity;
    type = REG_NONE;
    LONG status = ::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                     &size);
    bytes.assign(buffer.data(), status == ERROR_SUCCESS ? (size < capacity ? size : capacity) : 0);
    return status;
}

bool QueryValueBytes(HKEY key, const std::string& valueName, DWORD capacity, std::string& bytes)
{
    DWORD type;
    return QueryValue(key, valueName, capacity, type, bytes) == ERROR_SUCCESS;
}

RegKey OpenKeyForUpdate(HKEY root, const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view, &key) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

RegKey CreateKey(HKEY root, const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

bool SetTextValue(HKEY key, const std::string& valueName, const std::string& text)
{
    return ::RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY key, const std::string& valueName)
{
    LONG status = ::RegDeleteValueA(key, valueName.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteKey(HKEY root, const std::string& path)
{
    return ::RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

// The subkey `name` of an open key and everything under it. Deleting relative
// to an open key stays in the view that key was opened in.
static bool DeleteSubtree(HKEY parent, const std::string& name)
{
    HKEY opened = nullptr;
    LONG status = ::RegOpenKeyExA(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &opened);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    if (status != ERROR_SUCCESS)
        return false;
    {
        RegKey key(opened);  // closed before the key itself goes
        char child[256];
        DWORD length = sizeof child;
        while (::RegEnumKeyExA(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            if (!DeleteSubtree(key.get(), std::string(child, length)))
                return false;
            length = sizeof child;
        }
    }
    status = ::RegDeleteKeyA(parent, name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteKeyTree(HKEY root, const std::string& path, REGSAM view)
{
    const std::string::size_type split = path.rfind('\\');
    if (split == std::string::npos)
        return DeleteSubtree(root, path);
    HKEY opened = nullptr;
    LONG status = ::RegOpenKeyExA(root, path.substr(0, split).c_str(), 0, KEY_ENUMERATE_SUB_KEYS | view, &opened);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    if (status != ERROR_SUCCESS)
        return false;
    RegKey parent(opened);
    return DeleteSubtree(parent.get(), path.substr(split + 1));
}

bool FlushKey(HKEY key)
{
    return ::RegFlushKey(key) == ERROR_SUCCESS;
}

}  // namespace platform
