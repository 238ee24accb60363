#include "check/ScenarioScanner.h"

#include "common/Text.h"

namespace {

std::string Unquoted(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool IsUtf8Cyrillic(const std::string& text, std::string::size_type at)
{
    unsigned char lead = static_cast<unsigned char>(text[at]);
    unsigned char next = static_cast<unsigned char>(text[at + 1]);
    return (lead == 0xD0 || lead == 0xD1) && next >= 0x80 && next <= 0xBF;
}

// Two Cyrillic letters in UTF-8 in a row: in code page 1251 the same bytes
// are a pair of rare characters twice, which no Russian text holds.
bool ReadsAsUtf8Cyrillic(const std::string& line)
{
    for (std::string::size_type i = 0; i + 3 < line.size(); ++i)
        if (IsUtf8Cyrillic(line, i) && IsUtf8Cyrillic(line, i + 2))
            return true;
    return false;
}

void ScanLine(TScannedFile& file, const std::string& line, int number)
{
    if (ReadsAsUtf8Cyrillic(line))
        file.Utf8Lines.push_back(number);
    std::string text = TrimControls(line);
    if (text.empty() || text[0] == ';')
        return;
    if (text[0] == '[') {
        std::string::size_type close = text.find(']');
        std::string name = close == std::string::npos ? text.substr(1) : text.substr(1, close - 1);
        file.Sections.push_back({TrimControls(name), number, {}});
        return;
    }
    if (file.Sections.empty()) {
        file.LinesBeforeFirstSection.push_back(number);
        return;
    }
    std::string::size_type equals = text.find('=');
    bool hasEquals = equals != std::string::npos;
    file.Sections.back().Keys.push_back({TrimControls(text.substr(0, equals)),
                                         hasEquals ? Unquoted(TrimControls(text.substr(equals + 1))) : "",
                                         hasEquals, number});
}

}  // namespace

const TScannedSection* TScannedFile::FirstSection(const std::string& name) const
{
    for (const TScannedSection& section : Sections)
        if (EqualFoldingAscii(section.Name, name))
            return &section;
    return nullptr;
}

const TScannedKey* TScannedFile::FirstKey(const std::string& section, const std::string& name) const
{
    const TScannedSection* found = FirstSection(section);
    if (!found)
        return nullptr;
    const int key = keys_[found - Sections.data()].IndexOf(name);
    return key < 0 ? nullptr : &found->Keys[key];
}

int TScannedFile::LineOfKey(const std::string& section, const std::string& name) const
{
    const TScannedKey* key = FirstKey(section, name);
    return key ? key->Line : 0;
}

int TScannedFile::LineOfEntry(const std::string& section, int index) const
{
    const TScannedSection* found = FirstSection(section);
    if (!found)
        return 0;
    return index < static_cast<int>(found->Keys.size()) ? found->Keys[index].Line : found->Line;
}

void TScannedFile::IndexKeys()
{
    keys_.assign(Sections.size(), SortedLines(SortedLines::TFolding::LatinLetters));
    for (std::size_t s = 0; s < Sections.size(); ++s)
        for (std::size_t k = 0; k < Sections[s].Keys.size(); ++k)
            if (Sections[s].Keys[k].HasEquals)
                keys_[s].Add(Sections[s].Keys[k].Name, static_cast<int>(k));
}

TScannedFile ScanLines(std::string bytes)
{
    TScannedFile file;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        file.Encoding = TEncoding::Utf8Mark;
        bytes.erase(0, 3);  // the rest is checked as it reads once the mark is gone
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        file.Encoding = TEncoding::Utf16Mark;
        return file;
    }
    int number = 0;
    for (std::string::size_type from = 0; from < bytes.size();) {
        std::string::size_type end = std::min(bytes.find('\n', from), bytes.size());
        ScanLine(file, bytes.substr(from, end - from), ++number);
        from = end + 1;
    }
    file.IndexKeys();
    return file;
}
