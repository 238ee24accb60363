#include "platform/System.h"

#include "platform/ShownText.h"

namespace platform {

DWORD LastError()
{
    return ::GetLastError();
}

void SetLastError(DWORD code)
{
    ::SetLastError(code);
}

// The message is in the language of the system's user, which the code page of
// programs that are not Unicode may lack (a Russian Windows set to English for
// them): on the NT family it is read wide and converted to the program's code page.
std::string SystemMessage(DWORD code)
{
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (WideCalls()) {
        wchar_t buffer[256];
        DWORD length = ::FormatMessageW(flags, nullptr, code, 0, buffer, 256, nullptr);
        return Narrow(std::wstring(buffer, length < 256 ? length : 0));
    }
    char buffer[256];
    DWORD length = ::FormatMessageA(flags, nullptr, code, 0, buffer, sizeof buffer, nullptr);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

int CompareIgnoringCaseInLocale(const std::string& a, const std::string& b)
{
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                            static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

bool EqualIgnoringCaseInLocale(const std::string& a, const std::string& b)
{
    return CompareIgnoringCaseInLocale(a, b) == 0;
}

std::string SortKeyIgnoringCaseInLocale(const std::string& text)
{
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(text.size());
    int size = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
    std::string key(size > 0 ? size : 0, '\0');
    if (size > 0)
        size = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, &key[0], size);
    key.resize(size > 0 ? size : 0);
    return key;
}

LocalStamp LocalNow(const char* datePicture, const char* timePicture)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char date[64];
    char time[64];
    int dateLength = ::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, datePicture, date, sizeof date);
    int timeLength = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, timePicture, time, sizeof time);
    return {std::string(date, dateLength > 0 ? dateLength - 1 : 0),
            std::string(time, timeLength > 0 ? timeLength - 1 : 0)};
}

std::string CommandLine()
{
    const char* line = ::GetCommandLineA();
    return line ? line : "";
}

void Sleep(DWORD milliseconds)
{
    ::Sleep(milliseconds);
}

UniqueHandle NewNamedMutex(const std::string& name)
{
    UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, name.c_str()));
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
        mutex.reset();
    return mutex;
}

}  // namespace platform
