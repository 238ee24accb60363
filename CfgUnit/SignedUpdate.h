// Updates the bank signed. The program runs elevated and does what the
// scenario and the source files beside it say; whoever can change the download
// folder can change them. A program built with the bank's public key (the
// build option UPDATE_PUBLIC_KEY) therefore applies a scenario only when the
// signature beside it (<scenario>.sig: RSA PKCS#1 v1.5 of its bytes with
// SHA-256) verifies with that key, and installs a source file only when its
// SHA-256 is the one the scenario's [SHA256] section gives under the file's
// FILEn value. Each file is held from its check on, so that what the run reads
// and installs is what was checked. A program without a key checks nothing.
#pragma once

#include "common/StringList.h"
#include "platform/Crypto.h"

#include <string>
#include <vector>

// A public key in the form CryptImportKey takes (a PUBLICKEYBLOB), made from
// the PEM file at build time (scripts/update-key.py).
struct TUpdateKey {
    const unsigned char* blob;  // null without a key
    unsigned long size;
    const char* fingerprint;  // SHA-256 of the key's DER form (SubjectPublicKeyInfo), hexadecimal
};
constexpr TUpdateKey NoUpdateKey{nullptr, 0, ""};
// The key built into the program, defined by the one object the build makes
// from UPDATE_PUBLIC_KEY (NoUpdateKey without the option).
extern const TUpdateKey BuiltInUpdateKey;

constexpr const char* HashSection = "SHA256";
// The signature beside a scenario: its name with ".sig" appended.
std::string SignatureName(const std::string& scenario);

// The scenario's [SHA256] section as the run reads it: a hash by the FILEn
// value it is written for (file names compare as the file system compares them).
class TSourceHashes {
public:
    explicit TSourceHashes(const std::string& scenario);
    // The text given for the entry; false when the section gives none.
    bool Find(const std::string& entry, std::string& hash) const;

private:
    StringList lines_;  // "file=hash"
    SortedLines names_;
};

// What the check finds for one source file of the scenario.
enum class TSourceCheck {
    Matches,     // and held from here on
    Missing,     // left to the run, which fails on it as it always did
    NoHash,
    Differs,     // from its hash, or the hash is no SHA-256
    Unreadable,  // as while another program writes it
};

class TSignedUpdate {
public:
    explicit TSignedUpdate(const TUpdateKey& key = NoUpdateKey) : key_(key) {}

    bool HasKey() const { return key_.size != 0; }
    // "the built-in key SHA-256 <fingerprint>"
    std::string KeyName() const;

    // Whether the signature beside the scenario verifies with the key. The
    // scenario is held from here on: the run reads the bytes that were verified.
    bool VerifyScenario(const std::string& scenario);
    // One source file (relative to the current directory, as the run takes it)
    // against its hash; one that matches is held from here on.
    TSourceCheck CheckSource(const std::string& entry, const TSourceHashes& hashes);
    // Every file of the list: false at the first that is neither as the scenario says nor missing.
    bool VerifySources(const StringList& files, const TSourceHashes& hashes);
    // With a key, the copy of a checked source at the destination, held in
    // `copy` so that it stays unchanged until released: false when it is not
    // the checked file. Without a key, true, and nothing is held.
    bool HoldCopy(const std::string& entry, const std::string& destination, platform::FileHandle& copy);
    // Lets the sources go, so that the run can delete them.
    void ReleaseSources();

    // Why the last check failed, in the words of the run log.
    const std::string& Problem() const { return problem_; }

private:
    // False, or the verdict, with the problem: the name, what is wrong with it
    // and, when withReason, the system's reason for the call that just failed.
    bool Fail(const std::string& name, const char* what, bool withReason = false);
    TSourceCheck Fail(TSourceCheck verdict, const std::string& name, const char* what, bool withReason = false);
    // A new SHA-256 hash; empty, with the problem, where the system has none.
    platform::CryptHash NewHash();
    bool Digest(HANDLE file, const std::string& name, std::string& digest);

    TUpdateKey key_;
    platform::CryptProvider provider_;
    platform::FileHandle scenario_;
    StringList checked_;  // the sources found as their hashes say, in the order checked,
    StringList digests_;  // their digests,
    std::vector<platform::FileHandle> held_;  // and what holds them
    std::string problem_;
};
