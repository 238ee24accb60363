#include "CfgUnit/ProgressWindow.h"

#include "CfgUnit/ControlIds.h"
#include "platform/Controls.h"

#include <string>

using namespace platform;

namespace {

constexpr WindowKind ProgressWindowKind{"WardCfgUpProgress", false};
constexpr const char* Caption = "Обновление клиента ДБО";
constexpr const char* Notice = "Идёт обновление. Дождитесь его окончания и не выключайте компьютер.";

// In pixels at 96 DPI.
constexpr int Margin = 10;
constexpr int ClientWidth = 360;
constexpr int BarExtraHeight = 4;  // over a line of text

}  // namespace

struct TProgressWindow::Parts {
    TopLevelWindow window{Caption, {ClientWidth, 0}, ProgressWindowKind};
    WrappingLabel notice{window, ProgressNoticeId, Notice};
    WrappingLabel status{window, ProgressStatusId, ""};  // the step, the file and the count
    ProgressBar bar{window, ProgressBarId};
    bool visible = false;

    void Layout();
};

TProgressWindow::TProgressWindow() : parts_(std::make_unique<Parts>())
{
    Parts& p = *parts_;
    p.Layout();
    p.window.SetLayout([&p] { p.Layout(); });
    p.window.CentreOnScreen();
}

// The notice across the top, then a line each for the step, the file and the
// count, then the bar; at the window's DPI.
void TProgressWindow::Parts::Layout()
{
    const int margin = window.Scale(Margin);
    const int width = window.Scale(ClientWidth);
    const int lineWidth = width - 2 * margin;
    const int line = window.TextFont().LineHeight();
    notice.SetBounds({margin, margin, lineWidth, 0});
    notice.GrowToText();
    status.SetBounds({margin, notice.GetBounds().Bottom() + margin, lineWidth, 3 * line});
    bar.SetBounds({margin, status.GetBounds().Bottom() + margin, lineWidth, line + window.Scale(BarExtraHeight)});
    window.SetClientSize({width, bar.GetBounds().Bottom() + margin});
}

TProgressWindow::~TProgressWindow() = default;

void TProgressWindow::Show(const TProgressState& state)
{
    Parts& p = *parts_;
    // One text: whoever reads the window never sees the step of one state with the file of another.
    std::string count = state.fileNumber > 0 ? ProgressCountText(state.fileNumber, state.fileCount) : "";
    p.status.SetText(ProgressStepText(state.step) + "\r\n" + state.file + "\r\n" + count);
    p.bar.SetPosition(state.stepsDone, state.stepCount);
    if (!p.visible)
        p.window.Show();
    p.visible = true;
    p.window.PaintNow();
}
