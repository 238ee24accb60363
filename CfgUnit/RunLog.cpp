#include "CfgUnit/Configurator.h"

#include "common/FileNames.h"
#include "platform/Files.h"
#include "platform/System.h"

void TConfigurator::OpenLog(const std::string& fileName)
{
    if (FileExists(fileName))
        platform::RemoveFile(fileName);
    // An earlier log stays open and empty; when this one cannot be created,
    // logging is off for the whole run.
    if (LogFile)
        EarlierLogs.push_back(std::move(LogFile));
    LogFile = platform::CreateNewFile(fileName);
}

void TConfigurator::WriteLog(const std::string& text)
{
    if (!LogOpen())
        return;
    platform::LocalStamp now = platform::LocalNow("dd.MM.yyyy", "HH:mm:ss");
    platform::WriteFile(LogFile.get(), "[" + now.date + " " + now.time + "] -> " + text + "\r\n");
}
