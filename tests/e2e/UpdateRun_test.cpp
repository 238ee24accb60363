// Whole update runs of the real program against a simulated client install:
// every way out of a run, and the faults that must never cost the customer a file.
#include "CfgUnit/Configurator.h"
#include "CfgUnit/ControlIds.h"
#include "PrsSrch/ProcessSearcher.h"
#include "common/FormatText.h"
#include "common/Text.h"

#include "platform/Processes.h"
#include "support/Bounded.h"
#include "support/LogLines.h"
#include "support/ScratchInstall.h"
#include "support/StandIns.h"
#include "support/TestControl.h"
#include "support/UpdateFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <thread>

namespace {

std::string Text(const std::string& ansi)
{
    return Utf8FromAnsi(ansi);
}

// The progress window was seen with this line (a file's name, a step's text).
bool ProgressShowed(const ProgramRunResult& run, const std::string& line)
{
    for (const ProgressRecord& view : run.progress)
        if (std::find(view.lines.begin(), view.lines.end(), line) != view.lines.end())
            return true;
    return false;
}

}  // namespace

class UpdateRunTest : public UpdateFixture {
protected:
    // The client holds ctl.ocx of the version installed (registered) and warden.cfg;
    // the download folder ctl.ocx of the version downloaded.
    void OneControl(const std::string& installed, const std::string& downloaded, bool hostsInScenario = true,
                    const std::string& extraSections = "")
    {
        Control(client, "ctl.ocx", installed);
        RegisterClass(client + "ctl.ocx");
        WardenCfg();
        Control(work, "ctl.ocx", downloaded);
        Scenario({"ctl.ocx"}, 1, "*", hostsInScenario, extraSections);
    }

    // The client holds ctl.ocx 1.0.0.0 (registered); the download folder 2.0.0.0.
    void OneNewerControl() { OneControl("1_0_0_0", "2_0_0_0"); }

    void NoTunnelSettings() { ::DeleteFileA((client + "warden.cfg").c_str()); }

    // After TwoNewerFiles and a run that failed: the client's own files, and no backup left.
    void ExpectTwoFilesPutBack() const
    {
        EXPECT_TRUE(HoldsControl(client + "a.ocx", "1_0_0_0"));
        EXPECT_TRUE(HoldsControl(client + "b.dll", "1_2_0_0"));
        EXPECT_FALSE(Exists(client + "a.bak"));
        EXPECT_FALSE(Exists(client + "b.bak"));
    }

    ProgramRunResult Update(std::vector<Answer> script, BoxDriver::BoxHook onBox = nullptr)
    {
        ProgramRunResult run = install.Run("-c=scen.ini -l=run.log", std::move(script), std::move(onBox));
        EXPECT_TRUE(run.finished) << "killed at the time bound\n" << Describe(run.boxes);
        EXPECT_EQ(0, run.unscripted) << Describe(run.boxes);
        return run;
    }

    std::string Log() const { return Text(ReadBytes(work + "run.log")); }

    void ExpectFinal(const ProgramRunResult& run, const std::string& text) const
    {
        ASSERT_FALSE(run.boxes.empty());
        EXPECT_EQ("Information", run.boxes.back().caption);
        EXPECT_EQ(Text(text), run.boxes.back().text) << Describe(run.boxes) << Log();
    }
};

// --- Every way out of a run ---

TEST_F(UpdateRunTest, WithoutATunnelClientOrRegisteredControlOnlyAnErrorIsShown)
{
    Scenario({"ctl.ocx"}, 1, "");
    ProgramRunResult run = Update({Answer::Ok});
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ("Error", run.boxes[0].caption);
    EXPECT_EQ(Text(texts.NOT_FOUND_RUNNING_WARDEN), run.boxes[0].text);
    EXPECT_EQ("", ResultProgramsStarted());

    Scenario({"ctl.ocx"});  // a class that nobody registered
    run = Update({Answer::Ok});
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_TRUE(Contains(run.boxes[0].text, "CLSID: " + clsid.Braced() + ")."));
    EXPECT_EQ("", ResultProgramsStarted());
    EXPECT_EQ(0u, run.exitCode);
}

