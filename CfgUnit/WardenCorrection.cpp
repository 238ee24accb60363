// The correction run over the tunnel settings file: backs it up, then copies
// its server sections for the new web host, from the scenario's host pairs or
// from the server chosen in the dialog.
#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "CfgUnit/WardenSettings.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/SystemErrorText.h"
#include "platform/Files.h"
#include "platform/System.h"

namespace {

const char* const NoProtectedServerText = "Не найдено ни одного защищаемого сервера";

// How the run ends: the user left the dialog without a server to copy, or the
// system error code of the first call that really failed (0 while none has).
struct TCorrectionOutcome {
    bool declined = false;
    unsigned long failure = 0;
};

// The code the failed call left, never 0.
unsigned long FailureCode()
{
    unsigned long code = platform::LastError();
    return code != 0 ? code : ERROR_GEN_FAILURE;
}

// Copies the settings file over the backup beside it; the system error code when the copy failed.
unsigned long BackUpSettingsFile(TConfigurator& configurator, const std::string& cfgPath)
{
    const std::string backupPath = PlainBackupName(cfgPath);
    // Clearing read-only lets the copy overwrite the backup and the run write the file;
    // the backup need not exist, so neither result is judged.
    platform::SetAttributes(cfgPath, FILE_ATTRIBUTE_NORMAL);
    platform::SetAttributes(backupPath, FILE_ATTRIBUTE_NORMAL);
    configurator.WriteLog(FormatText("Copy \"%s\" to \"%s\"", {cfgPath, backupPath}));
    return platform::CopyFileTo(cfgPath, backupPath, false) ? 0 : FailureCode();
}

std::string FirstValue(const StringList& list)
{
    return list.Count() > 0 ? list.ValueAt(0) : std::string();
}

// Looks for a free name "<host>_Conflict", "<host>_Conflict1", ... among the
// sections the file had at the start. False when a section met on the way
// already leads to the new tunnel location: an earlier run made this copy.
bool FindConflictHost(TSettingsCorrection& state, std::string& candidate)
{
    const std::string stem = state.NewWebServerHost + "_Conflict";
    candidate = stem;
    for (int k = 1;; ++k) {
        int section = state.FindConfigSectionByHost(1, candidate);
        if (section == 0)
            return true;
        if (IsSameServer(state.ServerValue(section, WardenLocationKey), state.NewWardenLocation))
            return false;
        candidate = stem + std::to_string(k);
    }
}

// Whether the section being examined (host, location) must be copied; sets
// the new host and tunnel location of the copy.
bool NeedCopyConfig(TConfigurator& configurator, TSettingsCorrection& state, const std::string& host,
                    const std::string& location)
{
    configurator.WriteLog(FormatText("start function NeedCopyConfig WebHost=%s, WardLoc=%s", {host, location}));
    state.NewWebServerHost = configurator.WebServersHosts.ValueOf(host);
    if (state.NewWebServerHost.empty()) {
        configurator.WriteLog("function NeedCopyConfig NewWebServerHost=\"\"");
        return false;
    }
    state.NewWardenLocation = state.TranslateWardenLocation(location);
    configurator.WriteLog("function NeedCopyConfig NewWardenLocation=" + state.NewWardenLocation);

    int existing = state.FindConfigSectionByHost(state.CurrentSection + 1LL, state.NewWebServerHost);
    configurator.WriteLog("function NeedCopyConfig FindConfigSectionByHost=" + std::to_string(existing));
    if (existing == 0)
        return true;
    const std::string currentLocation = state.ServerValue(existing, WardenLocationKey);
    configurator.WriteLog(FormatText("function NeedCopyConfig NewWardenLocation=%s, CurWardLoc=%s",
                                     {state.NewWardenLocation, currentLocation}));
    if (IsSameServer(state.NewWardenLocation, currentLocation))
        return false;

    // The new host exists already and leads elsewhere: copy under a conflict name.
    std::string candidate;
    bool copy = FindConflictHost(state, candidate);
    std::string message = FormatText(configurator.CONFIG_EXISTS_TOOTHERBANK,
                                     {host, state.NewWebServerHost, currentLocation, state.NewWardenLocation,
                                      candidate});
    state.NewWebServerHost = candidate;
    configurator.WriteLog("Error copy config:\r\n" + message);
    configurator.ShowMessage(message, Box::Error, Box::ErrorStyle);
    return copy;
}

// Copies every existing server section whose host the scenario maps to a new host.
void CorrectFromScenario(TConfigurator& configurator, TSettingsCorrection& state)
{
    state.Work.Clear();
    configurator.WriteLog("Found max num of sections \"Client\\Web servers\\s\" : " +
                          std::to_string(state.MaxSectionNumber));
    state.NextSectionNumber = NumberAfter(state.MaxSectionNumber);
    for (int number : state.ServerNumbers()) {
        state.CurrentSection = number;
        std::string location = state.ServerValue(number, WardenLocationKey);
        std::string host = state.ServerHost(number);
        if (NeedCopyConfig(configurator, state, host, location)) {
            configurator.WriteLog("Need copy section: " + ServerSectionName(number));
            if (!state.CopyConfigSection(number))
                return;
        } else {
            configurator.WriteLog("No need copy section: " + ServerSectionName(number));
        }
    }
}

// Work := "host=number|warden location|reserve location" for every server
// section with a host, each line marked with its section number.
void ListServers(TSettingsCorrection& state)
{
    state.Work.Clear();
    for (int number : state.ServerNumbers()) {
        std::string host = state.ServerHost(number);
        if (host.empty())
            continue;
        state.Work.AddMarked(host + "=" + std::to_string(number) + "|" +
                                 state.ServerValue(number, WardenLocationKey) + "|" +
                                 state.ServerValue(number, ReserveLocationKey),
                             static_cast<StringList::Mark>(number));
    }
}

// Copies the server that the user chooses in the dialog. False when the user
// left the dialog without choosing one of the listed servers.
bool CorrectFromDialog(TConfigurator& configurator, TSettingsCorrection& state)
{
    configurator.WardLocations.Clear();
    ListServers(state);
    if (state.Work.Count() == 0) {
        configurator.ShowMessage(NoProtectedServerText, Box::Error, Box::ErrorStyle);
        return true;
    }
    state.NextSectionNumber = NumberAfter(state.MaxSectionNumber);
    if (!configurator.ShowNewWebHostDialog(state.Work, state.CurrentSection, state.NextSectionNumber))
        return false;
    // Copying a section that was not listed would write one with empty tunnel locations.
    if (state.Work.IndexOfMark(static_cast<StringList::Mark>(state.CurrentSection)) < 0) {
        configurator.WriteLog("No listed server chosen in dialog, section number: " +
                              std::to_string(state.CurrentSection));
        return false;
    }
    state.Work.Clear();
    state.NewWebServerHost = FirstValue(configurator.WebServersHosts);
    state.NewWardenLocation = FirstValue(configurator.WardLocations);
    state.CopyConfigSection(state.CurrentSection);
    return true;
}

// The end of every run that got past the backup: reports its failure, if any.
bool FinishCorrection(TConfigurator& configurator, const TCorrectionOutcome& outcome)
{
    if (outcome.declined)
        return false;
    if (outcome.failure != 0) {
        std::string message = FormatText(configurator.ERROR_CORRECT_WARDENCFG,
                                         {configurator.WardenCfgPath(), SystemErrorText(outcome.failure)});
        configurator.WriteLog("Error exec CorrectWardenCfg: " + message);
        configurator.ShowMessage(message, Box::Error, Box::ErrorStyle);
        return false;
    }
    configurator.WriteLog("Success end exec CorrectWardenCfg");
    return true;
}

}  // namespace

