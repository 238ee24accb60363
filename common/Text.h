// Text helpers shared by every stage.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// Each occurrence of find, scanned from the left, replaced; the replacement is never rescanned.
std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replacement);

// The pieces one after the other. One call instead of a chain of "+", each
// step of which builds a string of its own.
std::string Concat(std::initializer_list<std::string_view> pieces);

// Only the Latin letters are folded; every other byte, Cyrillic included, stays.
std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);
bool EqualFoldingAscii(const std::string& a, const std::string& b);

// The value of the decimal digits from text[at] up to the first other
// character, at moved past them; no digits give 0. Past `most` the value stays
// at most; without it the value wraps, so that a 32-bit result wraps like the
// original's 32-bit arithmetic.
unsigned long long ReadDigits(const std::string& text, std::string::size_type& at,
                              std::optional<unsigned long long> most = std::nullopt);

// An optional "+" or "-", then the digits up to the first other character; no digits give 0.
int DecimalValue(const std::string& text);

// Without the leading and trailing characters of code 32 or less.
std::string TrimControls(const std::string& text);
// Without the trailing characters of code 32 or less.
std::string TrimControlsRight(const std::string& text);

std::string BoolToText(bool value);

// "1 error", "2 errors": the count and the noun, with an "s" for any count but one.
std::string Counted(std::size_t count, const std::string& noun);
