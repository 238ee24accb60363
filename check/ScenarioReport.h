// The scenario check as main enters it: its report, its exit code, its box.
#pragma once

#include "check/ScenarioRules.h"

#include <string>
#include <vector>

class TConfigurator;

// "<name>:<line>: error: <text>" for each finding, then the counts
// ("2 errors, 1 warning"); every line ends in CR LF.
std::string ScenarioReport(const std::string& name, const std::vector<TFinding>& findings);

// 0 when nothing was found, 1 for warnings only, 2 for at least one error.
int ScenarioCheckExitCode(const std::vector<TFinding>& findings);
constexpr int CheckFoundErrors = 2;

// The check of the scenario named by "-check=": false when the command line
// names none; otherwise the findings are reported (to the last "-l=", or in
// one box) and exitCode tells the outcome.
bool CheckScenario(TConfigurator& cfg, int& exitCode);
