// The scenario's own lines, split as the system's profile functions split
// them: the run's reader hides what the check must find (line numbers,
// sections and keys given twice, the encoding).
#pragma once

#include "common/StringList.h"

#include <string>
#include <vector>

struct TScannedKey {
    std::string Name;
    std::string Value;  // without the blanks around it and its enclosing quotes
    bool HasEquals;
    int Line;
};

struct TScannedSection {
    std::string Name;
    int Line;
    std::vector<TScannedKey> Keys;  // every line but comments and blank ones
};

enum class TEncoding { Ansi, Utf8Mark, Utf16Mark };

class TScannedFile {
public:
    TEncoding Encoding = TEncoding::Ansi;
    std::vector<TScannedSection> Sections;
    std::vector<int> LinesBeforeFirstSection;
    std::vector<int> Utf8Lines;  // lines whose text reads as UTF-8 Cyrillic

    // The section as the run reads it: the first of that name; null for none.
    const TScannedSection* FirstSection(const std::string& name) const;
    // The key as the run reads it: the first with "=" of that name in that section; null for none.
    const TScannedKey* FirstKey(const std::string& section, const std::string& name) const;
    // The line of that key; 0 for none.
    int LineOfKey(const std::string& section, const std::string& name) const;
    // The line of the index-th line of a section taken whole (the section's own line past its end).
    int LineOfEntry(const std::string& section, int index) const;

    // Indexes the keys of every section by name, once every line is scanned.
    void IndexKeys();

private:
    std::vector<SortedLines> keys_;  // of each section: its keys with "=" by name, numbered by their index in Keys
};

// The lines of a scenario file's bytes; a file with a UTF-16 byte-order mark is not scanned.
TScannedFile ScanLines(std::string bytes);
