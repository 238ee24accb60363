// Starting outside programs: regsvr32 and probe programs under Wine, read back
// through the run log, the registry and the probes' own notes.
#include "CfgUnit/ModuleRunner.h"

#include "CfgUnit/Configurator.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "support/Bounded.h"
#include "support/LogLines.h"
#include "support/StandIns.h"
#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Long enough for regsvr32 or a probe under a busy Wine; the runner itself sets no limit.
constexpr unsigned RunBoundMs = 60000;

class ModuleRunner : public ::testing::Test {
protected:
    void SetUp() override { configurator.OpenLog(dir / "run.log"); }

    Lines Log() const { return LogEntries(dir / "run.log"); }

    // A copy of the probe program in the scratch directory: it notes each start in <name>.calls.
    std::string Probe(const std::string& name)
    {
        WriteBytes(dir / (name + ".exe"), ReadBytes(BinDir() + "exitprobe.exe"));
        return dir / (name + ".exe");
    }
    std::string Calls(const std::string& name) const { return ReadBytes(dir / (name + ".calls")); }

    // The probe's notes once it has written them; empty when it never does within the bound.
    std::string AwaitCalls(const std::string& name) const { return AwaitProbeCalls(dir / (name + ".calls"), 20000); }

    bool RunModul(const std::string& program, const std::string& arguments)
    {
        return ResultWithin(RunBoundMs,
                            [&] { return configurator.RunModul(program, "\"" + program + "\" " + arguments); });
    }
    bool Register(const std::string& file)
    {
        return ResultWithin(RunBoundMs, [&] { return configurator.RegisterOCX(file); });
    }
    bool Unregister(const std::string& file)
    {
        return ResultWithin(RunBoundMs, [&] { return configurator.UnRegisterOCX(file); });
    }

    TempDir dir;
    TConfigurator configurator;
};

TEST_F(ModuleRunner, MissingProgramIsReportedWithTheSystemErrorText)
{
    const std::string commandLine = "\"" + (dir / "missing.exe") + "\" /x";
    EXPECT_FALSE(RunModul(dir / "missing.exe", "/x"));
    EXPECT_EQ((Lines{"Start RunModul CmdLine: " + commandLine,
                     "False CreateProcess: " + SystemErrorText(ERROR_FILE_NOT_FOUND)}),
              Log());
}

class ModuleRunnerExitCode : public ModuleRunner, public ::testing::WithParamInterface<int> {};

// 259 is STILL_ACTIVE: the wait must still end when the program has ended.
TEST_P(ModuleRunnerExitCode, WaitsForTheProgramAndLogsItsExitCode)
{
    const std::string arguments = std::to_string(GetParam()) + " \"two words\"";
    const std::string commandLine = "\"" + Probe("probe") + "\" " + arguments;
    EXPECT_TRUE(RunModul(dir / "probe.exe", arguments));
    EXPECT_EQ(commandLine + "\r\n", Calls("probe")) << "the program had not run to its end";
    EXPECT_EQ((Lines{"Start RunModul CmdLine: " + commandLine,
                     "End CreateProcess RetCode: " + std::to_string(GetParam()), "End RunModul Result: TRUE"}),
              Log());
}

INSTANTIATE_TEST_SUITE_P(Codes, ModuleRunnerExitCode, ::testing::Values(0, 3, 259));

namespace {

int timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++timerTicks;
}

}  // namespace

// The waiting second serves the thread's windows (the progress window): its timer messages are dispatched.
TEST_F(ModuleRunner, DispatchesTheThreadsMessagesWhileItWaits)
{
    timerTicks = 0;
    EXPECT_TRUE(ResultWithin(RunBoundMs, [&] {
        UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CountTick);
        bool started = configurator.RunModul(Probe("probe"), "probe 0");
        ::KillTimer(nullptr, timer);
        return started;
    }));
    EXPECT_GT(timerTicks, 0);
}

