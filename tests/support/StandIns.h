// Stand-in processes for tests of the process searcher (fixtures wardlink.exe,
// holder.exe, heldlib.dll, searchprobe.exe). A started stand-in is killed when
// its owner goes out of scope, also when an assertion fails.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class StandIn {
public:
    // Starts program with the DLLs to load; ready when it waits for input
    // (bounded). lifetimeSeconds: the stand-in ends by itself after that.
    StandIn(const std::string& program, const std::vector<std::string>& dlls, unsigned lifetimeSeconds = 120,
            bool suspended = false);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    // True when the process ended within the bound; its exit code in exitCode.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) const;
    bool Running() const { return !WaitForExit(0); }
    void Kill();

private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

// Ends every process of the prefix started from this image (a tunnel client
// that a run started again), waiting a few seconds for each.
void EndProcessesStartedFrom(const std::string& imagePath);

// Copies a fixture of BinDir() into directory under another name; the full path of the copy.
std::string CopyFixture(const std::string& fixture, const std::string& directory, const std::string& name);

// The marks (process ids) of a searcher's result, in list order.
class StringList;
std::vector<DWORD> MarksOf(const StringList& processes);
