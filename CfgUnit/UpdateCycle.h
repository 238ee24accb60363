// The decisions of the update cycle that a plan reports without acting on them.
#pragma once

#include "CfgUnit/Configurator.h"

#include <string>

// Where the run takes the client folder from: the running tunnel client wins
// over the registered control, and that over an interrupted update's folder.
struct TClientDir {
    enum class TSource { TunnelClient, Registration, InterruptedUpdate, None };
    TSource source;
    std::string dir;  // with its trailing backslash; empty for None
};
TClientDir DecideClientDir(const TConfigurator& cfg);

// What the copy cycle does with one entry of the file list while nothing fails:
// an existing destination is backed up (a control unregistered first), the
// source copied, and a control registered.
struct TInstallStep {
    std::string destination;
    std::string backup;  // the name the original is kept under
    bool activeX = false;
    bool replaces = false;  // a file stands at the destination
};
TInstallStep DecideInstall(const TConfigurator& cfg, const std::string& entry);

// The text of the box that ends a run which got to its closing steps.
const std::string& FinalMessage(const TConfigurator& cfg, bool success);

// The names under which the update keeps the destinations it replaces, worked
// out for all of them at once: a destination's extension changed to ".bak",
// unless that name is another file of the run or another destination's backup
// too; then the whole name + ".bak" (and ".bak" again while that is taken).
class TBackupNames {
public:
    explicit TBackupNames(const TConfigurator& cfg);
    // The destinations of the run, each once, in the order of the scenario.
    const StringList& Destinations() const { return destinations_; }
    // The backup of a destination of the run; of any other file its plain backup name.
    std::string Of(const std::string& destination) const;

private:
    StringList destinations_;
    SortedLines sorted_;
    StringList backups_;
};
