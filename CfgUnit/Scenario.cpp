#include "CfgUnit/Scenario.h"

#include "CfgUnit/Messages.h"

#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/ProfileFile.h"
#include "common/Text.h"

const TLineSection LineSections[LineSectionCount] = {
    {"WARDEN LOCATION", &TConfigurator::WardLocations, false},
    {"WEB SERVERS HOSTS", &TConfigurator::WebServersHosts, false},
    {"CRYPTO PARAMS", &TConfigurator::CryptoParams, false},
    {"RUN OK", &TConfigurator::RunOkModules, true},
    {"RUN NOT OK", &TConfigurator::RunNotOkModules, true},
};

std::string SourceFileKey(int number)
{
    return SourceFileKeyPrefix + std::to_string(number);
}

std::vector<std::string> ScenarioSections()
{
    std::vector<std::string> sections{MainSection};
    for (const TLineSection& section : LineSections)
        sections.push_back(section.Name);
    sections.push_back(DialogCaptionsSection);
    sections.push_back(MessagesSection);
    sections.push_back(HashSection);
    return sections;
}

// FILE1, FILE2, ... up to the first that is missing or empty, looked up
// among the section's keys read once: a scenario may list thousands.
static void ReadSourceFiles(TConfigurator& cfg, ProfileFile& scenario)
{
    StringList keys;
    scenario.KeyLines(keys);
    StringList names;
    for (int i = 0; i < keys.Count(); ++i)
        names.Add(keys.NameAt(i));
    const SortedLines byName(names);
    cfg.SourceFiles.Clear();
    for (int n = 1;; ++n) {
        const int key = byName.IndexOf(SourceFileKey(n));
        if (key < 0 || keys.ValueAt(key).empty())
            break;
        cfg.SourceFiles.Add(keys.ValueAt(key));
    }
}

static void ReadWardCfgUpSection(TConfigurator& cfg, ProfileFile& scenario)
{
    scenario.Section = MainSection;
    cfg.RemoveBackup = scenario.IntegerValue(RemoveBackupKey, 1) == 1;
    ReadSourceFiles(cfg, scenario);
    cfg.AxClsid = scenario.StringValue(AxClsidKey, "");
}

static void ReadLineSections(TConfigurator& cfg, ProfileFile& scenario)
{
    for (const TLineSection& section : LineSections) {
        scenario.Section = section.Name;
        scenario.SectionLines(cfg.*section.Lines);
    }
}

// An empty or missing caption keeps the built-in one; only the comment may hold line breaks.
static void ReadDialogCaptions(TConfigurator& cfg, ProfileFile& scenario)
{
    scenario.Section = DialogCaptionsSection;
    for (const TCaptionKey& caption : DialogCaptionKeys) {
        std::string value = scenario.StringValue(caption.Key, "");
        if (value.empty())
            continue;
        if (caption.LineBreaks)
            value = UnescapeLineBreaks(value);
        cfg.DialogCaptions.SetValue(caption.Key, value);
    }
}

// A missing key keeps the current text; a key with an empty value empties it.
static void ReadMessages(TConfigurator& cfg, ProfileFile& scenario)
{
    scenario.Section = MessagesSection;
    for (const TMessageKey& message : MessageKeys) {
        std::string& text = cfg.*message.Text;
        text = UnescapeLineBreaks(scenario.StringValue(message.Key, EscapeLineBreaks(text)));
    }
}

bool TConfigurator::LoadScenario()
{
    ScenarioPath = ParseCommandLine();
    return ReadTrustedScenario();
}

bool TConfigurator::ReadScenario()
{
    if (!ScenarioPath.empty() && !FileExists(ScenarioPath)) {
        ShowMessage(FormatText(ConfigNotFoundText, {ScenarioPath}), Box::Error, Box::ErrorStyle);
        ScenarioPath.clear();
        return true;
    }
    ProfileFile scenario(ScenarioPath);
    ReadWardCfgUpSection(*this, scenario);
    ReadLineSections(*this, scenario);
    ReadDialogCaptions(*this, scenario);
    ReadMessages(*this, scenario);
    return true;
}
