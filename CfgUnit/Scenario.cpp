#include "CfgUnit/Messages.h"

#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/ProfileFile.h"
#include "common/Text.h"

static void ReadWardCfgUpSection(TConfigurator& cfg, ProfileFile& scenario)
{
    scenario.Section = "WardCfgUp";
    cfg.RemoveBackup = scenario.IntegerValue("RemoveBackup", 1) == 1;
    cfg.SourceFiles.Clear();
    for (int n = 1;; ++n) {
        std::string file = scenario.StringValue("FILE" + std::to_string(n), "");
        if (file.empty())
            break;
        cfg.SourceFiles.Add(file);
    }
    cfg.AxClsid = scenario.StringValue("AXCLSID", "");
}

static void ReadLineSections(TConfigurator& cfg, ProfileFile& scenario)
{
    const std::pair<const char*, StringList*> sections[] = {
        {"WARDEN LOCATION", &cfg.WardLocations}, {"WEB SERVERS HOSTS", &cfg.WebServersHosts},
        {"CRYPTO PARAMS", &cfg.CryptoParams},    {"RUN OK", &cfg.RunOkModules},
        {"RUN NOT OK", &cfg.RunNotOkModules},
    };
    for (const auto& [section, lines] : sections) {
        scenario.Section = section;
        scenario.SectionLines(*lines);
    }
}

// An empty or missing caption keeps the built-in one; only the comment may hold line breaks.
static void ReadDialogCaptions(TConfigurator& cfg, ProfileFile& scenario)
{
    scenario.Section = "Dialog captions";
    for (const TCaptionKey& caption : DialogCaptionKeys) {
        std::string value = scenario.StringValue(caption.Key, "");
        if (value.empty())
            continue;
        if (std::string(caption.Key) == "CommentLabelText")
            value = UnescapeLineBreaks(value);
        cfg.DialogCaptions.SetValue(caption.Key, value);
    }
}

// A missing key keeps the current text; a key with an empty value empties it.
static void ReadMessages(TConfigurator& cfg, ProfileFile& scenario)
{
    scenario.Section = "Messages";
    for (const TMessageKey& message : MessageKeys) {
        std::string& text = cfg.*message.Text;
        text = UnescapeLineBreaks(scenario.StringValue(message.Key, EscapeLineBreaks(text)));
    }
}

bool TConfigurator::LoadScenario()
{
    ScenarioPath = ParseCommandLine();
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
