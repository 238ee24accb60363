#include "common/StringList.h"

#include "common/Text.h"
#include "platform/System.h"

void StringList::AddMarked(const std::string& line, Mark mark)
{
    lines_.push_back({line, mark});
}

void StringList::Delete(int index)
{
    lines_.erase(lines_.begin() + index);
}

std::string StringList::NameAt(int index) const
{
    const std::string& line = lines_[index].text;
    return line.substr(0, line.find('='));
}

std::string StringList::ValueAt(int index) const
{
    const std::string& line = lines_[index].text;
    std::string::size_type equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

int StringList::IndexOfName(const std::string& name) const
{
    if (name.empty())
        return -1;
    for (int i = 0; i < Count(); ++i) {
        const std::string& line = lines_[i].text;
        if (line.size() > name.size() && line[name.size()] == '=' &&
            EqualFoldingAscii(line.substr(0, name.size()), name))
            return i;
    }
    return -1;
}

std::string StringList::ValueOf(const std::string& name) const
{
    int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueAt(index);
}

void StringList::SetValue(const std::string& name, const std::string& value)
{
    int index = IndexOfName(name);
    if (index < 0)
        Add(name + "=" + value);
    else
        lines_[index].text = name + "=" + value;
}

int StringList::IndexOf(const std::string& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (platform::EqualIgnoringCaseInLocale(lines_[i].text, text))
            return i;
    return -1;
}

int StringList::IndexOfExact(const std::string& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (lines_[i].text == text)
            return i;
    return -1;
}

std::string StringList::Text() const
{
    std::string text;
    for (const Line& line : lines_)
        text += line.text + "\r\n";
    return text;
}

int StringList::IndexOfMark(Mark mark) const
{
    for (int i = 0; i < Count(); ++i)
        if (lines_[i].mark == mark)
            return i;
    return -1;
}
