#include "common/Text.h"

std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replacement)
{
    if (find.empty())
        return text;
    std::string result;
    std::string::size_type from = 0;
    for (std::string::size_type at; (at = text.find(find, from)) != std::string::npos; from = at + find.size())
        result.append(text, from, at - from).append(replacement);
    return result.append(text, from, std::string::npos);
}

std::string Concat(std::initializer_list<std::string_view> pieces)
{
    std::string::size_type size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    std::string text;
    text.reserve(size);
    for (std::string_view piece : pieces)
        text.append(piece.data(), piece.size());
    return text;
}

std::string LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool EqualFoldingAscii(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

unsigned long long ReadDigits(const std::string& text, std::string::size_type& at,
                              std::optional<unsigned long long> most)
{
    unsigned long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        auto digit = static_cast<unsigned long long>(text[at] - '0');
        value = most && value > (*most - digit) / 10 ? *most : value * 10 + digit;
    }
    return value;
}

int DecimalValue(const std::string& text)
{
    std::string::size_type i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    auto value = static_cast<unsigned>(ReadDigits(text, i));  // wraps like the 32-bit original
    return static_cast<int>(negative ? 0u - value : value);
}

static bool IsControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string TrimControls(const std::string& text)
{
    std::string::size_type first = 0;
    while (first < text.size() && IsControl(text[first]))
        ++first;
    return TrimControlsRight(text.substr(first));
}

std::string TrimControlsRight(const std::string& text)
{
    std::string::size_type end = text.size();
    while (end > 0 && IsControl(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string BoolToText(bool value)
{
    return value ? "TRUE" : "FALSE";
}

std::string Counted(std::size_t count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
