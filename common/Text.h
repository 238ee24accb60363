// Text helpers shared by every stage.
#pragma once

#include <string>

// Each occurrence of find, scanned from the left, replaced; the replacement is never rescanned.
std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& replacement);

// Only the Latin letters are folded; every other byte, Cyrillic included, stays.
std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);
bool EqualFoldingAscii(const std::string& a, const std::string& b);

// An optional "+" or "-", then the digits up to the first other character; no digits give 0.
int DecimalValue(const std::string& text);

// Without the leading and trailing characters of code 32 or less.
std::string TrimControls(const std::string& text);
// Without the trailing characters of code 32 or less.
std::string TrimControlsRight(const std::string& text);

std::string BoolToText(bool value);
