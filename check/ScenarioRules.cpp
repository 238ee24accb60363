#include "check/ScenarioRules.h"

#include "CfgUnit/ActiveXLookup.h"
#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "CfgUnit/ModuleRunner.h"
#include "CfgUnit/Scenario.h"
#include "CfgUnit/SignedUpdate.h"
#include "CfgUnit/UpdateCycle.h"
#include "CfgUnit/VersionCheck.h"
#include "CfgUnit/WardenSettings.h"
#include "check/ScenarioScanner.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/Text.h"
#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <string_view>

namespace {

// --- Names a writer may have misspelt ---

std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// " (did you mean X?)" for the known name at most two letters away, else nothing.
std::string Suggestion(const std::string& name, const std::vector<std::string>& known)
{
    std::string best;
    std::size_t bestDistance = 3;
    for (const std::string& candidate : known) {
        std::size_t distance = EditDistance(LowerAscii(name), LowerAscii(candidate));
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best.empty() ? "" : " (did you mean " + best + "?)";
}

bool IsClassId(const std::string& braced)
{
    static const std::string pattern = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    if (braced.size() != pattern.size())
        return false;
    for (std::string::size_type i = 0; i < pattern.size(); ++i) {
        bool fits = pattern[i] == 'X' ? std::isxdigit(static_cast<unsigned char>(braced[i])) != 0
                                      : braced[i] == pattern[i];
        if (!fits)
            return false;
    }
    return true;
}

// --- Line sections ---

std::string SectionOf(StringList TConfigurator::*lines)
{
    for (const TLineSection& section : LineSections)
        if (section.Lines == lines)
            return section.Name;
    return std::string();
}

// Why a tunnel location names no server; empty when it does.
std::string LocationProblem(const std::string& location)
{
    TLocation split = SplitLocation(location);
    if (TrimControls(split.Host).empty())
        return "has no host";
    if (split.PortText.empty())
        return "";
    bool number = split.PortText.find_first_not_of("0123456789") == std::string::npos && split.PortText.size() <= 5;
    if (number && split.Port >= 1 && split.Port <= 65535)
        return "";
    return "has the port " + split.PortText + ", not a number from 1 to 65535";
}

// A program named by a path, not a bare name that the shell looks up, nor an address.
bool IsGivenByPath(const std::string& program)
{
    return program.find_first_of("\\/:") != std::string::npos && program.find("://") == std::string::npos;
}

// --- [Messages] placeholders ---

std::vector<TTemplateConversion> Placeholders(const std::vector<TTemplateConversion>& conversions)
{
    std::vector<TTemplateConversion> placeholders;
    for (const TTemplateConversion& conversion : conversions)
        if (conversion.Kind != TArgumentKind::None)
            placeholders.push_back(conversion);
    return placeholders;
}

bool SameKinds(const std::vector<TTemplateConversion>& a, const std::vector<TTemplateConversion>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TTemplateConversion& x, const TTemplateConversion& y) { return x.Kind == y.Kind; });
}

std::string Listed(const std::vector<TTemplateConversion>& placeholders)
{
    if (placeholders.empty())
        return "no placeholder";
    std::string text;
    for (const TTemplateConversion& placeholder : placeholders)
        text += (text.empty() ? "" : " ") + placeholder.Text;
    return text;
}

// "[section] " and what follows, the start of most findings.
std::string InSection(const std::string& section, const std::string& rest)
{
    return "[" + section + "] " + rest;
}

std::string LineReference(int line)
{
    return "line " + std::to_string(line);
}

// --- The checks ---

// The findings in the order of their lines, those of one line in the order
// they were found, those of the whole file (line 0) last.
class TFindings {
public:
    void Add(int line, TSeverity severity, std::initializer_list<std::string_view> text)
    {
        auto key = [](int findingLine) { return findingLine == 0 ? INT_MAX : findingLine; };
        auto after = std::upper_bound(findings_.begin(), findings_.end(), key(line),
                                      [&](int k, const TFinding& finding) { return k < key(finding.Line); });
        findings_.insert(after, {line, severity, Concat(text)});
    }
    std::vector<TFinding> Take() { return std::move(findings_); }

private:
    std::vector<TFinding> findings_;
};

