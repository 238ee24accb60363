// The scenario check behind "-check=": reads a scenario as a run would and
// finds what in it does not do what its writer meant, with the line of each
// finding, before the scenario reaches a customer.
#pragma once

#include "CfgUnit/Configurator.h"

#include <string>
#include <vector>

enum class TSeverity { Warning, Error };

struct TFinding {
    int Line;  // from 1; 0 for the scenario as a whole
    TSeverity Severity;
    std::string Text;
};

// Reads the scenario at `path` into `cfg` with the run's own reader (source
// files relative to the current directory) and answers the findings in line
// order, those about the whole scenario last.
std::vector<TFinding> CheckScenarioFile(TConfigurator& cfg, const std::string& path);

// "<name>:<line>: error: <text>" for each finding, then the counts
// ("2 errors, 1 warning"); every line ends in CR LF.
std::string ScenarioReport(const std::string& name, const std::vector<TFinding>& findings);

// 0 when nothing was found, 1 for warnings only, 2 for at least one error.
int ScenarioCheckExitCode(const std::vector<TFinding>& findings);
constexpr int CheckFoundErrors = 2;
