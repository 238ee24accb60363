// Stand-in processes for tests of the process searcher (fixtures wardlink.exe,
// holder.exe, heldlib.dll, searchprobe.exe), the probe program that notes its
// starts (exitprobe.exe), and the searcher the program's stages use. A started
// stand-in is killed when its owner goes out of scope, also when an assertion fails.
#pragma once

#include "PrsSrch/ProcessSearcher.h"
#include "platform/Owner.h"

#include <windows.h>

#include <string>
#include <vector>

class StandIn {
public:
    // Starts program with the DLLs to load; ready when it waits for input
    // (bounded). lifetimeSeconds: the stand-in ends by itself after that.
    StandIn(const std::string& program, const std::vector<std::string>& dlls, unsigned lifetimeSeconds = 120,
            bool suspended = false);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    // True when the process ended within the bound; its exit code in exitCode.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) const;
    bool Running() const { return !WaitForExit(0); }
    void Kill();

private:
    platform::UniqueHandle process_;
    platform::UniqueHandle thread_;
    DWORD id_ = 0;
};

// The ids of the processes of the prefix started from this image (a tunnel
// client that a run started again).
std::vector<DWORD> ProcessesStartedFrom(const std::string& imagePath);
// Ends each of them, waiting a few seconds for each.
void EndProcessesStartedFrom(const std::string& imagePath);

// Copies a fixture of BinDir() into directory under another name; the full path of the copy.
std::string CopyFixture(const std::string& fixture, const std::string& directory, const std::string& name);

// What a copy of exitprobe.exe noted in its .calls file (its command line for
// each start), once it is there; empty when nothing is there within limitMs.
std::string AwaitProbeCalls(const std::string& callsPath, unsigned limitMs);

// Signs the scenario as the bank does, in the folder of its sources, with one
// of the build tree's throwaway keys, "bank" (WardCfgUpTestKey.exe carries its
// public half) or "other": by scripts/sign-update.sh, or, without the [SHA256]
// hashes, by openssl alone. True once the signature is there (bounded).
bool SignUpdate(const std::string& scenario, const std::string& sourcesDir, const std::string& key = "bank",
                bool hashes = true);

// The SHA-256 fingerprint of the public "bank" key, as openssl gives it
// (openssl pkey -pubin -outform DER | sha256sum), in hexadecimal.
std::string BankKeyFingerprint();

// The marks (process ids) of a searcher's result, in list order.
std::vector<DWORD> MarksOf(const StringList& processes);

// A searcher that the program's stages use (the global ProcessSearcher) for
// the life of this object.
class GlobalProcessSearcher : public TProcessSearcher {
public:
    GlobalProcessSearcher() { ProcessSearcher = this; }
    ~GlobalProcessSearcher() override { ProcessSearcher = nullptr; }
};