// What every group of rules works with: the scenario as the run's reader left
// it in the configurator, the scenario's own lines, and the findings.
class TRules {
public:
    TRules(TConfigurator& cfg, const TScannedFile& file, TFindings& findings)
        : cfg_(cfg), file_(file), findings_(findings)
    {
    }

protected:
    // A finding's text is given in pieces and joined once.
    void Error(int line, std::initializer_list<std::string_view> text) { findings_.Add(line, TSeverity::Error, text); }
    void Warning(int line, std::initializer_list<std::string_view> text)
    {
        findings_.Add(line, TSeverity::Warning, text);
    }

    // Each key of a section of keys once: lines without "=" and keys given
    // again are reported here, every other key goes to check.
    template <typename Check>
    void ForEachKey(const std::string& sectionName, Check check)
    {
        const TScannedSection* section = file_.FirstSection(sectionName);
        if (!section)
            return;
        for (const TScannedKey& key : section->Keys)
            if (IsFirstWithValue(sectionName, key))
                check(key);
    }

    // False, and reported, for a line without "=" and for a key given again.
    bool IsFirstWithValue(const std::string& sectionName, const TScannedKey& key)
    {
        std::string where = InSection(sectionName, key.Name);
        if (!key.HasEquals) {
            Warning(key.Line, {where, " has no \"=\": the run reads nothing from this line"});
            return false;
        }
        const TScannedKey* first = file_.FirstKey(sectionName, key.Name);
        if (first != &key) {
            Warning(key.Line,
                    {where, " is given again (first at ", LineReference(first->Line), "): the run reads the first"});
            return false;
        }
        return true;
    }

    TConfigurator& cfg_;
    const TScannedFile& file_;

private:
    TFindings& findings_;
};

// The file as a whole: its encoding, its sections, its purpose.
class TLayoutRules : public TRules {
public:
    using TRules::TRules;
    void Run()
    {
        CheckEncoding();
        CheckSections();
    }
    void CheckPurpose()
    {
        if (cfg_.SourceFiles.Count() == 0 && cfg_.WebServersHosts.Count() == 0)
            Warning(0,
                    {"the scenario installs no file and names no web server host: the run only asks the user "
                     "for a new server"});
    }

private:
    void CheckEncoding()
    {
        if (file_.Encoding == TEncoding::Utf8Mark) {
            bool headerFirst = !file_.Sections.empty() && file_.Sections[0].Line == 1;
            Error(1,
                  {"the file starts with a UTF-8 byte-order mark, which Windows reads as part of the first line",
                   (headerFirst ? ": [" + file_.Sections[0].Name + "] is lost" : std::string()),
                   "; save the scenario in code page 1251"});
        }
        if (!file_.Utf8Lines.empty()) {
            std::size_t more = file_.Utf8Lines.size() - 1;
            Warning(file_.Utf8Lines[0],
                    {"text reads as UTF-8 Cyrillic", (more ? " (and on " + Counted(more, "more line") + ")" : ""),
                     ": save the scenario in code page 1251"});
        }
    }

    void CheckSections()
    {
        for (int line : file_.LinesBeforeFirstSection)
            Warning(line, {"text before the first section is never read"});
        std::vector<std::string> known;
        for (const std::string& name : ScenarioSections())
            known.push_back("[" + name + "]");
        for (const TScannedSection& section : file_.Sections) {
            std::string bracketed = "[" + section.Name + "]";
            const TScannedSection* first = file_.FirstSection(section.Name);
            bool isKnown = std::any_of(known.begin(), known.end(),
                                       [&](const std::string& name) { return EqualFoldingAscii(name, bracketed); });
            if (!isKnown)
                Error(section.Line, {bracketed, " is not a section the program knows", Suggestion(bracketed, known)});
            else if (first != &section)
                Warning(section.Line,
                        {bracketed, " is given again (first at ", LineReference(first->Line),
                         "): the run reads only the first"});
        }
    }
};

