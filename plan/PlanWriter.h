// The text of a plan: lines, items under headings, and the boxes of the run quoted.
#pragma once

#include "plan/RecordingUserInterface.h"

#include <string>

// Lines ended by CR LF, in the program's code page.
class TPlanWriter {
public:
    explicit TPlanWriter(TRecordingUserInterface& ui) : ui_(ui) {}

    void Line(const std::string& text) { text_ += text + "\r\n"; }
    void Item(const std::string& text) { Line("  " + text); }
    void Heading(const std::string& text)
    {
        Line("");
        Line(text);
    }
    // The boxes that the stage just run would have shown.
    void NewBoxes();
    // A text of the run under a heading item, line by line as a box shows it.
    void Quote(const std::string& item, const std::string& text);
    void Append(const TPlanWriter& part) { text_ += part.text_; }
    const std::string& Text() const { return text_; }

private:
    TRecordingUserInterface& ui_;
    std::string text_;
};
