// Starting programs: thin wrappers over CreateProcessA, CreateProcessWithTokenW,
// ShellExecuteA and the environment expansion; the rights of the user's shell.
#pragma once

#include "platform/Owner.h"

#include <cstdint>
#include <string>

namespace platform {

struct StartedProcess {
    UniqueHandle process;
    UniqueHandle thread;
};

// CreateProcessA of the program at exactly that path (the application name:
// the command line is never searched for a program), with no security
// attributes, handles not inherited, creation flags 0, the caller's
// environment and current directory; the start-up information asks for
// SW_SHOWNORMAL and nothing else.
bool StartProcess(const std::string& program, const std::string& commandLine, StartedProcess& started);
// As StartProcess, with the rights of the token (CreateProcessWithTokenW, bound
// at run time: the call exists from Windows Vista on, where elevation does).
bool StartProcessWithToken(HANDLE token, const std::string& program, const std::string& commandLine,
                           StartedProcess& started);
// Whether this process runs elevated; false where the system knows no
// elevation (the 9x family, Windows XP): there a program runs with the rights
// of the user who started it, as the programs that user starts do.
bool RunsElevated();
// A primary token of the user's shell (the process of the shell window): the
// rights of a program the user starts from the desktop. Empty without a shell.
UniqueHandle ShellUserToken();
// GetExitCodeProcess: STILL_ACTIVE while the process runs (and when the query fails).
DWORD ProcessExitCode(HANDLE process);
// The process object is signalled: it has ended, whatever its exit code.
bool ProcessEnded(HANDLE process);

// ShellExecuteA with the default verb and no directory: the returned value as
// a number (above 32 on success, an error code otherwise).
std::uintptr_t ShellOpen(HWND owner, const std::string& file, const std::string& parameters, int show);

// ExpandEnvironmentStringsA: the expanded text, empty when the size query fails.
std::string ExpandEnvironment(const std::string& text);

}  // namespace platform