TEST_F(UpdateRunTest, MissingTunnelSettingsEndTheRunAsFailed)
{
    OneNewerControl();
    NoTunnelSettings();
    ProgramRunResult run = Update({Answer::Ok, Answer::Ok});
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_TRUE(Contains(run.boxes[0].text, client + "warden.cfg"));
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_EQ("notok", ResultProgramsStarted());
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx", "1_0_0_0"));
}

TEST_F(UpdateRunTest, NothingNewerIsASuccessWithoutCopies)
{
    OneControl("2_0_0_0", "1_2_0_0");
    ProgramRunResult run = Update({Answer::Ok});
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    ExpectFinal(run, texts.ALL_OK);
    EXPECT_TRUE(run.progress.empty());
    EXPECT_EQ("ok", ResultProgramsStarted());
    EXPECT_FALSE(Exists(client + "ctl.bak"));
    EXPECT_TRUE(Exists(work + "ctl.ocx"));
    EXPECT_TRUE(Exists(client + "warden.bak"));
    EXPECT_TRUE(Contains(ReadBytes(client + "warden.cfg"), "web server host=" + NewHost));
    EXPECT_TRUE(Contains(Log(), "Stop modul wardlink.exe"));
}

TEST_F(UpdateRunTest, DecliningToCloseTheApplicationsChangesNoFile)
{
    OneNewerControl();
    StandIn holder(BinDir() + "holder.exe", {client + "ctl.ocx"});
    ProgramRunResult run = Update({Answer::Cancel, Answer::Ok});
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(u8"Внимание", run.boxes[0].caption);
    EXPECT_TRUE(Contains(run.boxes[0].text, "holder.exe"));
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_TRUE(holder.Running());
    EXPECT_EQ("notok", ResultProgramsStarted());
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx", "1_0_0_0"));
    EXPECT_TRUE(Contains(Log(), "End CheckProcesses Result: FALSE"));
}

TEST_F(UpdateRunTest, ASourceMissingAtTheVersionCheckFailsTheRun)
{
    OneNewerControl();
    Scenario({"ctl.ocx", "gone.dll"});
    ProgramRunResult run = Update({Answer::Ok, Answer::Ok});
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(Text(FormatText(texts.NOT_FOUND_FILE, {"gone.dll"})), run.boxes[0].text);
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_EQ("notok", ResultProgramsStarted());
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx", "1_0_0_0"));
}

TEST_F(UpdateRunTest, ASourceThatVanishesBeforeItsCopyFailsTheRunAndRestores)
{
    Control(client, "a.ocx", "1_0_0_0");
    RegisterClass(client + "a.ocx");
    WardenCfg();
    Control(work, "a.ocx", "2_0_0_0");
    Control(work, "b.ocx", "2_0_0_0");
    Scenario({"a.ocx", "b.ocx"});
    StandIn holder(BinDir() + "holder.exe", {client + "a.ocx"});
    // While the user is asked to close the applications, the second source goes.
    ProgramRunResult run = Update({Answer::Ok, Answer::Ok, Answer::Ok}, [&](const BoxRecord& box) {
        if (box.caption == u8"Внимание")
            ::DeleteFileA((work + "b.ocx").c_str());
    });
    ASSERT_EQ(3u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_TRUE(Contains(run.boxes[1].text, "b.ocx"));
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_EQ("notok", ResultProgramsStarted());
    EXPECT_TRUE(HoldsControl(client + "a.ocx", "1_0_0_0"));
    EXPECT_FALSE(Exists(client + "a.bak"));
    EXPECT_FALSE(Exists(client + "b.ocx"));
    EXPECT_EQ(client + "a.ocx", RegisteredPath());
    std::string log = Log();
    EXPECT_TRUE(Contains(log, "Not found modul: b.ocx"));
    EXPECT_FALSE(Contains(log, "Operation fail, start restore"));
}

TEST_F(UpdateRunTest, AllCopiesDoneReplaceBackUpRegisterAndDeleteTheSources)
{
    OneNewerControl();
    Control(client, "lib.dll", "1_0_0_0");
    WriteBytes(client + "ctl.bak", "a backup of an earlier run");
    Control(work, "lib.dll", "3_1_4_1");
    Control(work, "new.ocx", "1_0_0_0");
    Scenario({"ctl.ocx", "lib.dll", "new.ocx"});
    ProgramRunResult run = Update({Answer::Ok});
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    ExpectFinal(run, texts.ALL_OK);
    // The registrations take seconds: the window is seen naming both controls, and gone before the box.
    EXPECT_TRUE(ProgressShowed(run, "ctl.ocx") && ProgressShowed(run, "new.ocx"));
    EXPECT_TRUE(ProgressShowed(run, Text(ProgressCountText(3, 3))));
    EXPECT_FALSE(run.boxes[0].progressShown);
    EXPECT_EQ("ok", ResultProgramsStarted());
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx", "2_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "ctl.bak", "1_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "lib.bak", "1_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "lib.dll", "3_1_4_1"));
    EXPECT_TRUE(Exists(client + "new.ocx"));
    EXPECT_FALSE(Exists(client + "new.bak"));
    // Registered again by the program: the last registration is the new control's.
    EXPECT_EQ(client + "new.ocx", RegisteredPath());
    for (const char* source : {"ctl.ocx", "lib.dll", "new.ocx"})
        EXPECT_FALSE(Exists(work + source)) << source;
    std::string log = Log();
    EXPECT_TRUE(Contains(log, "Create backup: " + client + "ctl.bak"));
    EXPECT_TRUE(Contains(log, "Delete file: lib.dll"));
    EXPECT_TRUE(Contains(log, "regsvr32.exe \"" + client + "ctl.ocx\" /u /s"));
}

