// The correction run over real warden.cfg files: the backup, the scenario's
// host pairs with their conflict names, the server dialog, and the outcome.
#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "support/FakeUserInterface.h"
#include "support/LogLines.h"
#include "support/SettingsFiles.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

const std::string S1 = "Client\\Web servers\\s1";
const std::string S2 = "Client\\Web servers\\s2";
const std::string S3 = "Client\\Web servers\\s3";
const std::string S4 = "Client\\Web servers\\s4";

// What the user types into the server dialog before accepting it.
struct DialogEntries {
    std::string oldHost;  // the listed server picked, empty when none is
    std::string newHost;
    std::string newLocation;
    std::string newReserve;
};

using Dialog = decltype(FakeUserInterface::dialog);

// The dialog accepted with the entries: it hands its results back as the real
// one does, confirming a new host that a listed server already has.
Dialog AcceptingDialog(const DialogEntries& entries)
{
    return [entries](TConfigurator& configurator, StringList& servers, int& chosenSection, int& targetSection) {
        int existing = servers.IndexOfName(entries.newHost);
        if (existing >= 0)
            targetSection = DecimalValue(servers.ValueAt(existing));
        configurator.WebServersHosts.Add(entries.oldHost + "=" + entries.newHost);
        int chosen = servers.Count() == 1 ? 0 : servers.IndexOfName(entries.oldHost);
        if (chosen < 0)
            return true;
        std::string value = servers.ValueAt(chosen);
        std::string::size_type bar = value.find('|');
        std::string::size_type secondBar = value.find('|', bar + 1);
        chosenSection = DecimalValue(value);
        std::string oldLocation = value.substr(bar + 1, secondBar - bar - 1);
        std::string oldReserve = value.substr(secondBar + 1);
        configurator.WardLocations.Add(oldLocation + "=" + entries.newLocation);
        if (!oldReserve.empty())
            configurator.WardLocations.Add(oldReserve + "=" +
                                           (entries.newReserve.empty() ? entries.newLocation : entries.newReserve));
        return true;
    };
}

IniSection Server(const std::string& name, const std::string& host, const std::string& location,
                  const std::string& reserve = "")
{
    return {name, {"web server host=" + host, "web server address=10.0.0.1", "warden location=" + location,
                   "reserve location=" + reserve, "timeout=30"}};
}

class WardenCorrection : public ::testing::Test {
protected:
    WardenCorrection()
    {
        configurator.DestDir = dir.Path();
        configurator.OpenLog(logPath);
    }

    TempDir dir;
    TConfigurator configurator;
    FakeUserInterface ui;
    const std::string cfgPath = dir / "warden.cfg";
    const std::string bakPath = dir / "warden.bak";
    const std::string logPath = dir / "run.log";

    std::string WriteCfg(const std::vector<IniSection>& sections)
    {
        std::string text = IniText(sections);
        WriteBytes(cfgPath, text);
        return text;
    }

    void MapHost(const std::string& pair) { configurator.WebServersHosts.Add(pair); }
    void MapLocation(const std::string& pair) { configurator.WardLocations.Add(pair); }

    // The entries of the latest run, without the section dumps.
    std::vector<std::string> LastRunLog() const
    {
        std::vector<std::string> entries = LogEntries(logPath);
        auto start = std::find(entries.rbegin(), entries.rend(), "Start CorrectWardenCfg");
        std::vector<std::string> run(start == entries.rend() ? entries.begin() : std::prev(start.base()),
                                     entries.end());
        run.erase(std::remove_if(run.begin(), run.end(),
                                 [](const std::string& entry) {
                                     return entry.rfind("Old data of section", 0) == 0 ||
                                            entry.rfind("New data of section", 0) == 0;
                                 }),
                  run.end());
        return run;
    }

    bool LastRunLogged(const std::string& entry) const
    {
        std::vector<std::string> run = LastRunLog();
        return std::find(run.begin(), run.end(), entry) != run.end();
    }

