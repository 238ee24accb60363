// The user interface a plan runs the stages under: the windows of the run are
// recorded for the plan to quote, and none appears.
#pragma once

#include "CfgUnit/UserInterface.h"
#include "common/StringList.h"

#include <string>
#include <utility>
#include <vector>

// Stands in for the windows while the plan runs the stages: every box is
// recorded and answered OK, the server dialog is recorded and declined, the
// progress window never appears.
class TRecordingUserInterface : public TUserInterface {
public:
    TRecordingUserInterface() : previous_(UserInterface()) { SetUserInterface(this); }
    ~TRecordingUserInterface() override { SetUserInterface(&previous_); }

    std::vector<std::pair<std::string, std::string>> boxes;  // caption, text
    std::size_t reported = 0;  // boxes already in the plan
    bool dialogAsked = false;
    StringList dialogServers;  // host=number|location|reserve, as the dialog gets them

    int ShowMessageBox(HWND, const std::string& text, const std::string& caption, UINT) override;
    bool NewWebHostDialog(TConfigurator&, StringList& servers, int&, int&) override;

    void ShowProgress(const TProgressState&) override {}
    void CloseProgress() override {}

private:
    TUserInterface& previous_;
};
