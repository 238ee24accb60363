// The update run in process, for what an end-to-end run cannot provoke: an
// exception that escapes the main stage, every step the progress window is given,
// and the journal's part in the cycle.
#include "CfgUnit/Configurator.h"
#include "common/FormatText.h"

#include "support/FailingAllocation.h"
#include "support/FakeUserInterface.h"
#include "support/StandIns.h"
#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <stdexcept>
#include <tuple>

class UpdateCycleTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string client = dir / "client\\";
    std::string work = dir / "work\\";
    ScratchClsid clsid;
    std::optional<CurrentDirectory> current;
    FakeUserInterface ui;
    GlobalProcessSearcher searcher;
    TConfigurator cfg;
    std::string journalKey = ScratchJournalKey();

    void SetUp() override
    {
        MakeDirectory(client);
        MakeDirectory(work);
        current.emplace(work);
        InstallTestControl("1_0_0_0", client, "a.ocx", clsid);
        InstallTestControl("2_0_0_0", work, "a.ocx", clsid);
        SetServerValue(clsid, client + "a.ocx");
        WriteBytes(client + "warden.cfg", "[Client\\Web servers\\s1]\r\nweb server host=old.example\r\n"
                                          "warden location=tun.example:81\r\n");
        CopyFixture("exitprobe.exe", dir.Path(), "ok.exe");
        CopyFixture("exitprobe.exe", dir.Path(), "notok.exe");
        cfg.AxClsid = clsid.Braced();
        cfg.SourceFiles.Add("a.ocx");
        cfg.RunOkModules.Add(dir / "ok.exe=0");
        cfg.RunNotOkModules.Add(dir / "notok.exe=0");
        cfg.OpenLog(dir / "run.log");
        cfg.Journal = TJournal(journalKey);
    }

    bool Started(const std::string& program) { return !AwaitProbeCalls(dir / (program + ".calls"), 5000).empty(); }
};

TEST_F(UpdateCycleTest, AnExceptionInTheSettingsCorrectionEndsTheRunAsFailed)
{
    ui.dialog = [](TConfigurator&, StringList&, int&, int&) -> bool { throw std::runtime_error("dialog"); };
    ui.answers = {IDOK};
    EXPECT_THROW(cfg.RunUpdate(), std::runtime_error);
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ("Information", ui.boxes[0].caption);
    EXPECT_EQ(cfg.NEW_WEB_HOST_DIALOG_CANCEL, ui.boxes[0].text);
    EXPECT_TRUE(Started("notok"));
    EXPECT_FALSE(Exists(dir / "ok.exe.calls"));
    EXPECT_EQ(ReadBytes(BinDir() + "testcontrol_1_0_0_0.ocx"), ReadBytes(client + "a.ocx"));
}

TEST_F(UpdateCycleTest, AnExceptionInTheCopyCyclePutsBackWhatWasReplaced)
{
    InstallTestControl("1_2_0_0", client, "b.dll", clsid);
    InstallTestControl("2_0_0_0", work, "b.dll", clsid);
    cfg.SourceFiles.Add("b.dll");
    cfg.WebServersHosts.Add("old.example=new.example");
    HeldFile locked(work + "b.dll", true);
    // The copy of b.dll fails; the question whether to try again never returns.
    ui.onBox = [](const ShownBox& box) {
        if (box.caption == "Внимание!")
            throw std::runtime_error("retry");
    };
    ui.answers = {IDOK};

    EXPECT_THROW(cfg.RunUpdate(), std::runtime_error);
    locked.Release();
    ASSERT_EQ(2u, ui.boxes.size());
    EXPECT_EQ(cfg.NEW_WEB_HOST_DIALOG_CANCEL, ui.boxes[1].text);
    ASSERT_FALSE(ui.progress.empty());
    EXPECT_EQ(TProgressStep::Restoring, ui.progress.back().step);
    EXPECT_EQ("b.dll", ui.progress.back().file);
    EXPECT_EQ(1, ui.boxesAtProgressClose);  // up through the question and the restore, gone before the closing box
    EXPECT_EQ(ReadBytes(BinDir() + "testcontrol_1_0_0_0.ocx"), ReadBytes(client + "a.ocx"));
    EXPECT_EQ(ReadBytes(BinDir() + "testcontrol_1_2_0_0.ocx"), ReadBytes(client + "b.dll"));
    EXPECT_FALSE(Exists(client + "a.bak"));
    EXPECT_FALSE(Exists(client + "b.bak"));
    EXPECT_TRUE(Started("notok"));
}

