#include "CfgUnit/UpdateCycle.h"

#include "CfgUnit/ActiveXLookup.h"
#include "CfgUnit/Messages.h"
#include "CfgUnit/ModuleRunner.h"
#include "PrsSrch/ProcessSearcher.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/SystemErrorText.h"
#include "platform/Files.h"
#include "platform/System.h"

namespace {

// How the copy cycles ended.
enum class TCopyOutcome { Copied, Failed, SourceMissing };

void SearchWarden()
{
    ProcessSearcher->ShortPath = false;
    ProcessSearcher->FullPath = true;
    ProcessSearcher->ProcessName = WardenImage;
    ProcessSearcher->SearchProcesses();
}

// The run's destinations, each once: an entry listed twice names one file.
StringList RunDestinations(const TConfigurator& cfg)
{
    StringList all;
    for (int i = 0; i < cfg.SourceFiles.Count(); ++i)
        all.Add(cfg.DestDir + cfg.SourceFiles[i]);
    const SortedLines sorted(all);
    StringList destinations;
    for (int i = 0; i < all.Count(); ++i)
        if (sorted.IndexOf(all[i]) == i)
            destinations.Add(all[i]);
    return destinations;
}

bool SetNormalAndDelete(const std::string& name)
{
    platform::SetAttributes(name, FILE_ATTRIBUTE_NORMAL);
    return platform::RemoveFile(name);
}

}  // namespace

TClientDir DecideClientDir(const TConfigurator& cfg)
{
    if (!cfg.WardenFullName.empty())
        return {TClientDir::TSource::TunnelClient, DirectoryPart(cfg.WardenFullName)};
    if (!cfg.RegisteredActiveXFullName.empty())
        return {TClientDir::TSource::Registration, DirectoryPart(cfg.RegisteredActiveXFullName)};
    if (!cfg.InterruptedClientDir.empty())
        return {TClientDir::TSource::InterruptedUpdate, cfg.InterruptedClientDir};
    return {TClientDir::TSource::None, std::string()};
}

void TConfigurator::LocateClient()
{
    RegisteredActiveXFullName = GetRegisteredActiveXFullName(AxClsid);

    SearchWarden();
    WriteLog("Result ProcessSearcher.SearchProcesses: " + LastErrorText());
    WardenFullName = ProcessSearcher->Processes.Count() > 0 ? ProcessSearcher->Processes[0] : std::string();
    ProcessSearcher->ProcessName.clear();
    WriteLog("Get warden full name: " + WardenFullName);
}

bool TConfigurator::ChooseDestDir()
{
    const TClientDir client = DecideClientDir(*this);
    DestDir = client.dir;
    switch (client.source) {
    case TClientDir::TSource::TunnelClient:
        return true;
    case TClientDir::TSource::Registration:
        WriteLog("WardenFullName=\"\" and RegisteredActiveXFullName<>\"\" DestDir: " + DestDir);
        return true;
    case TClientDir::TSource::InterruptedUpdate:
        WriteLog("WardenFullName=\"\" and RegisteredActiveXFullName=\"\" DestDir of the interrupted update: " +
                 DestDir);
        return true;
    case TClientDir::TSource::None:
        break;
    }
    if (AxClsid.empty())
        ShowMessage(NOT_FOUND_RUNNING_WARDEN, Box::Error, Box::ErrorStyle);
    else
        ShowMessage(FormatText(ERROR_FIND_ACTIVEX_DIR, {AxClsid}), Box::Error, Box::ErrorStyle);
    return false;
}

