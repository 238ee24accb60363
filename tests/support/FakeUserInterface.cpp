#include "support/FakeUserInterface.h"

int FakeUserInterface::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style)
{
    boxes.push_back({owner, caption, text, style});
    if (onBox)
        onBox(boxes.back());
    if (answers.empty()) {
        ++unexpected;
        return IDCANCEL;
    }
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool FakeUserInterface::NewWebHostDialog(TConfigurator& configurator, StringList& servers, int& chosenSection,
                                         int& targetSection)
{
    ++dialogCalls;
    if (!dialog) {
        ++unexpected;
        return false;
    }
    return dialog(configurator, servers, chosenSection, targetSection);
}
