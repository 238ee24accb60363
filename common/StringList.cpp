#include "common/StringList.h"

#include "common/Text.h"
#include "platform/System.h"

#include <algorithm>

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

SortedLines::SortedLines(const StringList& list, TFolding folding) : folding_(folding)
{
    for (int i = 0; i < list.Count(); ++i) {
        keys_.push_back(Key(list[i]));
        numbers_.push_back(i);
        order_.push_back(i);
    }
    std::sort(order_.begin(), order_.end(), [this](int a, int b) { return Before(a, b); });
}

// A key that compares as the lines do, byte for byte.
std::string SortedLines::Key(const std::string& line) const
{
    return folding_ == TFolding::Locale ? platform::SortKeyIgnoringCaseInLocale(line) : LowerAscii(line);
}

bool SortedLines::Before(int a, int b) const
{
    return keys_[a] < keys_[b] || (keys_[a] == keys_[b] && numbers_[a] < numbers_[b]);
}

// Only an index moves in the order: a long list grows without copying its keys.
void SortedLines::Add(const std::string& line, int number)
{
    keys_.push_back(Key(line));
    numbers_.push_back(number);
    const int added = static_cast<int>(keys_.size()) - 1;
    order_.insert(std::upper_bound(order_.begin(), order_.end(), added, [this](int a, int b) { return Before(a, b); }),
                  added);
}

std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator> SortedLines::EqualRange(
    const std::string& text) const
{
    const std::string key = Key(text);
    return std::equal_range(order_.begin(), order_.end(), -1, [this, &key](int a, int b) {
        return (a < 0 ? key : keys_[a]) < (b < 0 ? key : keys_[b]);
    });
}

int SortedLines::IndexOf(const std::string& text) const
{
    auto range = EqualRange(text);
    return range.first != range.second ? numbers_[*range.first] : -1;
}

int SortedLines::Count(const std::string& text) const
{
    auto range = EqualRange(text);
    return static_cast<int>(range.second - range.first);
}

std::vector<int> SortedLines::Numbers(const std::string& text) const
{
    std::vector<int> numbers;
    for (auto range = EqualRange(text); range.first != range.second; ++range.first)
        numbers.push_back(numbers_[*range.first]);
    return numbers;
}