std::string TConfigurator::WardenCfgPath() const
{
    return DestDir + "warden.cfg";
}

std::string TConfigurator::WardenCfgBackupPath() const
{
    return PlainBackupName(WardenCfgPath());
}

bool TConfigurator::CorrectWardenCfg()
{
    return CorrectWardenCfg(WardenCfgPath());
}

bool TConfigurator::CorrectWardenCfg(const std::string& cfgPath)
{
    WriteLog("Start CorrectWardenCfg");
    if (!FileExists(cfgPath)) {
        WriteLog("NOT FileExists: " + cfgPath);
        ShowMessage(FormatText(ERROR_NOTFOUND_WARDENCFG, {WardenCfgPath()}), Box::Error, Box::ErrorStyle);
        return false;
    }

    TCorrectionOutcome outcome;
    outcome.failure = BackUpSettingsFile(*this, cfgPath);
    TSettingsCorrection state(*this, cfgPath);
    auto finish = [&] {
        if (outcome.failure == 0)
            outcome.failure = state.Failure();
        return FinishCorrection(*this, outcome);
    };
    // Without a backup the settings file is not touched: the run fails as it stands.
    if (outcome.failure != 0)
        return finish();
    try {
        state.ReadSections();
        if (WebServersHosts.Count() > 0)
            CorrectFromScenario(*this, state);
        else
            outcome.declined = !CorrectFromDialog(*this, state);
    } catch (...) {
        // The end runs on this way out too, then the exception travels on; one
        // that the end raises itself travels instead (never std::terminate).
        finish();
        throw;
    }
    return finish();
}
