#include "plan/Plan.h"

#include "CfgUnit/ApplicationCheck.h"
#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "CfgUnit/ModuleRunner.h"
#include "CfgUnit/UpdateCycle.h"
#include "CfgUnit/VersionCheck.h"
#include "common/FileNames.h"
#include "common/ProfileFile.h"
#include "common/Text.h"
#include "plan/PlanWriter.h"
#include "plan/RecordingUserInterface.h"
#include "plan/ScratchFolder.h"
#include "platform/Files.h"

#include <vector>

namespace {

// Lines of the box: a MessageBox taller than the screen loses its buttons.
constexpr int BoxLineLimit = 40;

bool PlanRequested()
{
    for (int i = 1; i <= CommandLineParamCount(); ++i)
        if (EqualFoldingAscii(CommandLineParam(i), "-plan"))
            return true;
    return false;
}

std::string VersionText(bool read, const FileVersion& version)
{
    if (!read)
        return "unknown";
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.release) + "." + std::to_string(version.build);
}

// What the recovery of the interrupted update would do, file by file, as the run decides it.
void PlanRecovery(const TConfigurator& cfg, TPlanWriter& plan)
{
    if (!cfg.InterruptedUpdateIsHere()) {
        plan.Line("The journal of an interrupted update in " + cfg.InterruptedClientDir +
                  " would be left alone: the client is in " + cfg.DestDir);
        return;
    }
    const std::size_t files = cfg.Journal.Files().size();
    plan.Line("An interrupted update is finished first in " + cfg.InterruptedClientDir + " (" +
              std::to_string(files) + (files == 1 ? " file" : " files") + "); this plan shows the client as it is now");
    for (const TJournal::TFile& file : cfg.Journal.Files()) {
        const TRecoveryAction action = DecideRecovery(file, FileExists(file.destination), FileExists(file.backup));
        if (action.deleteCopy)
            plan.Item("would delete the cut-off copy " + file.destination);
        if (action.putBack)
            plan.Item("would rename " + file.backup + " back to " + file.destination);
        if (action.registers)
            plan.Item("would register " + file.destination);
    }
}

void PlanClient(TConfigurator& cfg, TPlanWriter& plan)
{
    // Only read: a plan never removes the journal, nor acts on it.
    if (cfg.LoadInterruptedUpdate() != TJournal::TFound::None && cfg.InterruptedClientDir.empty())
        plan.Line("The journal of an interrupted update would be removed: unreadable, or its client folder gone");

    cfg.LocateClient();
    const bool found = cfg.ChooseDestDir();
    if (found && !cfg.InterruptedClientDir.empty())
        PlanRecovery(cfg, plan);
    const TClientDir client = DecideClientDir(cfg);
    plan.Heading("Client: " + (found ? cfg.DestDir : std::string("not found")));
    switch (client.source) {
    case TClientDir::TSource::TunnelClient:
        plan.Item("found through the running tunnel client " + cfg.WardenFullName);
        break;
    case TClientDir::TSource::Registration:
        plan.Item("found through the registration of class " + cfg.AxClsid + ": " + cfg.RegisteredActiveXFullName);
        break;
    case TClientDir::TSource::InterruptedUpdate:
        plan.Item("taken from the journal of the interrupted update");
        break;
    case TClientDir::TSource::None:
        plan.Item("no tunnel client running, and " + (cfg.AxClsid.empty()
                                                           ? std::string("the scenario names no class")
                                                           : "the class " + cfg.AxClsid + " is not registered"));
        break;
    }
    plan.NewBoxes();
}

// With the bank's key: the signature and the hashes as the run checks them,
// and the refusal the run would show. False when the run would refuse.
bool PlanSignature(TConfigurator& cfg, TPlanWriter& plan)
{
    TSignedUpdate& update = cfg.SignedUpdate;
    if (!update.HasKey())
        return true;
    plan.Heading(Concat({"Signature: ", SignatureName(cfg.ScenarioPath), ", checked with ", update.KeyName()}));
    if (update.VerifyScenario(cfg.ScenarioPath) &&
        update.VerifySources(cfg.SourceFiles, TSourceHashes(cfg.ScenarioPath))) {
        plan.Item("valid; the source files match their hashes in [SHA256]");
        return true;
    }
    plan.Item(Concat({"the run would refuse the update: ", update.Problem()}));
    plan.Quote(Concat({"box \"", Box::Error, "\":"}), UpdateRefusedText);
    plan.Heading("Outcome: refused; the run ends with the box above, starts no program and changes nothing");
    return false;
}