// Moves an existing destination to its backup name and records it for Restore.
// A destination that cannot be moved keeps its place and is never copied over.
static bool BackUp(TConfigurator& cfg, const std::string& destination, bool activeX, int& restoreIndex)
{
    if (activeX) {
        cfg.Progress.Step(TProgressStep::Unregistering);
        cfg.UnRegisterOCX(destination);
    }
    std::string backup = cfg.BackupName(destination);
    if (FileExists(backup))
        SetNormalAndDelete(backup);
    cfg.Journal.Mark(destination, TJournal::TStep::BackingUp);
    if (!platform::MoveFileTo(destination, backup)) {
        cfg.WriteLog("Error create backup: " + backup + " Error: " + LastErrorText());
        cfg.Journal.Mark(destination, TJournal::TStep::Listed);  // the original never moved
        if (activeX)
            cfg.RegisterOCX(destination);
        return false;
    }
    cfg.WriteLog("Create backup: " + backup);
    cfg.RestoreList.AddMarked(destination, activeX ? 1 : 0);
    restoreIndex = cfg.RestoreList.Count() - 1;
    return true;
}

TInstallStep DecideInstall(const TConfigurator& cfg, const std::string& entry)
{
    TInstallStep step;
    step.destination = cfg.DestDir + entry;
    step.activeX = IsActiveX(entry);
    step.replaces = FileExists(step.destination);
    step.backup = cfg.BackupName(step.destination);
    return step;
}

// A copy that is not the checked source must never run with the program's
// rights: it goes at once. One that cannot be deleted is at least neither
// unregistered nor registered by the restore, which leaves it to the journal.
static void DropUncheckedCopy(TConfigurator& cfg, const std::string& destination, int restoreIndex)
{
    if (SetNormalAndDelete(destination))
        return;
    cfg.WriteLog("Not settled: " + destination + " Error: " + LastErrorText());
    if (restoreIndex >= 0)
        cfg.RestoreList.SetMarkAt(restoreIndex, 0);
}

// Backs up, copies and registers one source entry; false when it was not installed.
static bool InstallFile(TConfigurator& cfg, const std::string& entry)
{
    const TInstallStep step = DecideInstall(cfg, entry);
    const std::string& destination = step.destination;
    const bool activeX = step.activeX;
    cfg.WriteLog("Dest modul name: " + destination);
    platform::SetAttributes(destination, FILE_ATTRIBUTE_NORMAL);
    // An entry listed twice is backed up once: the second time the file holds
    // this cycle's own copy, and its backup the original.
    int restoreIndex = cfg.RestoreList.IndexOf(destination);
    if (restoreIndex < 0 && step.replaces && !BackUp(cfg, destination, activeX, restoreIndex))
        return false;

    cfg.Progress.Step(TProgressStep::Replacing);
    cfg.WriteLog("Start copy: " + entry + " -> " + destination);
    cfg.Journal.Mark(destination, TJournal::TStep::Copying);
    // With the bank's key the source is held since its check: no other file can
    // stand at its name. The copy is held in turn until its registration has run.
    if (!platform::CopyFileTo(entry, destination, false)) {
        cfg.WriteLog("Copy FALSE: " + LastErrorText());
        return false;
    }
    platform::FileHandle copy;
    if (!cfg.SignedUpdate.HoldCopy(entry, destination, copy)) {
        cfg.WriteLog("Copy FALSE: " + cfg.SignedUpdate.Problem());
        DropUncheckedCopy(cfg, destination, restoreIndex);
        return false;
    }
    cfg.Journal.Mark(destination, TJournal::TStep::Copied);
    cfg.WriteLog("Copy TRUE");
    if (activeX) {
        cfg.Progress.Step(TProgressStep::Registering);
        cfg.RegisterOCX(destination);
    }
    if (restoreIndex == -1)
        cfg.RestoreList.AddMarked(destination, activeX ? 1 : 0);
    else
        cfg.RestoreList.SetMarkAt(restoreIndex, activeX ? 1 : 0);
    return true;
}

// The journal names every destination of the cycles, with its backup and whether it is a control.
static void BeginJournal(TConfigurator& cfg)
{
    const TBackupNames backups(cfg);
    std::vector<TJournal::TFile> files;
    for (int i = 0; i < backups.Destinations().Count(); ++i)
        files.push_back({backups.Destinations()[i], backups.Of(backups.Destinations()[i]),
                         IsActiveX(backups.Destinations()[i])});
    cfg.Journal.Begin(cfg.DestDir, files);
}

