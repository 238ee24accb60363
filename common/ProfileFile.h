// Read and write access to one INI file through the system profile functions.
// Nothing reports failure: a failed read leaves the default, a failed write
// leaves the file as it was; `Failed` tells a caller that must know.
#pragma once

#include "common/StringList.h"

#include <string>

class ProfileFile {
public:
    enum class TMode { Read, Write };

    explicit ProfileFile(std::string fileName, TMode mode = TMode::Read)
        : FileName(std::move(fileName)), Mode(mode)
    {
    }

    const std::string FileName;
    TMode Mode;
    std::string Section;

    std::string StringValue(const std::string& key, const std::string& value);
    int IntegerValue(const std::string& key, int value);
    void SectionLines(StringList& list);
    // Every section name, however long the list: the buffer grows until they fit,
    // so no server section of a large file is missed and then overwritten.
    void ReadSectionNames(StringList& list);
    // In read mode, every key of the section as "key=value", the value as
    // StringValue reads it, from one read of the file: StringValue reads it
    // anew for each key, so a section of thousands of keys would take the
    // square of its size. As the buffer of the section names, this one grows.
    void KeyLines(StringList& list);

    // The system error code of the first write that failed, 0 when none did.
    unsigned long FirstWriteError() const { return firstWriteError_; }

    static constexpr unsigned ValueBufferSize = 4096;
    static constexpr unsigned SectionBufferSize = 32767;
    static constexpr unsigned SectionBlockLimit = 32765;

private:
    void NoteWrite(bool succeeded);
    unsigned long firstWriteError_ = 0;
};

// The lines packed for a section write: each ended by a NUL, at most
// SectionBlockLimit characters (the line that crosses it is cut there, later
// lines are dropped), and one more NUL at the end.
std::string PackSectionBlock(const StringList& list);
