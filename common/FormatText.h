// Fills the placeholders of a template, in order, like the system formatter
// wvsprintfA, but safe for any template a scenario can carry: a placeholder
// without an argument renders as empty text, an empty text argument as empty
// text, "%%" as "%", and the result is cut at 1,023 bytes.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

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

// What FormatText puts in place of a conversion: one argument as text, as a
// character or as a number, or no argument at all.
enum class TArgumentKind { None, Text, Character, Number };

// A "%" of a template as FormatText reads it.
struct TTemplateConversion {
    std::string Text;  // "%s", "%-5d", "%%"; a conversion cut by the template's end runs to it
    char Type = 0;     // 's', 'd', ...; '%' for "%%"; 0 when the template ends inside the conversion
    TArgumentKind Kind = TArgumentKind::None;
    bool Sized = false;  // carries a field width or a precision
};

// The conversions of a template, in order; FormatText stops at a cut one.
std::vector<TTemplateConversion> TemplateConversions(const std::string& templateText);

constexpr std::string::size_type FormatTextLimit = 1023;
