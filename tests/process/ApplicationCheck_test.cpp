// The check for running applications that hold the files to be replaced,
// against real stand-in processes.
#include "CfgUnit/Configurator.h"

#include "CfgUnit/Messages.h"
#include "common/FormatText.h"
#include "support/FakeUserInterface.h"
#include "support/LogLines.h"
#include "support/StandIns.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

class ApplicationCheck : public testing::Test {
protected:
    ApplicationCheck()
    {
        cfg.OpenLog(logDir / "run.log");
        cfg.DestDir = dest.Path();
        component = CopyFixture("heldlib.dll", dest.Path(), "comp.ocx");
        library = CopyFixture("heldlib.dll", dest.Path(), "lib.dll");
        cfg.SourceFiles.Add("comp.ocx");
        cfg.SourceFiles.Add("new.dll");  // not installed yet
        cfg.SourceFiles.Add("lib.dll");
    }

    // A stand-in started from a copy named name, holding the given file.
    StandIn& Start(const std::string& fixture, const std::string& name, const std::string& held)
    {
        std::string image = apps / name;
        if (!Exists(image))
            CopyFixture(fixture, apps.Path(), name);
        running.push_back(std::make_unique<StandIn>(image, std::vector<std::string>{held}));
        EXPECT_TRUE(running.back()->Started()) << image;
        return *running.back();
    }

    std::string Log() const { return ReadBytes(logDir / "run.log"); }
    bool Logged(const std::string& entry) const
    {
        std::vector<std::string> entries = LogEntries(logDir / "run.log");
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }

    std::string ExpectedPrompt(const std::string& names, const std::string& steps) const
    {
        return FormatText(cfg.SHARING_ERROR, {names, steps});
    }

    void ExpectOnePrompt(const std::string& prompt) const
    {
        ASSERT_EQ(1u, ui.boxes.size());
        EXPECT_EQ(prompt, ui.boxes[0].text);
        EXPECT_EQ("Внимание", ui.boxes[0].caption);
        EXPECT_EQ(UINT{MB_OKCANCEL | MB_ICONQUESTION}, ui.boxes[0].style);
        EXPECT_TRUE(Logged("Show message: " + prompt));
    }

    int RunningCount() const
    {
        int count = 0;
        for (const auto& standIn : running)
            count += standIn->Running() ? 1 : 0;
        return count;
    }

    TempDir dest;
    TempDir apps;
    TempDir logDir;
    std::string component;
    std::string library;
    GlobalProcessSearcher searcher;
    TConfigurator cfg;
    FakeUserInterface ui;
    std::vector<std::unique_ptr<StandIn>> running;  // ended before the directories go
};

}  // namespace

TEST_F(ApplicationCheck, NothingHoldsTheFiles)
{
    Start("holder.exe", "app.exe", CopyFixture("heldlib.dll", apps.Path(), "unrelated.dll"));

    EXPECT_TRUE(cfg.CheckProcesses());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(searcher.FullPath);
    EXPECT_TRUE(searcher.ShortPath);
    EXPECT_EQ(3, searcher.Modules.Count());
    std::string log = Log();
    EXPECT_EQ(3, std::count(log.begin(), log.end(), '\n')) << log;
    EXPECT_TRUE(Logged("Start CheckProcesses"));
    EXPECT_NE(std::string::npos, log.find("] -> Result ProcessSearcher.SearchProcesses: "));
    EXPECT_TRUE(Logged("End CheckProcesses Result: TRUE"));
}

TEST_F(ApplicationCheck, StepsFollowTheOrderInWhichTheKindsOccur)
{
    Start("holder.exe", "iexplore.exe", component);
    Start("holder.exe", "IEXPLORER.EXE", library);
    StandIn& client = Start("wardlink.exe", "wardlink.exe", component);
    ui.answers.push_back(IDCANCEL);

    EXPECT_FALSE(cfg.CheckProcesses());
    ExpectOnePrompt(ExpectedPrompt("Internet Explorer\r\nWarden (Клиентская часть)\r\n",
                                   "1. " + cfg.IEXPLORER_CLOSE + "\r\n2. " + cfg.WARDEN_CLIENT_CLOSE + "\r\n3"));
    ASSERT_EQ(1, cfg.AutostartList.Count());
    EXPECT_EQ(apps / "wardlink.exe", cfg.AutostartList[0]);
    EXPECT_EQ(client.Id(), searcher.Processes.MarkAt(2));
    EXPECT_TRUE(Logged("Found processes: " + searcher.Processes.Text()));
    EXPECT_TRUE(Logged("End CheckProcesses Result: FALSE"));
    EXPECT_EQ(3, RunningCount());
}

