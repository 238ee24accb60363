#include "CfgUnit/Progress.h"

#include "CfgUnit/ActiveXLookup.h"
#include "CfgUnit/UserInterface.h"
#include "common/FileNames.h"
#include "common/StringList.h"

#include <algorithm>
#include <numeric>

namespace {

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
