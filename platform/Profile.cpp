#include "platform/Profile.h"

#include <windows.h>

#include <vector>

namespace platform {

std::string ProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultValue, unsigned size)
{
    std::vector<char> buffer(size, '\0');
    DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                              buffer.data(), size, file.c_str());
    return std::string(buffer.data(), length < size ? length : 0);
}

int ProfileInt(const std::string& file, const std::string& section, const std::string& key, int defaultValue)
{
    return static_cast<int>(::GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

std::string ProfileSection(const std::string& file, const std::string& section, unsigned size)
{
    std::vector<char> buffer(size, '\0');
    DWORD length = ::GetPrivateProfileSectionA(section.c_str(), buffer.data(), size, file.c_str());
    return std::string(buffer.data(), length < size ? length : size);
}

std::string ProfileSectionNames(const std::string& file, unsigned size)
{
    std::vector<char> buffer(size, '\0');
    DWORD length = ::GetPrivateProfileSectionNamesA(buffer.data(), size, file.c_str());
    return std::string(buffer.data(), length < size ? length : size);
}

bool WriteProfileKey(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value)
{
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool DeleteProfileSection(const std::string& file, const std::string& section)
{
    return ::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

bool WriteProfileBlock(const std::string& file, const std::string& section, const std::string& block)
{
    return ::WritePrivateProfileSectionA(section.c_str(), block.c_str(), file.c_str()) != FALSE;
}

}  // namespace platform
