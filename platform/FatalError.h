// The runtime's fatal-error path: an exception that escapes the program ends
// it with the box "Runtime error 217 at <address>" captioned "Error" and the
// exit code 217.
#pragma once

namespace platform {

constexpr int UnhandledExceptionExitCode = 217;

// The address of the most recent throw, set by the program's throw hook (0 without one).
extern void* LastThrowAddress;

// Runs body and answers the exit code: body's, or 217 after the fatal-error box.
int RunGuarded(int (*body)());

}  // namespace platform