// [WardCfgUp]: its keys and the files it lists.
class TEntryRules : public TRules {
public:
    TEntryRules(TConfigurator& cfg, const TScannedFile& file, TFindings& findings)
        : TRules(cfg, file, findings), backups_(cfg)
    {
        const StringList& files = cfg_.SourceFiles;
        for (int i = 0; i < files.Count(); ++i) {
            files_.Add(files[i], i);
            plainBackups_.Add(PlainBackupName(files[i]), i);
        }
    }
    void Run()
    {
        CheckMainSection();
        CheckSourceFiles();
    }

private:
    void CheckMainSection()
    {
        const std::vector<std::string> known{RemoveBackupKey, AxClsidKey, SourceFileKey(1)};
        ForEachKey(MainSection, [&](const TScannedKey& key) {
            if (EqualFoldingAscii(key.Name, RemoveBackupKey))
                CheckRemoveBackup(key);
            else if (EqualFoldingAscii(key.Name, AxClsidKey))
                CheckClsid(key.Line);
            else if (!CheckFileKey(key))
                Warning(key.Line,
                        {InSection(MainSection, key.Name), " is not a key the program knows",
                         Suggestion(key.Name, known)});
        });
    }

    void CheckRemoveBackup(const TScannedKey& key)
    {
        if (key.Value == "0" || key.Value == "1")
            return;
        Warning(key.Line,
                {InSection(MainSection, RemoveBackupKey), "=", key.Value, " is neither 0 nor 1: the run ",
                 (cfg_.RemoveBackup ? "deletes" : "keeps"), " the copied source files"});
    }

    void CheckClsid(int line)
    {
        std::string braced = BracedClsid(cfg_.AxClsid);
        if (!braced.empty() && !IsClassId(braced))
            Error(line,
                  {InSection(MainSection, AxClsidKey), " ", cfg_.AxClsid,
                   " is not a class id (32 hexadecimal digits grouped 8-4-4-4-12)"});
    }

