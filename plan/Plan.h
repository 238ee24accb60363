// The dry run behind "-plan": what an update run would do on this PC, taken
// from the stages' own decisions, with every step that only reads done for
// real and nothing changed. The settings correction runs on a scratch copy of
// the tunnel settings file; the boxes of the run are reported, not shown.
#pragma once

#include <string>

class TConfigurator;

struct TPlan {
    std::string text;  // lines ended by CR LF, in the program's code page
    bool succeeds = false;
};

// The plan for the scenario the configurator has loaded.
TPlan MakePlan(TConfigurator& cfg);

// The plan as one message box holds it: the first lines, and a last one that says it was cut.
std::string PlanBoxText(const std::string& plan);

// The plan of the run that "-c=" names, when "-plan" stands on the command
// line: false otherwise; exitCode 0 when that run would succeed, 1 when it
// would fail (or the plan file cannot be written).
bool ShowPlan(TConfigurator& cfg, int& exitCode);
