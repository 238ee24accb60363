#include "support/StandIns.h"

#include "PrsSrch/ProcessSearcher.h"
#include "common/FileNames.h"
#include "common/StringList.h"
#include "platform/Processes.h"
#include "support/Bounded.h"
#include "support/TestFiles.h"

#include <stdexcept>

namespace {

constexpr DWORD ReadyBoundMs = 10000;
constexpr DWORD KillBoundMs = 5000;
constexpr DWORD SigningBoundMs = 30000;

// The name Wine's own call gives a Windows path on the Unix side.
std::string UnixPath(const std::string& path)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    const std::wstring wide(path.begin(), path.end());  // the tests' paths are ASCII
    char* name = toUnix ? toUnix(wide.c_str()) : nullptr;
    if (!name)
        throw std::runtime_error("no Unix name for " + path);
    const std::string unixPath = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return unixPath;
}

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
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
    if (!suspended)
        ::WaitForInputIdle(process_.get(), ReadyBoundMs);
}

StandIn::~StandIn()
{
    Kill();
}

bool StandIn::WaitForExit(DWORD milliseconds, DWORD* exitCode) const
{
    if (!process_ || ::WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        ::GetExitCodeProcess(process_.get(), exitCode);
    return true;
}

void StandIn::Kill()
{
    if (process_ && Running()) {
        ::TerminateProcess(process_.get(), 255);
        ::WaitForSingleObject(process_.get(), KillBoundMs);
    }
}

std::string CopyFixture(const std::string& fixture, const std::string& directory, const std::string& name)
{
    std::string copy = directory + name;
    if (!::CopyFileA((BinDir() + fixture).c_str(), copy.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + fixture + " to " + copy);
    return copy;
}

std::string AwaitProbeCalls(const std::string& callsPath, unsigned limitMs)
{
    std::string calls;
    WaitUntil([&] { return !(calls = ReadBytes(callsPath)).empty(); }, limitMs, 50);
    return calls;
}

std::vector<DWORD> MarksOf(const StringList& processes)
{
    std::vector<DWORD> marks;
    for (int i = 0; i < processes.Count(); ++i)
        marks.push_back(processes.MarkAt(i));
    return marks;
}

std::vector<DWORD> ProcessesStartedFrom(const std::string& imagePath)
{
    TProcessSearcher searcher;
    searcher.FullPath = true;
    searcher.ProcessName = FileNamePart(imagePath);
    searcher.SearchProcesses();
    std::vector<DWORD> ids;
    for (int i = 0; i < searcher.Processes.Count(); ++i)
        if (::lstrcmpiA(searcher.Processes[i].c_str(), imagePath.c_str()) == 0)
            ids.push_back(searcher.Processes.MarkAt(i));
    return ids;
}

void EndProcessesStartedFrom(const std::string& imagePath)
{
    for (DWORD id : ProcessesStartedFrom(imagePath)) {
        platform::UniqueHandle process = platform::OpenProcessFor(PROCESS_TERMINATE | SYNCHRONIZE, id);
        if (process) {
            platform::TerminateProcessWith(process.get(), 1);
            platform::WaitForObject(process.get(), KillBoundMs);
        }
    }
}

// Wine starts a Unix program without a handle to wait for: the signature,
// renamed into place once written whole, tells that the signing is done.
bool SignUpdate(const std::string& scenario, const std::string& sourcesDir, const std::string& key, bool hashes)
{
    const std::string signature = scenario + ".sig";
    const std::string name = UnixPath(scenario);
    const std::string keyFile = std::string(UPDATE_TEST_KEYS) + "/" + key + ".pem";
    std::string line = hashes ? std::string("/bin/bash " SIGN_UPDATE_SCRIPT " ") + name + " " + keyFile
                              : "/bin/sh -c \"openssl dgst -sha256 -sign " + keyFile + " -out " + name + ".part " +
                                    name + " && mv " + name + ".part " + name + ".sig\"";
    ::DeleteFileA(signature.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    return ::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, sourcesDir.c_str(), &startup,
                            &started) &&
           WaitUntil([&] { return Exists(signature); }, SigningBoundMs, 20);
}

// Wine's drive Z: is the Unix root.
std::string BankKeyFingerprint()
{
    return ReadBytes("Z:" UPDATE_TEST_KEYS "/bank.fingerprint").substr(0, 64);
}
