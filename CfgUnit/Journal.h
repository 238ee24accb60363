// The journal of an update in progress: the client's folder and the files the
// copy cycles change, with how far each has come, so that the next run can
// make the client consistent again when a run was cut off (a power loss, the
// task manager).
//
// It is recovery state, not a setting, and exists only from the first change
// to the client until the run has settled every file. The program runs
// elevated and deletes, renames and registers what the journal names, so the
// journal lives where only administrators write: under the machine's
// software key (HKEY_LOCAL_MACHINE), in the 32-bit view that the program
// itself sees on every Windows (the 9x family, which has no access control,
// keeps the same key). It names
// the files relative to the client's folder, as the scenario gives them; a
// journal that names anything else, or holds a value of another type or size
// than the program writes, is not acted on. Every change to it is flushed to
// disk before the client changes.
#pragma once

#include "platform/Owner.h"

#include <string>
#include <utility>
#include <vector>

class TJournal {
public:
    // How far the cycle has come with a file, and so what its destination may hold.
    enum class TStep {
        Listed,       // untouched: the original, if there is one
        BackingUp,    // the original, or nothing while the original is under the backup name
        Copying,      // perhaps a copy that was cut off; the original, if any, under the backup name
        Copied,       // the whole new copy
        PuttingBack,  // nothing, or the original again: the copy is gone, the backup goes back
        Settled,      // the original back (or none was there): nothing more to do
    };

    // A file of the client, by full path (rebuilt from the client folder when read).
    struct TFile {
        std::string destination;
        std::string backup;
        bool activeX = false;
        TStep step = TStep::Listed;
    };

    enum class TFound { None, Unreadable, Found };

    // The journal's key under HKEY_LOCAL_MACHINE.
    static const char* const Key;

    explicit TJournal(std::string key = Key) : key_(std::move(key)) {}

    // Replaces any journal: written and flushed before the first change to the
    // client. False when it could not be written (an old journal that cannot
    // be removed, a file outside the folder among them); the run then goes on without.
    bool Begin(const std::string& clientDir, const std::vector<TFile>& files);
    // Records (flushed) the step a file has reached; nothing without a journal
    // begun or loaded by this object, or for a file it does not name.
    void Mark(const std::string& destination, TStep step);
    // The journal that a run left behind, with its files.
    TFound Load();
    // Every file stands as it may stay: untouched, copied, or settled.
    bool Settled() const;
    // Removes the journal this object began or loaded, if any, with everything
    // under its key: true when it is gone. Its client folder goes first, so a
    // journal that cannot be removed cannot be read, and is never acted on again.
    bool Remove();

    const std::string& ClientDir() const { return clientDir_; }
    const std::vector<TFile>& Files() const { return files_; }

private:
    std::string key_;
    platform::RegKey open_;
    std::string clientDir_;
    std::vector<TFile> files_;
};

// Whether a run recovers the journal that Load found: one it could read, whose client folder is still there.
bool Recoverable(TJournal::TFound found, const TJournal& journal);

// What the recovery does with a file of the journal, given what stands at its
// destination and under its backup name: a cut-off copy goes, a missing
// original comes back from its backup, and a control is registered in
// whatever file is then in place.
struct TRecoveryAction {
    bool deleteCopy = false;
    bool putBack = false;
    bool registers = false;
};
TRecoveryAction DecideRecovery(const TJournal::TFile& file, bool destinationExists, bool backupExists);
