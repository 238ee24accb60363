#include "plan/RecordingUserInterface.h"

int TRecordingUserInterface::ShowMessageBox(HWND, const std::string& text, const std::string& caption, UINT)
{
    boxes.emplace_back(caption, text);
    return IDOK;
}

bool TRecordingUserInterface::NewWebHostDialog(TConfigurator&, StringList& servers, int&, int&)
{
    dialogAsked = true;
    dialogServers = servers;
    return false;
}
