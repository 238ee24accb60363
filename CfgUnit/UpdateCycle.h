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
