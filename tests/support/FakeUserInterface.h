// A scripted user interface for in-process tests: records every message box
// and answers from a queue; a box without a scripted answer gets IDCANCEL and
// is counted as unexpected.
#pragma once

#include "CfgUnit/Progress.h"
#include "CfgUnit/UserInterface.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ShownBox {
    HWND owner;
    std::string caption;
    std::string text;  // CP1251, as the program passed it
    UINT style;
};

class FakeUserInterface : public TUserInterface {
public:
    FakeUserInterface() { SetUserInterface(this); }
    ~FakeUserInterface() override { SetUserInterface(nullptr); }

    std::vector<ShownBox> boxes;
    std::deque<int> answers;  // IDOK, IDCANCEL, ...
    int unexpected = 0;
    // Called with each box once it is recorded, before it is answered: a test may throw here.
    std::function<void(const ShownBox&)> onBox;

    // The server dialog; without one set, the dialog counts as unexpected and declines.
    std::function<bool(TConfigurator&, StringList&, int&, int&)> dialog;
    int dialogCalls = 0;

    // Every state the progress window was given, and the boxes shown before it was closed (-1: never).
    std::vector<TProgressState> progress;
    int boxesAtProgressClose = -1;

    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) override;
    bool NewWebHostDialog(TConfigurator& configurator, StringList& servers, int& chosenSection,
                          int& targetSection) override;
    void ShowProgress(const TProgressState& state) override { progress.push_back(state); }
    void CloseProgress() override { boxesAtProgressClose = static_cast<int>(boxes.size()); }
};
