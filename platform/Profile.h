// The kernel32 private-profile (INI) functions.
#pragma once

#include <string>

namespace platform {

// Each returns the characters the system copied into a buffer of `size`.
std::string ProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultValue, unsigned size);
int ProfileInt(const std::string& file, const std::string& section, const std::string& key, int defaultValue);
// The raw block: NUL-terminated lines, as the system filled it.
std::string ProfileSection(const std::string& file, const std::string& section, unsigned size);
std::string ProfileSectionNames(const std::string& file, unsigned size);

bool WriteProfileKey(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);
bool DeleteProfileSection(const std::string& file, const std::string& section);
// `block` holds the lines, each ended by a NUL, and one more NUL at its end.
bool WriteProfileBlock(const std::string& file, const std::string& section, const std::string& block);

}  // namespace platform
