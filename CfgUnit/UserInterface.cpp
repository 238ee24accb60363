#include "CfgUnit/UserInterface.h"

#include "CfgUnit/ProgressWindow.h"
#include "CfgUnit/ServerDialog.h"
#include "platform/ShownText.h"

#include <memory>

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

    void ShowProgress(const TProgressState& state) override
    {
        if (!progress_)
            progress_ = std::make_unique<TProgressWindow>();
        progress_->Show(state);
    }

    void CloseProgress() override { progress_.reset(); }

private:
    std::unique_ptr<TProgressWindow> progress_;
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
