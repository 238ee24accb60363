// The program's own splitting of a command line into parameters.
#pragma once

#include <string>
#include <vector>

// The parameters of a full command line: the program's own name (the first
// token) is left out; quotes around a whole parameter are removed, every other
// quote stays.
std::vector<std::string> SplitCommandLine(const std::string& line);

// The parameter's first characters with the Latin capitals folded equal prefix.
bool HasOptionPrefix(const std::string& parameter, const std::string& prefix);