TEST_F(ApplicationCheck, UnrecognisedApplicationsFormTheLastStep)
{
    Start("holder.exe", "a.exe", component);
    Start("holder.exe", "B.EXE", component);
    Start("holder.exe", "iexplore.exe.old", library);
    Start("holder.exe", "A.EXE", component);
    Start("holder.exe", "IEXPLORE.EXE", component);
    ui.answers.push_back(IDCANCEL);

    EXPECT_FALSE(cfg.CheckProcesses());
    std::string others = "a.exe\r\nB.EXE\r\niexplore.exe.old\r\n";
    ExpectOnePrompt(ExpectedPrompt(others + "Internet Explorer\r\n",
                                   "1. " + cfg.IEXPLORER_CLOSE + "\r\n2. " +
                                       FormatText(cfg.OTHERPROCESSES_CLOSE, {others}) + "\r\n3"));
    EXPECT_EQ(0, cfg.AutostartList.Count());
}

TEST_F(ApplicationCheck, OneNameForBothKindsGivesOneStep)
{
    cfg.WARDEN_CLIENT_NAME = "Браузер";
    cfg.IEXPLORER_NAME = "БРАУЗЕР";
    Start("wardlink.exe", "wardlink.exe", component);
    Start("holder.exe", "iexplore.exe", component);
    ui.answers.push_back(IDCANCEL);

    EXPECT_FALSE(cfg.CheckProcesses());
    ExpectOnePrompt(ExpectedPrompt("Браузер\r\n", "1. " + cfg.WARDEN_CLIENT_CLOSE + "\r\n2"));
}

TEST_F(ApplicationCheck, OkTerminatesEveryHolderAndKeepsEveryTunnelClientForRestart)
{
    Start("wardlink.exe", "wardlink.exe", component);
    Start("holder.exe", "app.exe", library);
    Start("wardlink.exe", "wardlink.exe", library);
    ui.answers.push_back(IDOK);

    EXPECT_TRUE(cfg.CheckProcesses());
    ExpectOnePrompt(ExpectedPrompt("Warden (Клиентская часть)\r\napp.exe\r\n",
                                   "1. " + cfg.WARDEN_CLIENT_CLOSE + "\r\n2. " +
                                       FormatText(cfg.OTHERPROCESSES_CLOSE, {"app.exe\r\n"}) + "\r\n3"));
    ASSERT_EQ(2, cfg.AutostartList.Count());
    EXPECT_EQ(apps / "wardlink.exe", cfg.AutostartList[0]);
    EXPECT_EQ(apps / "wardlink.exe", cfg.AutostartList[1]);
    EXPECT_TRUE(Logged("Terminate processes: " + searcher.Processes.Text()));
    EXPECT_EQ(3, searcher.Processes.Count());
    EXPECT_EQ(0, RunningCount());
    EXPECT_TRUE(Logged("End CheckProcesses Result: TRUE"));
}

namespace {

// The user closes every application while the prompt is open, then answers OK.
class ClosingUser : public FakeUserInterface {
public:
    explicit ClosingUser(std::vector<std::unique_ptr<StandIn>>& running) : running_(running) {}
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) override
    {
        for (auto& standIn : running_)
            standIn->Kill();
        answers.push_back(IDOK);
        return FakeUserInterface::ShowMessageBox(owner, text, caption, style);
    }

private:
    std::vector<std::unique_ptr<StandIn>>& running_;
};

}  // namespace

TEST_F(ApplicationCheck, OkAfterTheUserClosedEverythingTerminatesNothing)
{
    Start("holder.exe", "app.exe", component);
    ClosingUser user(running);

    EXPECT_TRUE(cfg.CheckProcesses());
    EXPECT_EQ(1u, user.boxes.size());
    EXPECT_EQ(0, searcher.Processes.Count());
    EXPECT_EQ(std::string::npos, Log().find("Terminate processes"));
    EXPECT_TRUE(Logged("End CheckProcesses Result: TRUE"));
}

TEST_F(ApplicationCheck, FindsTheHoldersOfTheRegisteredActiveX)
{
    MakeDirectory(apps / "Registered Controls");
    cfg.RegisteredActiveXFullName = CopyFixture("heldlib.dll", apps / "Registered Controls\\", "Bank Control.ocx");
    Start("holder.exe", "app.exe", cfg.RegisteredActiveXFullName);
    ui.answers.push_back(IDCANCEL);

    EXPECT_FALSE(cfg.CheckProcesses());
    EXPECT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(4, searcher.Modules.Count());
}

TEST_F(ApplicationCheck, ALongPromptIsShownAndLoggedCutAtTheFormatterLimit)
{
    cfg.OTHERPROCESSES_CLOSE = std::string(1500, 'x') + "%s";
    Start("holder.exe", "app.exe", component);
    ui.answers.push_back(IDCANCEL);

    EXPECT_FALSE(cfg.CheckProcesses());
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(FormatTextLimit, ui.boxes[0].text.size());
    EXPECT_TRUE(Logged("Show message: " + ui.boxes[0].text));
}
