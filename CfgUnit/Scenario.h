// The layout of the scenario file shared by its reader and its writer.
#pragma once

#include "CfgUnit/Configurator.h"

#include <string>
#include <vector>

constexpr const char* MainSection = "WardCfgUp";
constexpr const char* RemoveBackupKey = "RemoveBackup";
constexpr const char* AxClsidKey = "AXCLSID";
constexpr const char* DialogCaptionsSection = "Dialog captions";
constexpr const char* MessagesSection = "Messages";

// The key of the n-th source file: "FILE" and n without leading zeros.
constexpr const char* SourceFileKeyPrefix = "FILE";
std::string SourceFileKey(int number);

// The sections taken whole, line by line, into a list of the configurator.
struct TLineSection {
    const char* Name;
    StringList TConfigurator::*Lines;
    bool WrittenWhenEmpty;  // the default scenario leaves the others untouched when empty
};

constexpr int LineSectionCount = 5;
extern const TLineSection LineSections[LineSectionCount];

// Every section a run reads, in the order of reading ([SHA256] only with the bank's key).
std::vector<std::string> ScenarioSections();
