// An ordered list of text lines with name=value access and an integer mark
// beside every line (0 unless set).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class StringList {
public:
    using Mark = std::uint32_t;

    void Add(const std::string& line) { AddMarked(line, 0); }
    void AddMarked(const std::string& line, Mark mark);
    void Clear() { lines_.clear(); }
    void Delete(int index);
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_[index].text; }

    // The name is the text before the first "="; the value what follows it.
    std::string NameAt(int index) const;
    std::string ValueAt(int index) const;
    // The first line that begins with name and "=", letters A to Z folded; -1 for none or an empty name.
    int IndexOfName(const std::string& name) const;
    std::string ValueOf(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);

    // The first line equal to text, letter case ignored under the user's locale.
    int IndexOf(const std::string& text) const;
    int IndexOfExact(const std::string& text) const;

    // Every line followed by CR LF.
    std::string Text() const;

    Mark MarkAt(int index) const { return lines_[index].mark; }
    void SetMarkAt(int index, Mark mark) { lines_[index].mark = mark; }
    int IndexOfMark(Mark mark) const;

private:
    struct Line {
        std::string text;
        Mark mark;
    };
    std::vector<Line> lines_;
};

// Lines kept sorted, each with a number, so that a long list is searched in
// log time: the sections of a large settings file, the files and keys of a
// long scenario. Lines compare as IndexOf compares them (letter case ignored
// under the user's locale), or with only the letters A to Z folded, as the
// scenario check matches names.
class SortedLines {
public:
    enum class TFolding { Locale, LatinLetters };

    explicit SortedLines(TFolding folding = TFolding::Locale) : folding_(folding) {}
    // Every line of the list, numbered by its index.
    explicit SortedLines(const StringList& list, TFolding folding = TFolding::Locale);
    void Add(const std::string& line, int number);
    // The smallest number of the lines equal to text; -1 for none.
    int IndexOf(const std::string& text) const;
    int Count(const std::string& text) const;
    // The numbers of the lines equal to text, smallest first.
    std::vector<int> Numbers(const std::string& text) const;

private:
    std::string Key(const std::string& line) const;
    bool Before(int a, int b) const;
    std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator> EqualRange(
        const std::string& text) const;
    TFolding folding_;
    std::vector<std::string> keys_;  // the key of each line, as added
    std::vector<int> numbers_;       // of each line
    std::vector<int> order_;         // indices into keys_ by their key, equal keys by number
};