// With the bank's key a source missing at the check is left to the run; one
// that comes before its copy was never checked, whatever it holds: its copy
// fails as a failed copy does, and every file goes back.
TEST_F(UpdateCycleTest, WithTheBanksKeyASourceThatCameAfterTheCheckIsNeverInstalled)
{
    for (const char* name : {"a.dll", "b.dll"}) {  // no control: the run registers nothing, and takes no seconds
        InstallTestControl("1_2_0_0", client, name, clsid);
        InstallTestControl("2_0_0_0", work, name, clsid);
    }
    cfg.ScenarioPath = dir / "scen.ini";
    WriteBytes(cfg.ScenarioPath, "[WardCfgUp]\r\nAXCLSID=" + clsid.Braced() +
                                     "\r\nFILE1=a.dll\r\nFILE2=b.dll\r\n[WEB SERVERS HOSTS]\r\nold.example=new.example\r\n");
    ASSERT_TRUE(SignUpdate(cfg.ScenarioPath, work));
    const std::string signedB = ReadBytes(work + "b.dll");
    ::DeleteFileA((work + "b.dll").c_str());
    cfg.SignedUpdate = TSignedUpdate(BuiltInUpdateKey);
    ASSERT_TRUE(cfg.ReadTrustedScenario());
    WriteBytes(work + "b.dll", signedB);
    ui.answers = {IDCANCEL, IDOK};

    cfg.RunUpdate();
    ASSERT_EQ(2u, ui.boxes.size());
    EXPECT_EQ(cfg.COPY_ERROR, ui.boxes[0].text);
    EXPECT_EQ(cfg.NEW_WEB_HOST_DIALOG_CANCEL, ui.boxes[1].text);
    for (const char* name : {"a.dll", "b.dll"})
        EXPECT_EQ(ReadBytes(BinDir() + "testcontrol_1_2_0_0.ocx"), ReadBytes(client + name)) << name;
    EXPECT_FALSE(Exists(client + "a.bak") || Exists(client + "b.bak"));
    const std::string log = ReadBytes(dir / "run.log");
    EXPECT_NE(std::string::npos, log.find("Copy TRUE\r\n"));  // a.dll, put back
    EXPECT_NE(std::string::npos, log.find("Copy FALSE: b.dll was not checked against its hash"));
    EXPECT_TRUE(Started("notok"));
}

// Names that a file of the run or the settings backup already has are not taken.
TEST_F(UpdateCycleTest, NoTwoFilesOfARunShareABackupName)
{
    cfg.DestDir = client;
    cfg.SourceFiles.Add("x.bak");
    cfg.SourceFiles.Add("warden.dll");
    EXPECT_EQ(client + "a.bak", cfg.BackupName(client + "a.ocx"));
    EXPECT_EQ(client + "x.bak.bak", cfg.BackupName(client + "x.bak"));
    EXPECT_EQ(client + "warden.dll.bak", cfg.BackupName(client + "warden.dll"));
}

// An exception after the last copy (in the deletion of the sources, the
// autostart) leaves the done update a success: the restore on its way out puts
// nothing back, and the closing steps run as after one.
TEST_F(UpdateCycleTest, AnExceptionAfterTheCopiesEndsTheRunAsTheSuccessItIs)
{
    cfg.WebServersHosts.Add("old.example=new.example");
    const std::string huge(10 << 20, 'x');  // no other allocation of the program has its size
    cfg.AutostartList.Add(huge);
    FailNextAllocationOf(std::string("Autostart modul: ").size() + huge.size() + 1);
    ui.answers = {IDOK};
    EXPECT_THROW(cfg.RunUpdate(), std::bad_alloc);
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(cfg.ALL_OK, ui.boxes[0].text);
    EXPECT_TRUE(Started("ok"));
    EXPECT_FALSE(Exists(dir / "notok.exe.calls"));
    EXPECT_EQ(ReadBytes(BinDir() + "testcontrol_2_0_0_0.ocx"), ReadBytes(client + "a.ocx"));
    EXPECT_EQ(ReadBytes(BinDir() + "testcontrol_1_0_0_0.ocx"), ReadBytes(client + "a.bak"));
}

