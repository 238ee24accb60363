// File versions as the copy decision compares them.
#pragma once

#include <cstdint>
#include <string>

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// The file version of the fixed version record; false when the file carries no version information.
bool GetFileVersion(const std::string& fileName, FileVersion& version);
