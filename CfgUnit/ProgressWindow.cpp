#include "CfgUnit/ProgressWindow.h"

#include "CfgUnit/Configurator.h"
#include "CfgUnit/ControlIds.h"
#include "CfgUnit/UserInterface.h"
#include "common/FileNames.h"
#include "platform/Controls.h"

#include <algorithm>
#include <numeric>

using namespace platform;

namespace {

constexpr WindowKind ProgressWindowKind{"WardCfgUpProgress", false};
constexpr const char* Caption = "Обновление клиента ДБО";
constexpr const char* Notice = "Идёт обновление. Дождитесь его окончания и не выключайте компьютер.";

// In pixels at 96 DPI.
constexpr int Margin = 10;
constexpr int ClientWidth = 360;
constexpr int BarExtraHeight = 4;  // over a line of text

// The steps of a control: unregistering, replacing, registering; of any other file: replacing.
int StepsOf(const std::string& entry)
{
    return IsActiveX(entry) ? 3 : 1;
}

// Where the step lies among a control's steps.
int StepIndex(TProgressStep step)
{
    return step == TProgressStep::Unregistering ? 0 : step == TProgressStep::Registering ? 2 : 1;
}

}  // namespace

std::string ProgressStepText(TProgressStep step)
{
    switch (step) {
    case TProgressStep::Preparing: return "Подготовка к замене файлов";
    case TProgressStep::Unregistering: return "Отмена регистрации компонента";
    case TProgressStep::Replacing: return "Замена файла";
    case TProgressStep::Registering: return "Регистрация компонента";
    case TProgressStep::Restoring: return "Восстановление прежнего файла";
    case TProgressStep::RestartingWarden: return "Повторный запуск Warden";
    }
    return std::string();
}

std::string ProgressCountText(int fileNumber, int fileCount)
{
    return "Файл " + std::to_string(fileNumber) + " из " + std::to_string(fileCount);
}

TProgress::~TProgress()
{
    Close();
}

void TProgress::BeginCopies(const StringList& entries)
{
    std::vector<int> fileSteps;
    for (int i = 0; i < entries.Count(); ++i)
        fileSteps.push_back(StepsOf(entries[i]));
    shown_ = true;
    BeginPass(std::move(fileSteps));
    Step(TProgressStep::Preparing);
}

void TProgress::BeginRestore(const StringList& destinations)
{
    BeginPass(std::vector<int>(static_cast<std::size_t>(destinations.Count()), 1));
}

void TProgress::BeginPass(std::vector<int> fileSteps)
{
    fileSteps_ = std::move(fileSteps);
    fileNumber_ = 0;
    file_.clear();
}

void TProgress::NextFile(const std::string& name)
{
    fileNumber_ = std::min(fileNumber_ + 1, static_cast<int>(fileSteps_.size()));
    file_ = FileNamePart(name);
}

// The bar counts the steps of the pass. A step that a file does not need is
// passed over (a control that was not installed is not unregistered), and a
// file of one step takes it at once.
void TProgress::Step(TProgressStep step)
{
    if (!shown_)
        return;
    TProgressState state;
    state.step = step;
    state.stepCount = std::accumulate(fileSteps_.begin(), fileSteps_.end(), 0);
    state.stepsDone = step == TProgressStep::RestartingWarden ? state.stepCount : 0;
    if (step != TProgressStep::RestartingWarden && fileNumber_ > 0) {
        state.file = file_;
        state.fileNumber = fileNumber_;
        state.fileCount = static_cast<int>(fileSteps_.size());
        int stepsOfFile = fileSteps_[fileNumber_ - 1];
        state.stepsDone = std::accumulate(fileSteps_.begin(), fileSteps_.begin() + fileNumber_ - 1, 0) +
                          std::min(StepIndex(step), stepsOfFile - 1);
    }
    UserInterface().ShowProgress(state);
}

void TProgress::Close()
{
    if (shown_)
        UserInterface().CloseProgress();
    shown_ = false;
}

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
