#include "support/UpdateFixture.h"

#include "support/StandIns.h"
#include "support/TestFiles.h"

const std::string OldHost = "old.bank.example";
const std::string NewHost = "new.bank.example";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

void UpdateFixture::SetUp()
{
    MakeDirectory(client);
    MakeDirectory(probeDir);
    CopyFixture("exitprobe.exe", probeDir, "okprobe.exe");
    CopyFixture("exitprobe.exe", probeDir, "failprobe.exe");
}

void UpdateFixture::TearDown()
{
    EndProcessesStartedFrom(client + "wardlink.exe");
}

void UpdateFixture::Control(const std::string& dir, const std::string& name, const std::string& version)
{
    InstallTestControl(version, dir, name, clsid);
}

void UpdateFixture::RegisterClass(const std::string& path)
{
    SetServerValue(clsid, path);
}

std::string UpdateFixture::RegisteredPath()
{
    std::string path;
    return ReadServerValue(clsid, path) ? path : "";
}

void UpdateFixture::WardenCfg(const std::vector<IniSection>& others)
{
    std::vector<IniSection> sections{
        {"Client\\Web servers\\s1",
         {"web server host=" + OldHost, "web server address=10.0.0.1", "warden location=tun.example:81",
          "reserve location="}},
        {"Client\\Web servers\\s1\\Crypto engine", {"engine=1"}}};
    sections.insert(sections.end(), others.begin(), others.end());
    WriteBytes(client + "warden.cfg", IniText(sections));
}

void UpdateFixture::Scenario(const std::vector<std::string>& files, int removeBackup, const std::string& axClsid,
                             bool hostsInScenario, const std::string& extraSections)
{
    std::string text = "[WardCfgUp]\r\nRemoveBackup=" + std::to_string(removeBackup) +
                       "\r\nAXCLSID=" + (axClsid == "*" ? clsid.Braced() : axClsid) + "\r\n";
    for (std::size_t i = 0; i < files.size(); ++i)
        text += "FILE" + std::to_string(i + 1) + "=" + files[i] + "\r\n";
    if (hostsInScenario)
        text += "[WEB SERVERS HOSTS]\r\n" + OldHost + "=" + NewHost + "\r\n";
    text += "[RUN OK]\r\n" + probeDir + "okprobe.exe=0 ok\r\n";
    text += "[RUN NOT OK]\r\n" + probeDir + "failprobe.exe=0 notok\r\n";
    WriteBytes(install.ProgramDir() + "scen.ini", text + extraSections);
}

void UpdateFixture::TwoNewerFiles(const std::string& extraSections)
{
    Control(client, "a.ocx", "1_0_0_0");
    Control(client, "b.dll", "1_2_0_0");
    RegisterClass(client + "a.ocx");
    WardenCfg();
    Control(work, "a.ocx", "2_0_0_0");
    Control(work, "b.dll", "2_0_0_0");
    Scenario({"a.ocx", "b.dll"}, 1, "*", true, extraSections);
}

std::string UpdateFixture::ResultProgramsStarted()
{
    bool ok = !AwaitProbeCalls(probeDir + "okprobe.calls", 3000).empty();
    bool notOk = !AwaitProbeCalls(probeDir + "failprobe.calls", ok ? 0 : 3000).empty();
    return std::string(ok ? "ok" : "") + (notOk ? "notok" : "");
}

Snapshot UpdateFixture::State()
{
    return TakeSnapshot({client, work, install.ProgramDir(), probeDir},
                        {{HKEY_CLASSES_ROOT, "CLSID\\" + clsid.Braced()}, {HKEY_LOCAL_MACHINE, TJournal::Key}});
}
