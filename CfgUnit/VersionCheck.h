// File versions as the copy decision compares them.
#pragma once

#include "common/StringList.h"

#include <cstdint>
#include <string>
#include <vector>

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// The file version of the fixed version record; false when the file carries no version information.
bool GetFileVersion(const std::string& fileName, FileVersion& version);

// What the version check decides for one entry of the scenario, from the files alone.
struct TCopyDecision {
    enum class TNeed { SourceMissing, NotInstalled, Newer, UpToDate };
    std::string source;
    std::string destination;
    TNeed need = TNeed::NotInstalled;
    // Newer also stands for versions that could not be read: they never block an update.
    bool sourceVersionRead = false;
    bool destinationVersionRead = false;
    FileVersion sourceVersion;
    FileVersion destinationVersion;

    bool Needed() const { return need == TNeed::NotInstalled || need == TNeed::Newer; }
    // A control found up to date is registered again in place.
    bool RegistersAgain() const;
};

TCopyDecision DecideCopy(const std::string& source, const std::string& destination);

// The check over the whole file list, walked from its end (so that dropping
// an entry leaves the rest of the walk alone) up to the first missing source.
struct TCopyCheck {
    std::vector<TCopyDecision> walk;  // in the order the run decides
    StringList remaining;             // the file list without the entries found up to date
    bool sourceMissing = false;       // the walk's last entry is the missing source
    bool copyNeeded = false;
};
