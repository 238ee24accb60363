// The layout of the scenario file shared by its reader and its writer.
#pragma once

#include "CfgUnit/Configurator.h"

// The sections taken whole, line by line, into a list of the configurator.
struct TLineSection {
    const char* Name;
    StringList TConfigurator::*Lines;
    bool WrittenWhenEmpty;  // the default scenario leaves the others untouched when empty
};

constexpr int LineSectionCount = 5;
extern const TLineSection LineSections[LineSectionCount];
