// The program's entry as a user starts it: command line, default scenario,
// usage text, missing scenario, run log and the fatal-error path.
#include "CfgUnit/Messages.h"
#include "common/FormatText.h"

#include "platform/Registry.h"
#include "support/LogLines.h"
#include "support/ScratchInstall.h"
#include "support/TestControl.h"
#include "support/WineSettings.h"

#include <gtest/gtest.h>

class EntryTest : public ::testing::Test {
protected:
    ScratchInstall install;

    // A run refused because an update counts as in progress: its one box, its one log line, nothing else.
    void ExpectRefused(const ProgramRunResult& run, const std::string& log)
    {
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
        EXPECT_EQ(Utf8FromAnsi(Box::Attention), run.boxes[0].caption);
        EXPECT_EQ(Utf8FromAnsi(UpdateInProgressText), run.boxes[0].text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, run.boxes[0].buttons);
        EXPECT_EQ(std::vector<std::string>{"Another update run is in progress: this one ends without a change"},
                  LogEntries(install.WorkDir() + log));
    }

    ProgramRunResult Run(const std::string& parameters, std::vector<Answer> script = {})
    {
        ProgramRunResult run = install.Run(parameters, std::move(script));
        EXPECT_TRUE(run.finished) << "killed at the time bound";
        EXPECT_EQ(0, run.unscripted) << Describe(run.boxes);
        return run;
    }
};

TEST_F(EntryTest, QuestionMarkShowsTheUsageAndWritesNothing)
{
    for (const char* parameters : {"?", "-cw=def.ini ?", "? -cw=def.ini -l=run.log"}) {
        ProgramRunResult run = Run(parameters, {Answer::Ok});
        ASSERT_EQ(1u, run.boxes.size()) << parameters;
        EXPECT_EQ("Warning", run.boxes[0].caption);
        EXPECT_EQ(Utf8FromAnsi(UsageTextBuiltIn), run.boxes[0].text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, run.boxes[0].buttons);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_FALSE(Exists(install.ProgramDir() + "def.ini"));
        EXPECT_FALSE(Exists(install.WorkDir() + "run.log"));
    }
}

// The 9x family keeps the ANSI calls: where the code page for programs that are
// not Unicode is 1252, the system shows the bytes in it. (The NT family's wide
// calls read right there: UpdateRun_test.)
TEST_F(EntryTest, OnThe9xFamilyBoxesKeepTheAnsiCalls)
{
    install.SetSystemLocale("C.UTF-8");
    Win98Program win98("WardCfgUp.exe");
    ProgramRunResult run = Run("?", {Answer::Ok});
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(Utf8FromCodePage(UsageTextBuiltIn, 1252), run.boxes[0].text);  // "Èñïîëüçîâàíèå: ..."
}

TEST_F(EntryTest, DefaultScenarioIsWrittenBesideTheProgramAndTheRunStops)
{
    WriteBytes(install.ProgramDir() + "scen.ini", "[WardCfgUp]\r\nAXCLSID={X}\r\n");
    ProgramRunResult run = Run("-CW=def.ini -c=scen.ini -l=run.log");
    EXPECT_TRUE(run.boxes.empty()) << Describe(run.boxes);
    EXPECT_EQ(0u, run.exitCode);
    std::string written = ReadBytes(install.ProgramDir() + "def.ini");
    EXPECT_NE(std::string::npos, written.find("[Messages]"));
    EXPECT_NE(std::string::npos, written.find("AXCLSID=\r\n"));
    EXPECT_FALSE(Exists(install.WorkDir() + "def.ini"));
    EXPECT_FALSE(Exists(install.WorkDir() + "run.log"));
}

// A scenario without a client to update: the run ends at once with this box.
static const std::string NoClient = Utf8FromAnsi(TConfigurator().NOT_FOUND_RUNNING_WARDEN);

