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
    // program: the build of the program installed as WardCfgUp.exe (WardCfgUpTestKey.exe carries the test key).
    explicit ScratchInstall(const std::string& program = "WardCfgUp.exe");

    std::string ProgramDir() const { return root_ / "prog\\"; }
    std::string WorkDir() const { return root_ / "work\\"; }
    std::string ExePath() const { return ProgramDir() + "WardCfgUp.exe"; }
    std::string Root() const { return root_.Path(); }

    // The program's runs from now on take the system's locale, and with it the code page of programs that
    // are not Unicode, from this Unix locale: "C.UTF-8" gives 1252, as on a Windows whose language for them
    // is English; the user's language stays Russian. Empty: the tests' own (1251).
    void SetSystemLocale(const std::string& unixLocale) { locale_ = unixLocale; }

    // Runs the program with the parameters (as they stand on its command line)
    // in the working directory, answering its boxes from the script. Under
    // another locale Wine's loader passes the parameters on, quoted anew, and
    // the program must show a box or a window before it ends, for it is found
    // by its path while it runs.
    ProgramRunResult Run(const std::string& parameters, std::vector<Answer> script = {},
                         BoxDriver::BoxHook onBox = nullptr, DWORD timeoutMs = 120000,
                         std::function<bool()> endWhen = nullptr) const;

private:
    TempDir root_;
    std::string locale_;
};
