// Drives the message boxes of a running program: records each box (caption,
// text in UTF-8, buttons) and answers it from a script. A box beyond the
// script is answered Cancel and counted as unscripted. It also records what
// the program's progress window shows.
#pragma once

#include "platform/Owner.h"

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

enum class Answer { Ok, Cancel };

struct BoxRecord {
    std::string caption;              // UTF-8
    std::string text;                 // UTF-8
    std::vector<std::string> buttons;  // "OK", "Cancel", ... in control-id order
    std::string answer;               // "OK" or "Cancel"
    bool scripted = true;
    DWORD processId = 0;  // of the program that shows the box
    bool progressShown = false;  // the progress window was up while the box was
};

// One view of the progress window (class "WardCfgUpProgress"): the lines of its
// texts, top to bottom, in UTF-8: the notice, the step, the file, "N из M".
struct ProgressRecord {
    std::vector<std::string> lines;
    std::size_t boxesBefore = 0;  // boxes recorded before it was seen
};

class BoxDriver {
public:
    // Called with each box before it is answered: a test acts while the box is open.
    using BoxHook = std::function<void(const BoxRecord&)>;

    // processId 0 watches the boxes of every process (and thread) of the prefix.
    BoxDriver(DWORD processId, std::vector<Answer> script, BoxHook onBox = nullptr);

    // Answers every box that is open now; true when it answered one.
    bool Step();

    const std::vector<BoxRecord>& Records() const { return records_; }
    int Unscripted() const { return unscripted_; }
    // Each view of the progress window seen, once; and whether it was up at the last step.
    const std::vector<ProgressRecord>& Progress() const { return progress_; }
    bool ProgressShown() const { return progressShown_; }

private:
    bool Handle(HWND box);
    void WatchProgress();

    DWORD processId_;
    std::vector<Answer> script_;
    BoxHook onBox_;
    std::size_t next_ = 0;
    std::vector<BoxRecord> records_;
    std::set<HWND> answered_;
    int unscripted_ = 0;
    std::vector<ProgressRecord> progress_;
    HWND progressWindow_ = nullptr;
    bool progressShown_ = false;
};

// The text of a box or control read from another process, in UTF-8.
std::string WindowTextUtf8(HWND window);
// The visible top-level windows of a class of a process (0: of all); message boxes are of class #32770.
std::vector<HWND> FindTopLevelWindows(DWORD processId, const std::string& className = "#32770");
// The DPI the system gives this program for the screen; a length given at 96 DPI, at a DPI.
int ScreenDpi();
inline int Scaled(int pixels, int dpi = ScreenDpi()) { return ::MulDiv(pixels, dpi, 96); }
// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child);

// Runs a command line with a time bound while a BoxDriver answers its boxes.
// endWhen, polled meanwhile, ends the program at once when it answers true,
// as a power loss or the task manager would.
struct ProgramRunResult {
    bool started = false;
    bool finished = false;  // false: killed at the time bound, or ended
    bool ended = false;     // ended when endWhen answered true
    DWORD exitCode = 0;
    std::vector<BoxRecord> boxes;
    int unscripted = 0;
    std::vector<ProgressRecord> progress;
};

ProgramRunResult RunAndDriveBoxes(const std::string& commandLine, const std::string& currentDir,
                                  std::vector<Answer> script, DWORD timeoutMs,
                                  BoxDriver::BoxHook onBox = nullptr, std::function<bool()> endWhen = nullptr);
// The same for a program started already: its process (with the rights to
// wait for it, end it and read its exit code) and id.
ProgramRunResult DriveBoxes(platform::UniqueHandle program, DWORD processId, std::vector<Answer> script,
                            DWORD timeoutMs, BoxDriver::BoxHook onBox = nullptr,
                            std::function<bool()> endWhen = nullptr);

// Text for a record list, one box after another, for test failure output.
std::string Describe(const std::vector<BoxRecord>& boxes);