    std::string ConflictMessage(const std::string& host, const std::string& newHost, const std::string& current,
                                const std::string& wanted, const std::string& copyHost) const
    {
        return "Настройка хоста \"" + host + "\" не может быть скопирована в \"" + newHost +
               "\", т.к. уже существует и ведет на сайт \"" + current + "\", а не на \"" + wanted +
               "\" настройка скопирована в \"" + copyHost + "\".\r\nПо окончании обновления обратитесь в службу поддержки.";
    }

    std::string CorrectionError(unsigned long code) const
    {
        return "Ошибка обновления настроек Warden. \r\nФайл настроек: \"" + cfgPath + "\"\r\nError: " +
               SystemErrorText(code);
    }
};

TEST_F(WardenCorrection, ScenarioCopiesAMappedSectionForTheNewHost)
{
    std::string original = WriteCfg({Server(S1, "old", "tun:81", "res:90"), {S1 + "\\Crypto engine", {"c=1"}}});
    MapHost("old=new");
    MapLocation("tun:81=tun2:82");
    MapLocation("res:90=res2:91");

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ("web server host=new\nweb server address=\nwarden location=tun2:82\nreserve location=res2:91\n"
              "timeout=30\n",
              SectionText(cfgPath, S2));
    EXPECT_EQ("c=1\n", SectionText(cfgPath, S2 + "\\Crypto engine"));
    EXPECT_EQ(original, ReadBytes(bakPath));
    EXPECT_TRUE(ui.boxes.empty());
    const std::vector<std::string> expected = {
        "Start CorrectWardenCfg",
        "Copy \"" + cfgPath + "\" to \"" + bakPath + "\"",
        "Found max num of sections \"Client\\Web servers\\s\" : 1",
        "start function NeedCopyConfig WebHost=old, WardLoc=tun:81",
        "function NeedCopyConfig NewWardenLocation=tun2:82",
        "function NeedCopyConfig FindConfigSectionByHost=0",
        "Need copy section: Client\\Web servers\\s1",
        "Success end exec CorrectWardenCfg",
    };
    EXPECT_EQ(expected, LastRunLog());
}

TEST_F(WardenCorrection, SecondRunOverItsOwnResultCopiesNothing)
{
    WriteCfg({Server(S1, "old", "tun:81")});
    MapHost("old=new");
    MapLocation("tun:81=tun2:82");
    ASSERT_TRUE(configurator.CorrectWardenCfg());
    const std::string corrected = ReadBytes(cfgPath);

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ(corrected, ReadBytes(cfgPath));
    EXPECT_EQ(corrected, ReadBytes(bakPath));
    const std::vector<std::string> expected = {
        "Start CorrectWardenCfg",
        "Copy \"" + cfgPath + "\" to \"" + bakPath + "\"",
        "Found max num of sections \"Client\\Web servers\\s\" : 2",
        "start function NeedCopyConfig WebHost=old, WardLoc=tun:81",
        "function NeedCopyConfig NewWardenLocation=tun2:82",
        "function NeedCopyConfig FindConfigSectionByHost=2",
        "function NeedCopyConfig NewWardenLocation=tun2:82, CurWardLoc=tun2:82",
        "No need copy section: Client\\Web servers\\s1",
        "start function NeedCopyConfig WebHost=new, WardLoc=tun2:82",
        "function NeedCopyConfig NewWebServerHost=\"\"",
        "No need copy section: Client\\Web servers\\s2",
        "Success end exec CorrectWardenCfg",
    };
    EXPECT_EQ(expected, LastRunLog());
}

TEST_F(WardenCorrection, OnlySectionsAfterTheExaminedOneAreSearchedForTheNewHost)
{
    WriteCfg({Server(S1, "new", "tun2:82"), Server(S2, "old", "tun:81")});
    MapHost("old=new");
    MapLocation("tun:81=tun2:82");

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ("web server host=new\nweb server address=\nwarden location=tun2:82\nreserve location=\ntimeout=30\n",
              SectionText(cfgPath, S3));
}