TEST_F(ModuleRunner, RegistersAndUnregistersAControlThroughRegsvr32)
{
    ScratchClsid clsid;
    MakeDirectory(dir / "Bank Client");
    const std::string control = InstallTestControl("1_0_0_0", dir / "Bank Client\\", "client.ocx", clsid);
    const std::string regsvr = configurator.SystemDir + "regsvr32.exe \"" + control + "\"";

    EXPECT_TRUE(Register(control));
    std::string registered;
    EXPECT_TRUE(ReadServerValue(clsid, registered));
    EXPECT_TRUE(EqualFoldingAscii(control, registered)) << registered;

    EXPECT_TRUE(Unregister(control));
    EXPECT_FALSE(ReadServerValue(clsid, registered));

    EXPECT_EQ((Lines{"Start RegisterOCX: " + control, "Start RunModul CmdLine: " + regsvr + " /s",
                     "End CreateProcess RetCode: 0", "End RunModul Result: TRUE", "End RegisterOCX: TRUE",
                     "Start UnRegisterOCX: " + control, "Start RunModul CmdLine: " + regsvr + " /u /s",
                     "End CreateProcess RetCode: 0", "End RunModul Result: TRUE", "End UnRegisterOCX: TRUE"}),
              Log());
}

TEST_F(ModuleRunner, FailedRegistrationShowsOnlyInTheExitCode)
{
    ScratchClsid clsid;
    const std::string control = InstallTestControl("failing", dir.Path(), "failing.ocx", clsid);

    EXPECT_TRUE(Register(control));
    std::string registered;
    EXPECT_FALSE(ReadServerValue(clsid, registered));

    Lines log = Log();
    ASSERT_EQ(5u, log.size());
    const std::string retCode = "End CreateProcess RetCode: ";
    ASSERT_EQ(retCode, log[2].substr(0, retCode.size()));
    EXPECT_NE(0, std::stoi(log[2].substr(retCode.size())));
    EXPECT_EQ("End RegisterOCX: TRUE", log[4]);
}

// Only regsvr32.exe of the system folder is started: neither a program of that
// name in the current directory (the download folder) nor one that a search of
// the folder's path cut at its blank would find ("<dir>no.exe") runs in its place.
TEST_F(ModuleRunner, RegsvrThatCannotStartMakesRegistrationFalse)
{
    CurrentDirectory current(dir.Path());
    Probe("regsvr32");
    Probe("no");
    configurator.SystemDir = dir / "no system\\";
    EXPECT_FALSE(Register("C:\\T\\a.ocx"));
    EXPECT_FALSE(Unregister("C:\\T\\a.ocx"));
    Lines log = Log();
    ASSERT_EQ(8u, log.size());
    EXPECT_EQ("Start RunModul CmdLine: " + (dir / "no system\\regsvr32.exe \"C:\\T\\a.ocx\" /s"), log[1]);
    EXPECT_EQ("End RegisterOCX: FALSE", log[3]);
    EXPECT_EQ("Start RunModul CmdLine: " + (dir / "no system\\regsvr32.exe \"C:\\T\\a.ocx\" /u /s"), log[5]);
    EXPECT_EQ("End UnRegisterOCX: FALSE", log[7]);

    configurator.SystemDir.clear();
    EXPECT_FALSE(Register("C:\\T\\a.ocx"));
    log = Log();
    ASSERT_EQ(11u, log.size());
    EXPECT_EQ((Lines{"Start RegisterOCX: C:\\T\\a.ocx", "No system folder: regsvr32.exe is not started",
                     "End RegisterOCX: FALSE"}),
              Lines(log.begin() + 8, log.end()));
    EXPECT_EQ("", Calls("regsvr32"));
    EXPECT_EQ("", Calls("no"));
}

TEST_F(ModuleRunner, AutostartsEveryModuleInListOrderWithoutWaiting)
{
    configurator.AutostartList.Add(Probe("first"));
    configurator.AutostartList.Add(Probe("second"));
    configurator.AutostartModules();
    EXPECT_EQ((Lines{"Autostart modul: " + (dir / "first.exe"), "Autostart modul: " + (dir / "second.exe")}),
              Log());
    EXPECT_NE("", AwaitCalls("first"));
    EXPECT_NE("", AwaitCalls("second"));
}

// Searched for, "<dir>Bank run client\wardlink.exe" unquoted would start "<dir>Bank.exe".
TEST_F(ModuleRunner, AutostartStartsOnlyTheProgramAtTheFullPath)
{
    MakeDirectory(dir / "Bank run client");
    WriteBytes(dir / "Bank run client\\wardlink.exe", ReadBytes(BinDir() + "exitprobe.exe"));
    Probe("Bank");
    configurator.AutostartList.Add(dir / "Bank run client\\wardlink.exe");
    configurator.AutostartModules();
    EXPECT_NE("", AwaitCalls("Bank run client\\wardlink"));
    EXPECT_EQ("", Calls("Bank"));
}

