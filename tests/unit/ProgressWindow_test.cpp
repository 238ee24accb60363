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

// Laid out for the DPI of its monitor (its lengths are given at 96 DPI), and
// again, font included, when it comes to a monitor of another DPI.
TEST(ProgressWindow, IsLaidOutForItsDpiAndAgainWhenThatChanges)
{
    TProgressWindow window;
    window.Show(TProgressState());
    std::vector<HWND> found = FindTopLevelWindows(::GetCurrentProcessId(), "WardCfgUpProgress");
    ASSERT_EQ(1u, found.size());
    HWND shown = found[0];
    auto child = [shown](int id) { return ChildRect(shown, ::GetDlgItem(shown, id)); };
    auto expectScaledTo = [&](int dpi) {
        RECT client{};
        ::GetClientRect(shown, &client);
        const RECT notice = child(ProgressNoticeId);
        const RECT bar = child(ProgressBarId);
        EXPECT_EQ(Scaled(360, dpi), client.right) << dpi;
        EXPECT_EQ(Scaled(10, dpi), notice.left);
        EXPECT_EQ(Scaled(10, dpi), notice.top);
        EXPECT_EQ(Scaled(360, dpi) - 2 * Scaled(10, dpi), bar.right - bar.left);
        EXPECT_EQ(client.bottom - Scaled(10, dpi), bar.bottom);
    };
    const int dpi = ScreenDpi();
    expectScaledTo(dpi);
    const RECT status = child(ProgressStatusId);

    const int otherDpi = dpi == 96 ? 144 : 96;
    RECT suggested{40, 30, 600, 300};
    ::SendMessageA(shown, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(otherDpi, otherDpi),
                   reinterpret_cast<LPARAM>(&suggested));
    expectScaledTo(otherDpi);
    const RECT rescaled = child(ProgressStatusId);
    // Three lines in the font of the new DPI.
    EXPECT_EQ(otherDpi > dpi, rescaled.bottom - rescaled.top > status.bottom - status.top);
    RECT placed{};
    ::GetWindowRect(shown, &placed);
    EXPECT_EQ(40, placed.left);
    EXPECT_EQ(30, placed.top);
}
