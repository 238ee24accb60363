#include "support/SettingsFiles.h"

#include "platform/Profile.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <regex>

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

std::vector<std::string> LogEntries(const std::string& logPath)
{
    static const std::regex stamp(R"(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\] -> )");
    const std::string log = ReadBytes(logPath);
    std::vector<std::string> entries;
    std::sregex_iterator end;
    for (std::sregex_iterator at(log.begin(), log.end(), stamp); at != end; ++at) {
        auto next = std::next(at);
        std::string::size_type from = at->position() + at->length();
        std::string::size_type to = next == end ? log.size() : static_cast<std::string::size_type>(next->position());
        std::string entry = log.substr(from, to - from);
        if (entry.size() >= 2 && entry.compare(entry.size() - 2, 2, "\r\n") == 0)
            entry.resize(entry.size() - 2);
        entries.push_back(entry);
    }
    return entries;
}
