#include "CfgUnit/Configurator.h"

// The update run comes with its own change; until then the run ends after the scenario.
void TConfigurator::RunUpdate()
{
}

void TConfigurator::Restore()
{
}