// The Temp folder of Windows: the system folder's parent holds it.
std::string WindowsTempFolder(const TConfigurator& cfg)
{
    if (cfg.SystemDir.empty())
        return std::string();
    return DirectoryPart(cfg.SystemDir.substr(0, cfg.SystemDir.size() - 1)) + "Temp";
}

// Runs the correction on a scratch copy in a folder of its own; the sections it
// added are read back from the copy. False when the correction would fail.
bool PlanSettings(TConfigurator& cfg, TRecordingUserInterface& ui, TPlanWriter& plan)
{
    const std::string real = cfg.WardenCfgPath();
    plan.Heading("Settings: " + real + " (kept as " + cfg.WardenCfgBackupPath() + ")");
    TScratchFolder folder(WindowsTempFolder(cfg));
    if (!folder.Made()) {
        plan.Item("no scratch folder for a copy of the file: the correction could not be tried");
        return false;
    }
    const std::string scratch = folder.File("warden.cfg");
    folder.File(FileNamePart(PlainBackupName(scratch)));  // the correction's backup of the copy
    if (FileExists(real))
        platform::CopyFileTo(real, scratch, true);
    const bool corrected = cfg.CorrectWardenCfg(scratch);

    StringList before;
    StringList after;
    ProfileFile(real).ReadSectionNames(before);
    ProfileFile copy(scratch);
    copy.ReadSectionNames(after);
    const SortedLines sectionsBefore(before);
    for (int i = 0; i < after.Count(); ++i) {
        if (sectionsBefore.IndexOf(after[i]) >= 0)
            continue;
        plan.Item("would add [" + after[i] + "]");
        StringList lines;
        copy.Section = after[i];
        copy.SectionLines(lines);
        for (int k = 0; k < lines.Count(); ++k)
            plan.Item("  " + lines[k]);
    }
    plan.NewBoxes();
    if (ui.dialogAsked) {
        plan.Item("would ask for the new server in the dialog, which would list:");
        for (int i = 0; i < ui.dialogServers.Count(); ++i)
            plan.Item("  " + ui.dialogServers.NameAt(i));
        return true;  // the outcome takes the dialog as filled in and accepted
    }
    if (corrected && after.Count() == before.Count())
        plan.Item("no section to add");
    return corrected;
}

// What becomes of a file; the run copies nothing when it stops before the copies.
std::string NeedText(TCopyDecision::TNeed need, bool copying)
{
    switch (need) {
    case TCopyDecision::TNeed::SourceMissing: return "source missing: the run would fail";
    case TCopyDecision::TNeed::UpToDate: return "up to date";
    case TCopyDecision::TNeed::NotInstalled: return copying ? "not installed yet: would copy" : "not installed yet";
    case TCopyDecision::TNeed::Newer: break;
    }
    return copying ? "would replace" : "newer";
}

// The files, the controls and the programs holding them, in a run that gets
// to them (reached) or not. False when the run would fail.
bool PlanFiles(TConfigurator& cfg, TPlanWriter& plan, bool reached, bool& copies)
{
    const StringList listed = cfg.SourceFiles;
    const TCopyCheck check = cfg.DecideCopies();
    cfg.SourceFiles = check.remaining;  // as the run leaves the list: the backup names depend on it
    const bool copying = reached && !check.sourceMissing;
    plan.Heading(reached ? "Files (from the current directory to " + cfg.DestDir + "):"
                         : std::string("Files (not reached: the settings correction fails first):"));
    StringList registered;
    StringList unregistered;
    for (int i = 0; i < listed.Count(); ++i) {
        const TCopyDecision file = DecideCopy(listed[i], cfg.DestDir + listed[i]);
        std::string text = file.source + ": ";
        if (file.need != TCopyDecision::TNeed::SourceMissing)
            text += "installed " +
                    (file.need == TCopyDecision::TNeed::NotInstalled
                         ? std::string("none")
                         : VersionText(file.destinationVersionRead, file.destinationVersion)) +
                    ", new " + VersionText(file.sourceVersionRead, file.sourceVersion) + ": ";
        text += NeedText(file.need, copying);
        if (copying && file.Needed()) {
            const TInstallStep step = DecideInstall(cfg, file.source);
            if (step.replaces)
                text += " (old file kept as " + FileNamePart(step.backup) + ")";
            if (step.activeX && step.replaces)
                unregistered.Add(step.destination);
            if (step.activeX)
                registered.Add(step.destination);
        }
        plan.Item(text);
    }
    if (!reached)
        return false;
    // Controls found up to date are registered again as the check walks the list, before it meets a missing source.
    for (const TCopyDecision& file : check.walk)
        if (file.RegistersAgain())
            registered.Add(file.destination + " (up to date: registered again)");
    if (check.sourceMissing) {
        plan.Item("the check stops at the missing source: nothing is copied");
        cfg.ReportMissingSource(check.walk.back().source);
        plan.NewBoxes();
    }
    copies = copying && check.copyNeeded;
    plan.Heading("Controls:");
    for (int i = 0; i < unregistered.Count(); ++i)
        plan.Item("would unregister " + unregistered[i]);
    for (int i = 0; i < registered.Count(); ++i)
        plan.Item("would register " + registered[i]);
    if (registered.Count() == 0)
        plan.Item("none");
    if (check.sourceMissing)
        return false;

    plan.Heading("Programs holding the files:");
    if (!copies) {
        plan.Item("not searched: nothing to copy");
        return true;
    }
    const TClosingCheck closing = cfg.DecideClosing();
    for (int i = 0; i < closing.holders.Count(); ++i)
        plan.Item(closing.holders[i]);
    if (closing.holders.Count() == 0)
        plan.Item("none");
    else
        plan.Quote("the user is asked to close them, box \"" + std::string(Box::Attention) + "\":", closing.prompt);
    for (int i = 0; i < closing.restarts.Count(); ++i)
        plan.Item("started again after the copies: " + closing.restarts[i]);
    return true;
}

