// The tunnel settings file (warden.cfg): its server sections, the comparison
// of tunnel locations, the lookup of a server section by host and the copy of
// a server section for a new host. Every access goes through the system
// profile functions.
#pragma once

#include "common/PlainIni.h"
#include "common/ProfileFile.h"
#include "common/StringList.h"

#include <optional>
#include <string>
#include <vector>

class TConfigurator;

// Keys of a server section that the correction reads or writes.
constexpr const char* WebServerHostKey = "web server host";
constexpr const char* WebServerAddressKey = "web server address";
constexpr const char* WardenLocationKey = "warden location";
constexpr const char* ReserveLocationKey = "reserve location";

// "Client\Web servers\s<number>" and its "\Crypto engine" sub-section.
std::string ServerSectionName(int number);
std::string CryptoSectionName(int number);

// A tunnel location split at its first ":": the host, the text after the ":"
// (empty without one) and the port it means (80 when that text is empty).
struct TLocation {
    std::string Host;
    std::string PortText;
    int Port;
};
TLocation SplitLocation(const std::string& location);

// The number a new section gets after `number`; none when no int can hold it.
constexpr int NoSectionNumber = 0;
int NumberAfter(int number);

// Whether two tunnel locations (host, or host:port; port 80 when none is
// given) name the same server; only the letters A to Z of the hosts are folded.
bool IsSameServer(const std::string& a, const std::string& b);

// The state of one correction run over the settings file.
class TSettingsCorrection {
public:
    // The configurator gives the location pairs, the crypto parameters and the log.
    TSettingsCorrection(TConfigurator& configurator, const std::string& cfgPath);

    ProfileFile CfgFile;
    StringList SectionNames;  // the file's sections as the run found them
    int MaxSectionNumber = 0;
    int NextSectionNumber = 0;
    int CurrentSection = 0;
    std::string NewWebServerHost;
    std::string NewWardenLocation;
    StringList Work;

    // Reads the section names and the highest server section number.
    void ReadSections();

    // The new location that WardLocations assigns to a location, or the location.
    std::string TranslateWardenLocation(const std::string& location) const;
    int FindMaxSectionNumber() const;
    // The first server section from `first` on whose host is exactly `host`; 0 for none.
    int FindConfigSectionByHost(long long first, const std::string& host);
    // Writes section NextSectionNumber as a copy of `source` for the new host and
    // tunnel location, with the crypto parameters applied; then moves NextSectionNumber on.
    // False, and nothing written, when no number is left for the copy.
    bool CopyConfigSection(int source);
    // The system error code of the first thing that failed in the file; 0 while nothing has.
    unsigned long Failure() const;

    // The numbers of the server sections the file had when the run started, in order.
    const std::vector<int>& ServerNumbers() const { return serverNumbers_; }
    // A key of a server section, read in read mode. The keys of a section the
    // file had at the start are read once, all at a time: the lookups ask for
    // the same hosts again and again, and the system reads the whole file
    // anew for each key it is asked for.
    std::string ServerValue(int number, const std::string& key);
    std::string ServerHost(int number);  // its "web server host"

private:
    void ReadIntoWork(const std::string& section);
    void ReadSectionLines(const std::string& section);
    void ReplaceSection(const std::string& section);
    void LogSection(const char* templateText, const std::string& section);
    void LogWrittenSection(const std::string& section);
    void ForgetServer(int number);

    TConfigurator& configurator_;
    // Only these are visited, in ascending order: counting up to a number as
    // large as the file may name would never end.
    std::vector<int> serverNumbers_;
    bool noNumberLeft_ = false;
    // The keys of the sections of serverNumbers_ as read ("key=value"): from
    // one pass over the file when it is plain, but a section the run has
    // written is read again through the system.
    std::vector<std::optional<StringList>> serverKeys_;
    std::vector<int> written_;  // the numbers of the sections written, a few
    PlainIniFile plain_;
    bool plainRead_ = false;
};
