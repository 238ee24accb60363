#include "CfgUnit/Configurator.h"

#include "CfgUnit/Messages.h"

#include "common/CommandLine.h"
#include "common/FileNames.h"
#include "common/Text.h"
#include "platform/Files.h"
#include "platform/SystemLibrary.h"
#include "platform/System.h"

TConfigurator* Configurator = nullptr;

const char* const UpdateRunMutexName = "WardCfgUp update run {71cb88b1-87ff-4a15-9601-629ee6952460}";

std::string ProgramDir()
{
    std::string name = platform::ModuleFileName();
    return name.substr(0, name.rfind('\\') + 1);
}

int CommandLineParamCount()
{
    return static_cast<int>(SplitCommandLine(platform::CommandLine()).size());
}

std::string CommandLineParam(int index)
{
    std::vector<std::string> parameters = SplitCommandLine(platform::CommandLine());
    return index >= 1 && index <= static_cast<int>(parameters.size()) ? parameters[index - 1] : std::string();
}

TConfigurator::TConfigurator(const TUpdateKey& updateKey) : SignedUpdate(updateKey)
{
    SystemDir = platform::SystemDirectory();
    SetDefaults();
}

// The log file closes with its owner.
TConfigurator::~TConfigurator() = default;

bool LastOptionValue(const std::string& prefix, std::string& value)
{
    bool found = false;
    for (int i = 1; i <= CommandLineParamCount(); ++i) {
        std::string parameter = CommandLineParam(i);
        if (HasOptionPrefix(parameter, prefix)) {
            value = parameter.substr(prefix.size());
            found = true;
        }
    }
    return found;
}

std::string ScenarioOnCommandLine()
{
    std::string name;
    return LastOptionValue("-c=", name) ? ProgramDir() + name : std::string();
}

// Every "-l=" makes its log anew; the last one gets the lines.
std::string TConfigurator::ParseCommandLine()
{
    for (int i = 1; i <= CommandLineParamCount(); ++i) {
        std::string parameter = CommandLineParam(i);
        if (HasOptionPrefix(parameter, "-l="))
            OpenLog(parameter.substr(3));
    }
    return ScenarioOnCommandLine();
}

// Two runs at once would back up each other's copies and delete each other's
// backups; a user starts the program again when the registrations seem to
// hang. A claim that fails for any reason refuses the run: an object of the
// name that is no mutex must not let two runs through.
bool TConfigurator::ClaimUpdateRun()
{
    UpdateRunClaim = platform::NewNamedMutex(UpdateRunMutexName);
    if (UpdateRunClaim)
        return true;
    ParseCommandLine();
    WriteLog("Another update run is in progress: this one ends without a change");
    ShowMessage(UpdateInProgressText, Box::Attention, Box::WarningStyle);
    return false;
}
