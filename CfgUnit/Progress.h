// What the update reports of its cycle, for the progress window: shown from
// the first copy cycle until the closing box, so that a customer sees the run
// working through the seconds of every registration. TProgress follows the
// cycle; the user interface shows what it reports.
#pragma once

#include <string>
#include <vector>

class StringList;

// What the run does now.
enum class TProgressStep { Preparing, Unregistering, Replacing, Registering, Restoring, RestartingWarden };

// One view of the window.
struct TProgressState {
    TProgressStep step = TProgressStep::Preparing;
    std::string file;    // the file's name without its folder; empty while preparing and for the restart
    int fileNumber = 0;  // from 1; 0 without a file
    int fileCount = 0;
    int stepsDone = 0;  // the bar: steps of the pass done before this one
    int stepCount = 0;
};

// The texts of the window for a step, and the count of the files ("Файл 2 из 3").
std::string ProgressStepText(TProgressStep step);
std::string ProgressCountText(int fileNumber, int fileCount);

// Follows the update cycle's passes over its files (a copy cycle, a restore)
// and reports each step to the user interface. The window appears when the
// first copy cycle begins; until then every other call shows nothing.
class TProgress {
public:
    TProgress() = default;
    ~TProgress();
    TProgress(const TProgress&) = delete;
    TProgress& operator=(const TProgress&) = delete;

    // A copy cycle over the scenario's entries begins: the window shows it is preparing.
    void BeginCopies(const StringList& entries);
    // A restore of these destinations begins.
    void BeginRestore(const StringList& destinations);
    // Work moves on to the next file of the pass.
    void NextFile(const std::string& name);
    // A step begins: on the current file, or the tunnel client's restart.
    void Step(TProgressStep step);
    // Before the closing box: the window goes.
    void Close();

private:
    void BeginPass(std::vector<int> fileSteps);

    bool shown_ = false;
    std::vector<int> fileSteps_;  // how many steps each file of the pass may take
    int fileNumber_ = 0;
    std::string file_;
};