    // False when the key is no FILEn key at all. The run reads FILE1 upwards,
    // without leading zeros, up to the first that is missing or empty.
    bool CheckFileKey(const TScannedKey& key)
    {
        const std::string prefix = SourceFileKeyPrefix;
        std::string digits = key.Name.substr(std::min(prefix.size(), key.Name.size()));
        if (digits.empty() || !EqualFoldingAscii(key.Name.substr(0, prefix.size()), prefix) ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        int read = cfg_.SourceFiles.Count();
        bool plain = digits[0] != '0';
        if (key.Value.empty() || (plain && digits.size() <= 9 && DecimalValue(digits) <= read))
            return true;
        std::string where = InSection(MainSection, key.Name) + " is never read: ";
        std::string::size_type significant = digits.find_first_not_of('0');
        if (significant == std::string::npos)
            Error(key.Line, {where, "the files start at ", SourceFileKey(1)});
        else if (!plain)
            Error(key.Line,
                  {where, "the run asks for ", prefix, digits.substr(significant), ", without leading zeros"});
        else {
            std::string gap = SourceFileKey(read + 1);
            Error(key.Line, {where, gap, (file_.FirstKey(MainSection, gap) ? " is empty" : " is missing")});
        }
        return true;
    }

    void CheckSourceFiles()
    {
        const StringList& files = cfg_.SourceFiles;
        for (int i = 0; i < files.Count(); ++i) {
            const std::string& entry = files[i];
            const std::string key = SourceFileKey(i + 1);
            const std::string where = InSection(MainSection, key + " " + entry);
            const int line = file_.LineOfKey(MainSection, key);
            std::string problem = RelativeNameProblem(entry);
            const int twin = files_.IndexOf(entry);
            if (!problem.empty())
                Error(line, {where, " ", problem});
            else if (twin < i)
                Error(line, {where, " is listed again (", SourceFileKey(twin + 1), "): the run copies it twice"});
            else if (EqualFoldingAscii(PlainBackupName(entry), entry))
                Warning(
                    line,
                    {where, " is named like a backup: the run keeps the installed file as ", backups_.Of(entry)});
            else {
                CheckBackupCollisions(i, line, where);
                CheckSourceFile(entry, line, where);
            }
        }
    }

    void CheckBackupCollisions(int index, int line, const std::string& where)
    {
        const StringList& files = cfg_.SourceFiles;
        const std::string backup = PlainBackupName(files[index]);
        for (int i : plainBackups_.Numbers(backup))
            if (i < index && !EqualFoldingAscii(files[i], files[index]))
                Warning(line,
                        {where, " and ", SourceFileKey(i + 1), " ", files[i], " share the backup name ", backup,
                         ": the run keeps them as ", backups_.Of(files[i]), " and ", backups_.Of(files[index])});
    }

    void CheckSourceFile(const std::string& entry, int line, const std::string& where)
    {
        FileVersion version;
        if (!FileExists(entry))
            Warning(line,
                    {where,
                     " is missing in the current directory: the run shows NOT_FOUND_FILE and "
                     "copies nothing"});
        else if (!GetFileVersion(entry, version))
            Warning(line,
                    {where,
                     " has no version resource: the run copies it over the installed file "
                     "whatever that file's version"});
    }

    const TBackupNames backups_;
    // The entries of SourceFiles by name, and by their plain backup names.
    SortedLines files_{SortedLines::TFolding::LatinLetters};
    SortedLines plainBackups_{SortedLines::TFolding::LatinLetters};
};

// The sections taken whole: tunnel locations, web server hosts, result programs.
class TLineSectionRules : public TRules {
public:
    using TRules::TRules;
    void Run()
    {
        CheckLocations();
        CheckHosts();
        CheckPrograms(&TConfigurator::RunOkModules);
        CheckPrograms(&TConfigurator::RunNotOkModules);
    }

private:
    void CheckLocations()
    {
        const StringList& pairs = cfg_.WardLocations;
        const std::string section = SectionOf(&TConfigurator::WardLocations);
        const std::string where = InSection(section, "");
        for (int i = 0; i < pairs.Count(); ++i) {
            const int line = file_.LineOfEntry(section, i);
            const std::pair<const char*, std::string> sides[] = {{"old", pairs.NameAt(i)}, {"new", pairs.ValueAt(i)}};
            for (const auto& [side, location] : sides) {
                std::string problem = LocationProblem(location);
                if (!problem.empty())
                    Error(line, {where, side, " location \"", location, "\" ", problem});
            }
            int first = 0;
            while (first < i && !IsSameServer(pairs.NameAt(first), pairs.NameAt(i)))
                ++first;
            if (first < i)
                Warning(line,
                        {where, pairs.NameAt(i), " is given again (", LineReference(file_.LineOfEntry(section, first)),
                         "): the run uses the first"});
        }
    }

    void CheckHosts()
    {
        const StringList& hosts = cfg_.WebServersHosts;
        const std::string section = SectionOf(&TConfigurator::WebServersHosts);
        for (int i = 0; i < hosts.Count(); ++i) {
            const int line = file_.LineOfEntry(section, i);
            const std::string current = hosts.NameAt(i);
            const std::string where = InSection(section, current);
            const int first = hosts.IndexOfName(current);
            if (TrimControls(current).empty())
                Warning(line, {InSection(section, "a line without a current host never applies")});
            else if (first >= 0 && first < i)
                Warning(line,
                        {where, " is given again (", LineReference(file_.LineOfEntry(section, first)),
                         "): the run uses the first"});
            else if (hosts.ValueAt(i).empty())
                Warning(line, {where, " has no new host: the run copies nothing for it"});
            else if (EqualFoldingAscii(current, hosts.ValueAt(i)))
                Warning(line, {where, " is mapped to itself: the run copies its server section for the same host"});
        }
    }