TEST_F(EntryTest, ScenarioIsTakenFromTheProgramDirectoryWhateverTheCurrentDirectory)
{
    // Only the program directory's scenario names a class, which its box then names.
    const std::string clsid = "{0E7A55B2-61C4-4F0B-9D3A-7C2B1E9F4A10}";
    WriteBytes(install.ProgramDir() + "scen.ini", "[WardCfgUp]\r\nAXCLSID=" + clsid + "\r\n");
    WriteBytes(install.WorkDir() + "scen.ini", "[WardCfgUp]\r\n");
    for (const char* parameter : {"-C=scen.ini", "\"-c=scen.ini\""}) {
        ProgramRunResult run = Run(parameter, {Answer::Ok});
        ASSERT_EQ(1u, run.boxes.size()) << parameter << "\n" << Describe(run.boxes);
        EXPECT_EQ(Utf8FromAnsi(FormatText(TConfigurator().ERROR_FIND_ACTIVEX_DIR, {clsid})), run.boxes[0].text);
    }

    // Quotes around the name alone stay part of it, and an absolute name is still relative.
    for (const std::string& name : {std::string("\"scen.ini\""), std::string("C:\\x\\scen.ini")}) {
        ProgramRunResult run = Run("-c=" + name, {Answer::Ok, Answer::Ok});
        ASSERT_EQ(2u, run.boxes.size()) << name;
        EXPECT_EQ("Error", run.boxes[0].caption);
        EXPECT_EQ(Utf8FromAnsi("Не найден конфигурационный файл: \"" + install.ProgramDir() + name +
                               "\".\r\nСообщите разработчикам."),
                  run.boxes[0].text);
        EXPECT_EQ(0u, run.exitCode);
    }
}

TEST_F(EntryTest, WithoutParametersTheRunGoesOnWithTheDefaults)
{
    ProgramRunResult run = Run("", {Answer::Ok});
    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(NoClient, run.boxes[0].text);
    EXPECT_EQ(0u, run.exitCode);
}

TEST_F(EntryTest, EveryLogNamedIsCreatedAnewRelativeToTheCurrentDirectory)
{
    WriteBytes(install.WorkDir() + "first.log", "old content");
    Run("-l=first.log -L=second.log", {Answer::Ok});
    EXPECT_TRUE(Exists(install.WorkDir() + "first.log"));
    EXPECT_EQ("", ReadBytes(install.WorkDir() + "first.log"));
    EXPECT_NE(std::string::npos, ReadBytes(install.WorkDir() + "second.log").find("] -> Get warden full name: \r\n"));
    EXPECT_FALSE(Exists(install.ProgramDir() + "second.log"));

    // The second name cannot be created while the first holds the file: logging is off for the run.
    Run("-l=first.log -l=first.log", {Answer::Ok});
    EXPECT_TRUE(Exists(install.WorkDir() + "first.log"));
    EXPECT_EQ("", ReadBytes(install.WorkDir() + "first.log"));
}

// Theming loads by bare name with the first window: a uxtheme.dll planted beside a
// program without the protection (throwing_program.exe) loads, not beside this one.
TEST_F(EntryTest, ADllPlantedBesideTheProgramIsNotLoadedOnDemand)
{
    const std::string marker = install.ProgramDir() + "uxtheme.dll.loaded";
    WriteBytes(install.ProgramDir() + "uxtheme.dll", ReadBytes(BinDir() + "planted_version.dll"));
    WriteBytes(install.ProgramDir() + "unguarded.exe", ReadBytes(BinDir() + "throwing_program.exe"));
    PreferDllBesideProgram unguarded("unguarded.exe", "uxtheme"), program("WardCfgUp.exe", "uxtheme");
    RunAndDriveBoxes("\"" + install.ProgramDir() + "unguarded.exe\"", "", {Answer::Ok}, 60000);
    ASSERT_TRUE(::DeleteFileA(marker.c_str())) << "the planting itself does not work here";
    Run("?", {Answer::Ok});
    EXPECT_FALSE(Exists(marker));
}

