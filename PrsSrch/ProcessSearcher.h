// Finds running processes by image name or by a loaded module, terminates
// them, and asks the tunnel client to quit.
#pragma once

#include "common/StringList.h"

#include <string>
#include <utility>
#include <vector>

// The image name of the tunnel client.
constexpr const char* WardenImage = "wardlink.exe";

class TProcessSearcher {
public:
    TProcessSearcher();
    virtual ~TProcessSearcher();
    TProcessSearcher(const TProcessSearcher&) = delete;
    TProcessSearcher& operator=(const TProcessSearcher&) = delete;

    std::string NormalizedName;
    StringList Modules;    // normalized full paths; compared byte for byte
    StringList Processes;  // result of the last search; mark: the process id
    bool FullPath = false;
    bool ShortPath = false;
    std::string ProcessName;  // not empty: name mode; empty: module mode

    std::string NormalizeName(const std::string& name) const;
    void SearchProcesses();
    bool TerminateProcesses();
    void QuitWardenClient();

private:
    void SearchBySnapshot();
    void SearchByPsapi();
    // nextModule(path) yields the path of the process's next module after its
    // own image; false at the end. Each search has its own kind.
    template <typename NextModule>
    void MatchProcess(const std::string& name, StringList::Mark processId, NextModule nextModule);
    template <typename NextModule>
    bool HoldsListedModule(NextModule& nextModule);
    // Valid until the next call.
    const std::string& NormalizedModule(const std::string& path);

    // Most processes load the same system modules: each path is normalized once
    // per search. The paths are a few hundred: a list costs less than a tree.
    std::vector<std::pair<std::string, std::string>> normalizedModules_;
};

// The program's single instance; created before Configurator, freed after it.
extern TProcessSearcher* ProcessSearcher;
