// The progress window as a real window: what it shows, and that the user can
// neither close it nor take the focus from a box over it.
#include "CfgUnit/ControlIds.h"
#include "CfgUnit/ProgressWindow.h"
#include "platform/Window.h"
#include "support/BoxDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

TEST(ProgressWindow, ShowsTheStepFileAndCountCentredAndTheUserCannotCloseIt)
{
    TProgressWindow window;
    TProgressState state;
    state.step = TProgressStep::Registering;
    state.file = "a.ocx";
    state.fileNumber = 2;
    state.fileCount = 3;
    window.Show(state);
    std::vector<HWND> found = FindTopLevelWindows(::GetCurrentProcessId(), "WardCfgUpProgress");
    ASSERT_EQ(1u, found.size());
    HWND shown = found[0];

    char text[256] = "";
    ::GetWindowTextA(::GetDlgItem(shown, ProgressStatusId), text, sizeof text);
    EXPECT_EQ(ProgressStepText(TProgressStep::Registering) + "\r\na.ocx\r\n" + ProgressCountText(2, 3), text);
    RECT rect{};
    ::GetWindowRect(shown, &rect);
    platform::Size screen = platform::ScreenSize();
    EXPECT_LE(std::abs(rect.left + rect.right - screen.width), 1);
    EXPECT_LE(std::abs(rect.top + rect.bottom - screen.height), 1);

    EXPECT_FALSE(::IsWindowEnabled(shown));
    ::SendMessageA(shown, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(shown));
}
