#include "CfgUnit/UserInterface.h"

#include "CfgUnit/ServerDialog.h"
#include "platform/System.h"

namespace {

class TWindowsUserInterface : public TUserInterface {
public:
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) override
    {
        return platform::ShowMessageBox(owner, text, caption, style);
    }

    bool NewWebHostDialog(TConfigurator& configurator, StringList& servers, int& chosenSection,
                          int& targetSection) override
    {
        return RunServerDialog(configurator, servers, chosenSection, targetSection);
    }
};

TWindowsUserInterface windowsUserInterface;
TUserInterface* current = &windowsUserInterface;

}  // namespace

TUserInterface& UserInterface()
{
    return *current;
}

void SetUserInterface(TUserInterface* ui)
{
    current = ui ? ui : &windowsUserInterface;
}
