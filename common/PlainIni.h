// An INI file read in one pass, for files too large to read key by key: the
// system's profile functions read the whole file anew for every key they are
// asked for. Only a file whose every line stands in the plain form that the
// profile functions write is taken (names of plain ASCII, no blank around a
// name, an "=" or a value, no quoted value, no section given twice, no
// byte-order mark): how
// the system reads such a file leaves no doubt, whichever Windows reads it.
// Any other file is left to the system.
#pragma once

#include "common/StringList.h"

#include <string>
#include <vector>

class PlainIniFile {
public:
    // False, and nothing taken, when the file cannot be read or a line of it is not plain.
    bool Read(const std::string& path);

    // Appends the keys of the section as ProfileFile::KeyLines reads them
    // ("key=value", values cut as the system cuts them); false for a section the file lacks.
    bool KeyLines(const std::string& section, StringList& list) const;

private:
    struct Section {
        std::vector<std::string> keys;  // "name=value"
    };
    bool TakeLine(const std::string& line);

    std::vector<Section> sections_;
    StringList names_;  // of sections_
    SortedLines byName_;
};
