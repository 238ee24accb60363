// Text, time, errors and the command line: kernel32 and user32 calls.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

DWORD LastError();
void SetLastError(DWORD code);
// FormatMessageA from the system table in the default language, 256 characters.
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

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style);

}  // namespace platform
