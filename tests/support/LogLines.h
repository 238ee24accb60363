// Reading a run log back in tests.
#pragma once

#include <string>
#include <vector>

// The texts of the log's lines, each without its time stamp ("[date time] -> ").
std::vector<std::string> LogTexts(const std::string& logPath);
