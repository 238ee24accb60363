// Reading a run log back in tests.
#pragma once

#include <string>
#include <vector>

// The texts of the log's entries, in order, each without its time stamp
// ("[date time] -> ") and its closing CR LF; an entry of several lines is one text.
std::vector<std::string> LogEntries(const std::string& logPath);
