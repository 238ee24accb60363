#include "CfgUnit/VersionCheck.h"

#include "CfgUnit/ActiveXLookup.h"
#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/Text.h"
#include "platform/VersionInfo.h"

#include <tuple>
#include <vector>

namespace {

// Part by part, major first: the first part that differs decides.
bool IsNewerVersion(const FileVersion& candidate, const FileVersion& installed)
{
    return std::tie(candidate.major, candidate.minor, candidate.release, candidate.build) >
           std::tie(installed.major, installed.minor, installed.release, installed.build);
}

std::string VersionLine(const char* templateText, const std::string& fileName, const FileVersion& version)
{
    return FormatText(templateText, {fileName, version.major, version.minor, version.release, version.build});
}

}  // namespace

bool GetFileVersion(const std::string& fileName, FileVersion& version)
{
    DWORD size = platform::FileVersionInfoSize(fileName);
    if (size == 0)
        return false;
    std::vector<char> block;
    VS_FIXEDFILEINFO info;
    if (!platform::ReadFileVersionInfo(fileName, size, block) || !platform::FixedFileInfo(block, info))
        return false;
    version.major = HIWORD(info.dwFileVersionMS);
    version.minor = LOWORD(info.dwFileVersionMS);
    version.release = HIWORD(info.dwFileVersionLS);
    version.build = LOWORD(info.dwFileVersionLS);
    return true;
}

bool TCopyDecision::RegistersAgain() const
{
    return need == TNeed::UpToDate && IsActiveX(source);
}

// Missing or unreadable version information never blocks an update: it counts as a needed copy.
TCopyDecision DecideCopy(const std::string& source, const std::string& destination)
{
    TCopyDecision decision;
    decision.source = source;
    decision.destination = destination;
    if (!FileExists(source)) {
        decision.need = TCopyDecision::TNeed::SourceMissing;
        return decision;
    }
    decision.sourceVersionRead = GetFileVersion(source, decision.sourceVersion);
    if (!FileExists(destination))
        return decision;
    decision.destinationVersionRead = GetFileVersion(destination, decision.destinationVersion);
    bool newer = !decision.sourceVersionRead || !decision.destinationVersionRead ||
                 IsNewerVersion(decision.sourceVersion, decision.destinationVersion);
    decision.need = newer ? TCopyDecision::TNeed::Newer : TCopyDecision::TNeed::UpToDate;
    return decision;
}

// The versions the decision rested on, as the check has always logged them.
void TConfigurator::LogVersions(const TCopyDecision& decision)
{
    if (decision.need == TCopyDecision::TNeed::NotInstalled || !decision.sourceVersionRead)
        return;
    WriteLog(VersionLine("Verision SrcFile: \"%s\" : %d.%d.%d.%d.", decision.source, decision.sourceVersion));
    if (decision.destinationVersionRead)
        WriteLog(VersionLine("Verision DstFile: \"%s\" : %d.%d.%d.%d.", decision.destination,
                             decision.destinationVersion));
}

TCopyCheck TConfigurator::DecideCopies() const
{
    TCopyCheck check;
    check.remaining = SourceFiles;
    for (int i = SourceFiles.Count() - 1; i >= 0; --i) {
        check.walk.push_back(DecideCopy(SourceFiles[i], DestDir + SourceFiles[i]));
        const TCopyDecision& decision = check.walk.back();
        if (decision.need == TCopyDecision::TNeed::SourceMissing) {
            check.sourceMissing = true;
            check.copyNeeded = false;
            break;
        }
        if (!decision.Needed())
            check.remaining.Delete(i);
        check.copyNeeded = check.copyNeeded || decision.Needed();
    }
    return check;
}

void TConfigurator::ReportMissingSource(const std::string& source)
{
    WriteLog("Not found modul: " + source);
    ShowMessage(FormatText(NOT_FOUND_FILE, {source}), Box::Error, Box::ErrorStyle);
}

bool TConfigurator::CheckFilesForNeedCopy()
{
    WriteLog("Check files for need copy (version source > version dest)");
    const TCopyCheck check = DecideCopies();
    for (const TCopyDecision& decision : check.walk) {
        if (decision.need == TCopyDecision::TNeed::SourceMissing) {
            SourceFiles = check.remaining;
            ReportMissingSource(decision.source);
            return false;
        }
        WriteLog(FormatText("Check files: source: \"%s\" dest: \"%s\"", {decision.source, decision.destination}));
        LogVersions(decision);
        if (!decision.Needed()) {
            WriteLog(FormatText("Not need copy \"%s\" to \"%s\"", {decision.source, decision.destination}));
            if (decision.RegistersAgain())
                RegisterOCX(decision.destination);
        }
    }
    SourceFiles = check.remaining;
    WriteLog("End Check files for need copy result: " + BoolToText(check.copyNeeded));
    return check.copyNeeded;
}