// At most two cycles; the second only after a failure in the first and the user's OK.
static TCopyOutcome RunCopyCycles(TConfigurator& cfg, bool& success)
{
    for (int cycle = 1; cycle <= 2; ++cycle) {
        cfg.WriteLog("Start cycle number " + std::to_string(cycle));
        // A file the restore could not put back must not be backed up again: its backup is the original.
        if (!cfg.Restore())
            return TCopyOutcome::Failed;
        cfg.Progress.BeginCopies(cfg.SourceFiles);
        success = true;
        for (int i = 0; i < cfg.SourceFiles.Count() && success; ++i) {
            const std::string entry = cfg.SourceFiles[i];
            cfg.WriteLog("Work with: " + entry);
            cfg.Progress.NextFile(entry);
            if (!FileExists(entry)) {
                cfg.ReportMissingSource(entry);
                cfg.Restore();
                success = false;
                return TCopyOutcome::SourceMissing;
            }
            success = InstallFile(cfg, entry);
            if (!success && cycle == 1) {
                if (cfg.ShowMessage(cfg.COPY_ERROR, Box::AttentionRetry, Box::RetryStyle) != IDOK)
                    cycle = 2;
                cfg.WriteLog("Message: " + cfg.COPY_ERROR);
            }
        }
        if (success)
            return TCopyOutcome::Copied;
    }
    return TCopyOutcome::Failed;
}

// A source that the version check could not find is still in the list.
static bool SourceMissing(const TConfigurator& cfg)
{
    for (int i = 0; i < cfg.SourceFiles.Count(); ++i)
        if (!FileExists(cfg.SourceFiles[i]))
            return true;
    return false;
}

static void DeleteSources(TConfigurator& cfg)
{
    cfg.SignedUpdate.ReleaseSources();  // held since their check, they could not go
    for (int i = 0; i < cfg.SourceFiles.Count(); ++i) {
        cfg.WriteLog("Delete file: " + cfg.SourceFiles[i]);
        if (FileExists(cfg.SourceFiles[i]))
            SetNormalAndDelete(cfg.SourceFiles[i]);
    }
}

// Settings correction, version check, application check and the copy cycles.
// From the last copy on the update is done: nothing puts the old files back.
static void RunMainStage(TConfigurator& cfg, bool& success, bool& updateDone)
{
    if (!cfg.CorrectWardenCfg()) {
        success = false;
        return;
    }
    if (!cfg.CheckFilesForNeedCopy()) {
        // Nothing to copy is a success; a missing source is not.
        success = !SourceMissing(cfg);
        return;
    }
    success = false;
    if (!cfg.CheckProcesses())
        return;
    BeginJournal(cfg);
    switch (RunCopyCycles(cfg, success)) {
    case TCopyOutcome::SourceMissing:
        return;
    case TCopyOutcome::Failed:
        cfg.WriteLog("Operation fail, start restore");
        cfg.Restore();
        return;
    case TCopyOutcome::Copied:
        updateDone = true;
        cfg.RestoreList.Clear();
        if (cfg.RemoveBackup)
            DeleteSources(cfg);
        cfg.AutostartModules();
        return;
    }
}

static void RestartWarden(TConfigurator& cfg)
{
    cfg.Progress.Step(TProgressStep::RestartingWarden);
    cfg.WriteLog(std::string("Stop modul ") + WardenImage);
    ProcessSearcher->QuitWardenClient();
    SearchWarden();
    ProcessSearcher->TerminateProcesses();
    cfg.WriteLog("Start module " + cfg.WardenFullName);
    StartProgramAt(cfg, cfg.WardenFullName);
}

static void RunClosingSteps(TConfigurator& cfg, bool success)
{
    if (success)
        RestartWarden(cfg);
    cfg.RunResultModules(success);
    cfg.Progress.Close();
    cfg.ShowMessage(FinalMessage(cfg, success), Box::Information, Box::InformationStyle);
}

const std::string& FinalMessage(const TConfigurator& cfg, bool success)
{
    return success ? cfg.ALL_OK : cfg.NEW_WEB_HOST_DIALOG_CANCEL;
}