    void CheckPrograms(StringList TConfigurator::*lines)
    {
        const StringList& programs = cfg_.*lines;
        const std::string section = SectionOf(lines);
        for (int i = 0; i < programs.Count(); ++i) {
            const std::string program = programs.NameAt(i);
            const std::string expanded = ExpandEnvironmentText(program);
            if (!IsGivenByPath(expanded) || platform::FileAttributes(expanded) != INVALID_FILE_ATTRIBUTES)
                continue;
            Warning(file_.LineOfEntry(section, i),
                    {InSection(section, "program "), program, (expanded == program ? "" : " (" + expanded + ")"),
                     " does not exist: the run only logs that it could not start it"});
        }
    }
};

// The texts the program shows: the dialog's captions and the messages.
class TTextRules : public TRules {
public:
    using TRules::TRules;
    void Run()
    {
        CheckCaptions();
        CheckMessages();
    }

private:
    void CheckCaptions()
    {
        std::vector<std::string> known;
        for (const TCaptionKey& caption : DialogCaptionKeys)
            known.push_back(caption.Key);
        ForEachKey(DialogCaptionsSection, [&](const TScannedKey& key) {
            const std::string where = InSection(DialogCaptionsSection, key.Name);
            const TCaptionKey* caption =
                std::find_if(std::begin(DialogCaptionKeys), std::end(DialogCaptionKeys),
                             [&](const TCaptionKey& c) { return EqualFoldingAscii(c.Key, key.Name); });
            if (caption == std::end(DialogCaptionKeys))
                Error(key.Line, {where, " is not a key the program knows", Suggestion(key.Name, known)});
            else if (!caption->LineBreaks && cfg_.DialogCaptions.ValueOf(caption->Key).find("\\n") != std::string::npos)
                Warning(key.Line, {where, " shows \\n as written: this caption takes no line breaks"});
        });
    }

    void CheckMessages()
    {
        std::vector<std::string> known;
        for (const TMessageKey& message : MessageKeys)
            known.push_back(message.Key);
        ForEachKey(MessagesSection, [&](const TScannedKey& key) {
            const TMessageKey* message =
                std::find_if(std::begin(MessageKeys), std::end(MessageKeys),
                             [&](const TMessageKey& m) { return EqualFoldingAscii(m.Key, key.Name); });
            if (message == std::end(MessageKeys))
                Error(key.Line,
                      {InSection(MessagesSection, key.Name), " is not a key the program knows",
                       Suggestion(key.Name, known)});
            else
                CheckMessageText(key.Line, *message);
        });
    }

    // The program fills a text only when its built-in text has placeholders,
    // and then with exactly the arguments those placeholders take.
    void CheckMessageText(int line, const TMessageKey& message)
    {
        const std::string where = InSection(MessagesSection, message.Key);
        const std::string& text = cfg_.*message.Text;
        if (text.empty()) {
            Warning(line, {where, " is empty: its box shows no text"});
            return;
        }
        const std::vector<TTemplateConversion> expected = Placeholders(TemplateConversions(message.BuiltIn));
        const std::vector<TTemplateConversion> conversions = TemplateConversions(text);
        if (expected.empty()) {
            CheckTextShownAsWritten(line, where, conversions);
            return;
        }
        const std::vector<TTemplateConversion> found = Placeholders(conversions);
        if (!SameKinds(found, expected))
            Error(line, {where, " holds ", Listed(found), " where the program fills ", Listed(expected)});
        for (const TTemplateConversion& conversion : conversions) {
            if (conversion.Type == 0)
                Error(line, {where, " ends inside a placeholder (", conversion.Text, "): the text is cut there"});
            else if (conversion.Kind != TArgumentKind::None && conversion.Sized)
                Error(line, {where, ": ", conversion.Text, " carries a field width or precision; write it plain"});
            else if (conversion.Kind == TArgumentKind::None && conversion.Type != '%')
                Error(line,
                      {where, ": \"", conversion.Text,
                       "\" is no placeholder and shows no percent sign; "
                       "write %% for one"});
        }
    }

