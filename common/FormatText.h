// Fills the placeholders of a template, in order, like the system formatter
// wvsprintfA, but safe for any template a scenario can carry: a placeholder
// without an argument renders as empty text, an empty text argument as empty
// text, "%%" as "%", and the result is cut at 1,023 bytes.
#pragma once

#include <initializer_list>
#include <string>

class FormatArg {
public:
    FormatArg(const std::string& text) : text_(&text) {}
    FormatArg(const char* text) : literal_(text) {}
    FormatArg(int number) : number_(number), isNumber_(true) {}

    bool IsNumber() const { return isNumber_; }
    int Number() const { return number_; }
    std::string Text() const;

private:
    const std::string* text_ = nullptr;
    const char* literal_ = nullptr;
    int number_ = 0;
    bool isNumber_ = false;
};

std::string FormatText(const std::string& templateText, std::initializer_list<FormatArg> args);

constexpr std::string::size_type FormatTextLimit = 1023;
