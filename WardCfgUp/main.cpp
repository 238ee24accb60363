// WardCfgUp: brings the banking client's components up to date from a scenario.
#include "CfgUnit/Configurator.h"
#include "check/ScenarioReport.h"
#include "plan/Plan.h"
#include "PrsSrch/ProcessSearcher.h"
#include "platform/FatalError.h"
#include "platform/SystemLibrary.h"

#include <memory>

static int Run()
{
    auto searcher = std::make_unique<TProcessSearcher>();
    ProcessSearcher = searcher.get();
    auto configurator = std::make_unique<TConfigurator>(BuiltInUpdateKey);
    Configurator = configurator.get();
    platform::ScopeGuard forget([] {
        Configurator = nullptr;
        ProcessSearcher = nullptr;
    });

    // "?", "-cw=", "-check=" and "-plan" change nothing of the client's: they run
    // even during an update, and a plan never keeps an update from starting.
    int exitCode = 0;
    if (Configurator->WriteDefaultScenario() || CheckScenario(*Configurator, exitCode) ||
        ShowPlan(*Configurator, exitCode))
        return exitCode;
    if (!Configurator->ClaimUpdateRun())
        return 0;
    if (Configurator->LoadScenario())
        Configurator->RunUpdate();
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    platform::RestrictDllSearch();
    // Once the search is restricted: the boxes and windows of every run alike.
    platform::EnableVisualStyles();
    return platform::RunGuarded(Run);
}
