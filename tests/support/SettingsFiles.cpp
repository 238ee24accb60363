#include "support/SettingsFiles.h"

#include "platform/Profile.h"

#include <algorithm>

std::string IniText(const std::vector<IniSection>& sections)
{
    std::string text;
    for (const IniSection& section : sections) {
        text += "[" + section.name + "]\r\n";
        for (const std::string& line : section.lines)
            text += line + "\r\n";
    }
    return text;
}

std::string SectionText(const std::string& file, const std::string& section)
{
    // Larger than any section a test writes, so nothing is cut on the way back.
    const unsigned size = 1 << 20;
    std::string block = platform::ProfileSection(file, section, size);
    std::replace(block.begin(), block.end(), '\0', '\n');
    return block;
}
