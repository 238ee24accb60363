// Helpers of the module runner that other stages use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The text for a value returned by ShellExecuteA; "Ok" for every value the table does not list.
std::string ShellExecuteErrorText(std::uintptr_t code);

// The text with its %VARIABLE% references expanded; empty when the expansion fails.
std::string ExpandEnvironmentText(const std::string& text);

// Starts the program at exactly this path (show-normal, no wait), with the
// quoted path as its command line; never another program that a search of
// the path, cut at a blank, would find (C:\x\Bank.exe for C:\x\Bank run client\wardlink.exe).
void StartProgramAt(const std::string& path);

// A result program of the scenario as listed and as it is started (%VARIABLES% expanded).
struct TResultProgram {
    std::string listedModule;
    std::string listedParameters;
    std::string module;
    std::string parameters;
};