// Started again during a run: one box, no change (not even of the first run's
// log), one line in its own log. "-cw=" takes no part in the rule.
TEST_F(EntryTest, ASecondUpdateRunWhileOneIsInProgressEndsAtOnce)
{
    WriteBytes(install.ProgramDir() + "scen.ini", "[WardCfgUp]\r\n");
    ProgramRunResult second;
    ProgramRunResult first = install.Run("-c=scen.ini -l=first.log", {Answer::Ok}, [&](const BoxRecord&) {
        second = install.Run("-c=scen.ini -l=second.log", {Answer::Ok});
        install.Run("-c=scen.ini -l=first.log", {Answer::Ok});
        install.Run("-cw=def.ini");
    });
    EXPECT_EQ(1u, first.boxes.size());
    ExpectRefused(second, "second.log");
    EXPECT_NE(std::string::npos, ReadBytes(install.WorkDir() + "first.log").find("Get warden full name"));
    EXPECT_TRUE(Exists(install.ProgramDir() + "def.ini"));
}

// Any object of the claim's name, a mutex or not, refuses every run.
TEST_F(EntryTest, AnObjectOfTheClaimsNameThatIsNoMutexRefusesTheRun)
{
    WriteBytes(install.ProgramDir() + "scen.ini", "[WardCfgUp]\r\n");
    platform::UniqueHandle squatter(::CreateEventA(nullptr, TRUE, FALSE, UpdateRunMutexName));
    ASSERT_TRUE(squatter);
    ExpectRefused(install.Run("-c=scen.ini -l=refused.log", {Answer::Ok}), "refused.log");
}

// A journal that a program of the user wrote, where the journal once lived or
// where it lives, is never acted on: no file changes, nothing is registered,
// and the run goes on as if there were none.
TEST_F(EntryTest, AForgedJournalIsNeverActedOn)
{
    const std::string victim = install.Root() + "victim\\";
    MakeDirectory(victim);
    WriteBytes(victim + "important.sys", "important");
    WriteBytes(victim + "planted.dll", "planted");
    WriteBytes(install.Root() + "evil.dll", "evil");
    WriteBytes(install.ProgramDir() + "scen.ini", "[WardCfgUp]\r\n");
    const std::string userKey = "Software\\Classes\\Local Settings\\Software\\WardCfgUp";
    const auto forge = [](HKEY root, const std::string& key, const std::vector<std::string>& texts) {
        const char* const names[] = {"Client folder", "File1", "Backup1", "Control1", "Step1"};
        for (std::size_t i = 0; i < texts.size(); ++i)
            SetRegistryValue(root, key, names[i], REG_SZ, texts[i] + '\0');
    };
    // As the journal was written there: full paths, here of a drive's root.
    forge(HKEY_CURRENT_USER, userKey,
          {victim.substr(0, 3), victim + "important.sys", victim + "important.bak", "1", "copying"});
    forge(HKEY_LOCAL_MACHINE, TJournal::Key, {victim, "planted.dll", install.Root() + "evil.dll", "1", "copied"});
    ProgramRunResult run = Run("-c=scen.ini -l=run.log", {Answer::Ok});
    platform::DeleteKeyTree(HKEY_CURRENT_USER, userKey);

    ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(NoClient, run.boxes[0].text);
    EXPECT_EQ("important", ReadBytes(victim + "important.sys"));
    EXPECT_EQ("planted", ReadBytes(victim + "planted.dll"));
    EXPECT_EQ("evil", ReadBytes(install.Root() + "evil.dll"));
    const std::string log = ReadBytes(install.WorkDir() + "run.log");
    EXPECT_EQ(std::string::npos, log.find("RegisterOCX")) << log;
    EXPECT_EQ(std::string::npos, log.find("RecoverInterruptedUpdate")) << log;
    EXPECT_EQ(TJournal::TFound::None, TJournal().Load()) << "the unreadable journal is removed";
}

