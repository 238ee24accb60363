#include "common/ProfileFile.h"

#include "common/Text.h"
#include "platform/Profile.h"
#include "platform/System.h"

// Appends each NUL-terminated line of a block that the system filled.
static void AppendBlockLines(const std::string& block, StringList& list)
{
    std::string::size_type from = 0;
    while (from < block.size() && block[from] != '\0') {
        std::string::size_type end = block.find('\0', from);
        if (end == std::string::npos)
            end = block.size();
        list.Add(block.substr(from, end - from));
        from = end + 1;
    }
}

std::string ProfileFile::StringValue(const std::string& key, const std::string& value)
{
    if (Mode == TMode::Read)
        return platform::ProfileString(FileName, Section, key, value, ValueBufferSize);
    NoteWrite(platform::WriteProfileKey(FileName, Section, key, value));
    return value;
}

int ProfileFile::IntegerValue(const std::string& key, int value)
{
    if (Mode == TMode::Read)
        return platform::ProfileInt(FileName, Section, key, value);
    StringValue(key, std::to_string(value));
    return value;
}

void ProfileFile::SectionLines(StringList& list)
{
    if (Mode == TMode::Read) {
        AppendBlockLines(platform::ProfileSection(FileName, Section, SectionBufferSize), list);
        return;
    }
    std::string block = PackSectionBlock(list);
    NoteWrite(platform::DeleteProfileSection(FileName, Section));
    NoteWrite(platform::WriteProfileBlock(FileName, Section, block));
}

// The whole block that read fills into a buffer of the size it is given.
template <typename Read>
static std::string WholeBlock(Read read)
{
    // The system fills all but two bytes of a buffer that is too small.
    const unsigned limit = 1u << 28;
    unsigned size = ProfileFile::SectionBufferSize;
    std::string block = read(size);
    while (block.size() + 2 >= size && size < limit) {
        size *= 2;
        block = read(size);
    }
    return block;
}

void ProfileFile::ReadSectionNames(StringList& list)
{
    AppendBlockLines(WholeBlock([this](unsigned size) { return platform::ProfileSectionNames(FileName, size); }),
                     list);
}

// The section reader gives a key's line as the file holds it; the blanks
// around the value and a pair of quotes that encloses it are what the string
// reader drops. A line without "=" is no key: the string reader finds none.
void ProfileFile::KeyLines(StringList& list)
{
    StringList lines;
    AppendBlockLines(
        WholeBlock([this](unsigned size) { return platform::ProfileSection(FileName, Section, size); }), lines);
    for (int i = 0; i < lines.Count(); ++i) {
        if (lines[i].find('=') == std::string::npos)
            continue;
        std::string value = TrimControls(lines.ValueAt(i));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        list.Add(TrimControls(lines.NameAt(i)) + "=" + value.substr(0, ValueBufferSize - 1));
    }
}

void ProfileFile::NoteWrite(bool succeeded)
{
    if (!succeeded && firstWriteError_ == 0) {
        firstWriteError_ = platform::LastError();
        if (firstWriteError_ == 0)
            firstWriteError_ = ERROR_WRITE_FAULT;
    }
}

std::string PackSectionBlock(const StringList& list)
{
    std::string block;
    for (int i = 0; i < list.Count() && block.size() < ProfileFile::SectionBlockLimit; ++i) {
        block += list[i];
        block += '\0';
    }
    if (block.size() > ProfileFile::SectionBlockLimit)
        block.resize(ProfileFile::SectionBlockLimit);
    return block + '\0';
}
