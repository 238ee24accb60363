// The decision of the running-application check, which the dry run reports as well.
#pragma once

#include "common/StringList.h"

#include <string>

// The processes that hold the files of the run, and the prompt that names them.
struct TClosingCheck {
    StringList holders;       // full paths; mark: the process id
    StringList restarts;      // the tunnel clients among them, started again after the copies
    std::string prompt;       // empty without holders
    std::string searchError;  // the system's text for the search's last error
};