void PlanTunnelRestart(const TConfigurator& cfg, TPlanWriter& plan)
{
    plan.Item(cfg.WardenFullName.empty() ? std::string("tunnel client: none was running, none is started")
                                         : "tunnel client: would be closed and started again: " + cfg.WardenFullName);
}

void PlanResultPrograms(TConfigurator& cfg, TPlanWriter& plan, bool success)
{
    plan.Heading("Result programs:");
    for (bool after : {true, false})
        for (const TResultProgram& program : cfg.ResultPrograms(after))
            plan.Item(std::string(after ? "after success: " : "after a failure: ") + program.module + " " +
                      program.parameters + (after == success ? " (would start)" : ""));
    if (cfg.RunOkModules.Count() + cfg.RunNotOkModules.Count() == 0)
        plan.Item("none");
}

}  // namespace

TPlan MakePlan(TConfigurator& cfg)
{
    TRecordingUserInterface ui;
    TPlanWriter plan(ui);
    plan.Line("Plan of the update " + cfg.ScenarioPath + " (a dry run: nothing was changed)");
    plan.NewBoxes();  // a scenario that does not exist
    if (!PlanSignature(cfg, plan))
        return {plan.Text(), false};

    PlanClient(cfg, plan);
    bool success = !cfg.DestDir.empty();
    bool copies = false;
    // The run corrects the settings before it checks the files; the plan lists them after.
    TPlanWriter settings(ui);
    if (success)
        success = PlanSettings(cfg, ui, settings);
    if (!cfg.DestDir.empty()) {
        success = PlanFiles(cfg, plan, success, copies) && success;
        if (success)
            PlanTunnelRestart(cfg, plan);
    }
    plan.Append(settings);
    if (cfg.DestDir.empty()) {
        plan.Heading("Outcome: failure; the run ends with the box above, starts no program and changes nothing");
        return {plan.Text(), false};
    }
    PlanResultPrograms(cfg, plan, success);
    plan.Heading(std::string("Outcome if every answer is OK: ") + (success ? "success" : "failure") +
                 (copies ? "" : ", no file copied"));
    plan.Quote("final box \"" + std::string(Box::Information) + "\":", FinalMessage(cfg, success));
    return {plan.Text(), success};
}

std::string PlanBoxText(const std::string& plan)
{
    std::string::size_type end = 0;
    for (int lines = 0; lines < BoxLineLimit; ++lines) {
        end = plan.find("\r\n", end);
        if (end == std::string::npos)
            return plan;
        end += 2;
    }
    return end < plan.size() ? plan.substr(0, end) + "... (-l=<file> writes the whole plan)\r\n" : plan;
}

// A plan keeps no run log: the last "-l=" names the plan's file instead.
bool ShowPlan(TConfigurator& cfg, int& exitCode)
{
    if (!PlanRequested())
        return false;
    cfg.ScenarioPath = ScenarioOnCommandLine();
    cfg.ReadScenario();
    const TPlan plan = MakePlan(cfg);
    exitCode = plan.succeeds ? 0 : 1;
    std::string planFile;
    if (LastOptionValue("-l=", planFile)) {
        cfg.OpenLog(planFile);
        if (!cfg.LogOpen() || !platform::WriteFile(cfg.LogFile.get(), plan.text))
            exitCode = 1;
        return true;
    }
    cfg.ShowMessage(PlanBoxText(plan.text), Box::Information, Box::InformationStyle);
    return true;
}
