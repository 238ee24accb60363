#include "check/ScenarioReport.h"

#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "common/Text.h"
#include "platform/Files.h"

#include <algorithm>

namespace {

std::size_t CountOf(const std::vector<TFinding>& findings, TSeverity severity)
{
    return std::count_if(findings.begin(), findings.end(),
                         [severity](const TFinding& finding) { return finding.Severity == severity; });
}

std::string Counts(const std::vector<TFinding>& findings)
{
    return Counted(CountOf(findings, TSeverity::Error), "error") + ", " +
           Counted(CountOf(findings, TSeverity::Warning), "warning");
}

std::string FindingLine(const std::string& name, const TFinding& finding)
{
    return name + (finding.Line ? ":" + std::to_string(finding.Line) : "") + ": " +
           (finding.Severity == TSeverity::Error ? "error" : "warning") + ": " + finding.Text;
}

// The box of a check without "-l=": the counts and the first findings.
constexpr std::size_t BoxFindingLimit = 10;

std::string SummaryText(const std::string& name, const std::vector<TFinding>& findings)
{
    std::string text = name + ": " + Counts(findings);
    for (std::size_t i = 0; i < findings.size() && i < BoxFindingLimit; ++i)
        text += (i == 0 ? "\r\n\r\n" : "\r\n") + FindingLine(name, findings[i]);
    if (findings.size() > BoxFindingLimit)
        text += "\r\n... and " + Counted(findings.size() - BoxFindingLimit, "more finding") +
                ": -l=<report> writes them all";
    return text;
}

}  // namespace

std::string ScenarioReport(const std::string& name, const std::vector<TFinding>& findings)
{
    std::string report;
    for (const TFinding& finding : findings)
        report += FindingLine(name, finding) + "\r\n";
    return report + Counts(findings) + "\r\n";
}

int ScenarioCheckExitCode(const std::vector<TFinding>& findings)
{
    if (CountOf(findings, TSeverity::Error) > 0)
        return CheckFoundErrors;
    return findings.empty() ? 0 : 1;
}

// The scenario is named like that of "-c=", relative to the program's
// directory; the report, like a run log, relative to the current directory.
bool CheckScenario(TConfigurator& cfg, int& exitCode)
{
    std::string name;
    if (!LastOptionValue("-check=", name))
        return false;
    std::string reportName;
    const bool reportWanted = LastOptionValue("-l=", reportName);

    std::vector<TFinding> findings = CheckScenarioFile(cfg, ProgramDir() + name);
    exitCode = ScenarioCheckExitCode(findings);
    if (reportWanted) {
        // A build must not take a report that was never written for a clean one.
        cfg.OpenLog(reportName);
        if (!cfg.LogOpen() || !platform::WriteFile(cfg.LogFile.get(), ScenarioReport(name, findings)))
            exitCode = CheckFoundErrors;
        return true;
    }
    static const std::pair<const char*, UINT> boxes[] = {
        {Box::Information, Box::InformationStyle}, {Box::Warning, Box::WarningStyle}, {Box::Error, Box::ErrorStyle}};
    cfg.ShowMessage(SummaryText(name, findings), boxes[exitCode].first, boxes[exitCode].second);
    return true;
}
