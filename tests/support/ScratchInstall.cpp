#include "support/ScratchInstall.h"

#include "support/Bounded.h"
#include "support/StandIns.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

// A program that a Wine program starts takes the Unix locale of its starter,
// whatever environment CreateProcess gives it. Wine's loader, a Unix program,
// takes that environment, so the program starts through it, with the system's
// locale replaced (LC_ALL would override it). CreateProcess then gives no
// handle (the record holds garbage, which must not be closed): the program is
// found by its path. Its id; 0 when it was not seen.
DWORD StartUnderLocale(const std::string& commandLine, const std::string& locale, const ScratchInstall& install)
{
    const char* loader = std::getenv("WINELOADER");  // Wine sets it in the programs it starts
    if (!loader)
        throw std::runtime_error("WINELOADER is not set: no Wine loader to start the program under a locale");
    std::string line = std::string(loader) + " " + commandLine;
    std::string environment;
    const char* own = ::GetEnvironmentStringsA();
    for (const char* entry = own; *entry; entry += std::strlen(entry) + 1)
        if (::_strnicmp(entry, "LC_ALL=", 7) != 0 && ::_strnicmp(entry, "LC_CTYPE=", 9) != 0)
            environment.append(entry).push_back('\0');
    ::FreeEnvironmentStringsA(const_cast<char*>(own));
    environment.append("LC_CTYPE=" + locale).push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, &environment[0], install.WorkDir().c_str(),
                          &startup, &started))
        return 0;
    std::vector<DWORD> found;
    WaitUntil([&] { return !(found = ProcessesStartedFrom(install.ExePath())).empty(); }, 10000, 5);
    return found.empty() ? 0 : found[0];
}

}  // namespace

ScratchInstall::ScratchInstall(const std::string& program)
{
    MakeDirectory(ProgramDir());
    MakeDirectory(WorkDir());
    if (!::CopyFileA((BinDir() + program).c_str(), ExePath().c_str(), FALSE))
        throw std::runtime_error("cannot copy " + program + " from " + BinDir());
}

ProgramRunResult ScratchInstall::Run(const std::string& parameters, std::vector<Answer> script,
                                     BoxDriver::BoxHook onBox, DWORD timeoutMs, std::function<bool()> endWhen) const
{
    std::string line = "\"" + ExePath() + "\"";
    if (!parameters.empty())
        line += " " + parameters;
    if (locale_.empty())
        return RunAndDriveBoxes(line, WorkDir(), std::move(script), timeoutMs, std::move(onBox), std::move(endWhen));
    DWORD id = StartUnderLocale(line, locale_, *this);
    platform::UniqueHandle program(
        id ? ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id) : nullptr);
    if (!program)
        return ProgramRunResult();
    return DriveBoxes(std::move(program), id, std::move(script), timeoutMs, std::move(onBox), std::move(endWhen));
}
