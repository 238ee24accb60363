#include "platform/Launch.h"

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