TEST_F(ModuleRunner, ResultModulesGetTheirEnvironmentExpandedAfterTheFirstLogLine)
{
    std::string directory = dir.Path().substr(0, dir.Path().size() - 1);
    ASSERT_TRUE(::SetEnvironmentVariableA("WARDTEST_RESULT_DIR", directory.c_str()));
    Probe("ok");
    configurator.RunOkModules.Add("%WARDTEST_RESULT_DIR%\\ok.exe=-a %WARDTEST_RESULT_DIR%");
    configurator.RunResultModules(true);

    EXPECT_EQ((Lines{"Before run modul: \"%WARDTEST_RESULT_DIR%\\ok.exe\" Params: -a %WARDTEST_RESULT_DIR%",
                     "Correct modul: \"" + directory + "\\ok.exe\" Params: -a " + directory,
                     "Result run modul: Ok"}),
              Log());
    std::string calls = AwaitCalls("ok");
    EXPECT_NE(std::string::npos, calls.find("ok.exe")) << calls;
    EXPECT_NE(std::string::npos, calls.find(" -a " + directory + "\r\n")) << calls;
}

TEST_F(ModuleRunner, EveryResultLineOfTheChosenOutcomeIsStarted)
{
    configurator.RunOkModules.Add(Probe("never"));
    configurator.RunNotOkModules.Add(dir / "missing.exe=-b");
    configurator.RunNotOkModules.Add(Probe("whole"));
    configurator.RunResultModules(false);

    EXPECT_EQ((Lines{"Before run modul: \"" + (dir / "missing.exe") + "\" Params: -b",
                     "Correct modul: \"" + (dir / "missing.exe") + "\" Params: -b",
                     "Result run modul: The specified file was not found.",
                     "Before run modul: \"" + (dir / "whole.exe") + "\" Params: ",
                     "Correct modul: \"" + (dir / "whole.exe") + "\" Params: ", "Result run modul: Ok"}),
              Log());
    EXPECT_NE("", AwaitCalls("whole"));
    EXPECT_EQ("", Calls("never"));
}

TEST_F(ModuleRunner, EmptyResultListStartsNothing)
{
    configurator.RunNotOkModules.Add(Probe("never"));
    configurator.RunResultModules(true);
    EXPECT_EQ(Lines{}, Log());
    EXPECT_EQ("", Calls("never"));
}

TEST(ShellExecuteErrorText, NamesTheListedCodesAndTakesEveryOtherAsSuccess)
{
    EXPECT_EQ("The operating system is out of memory or resources.", ShellExecuteErrorText(0));
    EXPECT_EQ("The specified file was not found.", ShellExecuteErrorText(2));
    EXPECT_EQ("A sharing violation occurred.", ShellExecuteErrorText(26));
    EXPECT_EQ("The specified dynamic-link library was not found.", ShellExecuteErrorText(32));
    for (std::uintptr_t code : {1u, 4u, 12u, 25u, 33u, 42u, 0xFFFFFFFFu})
        EXPECT_EQ("Ok", ShellExecuteErrorText(code)) << code;
}

// A program the user had running is never started again with an elevated run's rights.
// (Under Wine every program counts as elevated, and the test harness provides the shell:
// the runs of the update tests start the tunnel client again through the shell's rights.)
TEST(DecideStartRights, AnElevatedRunLendsItsRightsToNoProgramOfTheUser)
{
    EXPECT_EQ(TStartRights::Own, DecideStartRights(false, false));
    EXPECT_EQ(TStartRights::Own, DecideStartRights(false, true));
    EXPECT_EQ(TStartRights::ShellUser, DecideStartRights(true, true));
    EXPECT_EQ(TStartRights::NotStarted, DecideStartRights(true, false));
}

TEST(ExpandEnvironmentText, ExpandsKnownVariablesAndKeepsUnknownOnes)
{
    ASSERT_TRUE(::SetEnvironmentVariableA("WARDTEST_LONG", std::string(3000, 'x').c_str()));
    EXPECT_EQ("a" + std::string(3000, 'x') + "b%WARDTEST_NO_SUCH_VARIABLE%",
              ExpandEnvironmentText("a%WARDTEST_LONG%b%WARDTEST_NO_SUCH_VARIABLE%"));
    EXPECT_EQ("", ExpandEnvironmentText(""));
}

}  // namespace
