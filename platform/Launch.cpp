#include "platform/Launch.h"

#include "platform/ShownText.h"
#include "platform/SystemLibrary.h"

#include <shellapi.h>

#include <vector>

namespace platform {

bool StartProcess(const std::string& program, const std::string& commandLine, StartedProcess& started)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    // CreateProcessA may write into the command line.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return false;
    started.process.reset(info.hProcess);
    started.thread.reset(info.hThread);
    return true;
}

bool StartProcessWithToken(HANDLE token, const std::string& program, const std::string& commandLine,
                           StartedProcess& started)
{
    static SystemDll advapi("advapi32.dll");
    static SystemFunction<BOOL(WINAPI*)(HANDLE, DWORD, LPCWSTR, LPWSTR, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                                        LPPROCESS_INFORMATION)>
        createProcessWithToken(advapi, "CreateProcessWithTokenW");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    // File names are in the system's code page; the call may write into the command line.
    const std::wstring application = Widen(program, CP_ACP);
    std::wstring line = Widen(commandLine, CP_ACP);
    ::SetLastError(ERROR_PROC_NOT_FOUND);  // stays when the call is missing
    if (!createProcessWithToken(token, 0, application.c_str(), &line[0], 0, nullptr, nullptr, &startup, &info))
        return false;
    started.process.reset(info.hProcess);
    started.thread.reset(info.hThread);
    return true;
}

bool RunsElevated()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

UniqueHandle ShellUserToken()
{
    static SystemDll user32("user32.dll");
    static SystemFunction<HWND(WINAPI*)()> shellWindow(user32, "GetShellWindow");
    static SystemDll advapi("advapi32.dll");
    static SystemFunction<BOOL(WINAPI*)(HANDLE, DWORD, LPSECURITY_ATTRIBUTES, SECURITY_IMPERSONATION_LEVEL,
                                        TOKEN_TYPE, PHANDLE)>
        duplicateToken(advapi, "DuplicateTokenEx");
    DWORD processId = 0;
    HWND shell = shellWindow();
    if (!shell || !::GetWindowThreadProcessId(shell, &processId))
        return UniqueHandle();
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    HANDLE token = nullptr;
    if (!process || !::OpenProcessToken(process.get(), TOKEN_DUPLICATE, &token))
        return UniqueHandle();
    UniqueHandle shellToken(token);
    HANDLE primary = nullptr;
    const DWORD access = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT |
                         TOKEN_ADJUST_SESSIONID;
    if (!duplicateToken(shellToken.get(), access, nullptr, SecurityImpersonation, TokenPrimary, &primary))
        return UniqueHandle();
    return UniqueHandle(primary);
}

DWORD ProcessExitCode(HANDLE process)
{
    DWORD code = STILL_ACTIVE;
    if (!::GetExitCodeProcess(process, &code))
        return STILL_ACTIVE;
    return code;
}

bool ProcessEnded(HANDLE process)
{
    return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

std::uintptr_t ShellOpen(HWND owner, const std::string& file, const std::string& parameters, int show)
{
    HINSTANCE result = ::ShellExecuteA(owner, nullptr, file.c_str(), parameters.c_str(), nullptr, show);
    return reinterpret_cast<std::uintptr_t>(result);
}

std::string ExpandEnvironment(const std::string& text)
{
    DWORD size = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0)
        return std::string();
    std::vector<char> buffer(size + 1, '\0');
    if (::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size) == 0)
        return std::string();
    return std::string(buffer.data());
}

}  // namespace platform
