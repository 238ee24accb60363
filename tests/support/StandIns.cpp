#include "support/StandIns.h"

#include "PrsSrch/ProcessSearcher.h"
#include "common/FileNames.h"
#include "common/StringList.h"
#include "support/TestFiles.h"

#include <stdexcept>

namespace {

constexpr DWORD ReadyBoundMs = 10000;
constexpr DWORD KillBoundMs = 5000;

}  // namespace

StandIn::StandIn(const std::string& program, const std::vector<std::string>& dlls, unsigned lifetimeSeconds,
                 bool suspended)
{
    std::string line = "\"" + program + "\" -t=" + std::to_string(lifetimeSeconds);
    for (const std::string& dll : dlls)
        line += " \"" + dll + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0, nullptr,
                          nullptr, &startup, &info))
        return;
    process_ = info.hProcess;
    thread_ = info.hThread;
    id_ = info.dwProcessId;
    if (!suspended)
        ::WaitForInputIdle(process_, ReadyBoundMs);
}

StandIn::~StandIn()
{
    Kill();
    if (thread_)
        ::CloseHandle(thread_);
    if (process_)
        ::CloseHandle(process_);
}

bool StandIn::WaitForExit(DWORD milliseconds, DWORD* exitCode) const
{
    if (!process_ || ::WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        ::GetExitCodeProcess(process_, exitCode);
    return true;
}

void StandIn::Kill()
{
    if (process_ && Running()) {
        ::TerminateProcess(process_, 255);
        ::WaitForSingleObject(process_, KillBoundMs);
    }
}

std::string CopyFixture(const std::string& fixture, const std::string& directory, const std::string& name)
{
    std::string copy = directory + name;
    if (!::CopyFileA((BinDir() + fixture).c_str(), copy.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + fixture + " to " + copy);
    return copy;
}

std::vector<DWORD> MarksOf(const StringList& processes)
{
    std::vector<DWORD> marks;
    for (int i = 0; i < processes.Count(); ++i)
        marks.push_back(processes.MarkAt(i));
    return marks;
}

void EndProcessesStartedFrom(const std::string& imagePath)
{
    TProcessSearcher searcher;
    searcher.FullPath = true;
    searcher.ProcessName = FileNamePart(imagePath);
    searcher.SearchProcesses();
    for (int i = 0; i < searcher.Processes.Count(); ++i) {
        if (::lstrcmpiA(searcher.Processes[i].c_str(), imagePath.c_str()) != 0)
            continue;
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, searcher.Processes.MarkAt(i));
        if (process) {
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, KillBoundMs);
            ::CloseHandle(process);
        }
    }
}