// A check ends with its outcome as the exit code and shows one box, or writes
// its report instead; it never runs the update, whatever else the command line holds.
TEST_F(EntryTest, ScenarioCheckTellsItsOutcomeAndDoesNothingElse)
{
    const std::string hosts = "[WEB SERVERS HOSTS]\r\nold.example=new.example\r\n";
    WriteBytes(install.ProgramDir() + "clean.ini", hosts);
    WriteBytes(install.ProgramDir() + "warn.ini", "[WardCfgUp]\r\nRemoveBackup=2\r\n" + hosts);
    WriteBytes(install.ProgramDir() + "bad.ini", "[WardCfgUp]\r\nFILE2=a.ocx\r\n");
    struct Case {
        std::string parameters;
        DWORD exitCode;
        const char* caption;
        std::string text;
    };
    const Case cases[] = {
        {"-check=clean.ini -c=bad.ini", 0, "Information", "clean.ini: 0 errors, 0 warnings"},
        {"-CHECK=warn.ini", 1, "Warning",
         "warn.ini: 0 errors, 1 warning\r\n\r\nwarn.ini:2: warning: [WardCfgUp] RemoveBackup=2 is neither 0 nor 1: "
         "the run keeps the copied source files"},
        {"-check=none.ini", 2, "Error",
         "none.ini: 1 error, 0 warnings\r\n\r\nnone.ini: error: the scenario does not exist: " + install.ProgramDir() +
             "none.ini"},
    };
    for (const Case& c : cases) {
        ProgramRunResult run = Run(c.parameters, {Answer::Ok});
        EXPECT_EQ(c.exitCode, run.exitCode) << c.parameters;
        ASSERT_EQ(1u, run.boxes.size()) << c.parameters << "\n" << Describe(run.boxes);
        EXPECT_EQ(c.caption, run.boxes[0].caption);
        EXPECT_EQ(c.text, run.boxes[0].text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, run.boxes[0].buttons);
    }

    ProgramRunResult reported = Run("-check=bad.ini -l=report.txt");
    EXPECT_TRUE(reported.boxes.empty()) << Describe(reported.boxes);
    EXPECT_EQ(2u, reported.exitCode);
    EXPECT_EQ("bad.ini:2: error: [WardCfgUp] FILE2 is never read: FILE1 is missing\r\n"
              "bad.ini: warning: the scenario installs no file and names no web server host: the run only asks the "
              "user for a new server\r\n"
              "1 error, 1 warning\r\n",
              ReadBytes(install.WorkDir() + "report.txt"));

    // The usage text and the default scenario come first.
    EXPECT_EQ(1u, Run("? -check=bad.ini -l=usage.txt", {Answer::Ok}).boxes.size());
    EXPECT_EQ(0u, Run("-check=bad.ini -cw=def.ini -l=written.txt").exitCode);
    EXPECT_TRUE(Exists(install.ProgramDir() + "def.ini"));
    EXPECT_FALSE(Exists(install.WorkDir() + "usage.txt"));
    EXPECT_FALSE(Exists(install.WorkDir() + "written.txt"));
}

namespace {

// The fatal-error box of throwing_program run with the given parameters.
void ExpectRuntimeError217(const std::string& parameters)
{
    ProgramRunResult run =
        RunAndDriveBoxes("\"" + BinDir() + "throwing_program.exe\" " + parameters, "", {Answer::Ok}, 60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(217u, run.exitCode);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ("Error", run.boxes[0].caption);
    EXPECT_TRUE(run.boxes[0].text.rfind("Runtime error 217 at ", 0) == 0) << run.boxes[0].text;
    EXPECT_EQ(29u, run.boxes[0].text.size()) << run.boxes[0].text;
    EXPECT_NE("Runtime error 217 at 00000000", run.boxes[0].text);
}

}  // namespace

TEST(FatalError, AnEscapingExceptionEndsWithRuntimeError217)
{
    ExpectRuntimeError217("");
}

TEST(FatalError, AnExceptionFromTheStandardLibraryEndsTheSameWay)
{
    ExpectRuntimeError217("library");
}
