// The setting of the end-to-end update tests: a scratch install of the program
// beside a client folder, a download folder (the working directory), a
// registered test class, and two result programs that note their starts.
#pragma once

#include "CfgUnit/Configurator.h"
#include "support/ScratchInstall.h"
#include "support/SettingsFiles.h"
#include "support/Snapshot.h"
#include "support/TestControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const std::string OldHost;  // the web host of the client's one server section
extern const std::string NewHost;  // where the scenario moves it

bool Contains(const std::string& text, const std::string& part);

class UpdateFixture : public ::testing::Test {
protected:
    explicit UpdateFixture(const std::string& program = "WardCfgUp.exe") : install(program) {}

    ScratchInstall install;
    std::string client = install.Root() + "client\\";
    std::string work = install.WorkDir();
    ScratchClsid clsid;
    std::string probeDir = install.Root() + "probe\\";
    TConfigurator texts;  // the built-in messages

    void SetUp() override;
    // Ends the tunnel clients that a run started again from the client folder.
    void TearDown() override;

    // A test control of the given version ("2_0_0_0", "failing", "noversion") as dir + name.
    void Control(const std::string& dir, const std::string& name, const std::string& version);
    void RegisterClass(const std::string& path);
    std::string RegisteredPath();  // empty when the class is not registered
    // The client's warden.cfg: one server for OldHost with its crypto section, then the others.
    void WardenCfg(const std::vector<IniSection>& others = {});
    // scen.ini in the program directory: the files, OldHost moved to NewHost
    // (unless not), the two result programs, then the extra sections.
    void Scenario(const std::vector<std::string>& files, int removeBackup = 1, const std::string& axClsid = "*",
                  bool hostsInScenario = true, const std::string& extraSections = "");
    // The client holds a.ocx 1.0.0.0 (registered) and b.dll 1.2.0.0; the download folder 2.0.0.0 of both,
    // and the scenario that installs them, with the extra sections.
    void TwoNewerFiles(const std::string& extraSections = "");
    // The result programs started: "ok", "notok", or "" when none was.
    std::string ResultProgramsStarted();
    // What a run may change: the files of the client, of the download folder, of the
    // program's folder and of the result programs, the registered class and the journal.
    Snapshot State();
};
