#include "CfgUnit/Configurator.h"

#include "common/CommandLine.h"
#include "common/FileNames.h"
#include "platform/Files.h"
#include "platform/System.h"

TConfigurator* Configurator = nullptr;

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

TConfigurator::TConfigurator()
{
    SystemDir = platform::SystemDirectory();
    if (SystemDir.empty() || SystemDir.back() != '\\')
        SystemDir += '\\';
    SetDefaults();
}

// The log file closes with its owner.
TConfigurator::~TConfigurator() = default;

std::string TConfigurator::ParseCommandLine()
{
    std::string scenarioPath;
    for (int i = 1; i <= CommandLineParamCount(); ++i) {
        std::string parameter = CommandLineParam(i);
        if (HasOptionPrefix(parameter, "-c="))
            scenarioPath = ProgramDir() + parameter.substr(3);
        else if (HasOptionPrefix(parameter, "-l="))
            OpenLog(parameter.substr(3));
    }
    return scenarioPath;
}
