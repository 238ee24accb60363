// A scratch program directory with a copy of WardCfgUp.exe and a working
// directory beside it, for end-to-end runs of the real program.
#pragma once

#include "support/BoxDriver.h"
#include "support/TestFiles.h"

#include <functional>
#include <string>
#include <vector>

class ScratchInstall {
public:
    ScratchInstall();

    std::string ProgramDir() const { return root_ / "prog\\"; }
    std::string WorkDir() const { return root_ / "work\\"; }
    std::string ExePath() const { return ProgramDir() + "WardCfgUp.exe"; }
    std::string Root() const { return root_.Path(); }

    // Runs the program with the parameters (as they stand on its command line)
    // in the working directory, answering its boxes from the script.
    ProgramRunResult Run(const std::string& parameters, std::vector<Answer> script = {},
                         BoxDriver::BoxHook onBox = nullptr, DWORD timeoutMs = 120000,
                         std::function<bool()> endWhen = nullptr) const;

private:
    TempDir root_;
};
