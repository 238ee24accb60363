// The recovery of an interrupted update from its journal, and the journals it
// must never act on.
#include "CfgUnit/Configurator.h"
#include "common/FileNames.h"
#include "platform/Files.h"
#include "platform/Registry.h"

#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Step = TJournal::TStep;

class JournalTest : public ::testing::Test {
protected:
    TempDir root;
    const std::string client = root / "client\\";
    const std::string key = ScratchJournalKey();
    TConfigurator cfg;

    void SetUp() override
    {
        MakeDirectory(client);
        cfg.Journal = TJournal(key);
        cfg.OpenLog(root / "run.log");
    }
    void TearDown() override { platform::DeleteKeyTree(HKEY_LOCAL_MACHINE, key); }

    // What a run does with the journal before the main stage, for the client found in DestDir.
    bool RunRecovery(const std::string& destDir)
    {
        cfg.DropUnusableJournal();
        cfg.DestDir = destDir;
        return cfg.RecoverInterruptedUpdate();
    }
};

// Each file as the cut-off run left it at its step, and what the next run makes of it.
TEST_F(JournalTest, EachFileIsPutWhereItsStepLeavesNoDoubtAndTheJournalGoes)
{
    const struct {
        const char* name;
        Step step;
        const char *file, *backup, *fileAfter, *backupAfter;  // "": none
    } files[] = {
        {"cut.dll", Step::Copying, "cut off", "original", "original", ""},
        {"back.dll", Step::PuttingBack, "original", "", "original", ""},  // a recovery cut off after its rename
        {"unrenamed.dll", Step::PuttingBack, "", "original", "original", ""},  // a restore that could not rename
        {"moving.dll", Step::BackingUp, "original", "older", "original", "older"},
        {"restored.dll", Step::Copied, "", "original", "original", ""},  // a restore cut off before its rename
        {"later.dll", Step::Listed, "", "older", "", "older"},
        {"done.dll", Step::Settled, "", "older", "", "older"},  // none to put back: the backup is an older one's
    };
    std::vector<TJournal::TFile> journaled;
    for (const auto& f : files) {
        journaled.push_back({client + f.name, PlainBackupName(client + f.name), false, f.step});
        if (*f.file)
            WriteBytes(journaled.back().destination, f.file);
        if (*f.backup)
            WriteBytes(journaled.back().backup, f.backup);
    }
    ASSERT_TRUE(TJournal(key).Begin(client, journaled));
    EXPECT_TRUE(RunRecovery(client));
    for (const auto& f : files) {
        EXPECT_EQ(f.fileAfter, ReadBytes(client + f.name)) << f.name;
        EXPECT_EQ(f.backupAfter, ReadBytes(PlainBackupName(client + f.name))) << f.name;
    }
    EXPECT_EQ(client, cfg.InterruptedClientDir);
    EXPECT_EQ(TJournal::TFound::None, TJournal(key).Load());
}

