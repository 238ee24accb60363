#include "CfgUnit/ModuleRunner.h"

#include "CfgUnit/Configurator.h"
#include "common/FormatText.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "platform/Launch.h"
#include "platform/System.h"
#include "platform/Window.h"

namespace {

constexpr DWORD ExitCodeQueryInterval = 1000;

// Waits, without a time limit, for the process to end and answers its exit
// code, queried once a second. An exit code of STILL_ACTIVE (259) alone cannot
// tell a running process from one that ended with that code, so the process
// object is asked too, before the code is read: once it has ended, the code is final.
DWORD WaitForExitCode(HANDLE process)
{
    bool ended;
    DWORD exitCode;
    do {
        ended = platform::ProcessEnded(process);
        exitCode = platform::ProcessExitCode(process);
        platform::SleepDispatchingMessages(ExitCodeQueryInterval);  // the progress window stays responsive
    } while (!ended && exitCode == STILL_ACTIVE);
    return exitCode;
}

const char* const Regsvr = "regsvr32.exe";

// regsvr32 from the system folder and nowhere else: without that folder the
// program would be searched for in the download folder, among others.
bool RunRegsvr(TConfigurator& cfg, const std::string& fileName, const char* switches)
{
    if (cfg.SystemDir.empty()) {
        cfg.WriteLog("No system folder: regsvr32.exe is not started");
        return false;
    }
    return cfg.RunModul(cfg.SystemDir + Regsvr, cfg.SystemDir + Regsvr + " \"" + fileName + "\" " + switches);
}

}  // namespace

std::string ShellExecuteErrorText(std::uintptr_t code)
{
    switch (code) {
    case 0: return "The operating system is out of memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied access to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred.";
    case 27: return "The filename association is incomplete or invalid.";
    case 28: return "The DDE transaction could not be completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30: return "The DDE transaction could not be completed because other DDE transactions were being processed.";
    case 31: return "There is no application associated with the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return "Ok";
    }
}

std::string ExpandEnvironmentText(const std::string& text)
{
    return platform::ExpandEnvironment(text);
}

TStartRights DecideStartRights(bool elevated, bool shellToken)
{
    if (!elevated)
        return TStartRights::Own;
    return shellToken ? TStartRights::ShellUser : TStartRights::NotStarted;
}

void StartProgramAt(TConfigurator& cfg, const std::string& path)
{
    platform::StartedProcess started;  // not waited for: its handles close at once
    const std::string commandLine = "\"" + path + "\"";
    const bool elevated = platform::RunsElevated();
    const platform::UniqueHandle shell = elevated ? platform::ShellUserToken() : platform::UniqueHandle();
    switch (DecideStartRights(elevated, static_cast<bool>(shell))) {
    case TStartRights::Own:
        platform::StartProcess(path, commandLine, started);
        break;
    case TStartRights::ShellUser:
        platform::StartProcessWithToken(shell.get(), path, commandLine, started);
        break;
    case TStartRights::NotStarted:
        cfg.WriteLog("Not started: " + path + " (no shell of the user to give it the user's rights)");
        break;
    }
}

bool TConfigurator::RunModul(const std::string& program, const std::string& commandLine)
{
    WriteLog("Start RunModul CmdLine: " + commandLine);
    platform::StartedProcess started;
    if (!platform::StartProcess(program, commandLine, started)) {
        WriteLog("False CreateProcess: " + LastErrorText());
        return false;
    }
    DWORD exitCode = WaitForExitCode(started.process.get());
    WriteLog("End CreateProcess RetCode: " + std::to_string(exitCode));
    started = platform::StartedProcess();  // both handles closed before the closing line
    WriteLog("End RunModul Result: " + BoolToText(true));
    return true;
}

bool TConfigurator::RegisterOCX(const std::string& fileName)
{
    WriteLog("Start RegisterOCX: " + fileName);
    bool result = RunRegsvr(*this, fileName, "/s");
    WriteLog("End RegisterOCX: " + BoolToText(result));
    return result;
}

bool TConfigurator::UnRegisterOCX(const std::string& fileName)
{
    WriteLog("Start UnRegisterOCX: " + fileName);
    bool result = RunRegsvr(*this, fileName, "/u /s");
    WriteLog("End UnRegisterOCX: " + BoolToText(result));
    return result;
}

void TConfigurator::AutostartModules()
{
    for (int i = 0; i < AutostartList.Count(); ++i) {
        WriteLog("Autostart modul: " + AutostartList[i]);
        StartProgramAt(*this, AutostartList[i]);
    }
}

std::vector<TResultProgram> TConfigurator::ResultPrograms(bool success) const
{
    const StringList& modules = success ? RunOkModules : RunNotOkModules;
    std::vector<TResultProgram> programs;
    for (int i = 0; i < modules.Count(); ++i) {
        TResultProgram program{modules.NameAt(i), modules.ValueAt(i), {}, {}};
        program.module = ExpandEnvironmentText(program.listedModule);
        program.parameters = ExpandEnvironmentText(program.listedParameters);
        programs.push_back(program);
    }
    return programs;
}

void TConfigurator::RunResultModules(bool success)
{
    for (const TResultProgram& program : ResultPrograms(success)) {
        WriteLog(FormatText("Before run modul: \"%s\" Params: %s", {program.listedModule, program.listedParameters}));
        WriteLog(FormatText("Correct modul: \"%s\" Params: %s", {program.module, program.parameters}));
        std::uintptr_t result = platform::ShellOpen(OwnerWindow(), program.module, program.parameters, SW_SHOW);
        WriteLog("Result run modul: " + ShellExecuteErrorText(result));
    }
}