// A control takes three steps of the bar, another file one; a control not yet installed is not unregistered.
TEST_F(UpdateCycleTest, TheProgressWindowIsGivenEveryStepAndGoesBeforeTheClosingBox)
{
    InstallTestControl("2_0_0_0", work, "b.ocx", clsid);
    InstallTestControl("2_0_0_0", work, "c.dll", clsid);
    cfg.SourceFiles.Add("b.ocx");
    cfg.SourceFiles.Add("c.dll");
    cfg.WebServersHosts.Add("old.example=new.example");
    ui.answers = {IDOK};
    cfg.RunUpdate();
    using S = TProgressStep;
    std::vector<std::tuple<S, std::string, int, int, int, int>> seen;  // step, file, N, M, bar
    for (const TProgressState& s : ui.progress)
        seen.emplace_back(s.step, s.file, s.fileNumber, s.fileCount, s.stepsDone, s.stepCount);
    EXPECT_EQ((decltype(seen){{S::Preparing, "", 0, 0, 0, 7},
                              {S::Unregistering, "a.ocx", 1, 3, 0, 7},
                              {S::Replacing, "a.ocx", 1, 3, 1, 7},
                              {S::Registering, "a.ocx", 1, 3, 2, 7},
                              {S::Replacing, "b.ocx", 2, 3, 4, 7},
                              {S::Registering, "b.ocx", 2, 3, 5, 7},
                              {S::Replacing, "c.dll", 3, 3, 6, 7},
                              {S::RestartingWarden, "", 0, 0, 7, 7}}),
              seen);
    EXPECT_EQ(0, ui.boxesAtProgressClose);
    EXPECT_EQ(1u, ui.boxes.size());
}

// No tunnel client runs and the control is not registered: only the journal of an
// interrupted update names the client, and only when its folder exists.
TEST_F(UpdateCycleTest, AnInterruptedUpdateNamesTheClientWhenNothingElseDoes)
{
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, clsid.ServerKey().c_str());
    cfg.WebServersHosts.Add("old.example=new.example");
    ui.answers = {IDOK, IDOK};
    TJournal(journalKey).Begin(dir / "gone\\", {});
    cfg.RunUpdate();
    TJournal(journalKey).Begin(client, {});
    cfg.RunUpdate();
    ASSERT_EQ(2u, ui.boxes.size());
    EXPECT_EQ(FormatText(cfg.ERROR_FIND_ACTIVEX_DIR, {cfg.AxClsid}), ui.boxes[0].text);
    EXPECT_EQ(cfg.ALL_OK, ui.boxes[1].text);
    EXPECT_EQ(ReadBytes(BinDir() + "testcontrol_2_0_0_0.ocx"), ReadBytes(client + "a.ocx"));
}

// Restore records that a copy is gone before it puts the backup back: a recovery
// after the rename must not take the original for a cut-off copy. A backup it
// cannot put back keeps the journal, for the next run's recovery (Journal_test:
// "unrenamed.dll").
TEST_F(UpdateCycleTest, ARestoreThatCannotPutTheOriginalBackKeepsTheJournal)
{
    cfg.DestDir = client;
    const std::string original = ReadBytes(client + "a.ocx");
    ASSERT_TRUE(::MoveFileA((client + "a.ocx").c_str(), (client + "a.bak").c_str()));
    WriteBytes(client + "a.ocx", "the new copy");
    cfg.Journal.Begin(client, {{client + "a.ocx", client + "a.bak", false, TJournal::TStep::Copied}});
    cfg.RestoreList.Add(client + "a.ocx");
    {
        HeldFile held(client + "a.bak", false);
        EXPECT_FALSE(cfg.Restore());
    }
    EXPECT_FALSE(Exists(client + "a.ocx"));
    EXPECT_EQ(original, ReadBytes(client + "a.bak"));
    TJournal left(journalKey);
    ASSERT_EQ(TJournal::TFound::Found, left.Load());
    EXPECT_EQ(TJournal::TStep::PuttingBack, left.Files()[0].step);
    EXPECT_FALSE(left.Settled());
    left.Remove();
}