TEST_F(UpdateRunTest, WithRemoveBackupOffTheSourcesStay)
{
    OneNewerControl();
    Scenario({"ctl.ocx"}, 0);
    ProgramRunResult run = Update({Answer::Ok});
    ExpectFinal(run, texts.ALL_OK);
    EXPECT_TRUE(Exists(work + "ctl.ocx"));
    EXPECT_TRUE(ReadBytes(work + "ctl.ocx") == ReadBytes(client + "ctl.ocx"));
}

// --- Copy failures, retry and restore ---

TEST_F(UpdateRunTest, ACopyThatFailsOnceSucceedsInTheSecondCycleAfterOk)
{
    TwoNewerFiles();
    HeldFile locked(work + "b.dll", true);
    ProgramRunResult run = Update({Answer::Ok, Answer::Ok}, [&](const BoxRecord& box) {
        if (box.caption == u8"Внимание!")
            locked.Release();
    });
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(Text(texts.COPY_ERROR), run.boxes[0].text);
    EXPECT_EQ((std::vector<std::string>{"OK", "Cancel"}), run.boxes[0].buttons);
    EXPECT_TRUE(run.boxes[0].progressShown);
    EXPECT_TRUE(ProgressShowed(run, Text(ProgressStepText(TProgressStep::Restoring))));
    EXPECT_FALSE(run.boxes[1].progressShown);
    ExpectFinal(run, texts.ALL_OK);
    EXPECT_TRUE(HoldsControl(client + "b.dll", "2_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "a.bak", "1_0_0_0"));
    std::string log = Log();
    EXPECT_TRUE(Contains(log, "Start cycle number 2"));
    EXPECT_TRUE(Contains(log, "Rename \"" + client + "a.bak\" to \"" + client + "a.ocx\""));
}

TEST_F(UpdateRunTest, CancelAtTheCopyErrorRestoresEveryFile)
{
    TwoNewerFiles();
    HeldFile locked(work + "b.dll", true);
    ProgramRunResult run = Update({Answer::Cancel, Answer::Ok});
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_EQ("notok", ResultProgramsStarted());
    ExpectTwoFilesPutBack();
    EXPECT_EQ(client + "a.ocx", RegisteredPath());
    EXPECT_FALSE(Contains(Log(), "Start cycle number 2"));
    EXPECT_TRUE(Exists(work + "a.ocx"));
}

TEST_F(UpdateRunTest, ASecondFailureRestoresEveryDestinationByteForByte)
{
    TwoNewerFiles();
    HeldFile locked(work + "b.dll", true);
    ProgramRunResult run = Update({Answer::Ok, Answer::Ok});
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    ExpectTwoFilesPutBack();
    EXPECT_EQ("notok", ResultProgramsStarted());
    std::string log = Log();
    EXPECT_TRUE(Contains(log, "Start cycle number 2"));
    EXPECT_TRUE(Contains(log, "Operation fail, start restore"));
}

// --- The tunnel client ---

TEST_F(UpdateRunTest, TheTunnelClientIsClosedForTheCopyAndStartedAgainFromItsPath)
{
    // The registered control lives elsewhere: the running tunnel client decides the directory.
    OneNewerControl();
    std::string elsewhere = install.Root() + "elsewhere\\";
    MakeDirectory(elsewhere);
    Control(elsewhere, "ctl.ocx", "1_0_0_0");
    RegisterClass(elsewhere + "ctl.ocx");
    CopyFixture("wardlink.exe", client, "wardlink.exe");
    StandIn warden(client + "wardlink.exe", {client + "ctl.ocx"});
    ASSERT_TRUE(warden.Running());

    ProgramRunResult run = Update({Answer::Ok, Answer::Ok});
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_TRUE(Contains(run.boxes[0].text, Text(texts.WARDEN_CLIENT_NAME)));
    ExpectFinal(run, texts.ALL_OK);
    EXPECT_FALSE(warden.Running());
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx", "2_0_0_0"));
    EXPECT_TRUE(HoldsControl(elsewhere + "ctl.ocx", "1_0_0_0"));
    EXPECT_TRUE(WaitUntil([&] { return !ProcessesStartedFrom(client + "wardlink.exe").empty(); }, 15000, 50));
    std::string log = Log();
    EXPECT_TRUE(Contains(log, "Get warden full name: " + client + "wardlink.exe"));
    EXPECT_TRUE(Contains(log, "Autostart modul: " + client + "wardlink.exe"));
    EXPECT_TRUE(Contains(log, "Start module " + client + "wardlink.exe"));
}

TEST_F(UpdateRunTest, AfterAFailureTheTunnelClientIsNotTouched)
{
    OneNewerControl();
    NoTunnelSettings();  // the settings correction fails
    CopyFixture("wardlink.exe", client, "wardlink.exe");
    StandIn warden(client + "wardlink.exe", {});
    ProgramRunResult run = Update({Answer::Ok, Answer::Ok});
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_TRUE(warden.Running());
    EXPECT_FALSE(Contains(Log(), "Stop modul wardlink.exe"));
}

// --- Faults: nothing of the customer's may be lost ---

TEST_F(UpdateRunTest, AReadOnlyDestinationIsReplacedAndKeptAsBackup)
{
    Control(client, "lib.dll", "1_0_0_0");
    ::SetFileAttributesA((client + "lib.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    Control(client, "ctl.ocx", "1_0_0_0");
    RegisterClass(client + "ctl.ocx");
    WardenCfg();
    Control(work, "lib.dll", "2_0_0_0");
    Scenario({"lib.dll"});
    ProgramRunResult run = Update({Answer::Ok});
    ExpectFinal(run, texts.ALL_OK);
    EXPECT_TRUE(HoldsControl(client + "lib.dll", "2_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "lib.bak", "1_0_0_0"));
}

TEST_F(UpdateRunTest, ADestinationThatCannotBeBackedUpIsNeverOverwritten)
{
    Control(client, "lib.dll", "1_0_0_0");
    Control(client, "ctl.ocx", "1_0_0_0");
    RegisterClass(client + "ctl.ocx");
    WardenCfg();
    Control(work, "lib.dll", "2_0_0_0");
    Scenario({"lib.dll"});
    HeldFile held(client + "lib.dll", false);  // readable, but neither renamed nor replaced
    ProgramRunResult run = Update({Answer::Ok, Answer::Ok});
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(u8"Внимание!", run.boxes[0].caption);
    EXPECT_TRUE(run.boxes[0].progressShown);  // up from the start of the cycle, before any step
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    held.Release();
    EXPECT_TRUE(HoldsControl(client + "lib.dll", "1_0_0_0"));
    std::string log = Log();
    EXPECT_TRUE(Contains(log, "Error create backup: " + client + "lib.bak Error: "));
    EXPECT_FALSE(Contains(log, "Start copy: lib.dll"));
    EXPECT_TRUE(Contains(log, "Operation fail, start restore"));
}

// Both were kept as ctl.bak, and the entry listed twice backed up its own new copy.
TEST_F(UpdateRunTest, FilesSharingABackupNameAreEachKeptAndPutBack)
{
    OneNewerControl();
    Control(client, "ctl.dll", "1_2_0_0");
    Control(work, "ctl.dll", "2_0_0_0");
    Scenario({"ctl.ocx", "ctl.dll", "ctl.ocx"});
    HeldFile locked(work + "ctl.dll", true);
    ExpectFinal(Update({Answer::Cancel, Answer::Ok}), texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx", "1_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "ctl.dll", "1_2_0_0"));
    locked.Release();
    ExpectFinal(Update({Answer::Ok}), texts.ALL_OK);
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx.bak", "1_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "ctl.dll.bak", "1_2_0_0"));
}

TEST_F(UpdateRunTest, AFailingRegistrationIsLoggedAndTheRunSucceeds)
{
    OneControl("noversion", "failing");
    ProgramRunResult run = Update({Answer::Ok});
    ExpectFinal(run, texts.ALL_OK);
    EXPECT_TRUE(HoldsControl(client + "ctl.ocx", "failing"));
    std::string log = Log();
    EXPECT_TRUE(Contains(log, "End RegisterOCX: TRUE"));
    EXPECT_TRUE(std::regex_search(log, std::regex("End CreateProcess RetCode: [1-9][0-9]*\r\n")));
}

// The update of a control and a library ended, as by a power loss or the task manager, at
// instants of its run: every original stays under its name or its backup name, and the next
// run, from a fresh download, repairs what the journal names and finishes the update.
TEST_F(UpdateRunTest, AnUpdaterKilledInTheMiddleLeavesEveryFileAndTheNextRunCompletes)
{
    const std::string a = client + "a.ocx";
    auto logHas = [&](const std::string& text) { return Contains(ReadBytes(work + "run.log"), text); };
    // Under Wine a program ended inside CreateProcess leaves its child hung: no instant falls there.
    enum Download { AsIs, ALocked, BUndeletable, ALarge };  // during the run that is ended
    const struct {
        const char* instant;
        Download download;
        std::function<bool()> reached;
    } sweep[] = {
        {"a.ocx unregistered", AsIs, [&] { return logHas("Start UnRegisterOCX") && RegisteredPath().empty(); }},
        {"a.ocx backed up, not copied", ALocked, [&] { return logHas("Copy FALSE"); }},
        {"a.ocx being copied", ALarge, [&] { return Exists(client + "a.bak") && Exists(a); }},
        {"a.ocx registered again", AsIs, [&] { return logHas("Start RegisterOCX: " + a) && RegisteredPath() == a; }},
        {"source a.ocx deleted, b.dll not", BUndeletable, [&] { return logHas("Result run modul"); }},
    };
    for (const auto& at : sweep) {
        SCOPED_TRACE(at.instant);
        TwoNewerFiles();
        if (at.download == ALarge)  // a copy that lasts
            WriteBytes(work + "a.ocx", ReadBytes(work + "a.ocx") + std::string(64 << 20, '\0'));
        const std::string newA = ReadBytes(work + "a.ocx");
        const std::string newB = ReadBytes(work + "b.dll");
        ::DeleteFileA((work + "run.log").c_str());  // the last run's lines are no instant of this one
        {
            HeldFile held(at.download == ALocked ? work + "a.ocx" : at.download == BUndeletable ? work + "b.dll" : "",
                          at.download == ALocked);
            ProgramRunResult cut = install.Run("-c=scen.ini -l=run.log", {}, nullptr, 60000, at.reached);
            ASSERT_TRUE(cut.ended) << Describe(cut.boxes) << Log();
        }
        EXPECT_TRUE(HoldsControl(a, "1_0_0_0") || HoldsControl(client + "a.bak", "1_0_0_0"));
        EXPECT_TRUE(HoldsControl(client + "b.dll", "1_2_0_0") || HoldsControl(client + "b.bak", "1_2_0_0"));
        EXPECT_TRUE(at.download != ALarge || !Exists(a) || ReadBytes(a) != newA) << "the copy was done";

        WriteBytes(work + "a.ocx", newA);
        WriteBytes(work + "b.dll", newB);
        ExpectFinal(Update({Answer::Ok}), texts.ALL_OK);
        EXPECT_TRUE(at.download == BUndeletable || Contains(Log(), "Start RecoverInterruptedUpdate: " + client));
        EXPECT_TRUE(ReadBytes(a) == newA);
        EXPECT_TRUE(ReadBytes(client + "b.dll") == newB);
        EXPECT_TRUE(HoldsControl(client + "a.bak", "1_0_0_0"));
        EXPECT_TRUE(HoldsControl(client + "b.bak", "1_2_0_0"));
        EXPECT_EQ(a, RegisteredPath());
        EXPECT_EQ(TJournal::TFound::None, TJournal().Load());
        ::DeleteFileA((client + "a.bak").c_str());
        ::DeleteFileA((client + "b.bak").c_str());
    }
}

// --- The server dialog, when the scenario names no new host ---

namespace {

// Fills the program's server dialog like a user: new host and tunnel address, then
// the button (accept or decline). Runs beside the box driver; bounded. What the
// dialog shows first goes to `shown`: its caption, then the texts of its labels,
// buttons and comment in the order of their control ids, in UTF-8.
void AnswerServerDialog(const std::string& host, const std::string& tunnel, bool accept,
                        std::vector<std::string>* shown)
{
    for (int tries = 0; tries < 600; ++tries, ::Sleep(100)) {
        HWND dialog = ::FindWindowA("TWardCfgUpWindow", nullptr);
        if (!dialog || !::IsWindowVisible(dialog))
            continue;
        HWND hostField = ::GetDlgItem(dialog, NewHostFieldId);
        HWND tunnelField = ::GetDlgItem(dialog, LocationFieldId);
        HWND button = ::GetDlgItem(dialog, accept ? AcceptButtonId : DeclineButtonId);
        if (!hostField || !tunnelField || !button)
            continue;
        if (shown) {
            shown->push_back(WindowTextUtf8(dialog));
            for (int id : {ServerLabelId, NewHostLabelId, LocationLabelId, ReserveLabelId, AcceptButtonId,
                           DeclineButtonId, CommentId})
                shown->push_back(WindowTextUtf8(::GetDlgItem(dialog, id)));
        }
        DWORD_PTR result;
        ::SendMessageTimeoutA(hostField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(host.c_str()), SMTO_ABORTIFHUNG,
                              5000, &result);
        ::SendMessageTimeoutA(tunnelField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tunnel.c_str()),
                              SMTO_ABORTIFHUNG, 5000, &result);
        ::PostMessageA(button, BM_CLICK, 0, 0);
        return;
    }
}

}  // namespace

TEST_F(UpdateRunTest, WithoutHostsInTheScenarioTheUserNamesTheNewServerInTheDialog)
{
    OneControl("2_0_0_0", "1_0_0_0", false);
    std::thread user(AnswerServerDialog, NewHost, "tun2.example:9443", true, nullptr);
    ProgramRunResult run = Update({Answer::Ok});
    user.join();
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    ExpectFinal(run, texts.ALL_OK);
    std::string cfg = ReadBytes(client + "warden.cfg");
    EXPECT_TRUE(Contains(cfg, "[Client\\Web servers\\s2]\r\nweb server host=" + NewHost +
                                  "\r\nweb server address=\r\nwarden location=tun2.example:9443\r\n"))
        << cfg;
}

TEST_F(UpdateRunTest, DecliningTheDialogLeavesTheSettingsAndFailsTheRun)
{
    OneControl("2_0_0_0", "1_0_0_0", false);
    std::string before = ReadBytes(client + "warden.cfg");
    std::thread user(AnswerServerDialog, NewHost, "tun2.example:9443", false, nullptr);
    ProgramRunResult run = Update({Answer::Ok});
    user.join();
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    ExpectFinal(run, texts.NEW_WEB_HOST_DIALOG_CANCEL);
    EXPECT_EQ(before, ReadBytes(client + "warden.cfg"));
    EXPECT_EQ(before, ReadBytes(client + "warden.bak"));
    EXPECT_EQ("notok", ResultProgramsStarted());
}

// --- Every customer's Windows ---

// The same run in the Russian locale and where programs that are not Unicode
// get code page 1252 (a Russian Windows set to English for them): the server
// dialog, the progress window and a box with a text of the scenario read right
// in both, and the run stores the same bytes (the system's messages in the log
// included), but for what the user typed, stored in the system's code page as ever.
TEST_F(UpdateRunTest, TextsReadRightWhateverCodePageTheSystemKeepsAndTheRunStoresTheSame)
{
    const std::string done = "Обновление завершено: «ё» и №";  // letters that code pages place apart
    const std::string typed = "tun€.example:9443";  // "€": 0x88 in code page 1251, 0x80 in 1252
    struct Seen {
        std::vector<std::string> dialog;
        std::vector<std::string> progress;  // the view at the registration
        std::vector<BoxRecord> boxes;
        std::string log;  // its entries without their time stamps
        std::string settings;
    };
    auto runUnder = [&](const std::string& locale) {
        // The same client for each run: a control replaced and registered (seconds, for the window to be seen).
        ::DeleteFileA((client + "ctl.bak").c_str());
        ::DeleteFileA((client + "warden.bak").c_str());
        OneControl("1_0_0_0", "2_0_0_0", false, "[Messages]\r\nALL_OK=" + done + "\r\n");
        install.SetSystemLocale(locale);
        Seen seen;
        std::thread user(AnswerServerDialog, NewHost, typed, true, &seen.dialog);
        ProgramRunResult run = Update({Answer::Ok});
        user.join();
        for (const ProgressRecord& view : run.progress)
            if (view.lines.size() > 1 && view.lines[1] == Text(ProgressStepText(TProgressStep::Registering)))
                seen.progress = view.lines;
        seen.boxes = run.boxes;
        for (const std::string& entry : LogEntries(work + "run.log"))
            seen.log += entry + "\n";
        seen.settings = ReadBytes(client + "warden.cfg");
        return seen;
    };
    const Seen russian = runUnder("");
    const Seen western = runUnder("C.UTF-8");

    std::vector<std::string> dialog;
    for (const char* key : {"DialogCaption", "OldWebServHostLabelCaption", "NewWebServHostLabelCaption",
                            "NewWardLocLabelCaption", "NewReserveWardLocLabelCaption", "AcceptButtonCaption",
                            "DeclineButtonCaption", "CommentLabelText"})
        dialog.push_back(Text(texts.DialogCaptions.ValueOf(key)));
    for (const Seen* run : {&russian, &western}) {
        EXPECT_EQ(dialog, run->dialog);
        EXPECT_EQ((std::vector<std::string>{u8"Идёт обновление. Дождитесь его окончания и не выключайте компьютер.",
                                            Text(ProgressStepText(TProgressStep::Registering)), "ctl.ocx",
                                            Text(ProgressCountText(1, 1))}),
                  run->progress);
        ASSERT_EQ(1u, run->boxes.size()) << Describe(run->boxes);
        EXPECT_EQ(Text(done), run->boxes[0].text);
    }
    EXPECT_TRUE(Contains(russian.settings, "web server host=" + NewHost + "\r\nweb server address=\r\n"
                                                                           "warden location=tun\x88.example:9443\r\n"));
    auto inCodePage1251 = [](const std::string& text) { return ReplaceAll(text, "\x80", "\x88"); };
    EXPECT_EQ(russian.log, inCodePage1251(western.log));
    EXPECT_EQ(russian.settings, inCodePage1251(western.settings));
    EXPECT_TRUE(Contains(western.settings, "warden location=tun\x80.example:9443\r\n"));
}
