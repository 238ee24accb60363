// The dry run against simulated client installs: a plan changes no file and
// no registration, and the real run that follows does what the plan said.
#include "CfgUnit/Configurator.h"
#include "common/FormatText.h"
#include "platform/Profile.h"

#include "support/ScratchInstall.h"
#include "support/SettingsFiles.h"
#include "support/Snapshot.h"
#include "support/StandIns.h"
#include "support/TestControl.h"
#include "support/UpdateFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <regex>
#include <sstream>
#include <thread>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1));
    return lines;
}

}  // namespace

class PlanTest : public UpdateFixture {
protected:
    // The client holds ctl.ocx 1.0.0.0 (registered), lib.dll 3.1.4.1 and warden.cfg with
    // the other sections; the download folder 2.0.0.0 of both.
    void Client(const std::vector<IniSection>& otherSettings, const std::vector<std::string>& scenarioFiles)
    {
        files = scenarioFiles;
        Control(client, "ctl.ocx", "1_0_0_0");
        Control(client, "lib.dll", "3_1_4_1");
        RegisterClass(client + "ctl.ocx");
        WardenCfg(otherSettings);
        Control(work, "ctl.ocx", "2_0_0_0");
        Control(work, "lib.dll", "2_0_0_0");
        Scenario(files, 1, "*", true, "[CRYPTO PARAMS]\r\nengine=2\r\n");
    }

    std::string plan;  // UTF-8
    DWORD planExitCode = 0;
    std::vector<std::string> files;  // of the scenario

    // Plans (checking that nothing changes), then runs the update with the
    // answers, and checks that the run did what the plan said.
    void PlanAndRun(std::vector<Answer> answers)
    {
        const Snapshot before = State();
        ProgramRunResult planRun = install.Run("-c=scen.ini -plan -l=..\\plan.txt");
        EXPECT_TRUE(planRun.finished && planRun.boxes.empty()) << Describe(planRun.boxes);
        EXPECT_EQ("", SnapshotDifference(before, State()));
        planExitCode = planRun.exitCode;
        plan = Utf8FromAnsi(ReadBytes(install.Root() + "plan.txt"));

        const std::size_t settingsLines = Lines(ReadBytes(client + "warden.cfg")).size();
        ProgramRunResult run = install.Run("-c=scen.ini", std::move(answers));
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(0, run.unscripted) << Describe(run.boxes) << plan;
        for (const BoxRecord& box : run.boxes)
            EXPECT_TRUE(Contains(plan, Lines(box.text + "\n").front())) << box.text << "\nnot in\n" << plan;
        const Snapshot after = State();
        for (const std::string& file : files) {
            const std::string key = "file " + client + file;
            bool copied = after.count(key) && (!before.count(key) || before.at(key) != after.at(key));
            EXPECT_EQ(copied, std::regex_search(plan, std::regex("  " + file + ": .*would (replace|copy)"))) << file;
        }
        ExpectPlannedSections(settingsLines);
        const bool success = !run.boxes.empty() && run.boxes.back().text == Utf8FromAnsi(texts.ALL_OK);
        EXPECT_EQ(success ? 0u : 1u, planExitCode) << plan;
        const std::string program = success ? "okprobe" : "failprobe";
        const std::string parameters = success ? "ok" : "notok";
        EXPECT_TRUE(Contains(plan, probeDir + program + ".exe 0 " + parameters + " (would start)")) << plan;
        EXPECT_EQ(parameters, ResultProgramsStarted());
    }

    // The sections the run added to warden.cfg are those the plan would add, line for line.
    void ExpectPlannedSections(std::size_t linesBefore)
    {
        const std::vector<std::string> lines = Lines(AnsiFromUtf8(plan));
        std::size_t linesAdded = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].compare(0, 13, "  would add [") != 0)
                continue;
            std::string keys;
            std::size_t k = i + 1;
            for (; k < lines.size() && lines[k].compare(0, 4, "    ") == 0; ++k)
                keys += lines[k].substr(4) + "\n";
            EXPECT_EQ(keys, SectionText(client + "warden.cfg", lines[i].substr(13, lines[i].size() - 14)));
            linesAdded += k - i;
        }
        EXPECT_EQ(linesBefore + linesAdded, Lines(ReadBytes(client + "warden.cfg")).size()) << plan;
    }
};

TEST_F(PlanTest, ATunnelClientHoldingAControlIsPlannedClosedAndStartedAgain)
{
    Client({}, {"ctl.ocx", "lib.dll"});
    CopyFixture("wardlink.exe", client, "wardlink.exe");
    StandIn warden(client + "wardlink.exe", {client + "ctl.ocx"});
    ASSERT_TRUE(warden.Running());
    PlanAndRun({Answer::Ok, Answer::Ok});
    EXPECT_EQ(0u, planExitCode);
    EXPECT_TRUE(Contains(plan, "found through the running tunnel client " + client + "wardlink.exe"));
    EXPECT_TRUE(Contains(plan, "ctl.ocx: installed 1.0.0.0, new 2.0.0.0: would replace (old file kept as ctl.bak)"));
    EXPECT_TRUE(Contains(plan, "lib.dll: installed 3.1.4.1, new 2.0.0.0: up to date"));
    EXPECT_TRUE(Contains(plan, "would unregister " + client + "ctl.ocx\r\n  would register " + client + "ctl.ocx"));
    EXPECT_TRUE(Contains(plan, "tunnel client: would be closed and started again: " + client + "wardlink.exe"));
    EXPECT_FALSE(warden.Running());  // the real run closed it; the plan had left it
}

