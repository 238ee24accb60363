#include "support/LogLines.h"

#include "support/TestFiles.h"

#include <iterator>
#include <regex>

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