// Journals no run of the program writes: each is removed, and nothing outside
// the client's folder changes, nothing inside either, nothing is registered.
TEST_F(JournalTest, AForgedJournalIsRemovedAndNothingHappens)
{
    const std::string victim = root / "victim\\";
    MakeDirectory(victim);
    MakeDirectory(root / "victim2");
    WriteBytes(victim + "important.sys", "important");
    WriteBytes(root / "victim2\\other.txt", "other");
    WriteBytes(root / "evil.dll", "evil");
    WriteBytes(client + "cut.dll", "the client's own");
    const std::string outside = victim.substr(3);  // the victim folder as a name below C:\ (or any drive root)
    struct Value {
        const char* name;
        std::string text;  // a REG_SZ is written with its terminating zero
        DWORD type = REG_SZ;
    };
    // Read as it stands, this journal would delete the client's own file as a cut-off copy.
    const std::vector<Value> written{
        {"Client folder", client}, {"File1", "cut.dll"}, {"Backup1", "x.bak"}, {"Control1", "0"}, {"Step1", "copying"}};
    const struct {
        const char* what;
        std::vector<Value> forged;  // over the journal written
    } cases[] = {
        {"a drive root as the client folder",
         {{"Client folder", victim.substr(0, 3)}, {"File1", outside + "important.sys"}}},
        {"a full path as a file", {{"File1", victim + "important.sys"}}},
        {"a file through \"..\"", {{"File1", "..\\victim2\\other.txt"}}},
        {"a backup outside",
         {{"File1", "planted.dll"}, {"Backup1", root / "evil.dll"}, {"Control1", "1"}, {"Step1", "copied"}}},
        {"a device", {{"Backup1", "nul"}, {"Step1", "copied"}}},
        {"a binary value", {{"File1", "cut.dll", REG_BINARY}}},
        {"a number value", {{"Control1", std::string(4, '\1'), REG_DWORD}}},
        {"a value longer than is read",
         {{"File2", std::string(2000, 'a')}, {"Backup2", "a.bak"}, {"Control2", "0"}, {"Step2", "copying"}}},
        {"two zeros", {{"File1", std::string("cut.dll\0x", 9)}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto* values : {&written, &c.forged})
            for (const Value& v : *values)
                SetRegistryValue(HKEY_LOCAL_MACHINE, key, v.name, v.type, v.type == REG_SZ ? v.text + '\0' : v.text);
        EXPECT_TRUE(RunRecovery(client));
        EXPECT_EQ(TJournal::TFound::None, TJournal(key).Load());
        EXPECT_EQ("important", ReadBytes(victim + "important.sys"));
        EXPECT_EQ("other", ReadBytes(root / "victim2\\other.txt"));
        EXPECT_EQ("evil", ReadBytes(root / "evil.dll"));
        EXPECT_FALSE(Exists(client + "planted.dll"));
        EXPECT_EQ("the client's own", ReadBytes(client + "cut.dll"));
        EXPECT_EQ(std::string::npos, ReadBytes(root / "run.log").find("RegisterOCX"));
    }
}

// A journal is acted on only for the client folder the run found; a short
// name of that folder is the same folder. Its removal takes a subkey with it.
TEST_F(JournalTest, OnlyTheJournalOfTheClientFoundIsActedOn)
{
    const std::string other = root / "other client\\";
    MakeDirectory(other);
    WriteBytes(other + "cut.dll", "cut off");
    ASSERT_TRUE(TJournal(key).Begin(other, {{other + "cut.dll", other + "cut.bak", false, Step::Copying}}));
    EXPECT_TRUE(RunRecovery(client));
    EXPECT_EQ("cut off", ReadBytes(other + "cut.dll"));
    EXPECT_EQ(TJournal::TFound::Found, TJournal(key).Load());

    std::string shortName;
    ASSERT_TRUE(platform::ShortPathName(other, shortName));
    ASSERT_NE(other, shortName);
    SetRegistryValue(HKEY_LOCAL_MACHINE, key + "\\left by someone", "", REG_SZ, std::string(1, '\0'));
    EXPECT_TRUE(RunRecovery(shortName));
    EXPECT_FALSE(Exists(other + "cut.dll"));
    EXPECT_EQ(TJournal::TFound::None, TJournal(key).Load());
}

// A cut-off copy that cannot be deleted leaves the journal for the next run, and this run changes nothing.
TEST_F(JournalTest, AFileThatCannotBeSettledKeepsTheJournal)
{
    WriteBytes(client + "cut.dll", "cut off");
    WriteBytes(client + "cut.bak", "original");
    ASSERT_TRUE(TJournal(key).Begin(client, {{client + "cut.dll", client + "cut.bak", false, Step::Copying}}));
    {
        HeldFile held(client + "cut.dll", false);
        EXPECT_FALSE(RunRecovery(client));
    }
    EXPECT_EQ("original", ReadBytes(client + "cut.bak"));
    EXPECT_EQ(TJournal::TFound::Found, TJournal(key).Load());
    EXPECT_TRUE(RunRecovery(client));
    EXPECT_EQ("original", ReadBytes(client + "cut.dll"));
}

}  // namespace
