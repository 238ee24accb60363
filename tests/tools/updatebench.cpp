// The measurement behind scripts/bench-update.sh: an update of 10 controls.
//  1. The real WardCfgUp.exe end to end: total time.
//  2. The same update driven stage by stage in this process, to show where the
//     time goes: process searches, the settings correction, the version check,
//     regsvr32 runs (with the one-second rhythm of their waits) and the copies.
#include "CfgUnit/Configurator.h"
#include "platform/Files.h"

#include "support/FakeUserInterface.h"
#include "support/ScratchInstall.h"
#include "support/StandIns.h"
#include "support/TestControl.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int ControlCount = 10;

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& step)
{
    Clock::time_point start = Clock::now();
    step();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ControlName(int i)
{
    return "ctl" + std::to_string(i) + ".ocx";
}

// An installed client with old controls and a download folder with newer ones.
void Prepare(const ScratchInstall& install, const std::string& client, const ScratchClsid& clsid)
{
    MakeDirectory(client);
    for (int i = 0; i < ControlCount; ++i) {
        InstallTestControl("1_0_0_0", client, ControlName(i), clsid);
        InstallTestControl("2_0_0_0", install.WorkDir(), ControlName(i), clsid);
    }
    SetServerValue(clsid, client + ControlName(0));
    WriteBytes(client + "warden.cfg", "[Client\\Web servers\\s1]\r\nweb server host=old.example\r\n"
                                      "warden location=tun.example:81\r\nreserve location=\r\n");
    std::string scenario = "[WardCfgUp]\r\nRemoveBackup=0\r\nAXCLSID=" + clsid.Braced() + "\r\n";
    for (int i = 0; i < ControlCount; ++i)
        scenario += "FILE" + std::to_string(i + 1) + "=" + ControlName(i) + "\r\n";
    scenario += "[WEB SERVERS HOSTS]\r\nold.example=new.example\r\n";
    WriteBytes(install.ProgramDir() + "scen.ini", scenario);
}

void EndToEnd()
{
    ScratchInstall install;
    ScratchClsid clsid;
    Prepare(install, install.Root() + "client\\", clsid);
    ProgramRunResult run;
    double total = Seconds([&] { run = install.Run("-c=scen.ini", {Answer::Ok}, nullptr, 600000); });
    std::printf("end to end (WardCfgUp.exe, %d controls): %.2f s, %s, %zu box(es)\n", ControlCount, total,
                run.finished ? "finished" : "KILLED AT THE TIME BOUND", run.boxes.size());
}

void StageByStage()
{
    ScratchInstall install;
    ScratchClsid clsid;
    std::string client = install.Root() + "client\\";
    Prepare(install, client, clsid);
    CurrentDirectory current(install.WorkDir());

    FakeUserInterface ui;
    GlobalProcessSearcher searcher;
    TConfigurator cfg;
    cfg.ScenarioPath = install.ProgramDir() + "scen.ini";
    cfg.ReadScenario();

    double search = Seconds([&] {
        cfg.RegisteredActiveXFullName = cfg.GetRegisteredActiveXFullName(cfg.AxClsid);
        searcher.ProcessName = "wardlink.exe";
        searcher.FullPath = true;
        searcher.SearchProcesses();
        searcher.ProcessName.clear();
    });
    cfg.DestDir = client;
    double settings = Seconds([&] { cfg.CorrectWardenCfg(); });
    double versions = Seconds([&] { cfg.CheckFilesForNeedCopy(); });
    search += Seconds([&] { cfg.CheckProcesses(); });

    double regsvr = 0;
    double copies = 0;
    for (int i = 0; i < cfg.SourceFiles.Count(); ++i) {
        std::string entry = cfg.SourceFiles[i];
        std::string destination = client + entry;
        regsvr += Seconds([&] { cfg.UnRegisterOCX(destination); });
        copies += Seconds([&] {
            platform::MoveFileTo(destination, client + entry.substr(0, entry.size() - 4) + ".bak");
            platform::CopyFileTo(entry, destination, false);
        });
        regsvr += Seconds([&] { cfg.RegisterOCX(destination); });
    }
    search += Seconds([&] {  // the closing restart of the tunnel client
        searcher.QuitWardenClient();
        searcher.ProcessName = "wardlink.exe";
        searcher.FullPath = true;
        searcher.SearchProcesses();
    });

    double total = search + settings + versions + regsvr + copies;
    std::printf("stage by stage (in process, %d controls): %.2f s\n", ControlCount, total);
    std::printf("  regsvr32 runs (%d, waited in 1 s steps): %6.2f s  %5.1f%%\n", 2 * cfg.SourceFiles.Count(), regsvr,
                100 * regsvr / total);
    std::printf("  copies and backups:                     %6.2f s  %5.1f%%\n", copies, 100 * copies / total);
    std::printf("  process searches (4):                   %6.2f s  %5.1f%%\n", search, 100 * search / total);
    std::printf("  settings correction:                    %6.2f s  %5.1f%%\n", settings, 100 * settings / total);
    std::printf("  version check:                          %6.2f s  %5.1f%%\n", versions, 100 * versions / total);
}

}  // namespace

int main()
{
    EndToEnd();
    StageByStage();
    return 0;
}
