#include "support/ScratchInstall.h"

#include <windows.h>

#include <stdexcept>

ScratchInstall::ScratchInstall()
{
    MakeDirectory(ProgramDir());
    MakeDirectory(WorkDir());
    if (!::CopyFileA((BinDir() + "WardCfgUp.exe").c_str(), ExePath().c_str(), FALSE))
        throw std::runtime_error("cannot copy WardCfgUp.exe from " + BinDir());
}

ProgramRunResult ScratchInstall::Run(const std::string& parameters, std::vector<Answer> script,
                                     BoxDriver::BoxHook onBox, DWORD timeoutMs, std::function<bool()> endWhen) const
{
    std::string line = "\"" + ExePath() + "\"";
    if (!parameters.empty())
        line += " " + parameters;
    return RunAndDriveBoxes(line, WorkDir(), std::move(script), timeoutMs, std::move(onBox), std::move(endWhen));
}
