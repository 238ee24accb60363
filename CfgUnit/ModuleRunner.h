// Helpers of the module runner that other stages use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The text for a value returned by ShellExecuteA; "Ok" for every value the table does not list.
std::string ShellExecuteErrorText(std::uintptr_t code);

// The text with its %VARIABLE% references expanded; empty when the expansion fails.
std::string ExpandEnvironmentText(const std::string& text);

class TConfigurator;

// The rights with which a program that the user had running (the tunnel
// client, an application closed for the update) is started again. Its path
// comes from a process of the user, so an elevated run must never lend it its
// own rights: it takes those of the user's shell, as a start from the desktop does.
enum class TStartRights {
    Own,         // the run is not elevated: its rights are the user's
    ShellUser,   // the rights of the user's shell
    NotStarted,  // elevated, and no shell to take the user's rights from
};
TStartRights DecideStartRights(bool elevated, bool shellToken);

// Starts the program at exactly this path (show-normal, no wait), with the
// quoted path as its command line and the rights decided above; never another
// program that a search of the path, cut at a blank, would find
// (C:\x\Bank.exe for C:\x\Bank run client\wardlink.exe).
void StartProgramAt(TConfigurator& cfg, const std::string& path);

// A result program of the scenario as listed and as it is started (%VARIABLES% expanded).
struct TResultProgram {
    std::string listedModule;
    std::string listedParameters;
    std::string module;
    std::string parameters;
};
