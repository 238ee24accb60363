// The journal of an update in progress: the client's folder and the files the
// copy cycles change, with how far each has come, so that the next run can
// make the client consistent again when a run was cut off (a power loss, the
// task manager).
//
// It is recovery state, not a setting, and exists only from the first change
// to the client until the run has settled every file. It lives in the
// registry of the user who runs the update, in the part that stays on this
// computer when the user's profile roams (under HKEY_CURRENT_USER, see Key):
// it names this computer's files, another user's run never sees it, the next
// run finds it whatever folder it is started from, and every change to it is
// flushed to disk before the client changes.
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
    };

    struct TFile {
        std::string destination;
        std::string backup;
        bool activeX = false;
        TStep step = TStep::Listed;
    };

    enum class TFound { None, Unreadable, Found };

    // The journal's key under HKEY_CURRENT_USER: the local settings of the
    // user (HKEY_CURRENT_USER_LOCAL_SETTINGS on Windows 7 and later; the
    // user's local class hive before; the user's registry on the 9x family).
    static const char* const Key;

    explicit TJournal(std::string key = Key) : key_(std::move(key)) {}

    // Replaces any journal: written and flushed before the first change to the
    // client. False when it could not be written; the run then goes on without.
    bool Begin(const std::string& clientDir, const std::vector<TFile>& files);
    // Records (flushed) the step a file has reached; nothing without a journal
    // begun or loaded by this object, or for a file it does not name.
    void Mark(const std::string& destination, TStep step);
    // The journal that a run left behind, with its files.
    TFound Load();
    // Removes the journal this object began or loaded, if any.
    void Remove();

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
