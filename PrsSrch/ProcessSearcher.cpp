#include "PrsSrch/ProcessSearcher.h"

#include "common/Text.h"

TProcessSearcher* ProcessSearcher = nullptr;

TProcessSearcher::TProcessSearcher() = default;
TProcessSearcher::~TProcessSearcher() = default;

std::string TProcessSearcher::NormalizeName(const std::string& name) const
{
    return UpperAscii(name);
}

// The searches come with the process-control change; until then nothing is found.
void TProcessSearcher::SearchProcesses()
{
    Processes.Clear();
}

bool TProcessSearcher::TerminateProcesses()
{
    return Processes.Count() == 0;
}

void TProcessSearcher::QuitWardenClient()
{
}
