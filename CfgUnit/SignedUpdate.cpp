#include "CfgUnit/SignedUpdate.h"

#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/ProfileFile.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "platform/Files.h"
#include "platform/System.h"

#include <algorithm>

namespace {

// The 32 bytes that 64 hexadecimal digits (either case) write; false for any other text.
bool DigestOfHex(const std::string& hex, std::string& digest)
{
    if (hex.size() != 64 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    auto nibble = [](char digit) { return digit <= '9' ? digit - '0' : (digit | 0x20) - 'a' + 10; };
    digest.clear();
    for (std::string::size_type i = 0; i < hex.size(); i += 2)
        digest += static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
    return true;
}

// The last error's text and code: not every system has a text for the codes of CryptoAPI.
std::string LastErrorReason()
{
    const DWORD code = platform::LastError();
    return TrimControls(FormatText("%s (0x%08X)", {SystemErrorText(code), static_cast<int>(code)}));
}

}  // namespace

std::string SignatureName(const std::string& scenario)
{
    return scenario + ".sig";
}

TSourceHashes::TSourceHashes(const std::string& scenario)
{
    ProfileFile file(scenario);
    file.Section = HashSection;
    file.KeyLines(lines_);
    for (int i = 0; i < lines_.Count(); ++i)
        names_.Add(lines_.NameAt(i), i);
}

bool TSourceHashes::Find(const std::string& entry, std::string& hash) const
{
    const int index = names_.IndexOf(entry);
    if (index >= 0)
        hash = lines_.ValueAt(index);
    return index >= 0;
}

std::string TSignedUpdate::KeyName() const
{
    return Concat({"the built-in key SHA-256 ", key_.fingerprint});
}

bool TSignedUpdate::Fail(const std::string& name, const char* what, bool withReason)
{
    const std::string reason = withReason ? ": " + LastErrorReason() : std::string();
    problem_ = Concat({name, what, reason});
    return false;
}

TSourceCheck TSignedUpdate::Fail(TSourceCheck verdict, const std::string& name, const char* what, bool withReason)
{
    Fail(name, what, withReason);
    return verdict;
}

// The provider is acquired once: the run hashes every file with it.
platform::CryptHash TSignedUpdate::NewHash()
{
    if (!provider_)
        provider_ = platform::AcquireRsaAesProvider();
    platform::CryptHash hash = provider_ ? platform::NewSha256(provider_.get()) : platform::CryptHash();
    if (!hash)
        Fail("this system", " cannot verify the update: its crypto provider has no RSA with SHA-256", true);
    return hash;
}

bool TSignedUpdate::Digest(HANDLE file, const std::string& name, std::string& digest)
{
    std::string bytes;
    if (!platform::ReadRest(file, bytes))
        return Fail(name, " cannot be read", true);
    platform::CryptHash hash = NewHash();
    if (!hash)
        return false;
    if (!platform::HashData(hash.get(), bytes) || !platform::HashValue(hash.get(), digest))
        return Fail(name, " cannot be hashed", true);
    return true;
}

// OpenSSL writes the signature most significant byte first; CryptoAPI reads it the other way round.
bool TSignedUpdate::VerifyScenario(const std::string& scenario)
{
    std::string bytes;
    scenario_ = platform::OpenHeld(scenario);
    if (!scenario_ || !platform::ReadRest(scenario_.get(), bytes))
        return Fail(scenario, " cannot be read", true);
    const std::string name = SignatureName(scenario);
    std::string signature;
    if (!FileExists(name))
        return Fail(name, " does not exist");
    if (!platform::ReadWholeFile(name, signature))
        return Fail(name, " cannot be read", true);
    platform::CryptHash hash = NewHash();
    if (!hash)
        return false;
    platform::CryptKey key = platform::ImportPublicKey(provider_.get(), key_.blob, key_.size);
    if (!key)
        return Fail(KeyName(), " cannot be imported", true);
    std::reverse(signature.begin(), signature.end());
    if (!platform::HashData(hash.get(), bytes) || !platform::VerifySignature(hash.get(), signature, key.get()))
        return Fail(name, " is no signature of the scenario by the built-in key", true);
    return true;
}

TSourceCheck TSignedUpdate::CheckSource(const std::string& entry, const TSourceHashes& hashes)
{
    std::string hash;
    std::string expected;
    if (!hashes.Find(entry, hash))
        return Fail(TSourceCheck::NoHash, entry, " has no hash in [SHA256]");
    if (!FileExists(entry))
        return TSourceCheck::Missing;
    if (!DigestOfHex(hash, expected))
        return Fail(TSourceCheck::Differs, entry, " has a hash in [SHA256] that is not 64 hexadecimal digits");
    platform::FileHandle file = platform::OpenHeld(entry);
    if (!file)
        return Fail(TSourceCheck::Unreadable, entry, " cannot be read", true);
    std::string digest;
    if (!Digest(file.get(), entry, digest))
        return TSourceCheck::Unreadable;
    if (digest != expected)
        return Fail(TSourceCheck::Differs, entry, " does not match its hash in [SHA256]");
    checked_.Add(entry);
    digests_.Add(digest);
    held_.push_back(std::move(file));
    return TSourceCheck::Matches;
}

bool TSignedUpdate::VerifySources(const StringList& files, const TSourceHashes& hashes)
{
    for (int i = 0; i < files.Count(); ++i) {
        const TSourceCheck check = CheckSource(files[i], hashes);
        if (check != TSourceCheck::Matches && check != TSourceCheck::Missing)
            return false;
    }
    return true;
}

void TSignedUpdate::ReleaseSources()
{
    held_.clear();
}

// The copy is read back from the handle that holds it: whatever another
// program did between the copy and the hold, the file registered is the one
// checked. A source that was missing at the check and came later was never checked.
bool TSignedUpdate::HoldCopy(const std::string& entry, const std::string& destination, platform::FileHandle& copy)
{
    if (!HasKey())
        return true;
    const int source = checked_.IndexOfExact(entry);
    if (source < 0)
        return Fail(entry, " was not checked against its hash");
    copy = platform::OpenHeld(destination);
    if (!copy)
        return Fail(destination, " cannot be read", true);
    std::string digest;
    if (!Digest(copy.get(), destination, digest))
        return false;
    if (digest != digests_[source])
        return Fail(destination, " is not the file checked as its source");
    return true;
}

// The scenario is read only once its signature verified, from the file held
// since: no other program can change it in between.
bool TConfigurator::ReadTrustedScenario()
{
    if (!SignedUpdate.HasKey())
        return ReadScenario();
    if (SignedUpdate.VerifyScenario(ScenarioPath)) {
        ReadScenario();
        if (SignedUpdate.VerifySources(SourceFiles, TSourceHashes(ScenarioPath))) {
            WriteLog(Concat({"Update verified with ", SignedUpdate.KeyName(), ": ", SignatureName(ScenarioPath)}));
            return true;
        }
    }
    WriteLog(Concat({"Update refused (", SignedUpdate.KeyName(), "): ", SignedUpdate.Problem()}));
    ShowMessage(UpdateRefusedText, Box::Error, Box::ErrorStyle);
    return false;
}
