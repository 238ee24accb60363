#include "CfgUnit/ApplicationCheck.h"

#include "CfgUnit/Configurator.h"

#include "CfgUnit/Messages.h"
#include "PrsSrch/ProcessSearcher.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "platform/System.h"

namespace {

// The prompt's two halves: the applications to close, and the numbered steps
// that close them, one step per kind of application in the order the kinds
// first occur.
class ClosingInstructions {
public:
    ClosingInstructions(const TConfigurator& cfg, StringList& restarts) : cfg_(cfg), restarts_(restarts) {}

    void Add(const std::string& processPath)
    {
        std::string fileName = FileNamePart(processPath);
        if (EqualFoldingAscii(fileName, WardenImage)) {
            restarts_.Add(processPath);
            AddStep(cfg_.WARDEN_CLIENT_NAME, cfg_.WARDEN_CLIENT_CLOSE);
        } else if (EqualFoldingAscii(fileName, "IExplorer.exe") || EqualFoldingAscii(fileName, "IExplore.exe")) {
            AddStep(cfg_.IEXPLORER_NAME, cfg_.IEXPLORER_CLOSE);
        } else if (names_.IndexOf(fileName) < 0) {
            others_ += fileName + "\r\n";
            names_.Add(fileName);
        }
    }

    // The closing step itself is worded by the prompt's template, after the number that ends the steps.
    std::string Prompt()
    {
        if (!others_.empty())
            AppendStep(FormatText(cfg_.OTHERPROCESSES_CLOSE, {others_}));
        steps_ += std::to_string(counter_);
        return FormatText(cfg_.SHARING_ERROR, {names_.Text(), steps_});
    }

private:
    void AddStep(const std::string& name, const std::string& instruction)
    {
        if (names_.IndexOf(name) >= 0)
            return;
        AppendStep(instruction);
        names_.Add(name);
    }

    void AppendStep(const std::string& instruction)
    {
        steps_ += std::to_string(counter_++) + ". " + instruction + "\r\n";
    }

    const TConfigurator& cfg_;
    StringList& restarts_;
    StringList names_;  // compared under the user's locale
    std::string steps_;
    std::string others_;
    int counter_ = 1;
};

// Module mode over the files about to be replaced and the registered ActiveX.
void SearchHolders(TProcessSearcher& searcher, const TConfigurator& cfg)
{
    searcher.FullPath = true;
    searcher.ShortPath = true;
    searcher.Modules.Clear();
    for (int i = 0; i < cfg.SourceFiles.Count(); ++i)
        searcher.Modules.Add(searcher.NormalizeName(cfg.DestDir + cfg.SourceFiles[i]));
    if (!cfg.RegisteredActiveXFullName.empty())
        searcher.Modules.Add(searcher.NormalizeName(cfg.RegisteredActiveXFullName));
    searcher.SearchProcesses();
}

std::string ClosingPrompt(const TConfigurator& cfg, const StringList& processes, StringList& restarts)
{
    ClosingInstructions instructions(cfg, restarts);
    for (int i = 0; i < processes.Count(); ++i)
        instructions.Add(processes[i]);
    return instructions.Prompt();
}

}  // namespace

TClosingCheck TConfigurator::DecideClosing()
{
    TClosingCheck check;
    SearchHolders(*ProcessSearcher, *this);
    check.searchError = LastErrorText();
    check.holders = ProcessSearcher->Processes;
    if (check.holders.Count() > 0)
        check.prompt = ClosingPrompt(*this, check.holders, check.restarts);
    return check;
}

bool TConfigurator::CheckProcesses()
{
    WriteLog("Start CheckProcesses");
    TProcessSearcher& searcher = *ProcessSearcher;
    const TClosingCheck check = DecideClosing();
    WriteLog("Result ProcessSearcher.SearchProcesses: " + check.searchError);
    for (int i = 0; i < check.restarts.Count(); ++i)
        AutostartList.Add(check.restarts[i]);

    bool result = true;
    if (check.holders.Count() > 0) {
        WriteLog("Found processes: " + check.holders.Text());
        WriteLog("Show message: " + check.prompt);
        result = ShowMessage(check.prompt, Box::Attention, Box::QuestionStyle) == IDOK;
        if (result) {  // terminate what the user left running
            searcher.SearchProcesses();
            if (searcher.Processes.Count() > 0) {
                WriteLog("Terminate processes: " + searcher.Processes.Text());
                searcher.TerminateProcesses();
                platform::Sleep(1000);
            }
        }
    }
    WriteLog("End CheckProcesses Result: " + BoolToText(result));
    return result;
}
