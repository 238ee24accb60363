#include "support/LogLines.h"

#include "support/TestFiles.h"

std::vector<std::string> LogTexts(const std::string& logPath)
{
    const std::string marker = "] -> ";
    std::string content = ReadBytes(logPath);
    std::vector<std::string> texts;
    std::string::size_type start = 0;
    while (start < content.size()) {
        std::string::size_type end = content.find("\r\n", start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        std::string::size_type text = line.find(marker);
        texts.push_back(text == std::string::npos ? line : line.substr(text + marker.size()));
        start = end + 2;
    }
    return texts;
}
