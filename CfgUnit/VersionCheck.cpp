#include "CfgUnit/VersionCheck.h"

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

// Missing or unreadable version information never blocks an update: it counts as a needed copy.
bool TConfigurator::IsSourceNewer(const std::string& source, const std::string& destination)
{
    if (!FileExists(destination))
        return true;
    FileVersion sourceVersion;
    if (!GetFileVersion(source, sourceVersion))
        return true;
    WriteLog(VersionLine("Verision SrcFile: \"%s\" : %d.%d.%d.%d.", source, sourceVersion));
    FileVersion destinationVersion;
    if (!GetFileVersion(destination, destinationVersion))
        return true;
    WriteLog(VersionLine("Verision DstFile: \"%s\" : %d.%d.%d.%d.", destination, destinationVersion));
    return IsNewerVersion(sourceVersion, destinationVersion);
}

// Walks the list from its end, so that removing the current entry leaves the rest of the walk alone.
bool TConfigurator::CheckFilesForNeedCopy()
{
    WriteLog("Check files for need copy (version source > version dest)");
    bool result = false;
    for (int i = SourceFiles.Count() - 1; i >= 0; --i) {
        const std::string source = SourceFiles[i];
        if (!FileExists(source)) {
            WriteLog("Not found modul: " + source);
            ShowMessage(FormatText(NOT_FOUND_FILE, {source}), Box::Error, Box::ErrorStyle);
            return false;
        }
        const std::string destination = DestDir + source;
        WriteLog(FormatText("Check files: source: \"%s\" dest: \"%s\"", {source, destination}));
        bool need = IsSourceNewer(source, destination);
        if (!need) {
            WriteLog(FormatText("Not need copy \"%s\" to \"%s\"", {source, destination}));
            if (IsActiveX(source))
                RegisterOCX(destination);
            SourceFiles.Delete(i);
        }
        result = result || need;
    }
    WriteLog("End Check files for need copy result: " + BoolToText(result));
    return result;
}