TEST_F(PlanTest, AControlOnlyRegisteredIsFoundThroughItsClass)
{
    Client({}, {"ctl.ocx", "new.ocx"});
    InstallTestControl("2_0_0_0", work, "new.ocx", clsid);
    PlanAndRun({Answer::Ok});
    EXPECT_TRUE(Contains(plan, "registration of class " + clsid.Braced() + ": " + client + "ctl.ocx"));
    EXPECT_TRUE(Contains(plan, "new.ocx: installed none, new 2.0.0.0: not installed yet: would copy"));
    EXPECT_TRUE(Contains(plan, "tunnel client: none was running"));
}

TEST_F(PlanTest, AMissingSourceIsPlannedAsAFailure)
{
    Client({}, {"ctl.ocx", "gone.dll"});
    PlanAndRun({Answer::Ok, Answer::Ok});
    EXPECT_EQ(1u, planExitCode);
    EXPECT_TRUE(Contains(plan, "gone.dll: source missing: the run would fail"));
    EXPECT_TRUE(Contains(plan, Utf8FromAnsi(FormatText(texts.NOT_FOUND_FILE, {"gone.dll"}))));

    // Without a plan file the plan is one box, and the exit code is the same.
    ProgramRunResult boxed = install.Run("-c=scen.ini -plan", {Answer::Ok});
    ASSERT_EQ(1u, boxed.boxes.size()) << Describe(boxed.boxes);
    EXPECT_EQ("Information", boxed.boxes[0].caption);
    EXPECT_EQ(0u, plan.find(boxed.boxes[0].text.substr(0, boxed.boxes[0].text.find("\n")))) << boxed.boxes[0].text;
    EXPECT_TRUE(Contains(boxed.boxes[0].text, "gone.dll: source missing: the run would fail"));
    EXPECT_EQ(1u, boxed.exitCode);
}

namespace {

// The folders named wcu* where a program makes scratch folders: the user's temporary folder and Windows' own.
std::vector<std::string> ScratchFolders()
{
    char user[MAX_PATH + 1];
    char windows[MAX_PATH + 1];
    ::GetTempPathA(sizeof user, user);
    ::GetWindowsDirectoryA(windows, sizeof windows);
    std::vector<std::string> found;
    for (const std::string& folder : {std::string(user), std::string(windows) + "\\Temp\\"}) {
        WIN32_FIND_DATAA entry;
        platform::FindHandle search(::FindFirstFileA((folder + "wcu*").c_str(), &entry));
        for (bool more = static_cast<bool>(search); more; more = ::FindNextFileA(search.get(), &entry))
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                found.push_back(folder + entry.cFileName);
    }
    return found;
}

}  // namespace

// A program of the user swaps the plan's scratch folder, while the plan works
// in it, for a folder of its choice (on Windows it would be a link to one):
// nothing there may be written or deleted, and the plan leaves nothing behind.
TEST_F(PlanTest, NothingThePlanWritesOrDeletesCanBeRedirected)
{
    std::vector<IniSection> servers;  // a correction that lasts
    for (int n = 2; n <= 300; ++n)
        servers.push_back({"Client\\Web servers\\s" + std::to_string(n),
                           {"web server host=h" + std::to_string(n) + ".example", "warden location=t.example:81"}});
    Client(servers, {"ctl.ocx"});
    const std::string victim = install.Root() + "victim3";
    MakeDirectory(victim);
    WriteBytes(victim + "\\warden.cfg", "the victim's settings");
    WriteBytes(victim + "\\warden.bak", "the victim's backup");
    const std::vector<std::string> before = ScratchFolders();

    std::atomic<bool> planDone{false};
    std::string swapped;  // the scratch folder the victim's folder took the place of
    std::thread user([&] {
        for (; !planDone && swapped.empty(); ::Sleep(1))
            for (const std::string& folder : ScratchFolders())
                if (std::find(before.begin(), before.end(), folder) == before.end() &&
                    ::MoveFileA(folder.c_str(), (install.Root() + "moved").c_str())) {
                    ::MoveFileA(victim.c_str(), folder.c_str());
                    swapped = folder;
                }
    });
    ProgramRunResult planRun = install.Run("-c=scen.ini -plan -l=..\\plan.txt");
    planDone = true;
    user.join();

    // The folder can be taken away only before the plan holds it (the plan then
    // finds it is not the folder it made) or once the plan is done with it.
    EXPECT_TRUE(planRun.finished);
    const std::string victimNow = swapped.empty() ? victim : swapped;
    EXPECT_EQ("the victim's settings", ReadBytes(victimNow + "\\warden.cfg"));
    EXPECT_EQ("the victim's backup", ReadBytes(victimNow + "\\warden.bak"));
    std::vector<std::string> left = ScratchFolders();
    left.erase(std::remove(left.begin(), left.end(), swapped), left.end());
    EXPECT_EQ(before, left);
    plan = Utf8FromAnsi(ReadBytes(install.Root() + "plan.txt"));
    EXPECT_TRUE(!swapped.empty() || Contains(plan, "would add [Client\\Web servers\\s301]")) << plan;
}

TEST_F(PlanTest, AMovedHostWithAConflictNamesItAndTheConflictCopy)
{
    const IniSection taken{"Client\\Web servers\\s2",
                           {"web server host=new.bank.example", "warden location=elsewhere.example:81"}};
    Client({taken}, {"ctl.ocx"});
    PlanAndRun({Answer::Ok, Answer::Ok});
    EXPECT_EQ(0u, planExitCode);
    EXPECT_TRUE(Contains(plan, "would add [Client\\Web servers\\s3]\r\n    web server host=new.bank.example_Conflict"));
    EXPECT_TRUE(Contains(plan, "box \"Error\":"));
}
