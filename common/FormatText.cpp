#include "common/FormatText.h"

#include "common/Text.h"

#include <algorithm>
#include <charconv>
#include <limits>

std::string FormatArg::Text() const
{
    if (isNumber_)
        return std::to_string(number_);
    if (text_)
        return *text_;
    return literal_ ? literal_ : "";
}

namespace {

// One conversion of the wvsprintf grammar: %[-][#][0][width][.precision][l|h]type.
struct Conversion {
    bool leftAlign = false;
    bool alternate = false;
    bool zeroPad = false;
    std::string::size_type width = 0;
    bool hasPrecision = false;
    std::string::size_type precision = 0;
    char type = 0;
};

// A width or precision. Digits past what the type holds saturate: any
// larger number gives the same text once the result is cut at the limit.
std::string::size_type ReadNumber(const std::string& s, std::string::size_type& i)
{
    return static_cast<std::string::size_type>(ReadDigits(s, i, std::numeric_limits<std::string::size_type>::max()));
}

// Parses after the '%'; false when the template ends inside the conversion.
bool ParseConversion(const std::string& s, std::string::size_type& i, Conversion& c)
{
    for (; i < s.size(); ++i) {
        if (s[i] == '-')
            c.leftAlign = true;
        else if (s[i] == '#')
            c.alternate = true;
        else if (s[i] == '0')
            c.zeroPad = true;
        else
            break;
    }
    c.width = ReadNumber(s, i);
    if (i < s.size() && s[i] == '.') {
        ++i;
        c.hasPrecision = true;
        c.precision = ReadNumber(s, i);
    }
    if (i < s.size() && (s[i] == 'l' || s[i] == 'h' || s[i] == 'L' || s[i] == 'w'))
        ++i;
    if (i >= s.size())
        return false;
    c.type = s[i++];
    return true;
}

TArgumentKind KindOf(char type)
{
    switch (type) {
    case 's': case 'S': return TArgumentKind::Text;
    case 'c': case 'C': return TArgumentKind::Character;
    case 'd': case 'i': case 'u': case 'x': case 'X': return TArgumentKind::Number;
    default: return TArgumentKind::None;
    }
}

bool TakesArgument(char type)
{
    return KindOf(type) != TArgumentKind::None;
}

std::string Digits(const Conversion& c, const FormatArg& arg)
{
    long long value = arg.Number();
    switch (c.type) {
    case 'd':
    case 'i':
        return std::to_string(value);
    case 'u':
        return std::to_string(static_cast<unsigned>(value));
    default: {  // x, X
        char buffer[16];
        std::string digits(buffer, std::to_chars(buffer, buffer + sizeof buffer, static_cast<unsigned>(value), 16).ptr);
        if (c.type == 'X')
            digits = UpperAscii(digits);
        return (c.alternate && value != 0 ? (c.type == 'x' ? "0x" : "0X") : "") + digits;
    }
    }
}

// The formatter's output: whatever lies past the limit is never built, so a
// huge width or precision costs no more than a narrow one.
class LimitedText {
public:
    void Append(std::string::size_type count, char c) { text_.append(std::min(count, Room()), c); }
    void Append(const std::string& s) { text_.append(s, 0, Room()); }
    bool Full() const { return Room() == 0; }
    const std::string& Text() const { return text_; }

private:
    std::string::size_type Room() const { return FormatTextLimit - text_.size(); }
    std::string text_;
};

void Render(const Conversion& c, const FormatArg* arg, LimitedText& out)
{
    if (!TakesArgument(c.type)) {  // unknown types print themselves
        out.Append(1, c.type);
        return;
    }
    if (!arg)
        return;
    std::string sign;
    std::string body;
    std::string::size_type precisionZeros = 0;
    bool numeric = false;
    switch (c.type) {
    case 's':
    case 'S':
        body = arg->Text();
        if (c.hasPrecision && body.size() > c.precision)
            body.resize(c.precision);
        break;
    case 'c':
    case 'C':
        body = arg->IsNumber() ? std::string(1, static_cast<char>(arg->Number())) : arg->Text();
        break;
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
        // A text argument where a number belongs renders as its text.
        if (!arg->IsNumber()) {
            body = arg->Text();
            break;
        }
        body = Digits(c, *arg);
        numeric = true;
        if (body[0] == '-') {
            sign = "-";
            body.erase(0, 1);
        }
        if (c.hasPrecision && sign.size() + body.size() < c.precision)
            precisionZeros = c.precision - sign.size() - body.size();
        break;
    }
    const std::string::size_type length = sign.size() + precisionZeros + body.size();
    const std::string::size_type pad = c.width > length ? c.width - length : 0;
    const bool zeroPad = c.zeroPad && numeric && !c.leftAlign;
    if (!c.leftAlign && !zeroPad)
        out.Append(pad, ' ');
    out.Append(sign);
    if (zeroPad)
        out.Append(pad, '0');
    out.Append(precisionZeros, '0');
    out.Append(body);
    if (c.leftAlign)
        out.Append(pad, ' ');
}

}  // namespace

std::string FormatText(const std::string& templateText, std::initializer_list<FormatArg> args)
{
    LimitedText out;
    const FormatArg* next = args.begin();
    for (std::string::size_type i = 0; i < templateText.size() && !out.Full();) {
        if (templateText[i] != '%') {
            out.Append(1, templateText[i++]);
            continue;
        }
        ++i;
        if (i < templateText.size() && templateText[i] == '%') {
            out.Append(1, '%');
            ++i;
            continue;
        }
        Conversion c;
        if (!ParseConversion(templateText, i, c))
            break;
        const FormatArg* arg = nullptr;
        if (TakesArgument(c.type) && next != args.end())
            arg = next++;
        Render(c, arg, out);
    }
    return out.Text();
}

std::vector<TTemplateConversion> TemplateConversions(const std::string& templateText)
{
    std::vector<TTemplateConversion> found;
    for (std::string::size_type at = templateText.find('%'); at != std::string::npos;
         at = templateText.find('%', at)) {
        TTemplateConversion conversion;
        std::string::size_type end = at + 1;
        Conversion c;
        if (end < templateText.size() && templateText[end] == '%') {
            conversion.Type = '%';
            ++end;
        } else if (ParseConversion(templateText, end, c)) {
            conversion.Type = c.type;
            conversion.Kind = KindOf(c.type);
            conversion.Sized = c.width > 0 || c.hasPrecision;
        }
        conversion.Text = templateText.substr(at, end - at);
        found.push_back(conversion);
        if (conversion.Type == 0)
            break;
        at = end;
    }
    return found;
}
