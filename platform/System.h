// Text, time, errors and the command line: kernel32 and user32 calls.
#pragma once

#include "platform/Owner.h"

#include <string>

namespace platform {

DWORD LastError();
void SetLastError(DWORD code);
// FormatMessage from the system table in the default language, 256 characters, in the program's code page.
std::string SystemMessage(DWORD code);

// CompareStringA under the user's default locale, letter case ignored.
bool EqualIgnoringCaseInLocale(const std::string& a, const std::string& b);

// One reading of the local clock, formatted with the given date and time
// pictures under the user's default locale.
struct LocalStamp {
    std::string date;
    std::string time;
};
LocalStamp LocalNow(const char* datePicture, const char* timePicture);

std::string CommandLine();
void Sleep(DWORD milliseconds);

// CreateMutexA, not owned, of the session's namespace. `taken`: the name was
// already in use (ERROR_ALREADY_EXISTS, or ERROR_ACCESS_DENIED for a mutex
// made under other rights); the handle is then empty or shared.
UniqueHandle NamedMutex(const std::string& name, bool& taken);

}  // namespace platform
