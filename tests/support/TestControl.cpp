#include "support/TestControl.h"

#include "platform/Registry.h"
#include "support/TestFiles.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>

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
    platform::DeleteKeyTree(HKEY_CLASSES_ROOT, "CLSID\\" + braced_);
}

std::string ScratchJournalKey()
{
    static std::atomic<unsigned> counter{0};
    return "SOFTWARE\\WardCfgUp test " + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

void SetRegistryValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                      const std::string& bytes)
{
    platform::RegKey opened = platform::CreateKey(root, key);
    if (!opened)
        throw std::runtime_error("cannot create " + key);
    if (::RegSetValueExA(opened.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size())) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write " + key + "\\" + name);
}

void SetServerValue(const ScratchClsid& clsid, const std::string& value, DWORD type)
{
    SetRegistryValue(HKEY_CLASSES_ROOT, clsid.ServerKey(), "", type, std::string(value.c_str(), value.size() + 1));
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

::testing::AssertionResult HoldsControl(const std::string& path, const std::string& version)
{
    if (!Exists(path))
        return ::testing::AssertionFailure() << path << " does not exist";
    if (ReadBytes(path) != ReadBytes(BinDir() + "testcontrol_" + version + ".ocx"))
        return ::testing::AssertionFailure() << path << " is not the control " << version;
    return ::testing::AssertionSuccess();
}
