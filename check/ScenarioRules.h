// The rules of the scenario check behind "-check=": what in a scenario does
// not do what its writer meant, found before the scenario reaches a customer.
#pragma once

#include <string>
#include <vector>

class TConfigurator;

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
