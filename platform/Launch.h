// Starting programs: thin wrappers over CreateProcessA, WinExec, ShellExecuteA
// and the environment expansion.
#pragma once

#include "platform/Owner.h"

#include <cstdint>
#include <string>

namespace platform {

struct StartedProcess {
    UniqueHandle process;
    UniqueHandle thread;
};

// CreateProcessA with no application name, no security attributes, handles
// not inherited, creation flags 0, the caller's environment and current
// directory; the start-up information asks for SW_SHOWNORMAL and nothing else.
bool StartProcess(const std::string& commandLine, StartedProcess& started);
// GetExitCodeProcess: STILL_ACTIVE while the process runs (and when the query fails).
DWORD ProcessExitCode(HANDLE process);
// The process object is signalled: it has ended, whatever its exit code.
bool ProcessEnded(HANDLE process);

// WinExec; its result says only whether the start was attempted.
UINT ExecProgram(const std::string& commandLine, UINT show);

// ShellExecuteA with the default verb and no directory: the returned value as
// a number (above 32 on success, an error code otherwise).
std::uintptr_t ShellOpen(HWND owner, const std::string& file, const std::string& parameters, int show);

// ExpandEnvironmentStringsA: the expanded text, empty when the size query fails.
std::string ExpandEnvironment(const std::string& text);

}  // namespace platform
