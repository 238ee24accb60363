// TConfigurator: the whole state of one run and the stages that work on it.
// Each stage lives in a file of its own beside this one.
#pragma once

#include "CfgUnit/Journal.h"
#include "CfgUnit/Progress.h"
#include "CfgUnit/SignedUpdate.h"
#include "common/StringList.h"
#include "platform/Owner.h"

#include <string>
#include <vector>

struct TClosingCheck;
struct TCopyCheck;
struct TCopyDecision;
struct TResultProgram;

class TConfigurator {
public:
    // Not copied: the owners it holds (the log file, the claim on the update run) are move-only.
    // The key is the one updates are verified with (none: they are applied unchecked).
    explicit TConfigurator(const TUpdateKey& updateKey = NoUpdateKey);
    ~TConfigurator();

    // --- State of the run, in declaration order ---
    StringList SourceFiles;
    StringList WardLocations;
    StringList WebServersHosts;
    StringList CryptoParams;
    std::string SystemDir;
    bool RemoveBackup = true;
    std::string RegisteredActiveXFullName;
    std::string WardenFullName;
    std::string DestDir;
    std::string AxClsid;
    StringList DialogCaptions;
    StringList RunOkModules;
    StringList RunNotOkModules;
    StringList RestoreList;  // mark: 1 for an ActiveX control, 0 otherwise
    StringList AutostartList;
    std::string ScenarioPath;
    platform::FileHandle LogFile;
    TJournal Journal;  // of the copy cycles, or of the interrupted update being recovered
    std::string InterruptedClientDir;  // the client folder of the journal of an interrupted update

    // The message catalogue, named by the [Messages] keys that override them.
    std::string ERROR_FIND_ACTIVEX_DIR;
    std::string NEW_WEB_HOST_DIALOG_CANCEL;
    std::string WARNING_NEW_WEBHOST_EXISTS;
    std::string ASK_FOR_EMPTY_WARDEN_PORT;
    std::string ERROR_NOT_FILL_DIALOG_FIELD;
    std::string ERROR_NOT_FILL_DIALOG_FIELDS;
    std::string ConfigNotFoundText;  // fixed
    std::string SHARING_ERROR;
    std::string UsageText;  // fixed
    std::string NOT_FOUND_RUNNING_WARDEN;
    std::string NOT_FOUND_FILE;
    std::string CONFIG_EXISTS_TOOTHERBANK;
    std::string ERROR_INSTALL;
    std::string NOT_FOUND_PARAM;
    std::string WARDEN_CLIENT_NAME;
    std::string IEXPLORER_NAME;
    std::string IEXPLORER_CLOSE;
    std::string WARDEN_CLIENT_CLOSE;
    std::string OTHERPROCESSES_CLOSE;
    std::string ALL_OK;
    std::string CHECK_FOR_RUN_WARDEN;
    std::string ERROR_NOTFOUND_WARDENCFG;
    std::string ERROR_CORRECT_WARDENCFG;
    std::string COPY_ERROR;

    // --- Run control (Configurator.cpp) ---
    // The scenario named by "-c="; the logs named by "-l=" are opened.
    std::string ParseCommandLine();
    // Whether no other update run is in progress; this one then counts as in
    // progress until the configurator is freed. Otherwise the user is told in
    // a box, and one line goes to the log named on the command line, if it can be made.
    bool ClaimUpdateRun();
    HWND OwnerWindow() const { return nullptr; }

    // --- Message catalogue and default scenario (Messages.cpp) ---
    void SetDefaults();
    bool WriteDefaultScenario();
    // Writes every current setting and message as a scenario file.
    void WriteScenarioFile(const std::string& target);
    // A message box owned by OwnerWindow.
    int ShowMessage(const std::string& text, const std::string& caption, UINT style);

    // --- Scenario (Scenario.cpp) ---
    // The scenario named by "-c=", read; false when the update is refused (ReadTrustedScenario).
    bool LoadScenario();
    // Reads the scenario named by ScenarioPath (the part of LoadScenario after the command line).
    bool ReadScenario();

    // --- Signed updates (SignedUpdate.cpp) ---
    // The checks of the update against the key built into the program, and the files they hold.
    TSignedUpdate SignedUpdate;
    // ReadScenario, and with the bank's key only when the scenario's signature
    // verifies and every source file matches its hash; otherwise the refusal
    // (one box, one log line) and false, before anything changes.
    bool ReadTrustedScenario();

