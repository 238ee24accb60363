// The recovery of an interrupted update from its journal.
#include "CfgUnit/Configurator.h"
#include "common/FileNames.h"

#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

// Each file as the cut-off run left it at its step, and what the next run makes of it.
TEST(JournalTest, EachFileIsPutWhereItsStepLeavesNoDoubtAndTheJournalGoes)
{
    using Step = TJournal::TStep;
    const struct {
        const char* name;
        Step step;
        const char *file, *backup, *fileAfter, *backupAfter;  // "": none
    } files[] = {
        {"cut.dll", Step::Copying, "cut off", "original", "original", ""},
        {"back.dll", Step::PuttingBack, "original", "", "original", ""},  // a recovery cut off after its rename
        {"moving.dll", Step::BackingUp, "original", "older", "original", "older"},
        {"restored.dll", Step::Copied, "", "original", "original", ""},  // a restore cut off before its rename
        {"later.dll", Step::Listed, "", "older", "", "older"},
    };
    TempDir client;
    std::vector<TJournal::TFile> journaled;
    for (const auto& f : files) {
        journaled.push_back({client / f.name, PlainBackupName(client / f.name), false, f.step});
        if (*f.file)
            WriteBytes(journaled.back().destination, f.file);
        if (*f.backup)
            WriteBytes(journaled.back().backup, f.backup);
    }
    const std::string key = ScratchJournalKey();
    TJournal(key).Begin(client.Path(), journaled);
    TConfigurator cfg;
    cfg.Journal = TJournal(key);
    cfg.RecoverInterruptedUpdate();
    for (const auto& f : files) {
        EXPECT_EQ(f.fileAfter, ReadBytes(client / f.name)) << f.name;
        EXPECT_EQ(f.backupAfter, ReadBytes(PlainBackupName(client / f.name))) << f.name;
    }
    EXPECT_EQ(client.Path(), cfg.InterruptedClientDir);
    EXPECT_EQ(TJournal::TFound::None, TJournal(key).Load());
}
