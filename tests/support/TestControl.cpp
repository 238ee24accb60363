#include "support/TestControl.h"

#include "platform/Registry.h"
#include "support/TestFiles.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

// Deletes a key and its subkeys (RegDeleteTree is not available on every system the program serves).
void DeleteKeyTree(HKEY root, const std::string& path)
{
    std::vector<std::string> children;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
        platform::RegKey key(opened);  // closed before its subkeys go
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (::RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            children.emplace_back(name, length);
        }
    }
    for (const std::string& child : children)
        DeleteKeyTree(root, path + "\\" + child);
    platform::DeleteKey(root, path);
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
    platform::RegKey key = platform::CreateKey(HKEY_CLASSES_ROOT, clsid.ServerKey());
    if (!key)
        throw std::runtime_error("cannot create " + clsid.ServerKey());
    if (::RegSetValueExA(key.get(), "", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write " + clsid.ServerKey());
}

bool ReadServerValue(const ScratchClsid& clsid, std::string& value)
{
    platform::RegKey key = platform::OpenKeyForQuery(HKEY_CLASSES_ROOT, clsid.ServerKey());
    if (!key)
        return false;
    std::string bytes;
    bool read = platform::QueryValueBytes(key.get(), "", 1023, bytes);
    value = bytes.c_str();  // up to the value's zero byte
    return read;
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
