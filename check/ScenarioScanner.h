// The scenario's own lines, split as the system's profile functions split
// them: the run's reader hides what the check must find (line numbers,
// sections and keys given twice, the encoding).
#pragma once

#include "common/Text.h"

#include <algorithm>
#include <string>
#include <vector>

// Items by their name with the letters A to Z folded, as the profile functions
// match keys; those of one name in the order they were added. A scenario of
// thousands of keys is thus not walked again for each of them.
template <typename Item>
class TByName {
public:
    void Add(const std::string& name, Item item) { items_.push_back({LowerAscii(name), items_.size(), item}); }
    void Sort()
    {
        std::sort(items_.begin(), items_.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name || (a.name == b.name && a.order < b.order); });
    }
    // The items of that name in the order added; call Sort after the last Add.
    std::vector<Item> Named(const std::string& name) const
    {
        const std::string lowered = LowerAscii(name);
        auto first = std::lower_bound(items_.begin(), items_.end(), lowered,
                                      [](const Entry& entry, const std::string& n) { return entry.name < n; });
        std::vector<Item> named;
        for (; first != items_.end() && first->name == lowered; ++first)
            named.push_back(first->item);
        return named;
    }

private:
    struct Entry {
        std::string name;
        std::size_t order;
        Item item;
    };
    std::vector<Entry> items_;
};

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
    std::vector<TByName<std::size_t>> keys_;  // of each section: its keys with "=", by their index in Keys
};

// The lines of a scenario file's bytes; a file with a UTF-16 byte-order mark is not scanned.
TScannedFile ScanLines(std::string bytes);
