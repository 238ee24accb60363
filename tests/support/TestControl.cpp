#include "support/TestControl.h"

#include "support/TestFiles.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

// Deletes a key and its subkeys (RegDeleteTree is not available on every system the program serves).
void DeleteKeyTree(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        std::vector<std::string> children;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            children.emplace_back(name, length);
        }
        ::RegCloseKey(key);
        for (const std::string& child : children)
            DeleteKeyTree(root, path + "\\" + child);
    }
    ::RegDeleteKeyA(root, path.c_str());
}

}  // namespace

ScratchClsid::ScratchClsid()
{
    static std::atomic<unsigned> counter{0};
    char text[64];
    std::snprintf(text, sizeof text, "{5EC0DE00-%04lX-%04X-%04lX-%012llX}", ::GetCurrentProcessId() & 0xFFFF,
                  ++counter & 0xFFFF, ::GetTickCount() & 0xFFFF,
                  static_cast<unsigned long long>(::GetCurrentProcessId()) << 16 | (counter & 0xFFFF));
    braced_ = text;
}

ScratchClsid::~ScratchClsid()
{
    DeleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\" + braced_);
}

std::string ScratchJournalKey()
{
    static std::atomic<unsigned> counter{0};
    return "Software\\WardCfgUp test " + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

void SetServerValue(const ScratchClsid& clsid, const std::string& value, DWORD type)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, clsid.ServerKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + clsid.ServerKey());
    LONG status = ::RegSetValueExA(key, "", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot write " + clsid.ServerKey());
}

bool ReadServerValue(const ScratchClsid& clsid, std::string& value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, clsid.ServerKey().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    LONG status = ::RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    value = buffer;
    return status == ERROR_SUCCESS;
}

std::string InstallTestControl(const std::string& variant, const std::string& directory, const std::string& name,
                               const ScratchClsid& clsid)
{
    std::string built = BinDir() + "testcontrol_" + variant + ".ocx";
    std::string bytes = ReadBytes(built);
    if (bytes.empty())
        throw std::runtime_error("cannot read " + built);
    std::string target = directory + name;
    WriteBytes(target, bytes);
    WriteBytes(directory + "testcontrol.clsid", clsid.Braced() + "\r\n");
    return target;
}
