#include "CfgUnit/ServerDialog.h"

#include "CfgUnit/Configurator.h"
#include "CfgUnit/UserInterface.h"

bool RunServerDialog(TConfigurator& configurator, StringList& servers, int& chosenSection, int& targetSection)
{
    // The window comes with the dialog's own change; until then nothing is accepted.
    (void)configurator;
    (void)servers;
    (void)chosenSection;
    (void)targetSection;
    return false;
}

bool TConfigurator::ShowNewWebHostDialog(StringList& servers, int& chosenSection, int& targetSection)
{
    return UserInterface().NewWebHostDialog(*this, servers, chosenSection, targetSection);
}
