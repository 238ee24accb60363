// WardCfgUp: brings the banking client's components up to date from a scenario.
#include "CfgUnit/Configurator.h"
#include "PrsSrch/ProcessSearcher.h"
#include "platform/FatalError.h"
#include "platform/SystemLibrary.h"

#include <memory>

static void Run()
{
    auto searcher = std::make_unique<TProcessSearcher>();
    ProcessSearcher = searcher.get();
    auto configurator = std::make_unique<TConfigurator>();
    Configurator = configurator.get();
    platform::ScopeGuard forget([] {
        Configurator = nullptr;
        ProcessSearcher = nullptr;
    });

    // "?" and "-cw=" change nothing of the client's: they run even during an update.
    if (Configurator->WriteDefaultScenario() || !Configurator->ClaimUpdateRun())
        return;
    Configurator->LoadScenario();
    Configurator->RunUpdate();
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    platform::RestrictDllSearch();
    return platform::RunGuarded(Run);
}