    // --- Run log (RunLog.cpp) ---
    void OpenLog(const std::string& fileName);
    bool LogOpen() const { return static_cast<bool>(LogFile); }
    void WriteLog(const std::string& text);

    // --- ActiveX lookup (ActiveXLookup.cpp) ---
    std::string GetRegisteredActiveXFullName(const std::string& clsid);

    // --- Version check (VersionCheck.cpp) ---
    void LogVersions(const TCopyDecision& decision);
    // What the check decides for SourceFiles in DestDir; it changes nothing.
    TCopyCheck DecideCopies() const;
    bool CheckFilesForNeedCopy();
    void ReportMissingSource(const std::string& source);

    // --- Update cycle (UpdateCycle.cpp) ---
    void RunUpdate();
    // The registered control and the running tunnel client; they decide DestDir.
    void LocateClient();
    // DestDir from them; false, after an error box, when neither knows the client.
    bool ChooseDestDir();
    // Puts back every file of RestoreList; false when one could not be settled
    // (its copy could not be deleted, or its backup not renamed back).
    bool Restore();
    // The name under which the update keeps a destination it replaces (TBackupNames).
    std::string BackupName(const std::string& destination) const;
    // What the progress window shows of the cycle.
    TProgress Progress;

    // --- Recovery of an interrupted update (Journal.cpp) ---
    // Reads the journal an interrupted update left, without acting on it: the
    // client folder of one the run can recover becomes InterruptedClientDir,
    // where the run looks for the client last.
    TJournal::TFound LoadInterruptedUpdate();
    // Loads the journal; one that cannot be recovered is removed (logged), and nothing else happens.
    void DropUnusableJournal();
    // Whether the journal's client folder is DestDir: a journal is acted on only for the client the run found.
    bool InterruptedUpdateIsHere() const;
    // Makes the client of an update that was cut off consistent again, when
    // the journal is of DestDir: a cut-off copy goes, a missing original comes
    // back from its backup, and every control the journal names is registered
    // in the file in place. False when a file could not be settled: the
    // journal is kept for the next run, and this one must not touch the client.
    bool RecoverInterruptedUpdate();
    // Removes the journal; a journal that cannot be removed is logged.
    void RemoveJournal();

    // --- Module runner (ModuleRunner.cpp) ---
    // Runs the program at that path with the command line and waits for it to end.
    bool RunModul(const std::string& program, const std::string& commandLine);
    bool RegisterOCX(const std::string& fileName);
    bool UnRegisterOCX(const std::string& fileName);
    void AutostartModules();
    std::vector<TResultProgram> ResultPrograms(bool success) const;
    void RunResultModules(bool success);

    // --- Running-application check (ApplicationCheck.cpp) ---
    // The processes that hold the files to replace, and the prompt that asks to close them.
    TClosingCheck DecideClosing();
    bool CheckProcesses();

    // --- Tunnel settings correction (WardenCorrection.cpp) ---
    bool CorrectWardenCfg();
    // The correction run over the file at cfgPath (a plan's scratch copy); its boxes name WardenCfgPath().
    bool CorrectWardenCfg(const std::string& cfgPath);
    // The tunnel settings file in DestDir, and the copy the correction keeps of it.
    std::string WardenCfgPath() const;
    std::string WardenCfgBackupPath() const;

    // --- Server settings dialog (ServerDialog.cpp, through the user interface) ---
    bool ShowNewWebHostDialog(StringList& servers, int& chosenSection, int& targetSection);

private:
    // Logs named by an earlier "-l=": kept open, and empty, until the end.
    std::vector<platform::FileHandle> EarlierLogs;
    platform::UniqueHandle UpdateRunClaim;
};

// The name of the mutex that marks an update run in progress, in the session's namespace.
extern const char* const UpdateRunMutexName;

// The program's single instance; created after ProcessSearcher, freed before it.
extern TConfigurator* Configurator;

// The program's own directory, with its trailing backslash.
std::string ProgramDir();
// The parameters of the process's command line (index from 1).
int CommandLineParamCount();
std::string CommandLineParam(int index);
// The value of the last parameter with that option prefix (Latin capitals
// folded): false when no parameter has it.
bool LastOptionValue(const std::string& prefix, std::string& value);
// The scenario the last "-c=" names, always in the program's directory; empty without one.
std::string ScenarioOnCommandLine();


