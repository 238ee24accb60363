// What the program shows the user: message boxes, the server dialog and the progress window.
// The program uses the real windows; in-process tests install a scripted one.
#pragma once

#include <windows.h>

#include <string>

class StringList;
class TConfigurator;
struct TProgressState;

class TUserInterface {
public:
    virtual ~TUserInterface() = default;

    // A message box: the button pressed (IDOK, IDCANCEL, ...), 0 when it could not be shown.
    virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) = 0;

    // The server settings dialog: true when the user accepted and every check passed.
    virtual bool NewWebHostDialog(TConfigurator& configurator, StringList& servers, int& chosenSection,
                                  int& targetSection) = 0;

    // The progress window: shows the state, appearing with the first one; closing takes it away.
    virtual void ShowProgress(const TProgressState& state) = 0;
    virtual void CloseProgress() = 0;
};

// The interface in use: the real windows unless a test installed another.
TUserInterface& UserInterface();
// nullptr puts the real windows back.
void SetUserInterface(TUserInterface* ui);
