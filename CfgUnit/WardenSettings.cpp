#include "CfgUnit/WardenSettings.h"

#include "CfgUnit/Configurator.h"
#include "common/FormatText.h"
#include "common/Text.h"

#include <algorithm>
#include <climits>

namespace {

const std::string ServerSectionPrefix = "Client\\Web servers\\s";
const char* const CryptoSuffix = "\\Crypto engine";

// The number after the prefix of a server section or its crypto sub-section;
// false for a name without the prefix.
bool SectionNumberOf(const std::string& name, int& number)
{
    if (!EqualFoldingAscii(name.substr(0, ServerSectionPrefix.size()), ServerSectionPrefix))
        return false;
    std::string::size_type digits = ServerSectionPrefix.size();
    number = static_cast<int>(ReadDigits(name, digits, INT_MAX));  // no sign; a huge number stays the largest
    return true;
}

}  // namespace

TLocation SplitLocation(const std::string& location)
{
    std::string::size_type colon = location.find(':');
    if (colon == std::string::npos)
        return {location, "", 80};
    std::string rest = location.substr(colon + 1);
    return {location.substr(0, colon), rest, rest.empty() ? 80 : DecimalValue(rest)};
}

std::string ServerSectionName(int number)
{
    return ServerSectionPrefix + std::to_string(number);
}

int NumberAfter(int number)
{
    return number < INT_MAX ? number + 1 : NoSectionNumber;
}

std::string CryptoSectionName(int number)
{
    return ServerSectionName(number) + CryptoSuffix;
}

bool IsSameServer(const std::string& a, const std::string& b)
{
    TLocation first = SplitLocation(a);
    TLocation second = SplitLocation(b);
    return EqualFoldingAscii(first.Host, second.Host) && first.Port == second.Port;
}

TSettingsCorrection::TSettingsCorrection(TConfigurator& configurator, const std::string& cfgPath)
    : CfgFile(cfgPath), configurator_(configurator)
{
}

void TSettingsCorrection::ReadSections()
{
    // A cut list would hide servers and let copies overwrite them.
    CfgFile.ReadSectionNames(SectionNames);
    MaxSectionNumber = FindMaxSectionNumber();
    // Every server section's name carries its number, so no other number can exist.
    const SortedLines sections(SectionNames);
    for (int i = 0; i < SectionNames.Count(); ++i) {
        int number;
        if (SectionNumberOf(SectionNames[i], number) && number > 0 &&
            sections.IndexOf(ServerSectionName(number)) >= 0)
            serverNumbers_.push_back(number);
    }
    std::sort(serverNumbers_.begin(), serverNumbers_.end());
    serverNumbers_.erase(std::unique(serverNumbers_.begin(), serverNumbers_.end()), serverNumbers_.end());
    serverKeys_.assign(serverNumbers_.size(), std::nullopt);
    plainRead_ = plain_.Read(CfgFile.FileName);
}

std::string TSettingsCorrection::TranslateWardenLocation(const std::string& location) const
{
    const StringList& pairs = configurator_.WardLocations;
    for (int i = 0; i < pairs.Count(); ++i)
        if (IsSameServer(pairs.NameAt(i), location))
            return pairs.ValueAt(i);
    return location;
}

int TSettingsCorrection::FindMaxSectionNumber() const
{
    int highest = 0;
    for (int i = 0; i < SectionNames.Count(); ++i) {
        int number;
        if (SectionNumberOf(SectionNames[i], number))
            highest = std::max(highest, number);
    }
    return highest;
}

std::string TSettingsCorrection::ServerValue(int number, const std::string& key)
{
    CfgFile.Mode = ProfileFile::TMode::Read;
    CfgFile.Section = ServerSectionName(number);
    auto at = std::lower_bound(serverNumbers_.begin(), serverNumbers_.end(), number);
    if (at == serverNumbers_.end() || *at != number)
        return CfgFile.StringValue(key, "");
    const std::size_t server = at - serverNumbers_.begin();
    std::optional<StringList>& keys = serverKeys_[server];
    if (!keys) {
        keys.emplace();
        const bool written = std::find(written_.begin(), written_.end(), number) != written_.end();
        if (written || !plainRead_ || !plain_.KeyLines(CfgFile.Section, *keys))
            CfgFile.KeyLines(*keys);
    }
    return keys->ValueOf(key);
}

