// The plan in process: the server dialog it reports instead of showing, and the box it is cut to.
#include "plan/Plan.h"

#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"

#include "support/FakeUserInterface.h"
#include "support/SettingsFiles.h"
#include "support/StandIns.h"
#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

class PlanTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeUserInterface ui;
    GlobalProcessSearcher searcher;
    const std::string journalKey = ScratchJournalKey();
    TConfigurator cfg;
    const std::string client = dir / "client\\";

    void SetUp() override
    {
        cfg.Journal = TJournal(journalKey);
        MakeDirectory(client);
    }
};

TEST_F(PlanTest, AnEmptyHostListIsPlannedAsTheDialogWithTheServersItWouldList)
{
    ScratchClsid clsid;
    SetServerValue(clsid, client + "ctl.ocx");
    cfg.AxClsid = clsid.Braced();
    WriteBytes(client + "warden.cfg",
               IniText({{"Client\\Web servers\\s1", {"web server host=a.example", "warden location=t1.example"}},
                        {"Client\\Web servers\\s2", {"web server host=b.example", "warden location=t2.example"}}}));
    const std::string settings = ReadBytes(client + "warden.cfg");

    const TPlan plan = MakePlan(cfg);
    EXPECT_TRUE(plan.succeeds) << plan.text;
    EXPECT_NE(std::string::npos,
              plan.text.find("would ask for the new server in the dialog, which would list:\r\n    a.example\r\n"
                             "    b.example\r\n"))
        << plan.text;
    EXPECT_EQ(0, ui.dialogCalls);  // the interface in place before the plan is back, and saw nothing
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(settings, ReadBytes(client + "warden.cfg"));
    EXPECT_FALSE(Exists(client + "warden.bak"));
}

TEST_F(PlanTest, AnInterruptedUpdateIsNamedWithWhatItsRecoveryWouldDoAndItsJournalIsOnlyRead)
{
    WriteBytes(client + "ctl.ocx", "cut off");
    WriteBytes(client + "ctl.bak", "original");
    TJournal(journalKey).Begin(client, {{client + "ctl.ocx", client + "ctl.bak", true, TJournal::TStep::Copying}});

    const TPlan plan = MakePlan(cfg);

    EXPECT_NE(std::string::npos,
              plan.text.find("An interrupted update is finished first in " + client +
                             " (1 file); this plan shows the client as it is now\r\n"
                             "  would delete the cut-off copy " + client + "ctl.ocx\r\n"
                             "  would rename " + client + "ctl.bak back to " + client + "ctl.ocx\r\n"
                             "  would register " + client + "ctl.ocx\r\n"))
        << plan.text;
    EXPECT_NE(std::string::npos, plan.text.find("Client: " + client + "\r\n  taken from the journal")) << plan.text;
    EXPECT_EQ("cut off", ReadBytes(client + "ctl.ocx"));
    TJournal left(journalKey);
    EXPECT_EQ(TJournal::TFound::Found, left.Load());
    left.Remove();
}

// With the bank's key the plan names the key and whether the run would take the
// update; a refused update is planned as the refusal, and nothing after it.
TEST_F(PlanTest, WithTheBanksKeyThePlanSaysWhetherTheRunWouldTakeTheUpdate)
{
    cfg.SignedUpdate = TSignedUpdate(BuiltInUpdateKey);
    cfg.ScenarioPath = dir / "scen.ini";
    WriteBytes(cfg.ScenarioPath, "[WEB SERVERS HOSTS]\r\na.example=b.example\r\n");
    const std::string signature = cfg.ScenarioPath + ".sig";
    const std::string heading =
        "Signature: " + signature + ", checked with the built-in key SHA-256 " + BankKeyFingerprint() + "\r\n";

    TPlan plan = MakePlan(cfg);
    EXPECT_FALSE(plan.succeeds);
    EXPECT_NE(std::string::npos, plan.text.find(heading + "  the run would refuse the update: " + signature +
                                                " does not exist\r\n  box \"Error\":\r\n      " +
                                                std::string(UpdateRefusedText).substr(0, 40)))
        << plan.text;
    EXPECT_EQ(std::string::npos, plan.text.find("Client:")) << plan.text;

    ASSERT_TRUE(SignUpdate(cfg.ScenarioPath, dir.Path()));
    cfg.SignedUpdate = TSignedUpdate(BuiltInUpdateKey);
    plan = MakePlan(cfg);
    EXPECT_NE(std::string::npos,
              plan.text.find(heading + "  valid; the source files match their hashes in [SHA256]\r\n\r\nClient: "))
        << plan.text;
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(Plan, ABoxShowsTheFirstFortyLinesAndSaysThatItWasCut)
{
    std::string plan;
    for (int i = 1; i <= 40; ++i)
        plan += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(plan, PlanBoxText(plan));
    const std::string cut = PlanBoxText(plan + "line 41\r\n");
    EXPECT_EQ(plan + "... (-l=<file> writes the whole plan)\r\n", cut);
}