    void CheckTextShownAsWritten(int line, const std::string& where,
                                 const std::vector<TTemplateConversion>& conversions)
    {
        auto placeholder = std::find_if(conversions.begin(), conversions.end(),
                                        [](const TTemplateConversion& c) { return c.Kind != TArgumentKind::None; });
        auto percent = std::find_if(conversions.begin(), conversions.end(),
                                    [](const TTemplateConversion& c) { return c.Type == '%'; });
        if (placeholder != conversions.end())
            Error(line,
                  {where, " holds ", placeholder->Text,
                   ", but the program shows this text as written "
                   "and fills in nothing"});
        else if (percent != conversions.end())
            Warning(line, {where, " holds %%, but the program shows this text as written: both percent signs show"});
    }
};

// The signature and [SHA256]: what a program with the bank's key checks
// before it applies an update. Without a key, the hashes only where the
// scenario gives them, for the program that will check them.
class TSignatureRules : public TRules {
public:
    TSignatureRules(TConfigurator& cfg, const TScannedFile& file, TFindings& findings)
        : TRules(cfg, file, findings),
          update_(cfg.SignedUpdate),
          files_(cfg.SourceFiles, SortedLines::TFolding::LatinLetters)
    {
    }
    void Run()
    {
        if (update_.HasKey() && !update_.VerifyScenario(cfg_.ScenarioPath))
            Error(0, {update_.Problem(), Refusal()});
        if (!update_.HasKey() && !file_.FirstSection(HashSection))
            return;
        CheckSources();
        ForEachKey(HashSection, [&](const TScannedKey& key) {
            if (files_.IndexOf(key.Name) < 0)
                Warning(key.Line, {InSection(HashSection, key.Name), " names no FILEn of [", MainSection, "]"});
        });
    }

private:
    const char* Refusal() const
    {
        return update_.HasKey() ? ": the run refuses the update" : ": a program with the bank's key refuses the update";
    }

    // Each file once; a hash that does not match is found at its own line.
    void CheckSources()
    {
        const TSourceHashes hashes(cfg_.ScenarioPath);
        for (int i = 0; i < cfg_.SourceFiles.Count(); ++i) {
            const std::string& entry = cfg_.SourceFiles[i];
            if (files_.IndexOf(entry) < i)
                continue;
            const std::string key = SourceFileKey(i + 1);
            const TSourceCheck check = update_.CheckSource(entry, hashes);
            if (check == TSourceCheck::Matches || check == TSourceCheck::Missing)
                continue;
            const int line = check == TSourceCheck::NoHash ? file_.LineOfKey(MainSection, key)
                                                           : file_.LineOfKey(HashSection, entry);
            Error(line, {InSection(MainSection, key + " "), update_.Problem(), Refusal()});
        }
    }

    TSignedUpdate& update_;
    const SortedLines files_;  // the entries of SourceFiles by name
};

}  // namespace

std::vector<TFinding> CheckScenarioFile(TConfigurator& cfg, const std::string& path)
{
    std::string bytes;
    if (!FileExists(path))
        return {{0, TSeverity::Error, "the scenario does not exist: " + path}};
    if (!platform::ReadWholeFile(path, bytes))
        return {{0, TSeverity::Error, "the scenario cannot be read: " + path}};
    const TScannedFile file = ScanLines(bytes);
    if (file.Encoding == TEncoding::Utf16Mark)
        return {{1, TSeverity::Error, "the file is saved as UTF-16; save the scenario in code page 1251"}};
    cfg.ScenarioPath = path;
    cfg.ReadScenario();
    TFindings findings;
    TLayoutRules layout(cfg, file, findings);
    layout.Run();
    TEntryRules(cfg, file, findings).Run();
    TLineSectionRules(cfg, file, findings).Run();
    TTextRules(cfg, file, findings).Run();
    TSignatureRules(cfg, file, findings).Run();
    layout.CheckPurpose();
    return findings.Take();
}