// The journal goes once every file is settled: copied, put back or never
// touched. Otherwise the next run finishes what this one could not.
static void SettleJournal(TConfigurator& cfg)
{
    if (cfg.Journal.Settled())
        cfg.RemoveJournal();
    else
        cfg.WriteLog("Journal of the update kept: a file is not settled");
}

void TConfigurator::RunUpdate()
{
    DropUnusableJournal();
    LocateClient();
    if (!ChooseDestDir())
        return;

    RestoreList.Clear();
    bool success = true;
    bool updateDone = false;
    try {
        if (RecoverInterruptedUpdate())
            RunMainStage(*this, success, updateDone);
        else
            success = false;  // what the journal names is not settled: this run changes nothing
    } catch (...) {
        // The run ends as it stands: cut off before its last copy it failed, and
        // whatever the cycle had replaced goes back; a done update stays a success.
        Restore();
        SettleJournal(*this);
        RunClosingSteps(*this, updateDone);
        throw;
    }
    SettleJournal(*this);
    RunClosingSteps(*this, success);
}

// File names compare as the file system does: letter case ignored.
TBackupNames::TBackupNames(const TConfigurator& cfg) : destinations_(RunDestinations(cfg)), sorted_(destinations_)
{
    SortedLines plainNames;
    for (int i = 0; i < destinations_.Count(); ++i)
        plainNames.Add(PlainBackupName(destinations_[i]), i);
    // No backup may take the name of a file of the run or of the settings file's backup.
    SortedLines taken(destinations_);
    taken.Add(cfg.WardenCfgBackupPath(), destinations_.Count());
    for (int i = 0; i < destinations_.Count(); ++i) {
        std::string name = PlainBackupName(destinations_[i]);
        if (taken.Count(name) > 0 || plainNames.Count(name) > 1)
            name = destinations_[i] + ".bak";
        while (taken.Count(name) > 0)
            name += ".bak";
        taken.Add(name, i);
        backups_.Add(name);
    }
}

std::string TBackupNames::Of(const std::string& destination) const
{
    int index = sorted_.IndexOf(destination);
    return index >= 0 ? backups_[index] : PlainBackupName(destination);
}

std::string TConfigurator::BackupName(const std::string& destination) const
{
    return TBackupNames(*this).Of(destination);
}

// The copy is gone: whatever stands at the destination from here on is the
// original, which its backup, if any, becomes. False when it could not.
static bool PutBack(TConfigurator& cfg, const std::string& name)
{
    cfg.Journal.Mark(name, TJournal::TStep::PuttingBack);
    std::string backup = cfg.BackupName(name);
    if (FileExists(backup)) {
        cfg.WriteLog(FormatText("Rename \"%s\" to \"%s\"", {backup, name}));
        if (!platform::MoveFileTo(backup, name)) {
            cfg.WriteLog("Not settled: " + name + " Error: " + LastErrorText());
            return false;
        }
    }
    cfg.Journal.Mark(name, TJournal::TStep::Settled);
    return true;
}

bool TConfigurator::Restore()
{
    WriteLog("Start Restore");
    Progress.BeginRestore(RestoreList);
    bool settled = true;
    for (int i = 0; i < RestoreList.Count(); ++i) {
        const std::string name = RestoreList[i];
        const bool activeX = RestoreList.MarkAt(i) == 1;
        WriteLog("DestFName: " + name);
        Progress.NextFile(name);
        Progress.Step(TProgressStep::Restoring);
        bool copyGone = true;
        if (FileExists(name)) {
            WriteLog("Exist: " + name);
            if (activeX)
                UnRegisterOCX(name);
            copyGone = SetNormalAndDelete(name);
            if (!copyGone)
                WriteLog("Not settled: " + name + " Error: " + LastErrorText());
            WriteLog("DeleteFile: " + name);
        }
        // A copy that stays keeps its backup beside it: the original is not put over it, nor lost.
        settled = copyGone && PutBack(*this, name) && settled;
        if (activeX)
            RegisterOCX(name);
    }
    RestoreList.Clear();
    WriteLog("End Restore");
    return settled;
}