TEST_F(WardenCorrection, HostMappingFoldsLatinLettersButTheLookupDoesNot)
{
    WriteCfg({Server(S1, "old.host", "tun:81"), Server(S2, "bank.example", "other:80")});
    MapHost("OLD.HOST=Bank.Example");

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ("web server host=Bank.Example\nweb server address=\nwarden location=tun:81\nreserve location=\n"
              "timeout=30\n",
              SectionText(cfgPath, S3));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(WardenCorrection, ConflictingHostGetsTheFirstFreeConflictNameOnceOverTwoRuns)
{
    WriteCfg({Server(S1, "old", "tun:81"), Server(S2, "new", "other:80"), Server(S3, "new_Conflict", "else:80")});
    MapHost("old=new");
    MapLocation("tun:81=tun2:82");
    ui.answers = {IDOK, IDOK};
    const std::string message = ConflictMessage("old", "new", "other:80", "tun2:82", "new_Conflict1");

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ("web server host=new_Conflict1\nweb server address=\nwarden location=tun2:82\nreserve location=\n"
              "timeout=30\n",
              SectionText(cfgPath, S4));
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(message, ui.boxes[0].text);
    EXPECT_EQ(Box::Error, ui.boxes[0].caption);
    EXPECT_EQ(Box::ErrorStyle, ui.boxes[0].style);
    EXPECT_TRUE(LastRunLogged("Error copy config:\r\n" + message));
    const std::string corrected = ReadBytes(cfgPath);

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ(corrected, ReadBytes(cfgPath));
    ASSERT_EQ(2u, ui.boxes.size());
    EXPECT_EQ(message, ui.boxes[1].text);
    EXPECT_TRUE(LastRunLogged("No need copy section: Client\\Web servers\\s1"));
    EXPECT_EQ(0, ui.unexpected);
}

TEST_F(WardenCorrection, SectionsPastTheNameBufferAreNeitherMissedNorOverwritten)
{
    std::vector<IniSection> sections = {Server(S1, "old", "tun:81")};
    for (int i = 0; i < 35; ++i)  // about 35,000 bytes of section names
        sections.push_back({"Other " + std::to_string(i) + std::string(1000, 'x'), {"a=1"}});
    sections.push_back(Server(S2, "kept", "tun:81"));
    WriteCfg(sections);
    MapHost("old=new");

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ("web server host=kept\nweb server address=10.0.0.1\nwarden location=tun:81\nreserve location=\n"
              "timeout=30\n",
              SectionText(cfgPath, S2));
    EXPECT_EQ("web server host=new\nweb server address=\nwarden location=tun:81\nreserve location=\ntimeout=30\n",
              SectionText(cfgPath, S3));
}

// Counting up to the highest number would never end; no int holds the number after it.
TEST_F(WardenCorrection, HugeSectionNumbersAreNeitherCountedUpToNorOverflowed)
{
    std::string original = WriteCfg({Server(S1, "old", "tun:81"), Server(S1 + "0000000000", "far", "tun:1")});
    MapHost("old=new");
    EXPECT_FALSE(configurator.CorrectWardenCfg());
    EXPECT_EQ(original, ReadBytes(cfgPath));
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(CorrectionError(ERROR_ARITHMETIC_OVERFLOW), ui.boxes[0].text);
}

TEST_F(WardenCorrection, ReadOnlySettingsFileLosesTheAttributeAndTheOldBackupIsReplaced)
{
    std::string original = WriteCfg({Server(S1, "old", "tun:81")});
    WriteBytes(bakPath, "stale backup");
    platform::SetAttributes(bakPath, FILE_ATTRIBUTE_READONLY);
    platform::SetAttributes(cfgPath, FILE_ATTRIBUTE_READONLY);
    MapHost("old=new");

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ(0u, platform::FileAttributes(cfgPath) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(original, ReadBytes(bakPath));
    EXPECT_NE("", SectionText(cfgPath, S2));
}

TEST_F(WardenCorrection, MissingSettingsFileIsReportedWithoutABackup)
{
    MakeDirectory(cfgPath);  // a directory of that name is no settings file
    MapHost("old=new");

    EXPECT_FALSE(configurator.CorrectWardenCfg());

    EXPECT_FALSE(Exists(bakPath));
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ("Не найден конфигурационный файл Warden: \"" + cfgPath +
                  "\".\r\nОбновление невозможно. Обратитесь в службу поддержки Вашего банка.",
              ui.boxes[0].text);
    EXPECT_EQ(Box::Error, ui.boxes[0].caption);
    EXPECT_EQ(Box::ErrorStyle, ui.boxes[0].style);
    const std::vector<std::string> expected = {"Start CorrectWardenCfg", "NOT FileExists: " + cfgPath};
    EXPECT_EQ(expected, LastRunLog());
}

TEST_F(WardenCorrection, CodesLeftBySuccessfulWritesDoNotFailTheRun)
{
    WriteCfg({Server(S1, "old", "tun:81"), {S1 + "\\Crypto engine", {"c=1"}}});
    MapHost("old=new");
    configurator.LogFile.reset();  // no section is read back after the last write

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ("c=1\n", SectionText(cfgPath, S2 + "\\Crypto engine"));
}

TEST_F(WardenCorrection, FailedBackupFailsTheRunWithItsErrorText)
{
    std::string original = WriteCfg({Server(S1, "old", "tun:81")});
    MakeDirectory(bakPath);
    MapHost("old=new");

    EXPECT_FALSE(configurator.CorrectWardenCfg());

    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(CorrectionError(ERROR_ACCESS_DENIED), ui.boxes[0].text);
    EXPECT_EQ(Box::Error, ui.boxes[0].caption);
    EXPECT_TRUE(LastRunLogged("Error exec CorrectWardenCfg: " + ui.boxes[0].text));
    EXPECT_EQ(original, ReadBytes(cfgPath));  // nothing is written without a backup
}

TEST_F(WardenCorrection, FailedWriteFailsTheRunWithItsErrorText)
{
    std::string original = WriteCfg({Server(S1, "old", "tun:81")});
    MapHost("old=new");
    HeldFile locked(cfgPath, false);  // others may read it, nobody may write it
    ASSERT_TRUE(locked);

    EXPECT_FALSE(configurator.CorrectWardenCfg());

    EXPECT_EQ(original, ReadBytes(bakPath));
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(CorrectionError(ERROR_SHARING_VIOLATION), ui.boxes[0].text);
    EXPECT_TRUE(LastRunLogged("Error exec CorrectWardenCfg: " + ui.boxes[0].text));
}

TEST_F(WardenCorrection, DialogWithoutAnyServerHostIsNotShown)
{
    std::string original = WriteCfg({{S1, {"warden location=tun:81"}}, Server(S2, "", "tun:82")});
    MapLocation("tun:81=tun2:82");

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ(0, ui.dialogCalls);
    EXPECT_EQ(0, configurator.WardLocations.Count());
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ("Не найдено ни одного защищаемого сервера", ui.boxes[0].text);
    EXPECT_EQ(Box::Error, ui.boxes[0].caption);
    EXPECT_EQ(Box::ErrorStyle, ui.boxes[0].style);
    EXPECT_EQ(original, ReadBytes(cfgPath));
}

TEST_F(WardenCorrection, DeclinedDialogLeavesTheFileButKeepsTheBackup)
{
    std::string original = WriteCfg({Server(S1, "old", "tun:81")});
    ui.dialog = [](TConfigurator&, StringList&, int&, int&) { return false; };

    EXPECT_FALSE(configurator.CorrectWardenCfg());

    EXPECT_EQ(1, ui.dialogCalls);
    EXPECT_EQ(original, ReadBytes(cfgPath));
    EXPECT_EQ(original, ReadBytes(bakPath));
    EXPECT_TRUE(ui.boxes.empty());
    const std::vector<std::string> expected = {"Start CorrectWardenCfg",
                                               "Copy \"" + cfgPath + "\" to \"" + bakPath + "\""};
    EXPECT_EQ(expected, LastRunLog());
}

TEST_F(WardenCorrection, AcceptedDialogCopiesTheChosenServer)
{
    WriteCfg({Server(S1, "a", "tunA:81", "resA:82"), {S2, {"warden location=tun:1"}}, Server(S3, "b", "tunB:81"),
              {S1 + "\\Crypto engine", {"c=1"}}});
    MapLocation("tunA:81=stale:1");  // the scenario's pairs take no part here
    StringList listed;
    Dialog accept = AcceptingDialog({"a", "a.new", "tunN:90", "resN:91"});
    ui.dialog = [&](TConfigurator& c, StringList& servers, int& chosen, int& target) {
        listed = servers;
        return accept(c, servers, chosen, target);
    };

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    ASSERT_EQ(2, listed.Count());
    EXPECT_EQ("a=1|tunA:81|resA:82", listed[0]);
    EXPECT_EQ("b=3|tunB:81|", listed[1]);
    EXPECT_EQ("web server host=a.new\nweb server address=\nwarden location=tunN:90\nreserve location=resN:91\n"
              "timeout=30\n",
              SectionText(cfgPath, S4));
    EXPECT_EQ("c=1\n", SectionText(cfgPath, S4 + "\\Crypto engine"));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(LastRunLogged("Success end exec CorrectWardenCfg"));
}

TEST_F(WardenCorrection, DialogConfirmingAListedHostReplacesThatServersSection)
{
    WriteCfg({Server(S1, "a", "tunA:81"), Server(S2, "b", "tunB:81")});
    ui.dialog = AcceptingDialog({"a", "B", "tunN:90", ""});

    EXPECT_TRUE(configurator.CorrectWardenCfg());

    EXPECT_EQ("web server host=B\nweb server address=\nwarden location=tunN:90\nreserve location=\ntimeout=30\n",
              SectionText(cfgPath, S2));
    EXPECT_EQ("", SectionText(cfgPath, S3));
}

TEST_F(WardenCorrection, DialogAcceptedWithoutAListedServerCopiesNothing)
{
    std::string original = WriteCfg({Server(S1, "a", "tunA:81"), Server(S2, "b", "tunB:81")});
    ui.dialog = AcceptingDialog({"", "c.new", "tunN:90", ""});

    EXPECT_FALSE(configurator.CorrectWardenCfg());

    EXPECT_EQ(original, ReadBytes(cfgPath));
    EXPECT_TRUE(ui.boxes.empty());
    const std::vector<std::string> expected = {"Start CorrectWardenCfg",
                                               "Copy \"" + cfgPath + "\" to \"" + bakPath + "\"",
                                               "No listed server chosen in dialog, section number: 0"};
    EXPECT_EQ(expected, LastRunLog());
}

TEST_F(WardenCorrection, ExceptionInsideTheRunStillEndsItAndTravelsOn)
{
    std::string original = WriteCfg({Server(S1, "a", "tunA:81")});
    ui.dialog = [](TConfigurator&, StringList&, int&, int&) -> bool { throw std::runtime_error("dialog broke"); };

    EXPECT_THROW(configurator.CorrectWardenCfg(), std::runtime_error);

    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ("Success end exec CorrectWardenCfg", LastRunLog().back());
    EXPECT_EQ(original, ReadBytes(cfgPath));
}

// Not std::terminate: the end step's box throws.
TEST_F(WardenCorrection, ExceptionInTheEndStepTravelsOn)
{
    WriteCfg({Server(S1, "old", "tun:81")});
    MakeDirectory(bakPath);
    MapHost("old=new");
    ui.onBox = [](const ShownBox&) { throw std::runtime_error("box broke"); };

    EXPECT_THROW(configurator.CorrectWardenCfg(), std::runtime_error);

    EXPECT_TRUE(LastRunLogged("Error exec CorrectWardenCfg: " + CorrectionError(ERROR_ACCESS_DENIED)));
}

}  // namespace
