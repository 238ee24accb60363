#include "PrsSrch/ProcessSearcher.h"

#include "PrsSrch/PsapiApi.h"
#include "PrsSrch/ToolHelpApi.h"
#include "common/FileNames.h"
#include "common/Text.h"
#include "platform/Files.h"
#include "platform/Processes.h"

#include <algorithm>
#include <cstring>
#include <optional>

TProcessSearcher* ProcessSearcher = nullptr;

namespace {

#ifndef _WIN64
// The records the 9x family fills in: the shipped 32-bit program must hand it exactly these sizes.
static_assert(sizeof(MODULEENTRY32) == 548, "the ANSI module entry");
static_assert(sizeof(PROCESSENTRY32) == 296, "the ANSI process entry");
#endif

constexpr DWORD ProcessTableSize = 1024;
constexpr DWORD ModuleTableSize = 1024;
constexpr DWORD ModuleNameSize = 261;
// Long enough for a terminated process to release its files, short enough
// that a process that will not end cannot stall the update.
constexpr DWORD TerminationWaitMs = 5000;

// Failed short-path conversions are numbered so that no two of them are equal;
// the leading NUL keeps them from equalling any path the system reports.
unsigned failedShortConversions = 0;

std::string UnshortenableName()
{
    return std::string(1, '\0') + "no short form " + std::to_string(++failedShortConversions);
}

// The snapshot wrappers give 0 when the interface is missing, INVALID_HANDLE_VALUE when the call fails.
platform::FileHandle Snapshot(DWORD flags, DWORD processId)
{
    HANDLE snapshot = ToolHelp::CreateToolhelp32Snapshot(flags, processId);
    return platform::FileHandle(snapshot ? snapshot : INVALID_HANDLE_VALUE);
}

template <std::size_t Size>
std::string TextUpToNul(const char (&field)[Size])
{
    return std::string(field, strnlen(field, Size));
}

bool ModuleFileName(HANDLE process, HMODULE module, std::string& name)
{
    char buffer[ModuleNameSize];
    DWORD length = Psapi::GetModuleFileNameExA(process, module, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return false;
    name.assign(buffer, length);
    return true;
}

// The modules of one process after its own image, read from a module snapshot.
class SnapshotModules {
public:
    explicit SnapshotModules(DWORD processId) : snapshot_(Snapshot(TH32CS_SNAPMODULE, processId))
    {
        entry_.dwSize = sizeof entry_;
        more_ = snapshot_ && ToolHelp::Module32First(snapshot_.get(), &entry_);  // the image itself
    }

    bool Next(std::string& path)
    {
        more_ = more_ && ToolHelp::Module32Next(snapshot_.get(), &entry_);
        if (more_)
            path = TextUpToNul(entry_.szExePath);
        return more_;
    }

private:
    platform::FileHandle snapshot_;
    MODULEENTRY32 entry_{};
    bool more_ = false;
};

}  // namespace

TProcessSearcher::TProcessSearcher() = default;
TProcessSearcher::~TProcessSearcher() = default;

std::string TProcessSearcher::NormalizeName(const std::string& name) const
{
    if (!ShortPath)
        return UpperAscii(FileNamePart(name));
    std::string shortName;
    return platform::ShortPathName(name, shortName) ? UpperAscii(shortName) : UnshortenableName();
}

void TProcessSearcher::SearchProcesses()
{
    if (!ProcessName.empty())
        NormalizedName = NormalizeName(ProcessName);
    normalizedModules_.clear();
    switch (platform::PlatformId()) {
    case VER_PLATFORM_WIN32_WINDOWS:
        SearchBySnapshot();
        break;
    case VER_PLATFORM_WIN32_NT:
        SearchByPsapi();
        break;
    default:  // an unknown family: the previous result stays
        break;
    }
}

template <typename NextModule>
void TProcessSearcher::MatchProcess(const std::string& name, StringList::Mark processId, NextModule nextModule)
{
    bool found = ProcessName.empty() ? HoldsListedModule(nextModule) && Processes.IndexOfMark(processId) < 0
                                     : NormalizeName(name) == NormalizedName;
    if (found)
        Processes.AddMarked(FullPath ? name : FileNamePart(name), processId);
}

template <typename NextModule>
bool TProcessSearcher::HoldsListedModule(NextModule& nextModule)
{
    std::string path;
    while (nextModule(path))
        if (Modules.IndexOfExact(NormalizedModule(path)) >= 0)
            return true;
    return false;
}

void TProcessSearcher::SearchBySnapshot()
{
    Processes.Clear();
    platform::FileHandle snapshot = Snapshot(TH32CS_SNAPALL, 0);
    if (!snapshot)
        return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ToolHelp::Process32First(snapshot.get(), &entry); more;
         more = ToolHelp::Process32Next(snapshot.get(), &entry)) {
        DWORD processId = entry.th32ProcessID;
        std::optional<SnapshotModules> modules;  // taken only when module mode asks for them
        MatchProcess(TextUpToNul(entry.szExeFile), processId, [&](std::string& path) {
            if (!modules)
                modules.emplace(processId);
            return modules->Next(path);
        });
    }
}

// A process whose module list or image name the system refuses is skipped:
// nothing of the process before it may stand in for them.
void TProcessSearcher::SearchByPsapi()
{
    Processes.Clear();
    DWORD processIds[ProcessTableSize];
    DWORD bytes = 0;
    if (!Psapi::EnumProcesses(processIds, sizeof processIds, &bytes))
        return;
    for (DWORD i = 0; i < bytes / sizeof(DWORD) && i < ProcessTableSize; ++i) {
        platform::UniqueHandle process =
            platform::OpenProcessFor(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, processIds[i]);
        if (!process)
            continue;
        HMODULE modules[ModuleTableSize];
        DWORD needed = 0;
        if (!Psapi::EnumProcessModules(process.get(), modules, sizeof modules, &needed) || needed < sizeof(HMODULE))
            continue;
        DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), ModuleTableSize);
        std::string name;
        if (!ModuleFileName(process.get(), modules[0], name))
            continue;
        DWORD next = 1;
        MatchProcess(name, processIds[i], [&](std::string& path) {
            while (next < count)
                if (ModuleFileName(process.get(), modules[next++], path))
                    return true;
            return false;
        });
    }
}

const std::string& TProcessSearcher::NormalizedModule(const std::string& path)
{
    for (const auto& [known, normalized] : normalizedModules_)
        if (known == path)
            return normalized;
    normalizedModules_.emplace_back(path, NormalizeName(path));
    return normalizedModules_.back().second;
}

// Stops at the first failure; the processes after it are not asked to end,
// and only the ones that were asked are waited for.
bool TProcessSearcher::TerminateProcesses()
{
    for (int i = 0; i < Processes.Count(); ++i) {
        platform::UniqueHandle process = platform::OpenProcessFor(PROCESS_TERMINATE | SYNCHRONIZE, Processes.MarkAt(i));
        if (!process || !platform::TerminateProcessWith(process.get(), 0))
            return false;
        platform::WaitForObject(process.get(), TerminationWaitMs);
    }
    return true;
}

void TProcessSearcher::QuitWardenClient()
{
    ShortPath = false;
    FullPath = false;
    ProcessName = WardenImage;
    SearchProcesses();
    if (Processes.Count() == 0 || Processes.MarkAt(0) == 0)
        return;
    StringList::Mark client = Processes.MarkAt(0);
    for (HWND window : platform::TopLevelWindows())
        if (platform::WindowProcessId(window) == client)
            platform::PostMessageTo(window, WM_QUIT, 0, 0);
}