std::string TSettingsCorrection::ServerHost(int number)
{
    return ServerValue(number, WebServerHostKey);
}

int TSettingsCorrection::FindConfigSectionByHost(long long first, const std::string& host)
{
    if (first > INT_MAX)
        return 0;
    for (auto number = std::lower_bound(serverNumbers_.begin(), serverNumbers_.end(), static_cast<int>(first));
         number != serverNumbers_.end(); ++number)
        if (ServerHost(*number) == host)
            return *number;
    return 0;
}

bool TSettingsCorrection::CopyConfigSection(int source)
{
    const int target = NextSectionNumber;
    if (target == NoSectionNumber) {
        configurator_.WriteLog("No section number left for a copy of section: " + ServerSectionName(source));
        noNumberLeft_ = true;
        return false;
    }
    const std::string reserveLocation = ServerValue(source, ReserveLocationKey);

    ReadSectionLines(ServerSectionName(source));
    ReplaceSection(ServerSectionName(target));
    ForgetServer(target);
    CfgFile.StringValue(WebServerHostKey, NewWebServerHost);
    CfgFile.StringValue(WebServerAddressKey, "");
    CfgFile.StringValue(WardenLocationKey, NewWardenLocation);
    CfgFile.StringValue(ReserveLocationKey, TranslateWardenLocation(reserveLocation));
    LogWrittenSection(ServerSectionName(target));

    ReadSectionLines(CryptoSectionName(source));
    const StringList& parameters = configurator_.CryptoParams;
    for (int i = 0; i < parameters.Count(); ++i)
        Work.SetValue(parameters.NameAt(i), parameters.ValueAt(i));
    ReplaceSection(CryptoSectionName(target));
    LogWrittenSection(CryptoSectionName(target));

    NextSectionNumber = NumberAfter(target);
    return true;
}

void TSettingsCorrection::ForgetServer(int number)
{
    auto at = std::lower_bound(serverNumbers_.begin(), serverNumbers_.end(), number);
    if (at == serverNumbers_.end() || *at != number)
        return;
    serverKeys_[at - serverNumbers_.begin()].reset();
    written_.push_back(number);
}

unsigned long TSettingsCorrection::Failure() const
{
    return noNumberLeft_ ? ERROR_ARITHMETIC_OVERFLOW : CfgFile.FirstWriteError();
}

void TSettingsCorrection::ReadIntoWork(const std::string& section)
{
    CfgFile.Mode = ProfileFile::TMode::Read;
    CfgFile.Section = section;
    Work.Clear();
    CfgFile.SectionLines(Work);
}

// Work := the lines of the section, logged as the old data.
void TSettingsCorrection::ReadSectionLines(const std::string& section)
{
    ReadIntoWork(section);
    LogSection("Old data of section \"%s\" : \r\n%s", section);
}

// The section becomes the lines of Work; write mode stays on for its keys.
void TSettingsCorrection::ReplaceSection(const std::string& section)
{
    CfgFile.Mode = ProfileFile::TMode::Write;
    CfgFile.Section = section;
    CfgFile.SectionLines(Work);
}

// The section as the file now holds it; read back only for the log.
void TSettingsCorrection::LogWrittenSection(const std::string& section)
{
    if (!configurator_.LogOpen())
        return;
    ReadIntoWork(section);
    LogSection("New data of section \"%s\" : \r\n%s", section);
}

void TSettingsCorrection::LogSection(const char* templateText, const std::string& section)
{
    if (configurator_.LogOpen())
        configurator_.WriteLog(FormatText(templateText, {section, Work.Text()}));
}
