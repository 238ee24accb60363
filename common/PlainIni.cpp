#include "common/PlainIni.h"

#include "common/ProfileFile.h"

#include "platform/Files.h"
#include "platform/System.h"

namespace {

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Text whose ends no reader trims: not empty, no blank or control character at either end.
bool Untrimmed(const std::string& text)
{
    return !text.empty() && !IsBlankOrControl(text.front()) && !IsBlankOrControl(text.back());
}

// A section or key name that every reader matches alike: readers differ in
// how they fold letters beyond A to Z.
bool PlainName(const std::string& name)
{
    for (char c : name)
        if (static_cast<unsigned char>(c) > 0x7E)
            return false;
    return Untrimmed(name);
}

bool HasControlCharacter(const std::string& line)
{
    for (char c : line)
        if (static_cast<unsigned char>(c) < ' ')
            return true;
    return false;
}

}  // namespace

bool PlainIniFile::Read(const std::string& path)
{
    sections_.clear();
    names_.Clear();
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes))
        return false;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 || bytes.compare(0, 2, "\xFF\xFE") == 0 ||
        bytes.compare(0, 2, "\xFE\xFF") == 0)
        return false;
    for (std::string::size_type from = 0; from < bytes.size();) {
        std::string::size_type end = bytes.find('\n', from);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!TakeLine(line))
            return false;
        from = end + 1;
    }
    byName_ = SortedLines(names_);
    for (int i = 0; i < names_.Count(); ++i)
        if (byName_.Count(names_[i]) > 1)
            return false;
    return true;
}

bool PlainIniFile::TakeLine(const std::string& line)
{
    if (line.empty() || line[0] == ';')
        return !HasControlCharacter(line);
    if (HasControlCharacter(line))
        return false;
    if (line[0] == '[') {
        const std::string name = line.substr(1, line.size() - 2);
        if (line.size() < 3 || line.back() != ']' || !PlainName(name) || name.find(']') != std::string::npos)
            return false;
        names_.Add(name);
        sections_.emplace_back();
        return true;
    }
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos || !PlainName(line.substr(0, equals)))
        return false;
    const std::string value = line.substr(equals + 1);
    if (!value.empty() && (!Untrimmed(value) || value[0] == '"' || value[0] == '\''))
        return false;
    if (!sections_.empty())  // a key before the first section belongs to none
        sections_.back().keys.push_back(line);
    return true;
}

bool PlainIniFile::KeyLines(const std::string& section, StringList& list) const
{
    const int index = byName_.IndexOf(section);
    if (index < 0)
        return false;
    for (const std::string& line : sections_[index].keys)
        list.Add(line.substr(0, line.find('=') + ProfileFile::ValueBufferSize));
    return true;
}
