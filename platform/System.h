// Text, time, errors and the command line: kernel32 and user32 calls.
#pragma once

#include "platform/Owner.h"

#include <string>

namespace platform {

DWORD LastError();
void SetLastError(DWORD code);
// FormatMessage from the system table in the default language, 256 characters, in the program's code page.
std::string SystemMessage(DWORD code);

// CompareStringA under the user's default locale, letter case ignored: less
// than 0, 0 or more than 0 as a sorts before, with or after b.
int CompareIgnoringCaseInLocale(const std::string& a, const std::string& b);
bool EqualIgnoringCaseInLocale(const std::string& a, const std::string& b);
// The sort key of text under the same rules (LCMapStringA): two texts compare
// as their keys compare byte for byte, so a long list is sorted with one call
// a line.
std::string SortKeyIgnoringCaseInLocale(const std::string& text);

// One reading of the local clock, formatted with the given date and time
// pictures under the user's default locale.
struct LocalStamp {
    std::string date;
    std::string time;
};
LocalStamp LocalNow(const char* datePicture, const char* timePicture);

std::string CommandLine();
void Sleep(DWORD milliseconds);

// CreateMutexA, not owned, of the session's namespace: the handle when this
// call made the mutex; empty when it did not (the name was in use already,
// by a mutex or an object of another kind, or the call failed for any reason).
UniqueHandle NewNamedMutex(const std::string& name);

}  // namespace platform
