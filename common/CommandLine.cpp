#include "common/CommandLine.h"

#include "common/Text.h"

static bool IsBlank(char c)
{
    unsigned char code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

static std::string::size_type SkipToToken(const std::string& line, std::string::size_type pos)
{
    for (;;) {
        if (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        else if (line.compare(pos, 2, "\"\"") == 0)
            pos += 2;
        else
            return pos;
    }
}

static std::string::size_type TokenEnd(const std::string& line, std::string::size_type pos)
{
    while (pos < line.size() && !IsBlank(line[pos])) {
        if (line[pos++] != '"')
            continue;
        // A quoted stretch keeps its blanks; its closing quote belongs to the token.
        while (pos < line.size() && line[pos] != '"')
            ++pos;
        if (pos < line.size())
            ++pos;
    }
    return pos;
}

std::vector<std::string> SplitCommandLine(const std::string& line)
{
    std::vector<std::string> tokens;
    for (std::string::size_type pos = SkipToToken(line, 0); pos < line.size(); pos = SkipToToken(line, pos)) {
        std::string::size_type end = TokenEnd(line, pos);
        tokens.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    if (tokens.empty())
        return tokens;
    tokens.erase(tokens.begin());
    for (std::string& parameter : tokens)
        if (parameter.size() >= 2 && parameter.front() == '"' && parameter.back() == '"')
            parameter = parameter.substr(1, parameter.size() - 2);
    return tokens;
}

bool HasOptionPrefix(const std::string& parameter, const std::string& prefix)
{
    return EqualFoldingAscii(parameter.substr(0, prefix.size()), prefix);
}
