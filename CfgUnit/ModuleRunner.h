// Helpers of the module runner that other stages use in their log lines.
#pragma once

#include <cstdint>
#include <string>

// The text for a value returned by ShellExecuteA; "Ok" for every value the table does not list.
std::string ShellExecuteErrorText(std::uintptr_t code);

// The text with its %VARIABLE% references expanded; empty when the expansion fails.
std::string ExpandEnvironmentText(const std::string& text);
