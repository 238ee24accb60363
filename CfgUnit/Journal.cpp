#include "CfgUnit/Journal.h"

#include "CfgUnit/Configurator.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "common/SystemErrorText.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/System.h"

const char* const TJournal::Key = "SOFTWARE\\WardCfgUp\\Update journal";

namespace {

// The view the program's own 32-bit build sees without asking: the 64-bit
// build that tests run on hosts without 32-bit support asks for it.
constexpr REGSAM JournalView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0;

const char* const ClientDirValue = "Client folder";
// A path of the client with room to spare.
constexpr DWORD ValueCapacity = 1024;

const char* const StepNames[] = {"listed", "backing up", "copying", "copied", "putting back", "settled"};

std::string Numbered(const char* name, std::size_t index)
{
    return name + std::to_string(index + 1);
}

const char* StepName(TJournal::TStep step)
{
    return StepNames[static_cast<std::size_t>(step)];
}

bool ReadStep(const std::string& name, TJournal::TStep& step)
{
    for (std::size_t i = 0; i < sizeof StepNames / sizeof StepNames[0]; ++i)
        if (name == StepNames[i]) {
            step = static_cast<TJournal::TStep>(i);
            return true;
        }
    return false;
}

enum class TValue { Read, Missing, Invalid };

// Only what the program writes is read: a REG_SZ value that fits, holding its
// text and one terminating zero.
TValue ReadText(HKEY key, const std::string& valueName, std::string& text)
{
    DWORD type;
    LONG status = platform::QueryValue(key, valueName, ValueCapacity, type, text);
    if (status == ERROR_FILE_NOT_FOUND)
        return TValue::Missing;
    if (status != ERROR_SUCCESS || type != REG_SZ || text.empty() || text.find('\0') != text.size() - 1)
        return TValue::Invalid;
    text.pop_back();
    return TValue::Read;
}

// A folder that a run can have found the client in: a full path of a drive
// or a network share, below its root, ending in a backslash.
bool IsClientFolder(const std::string& folder)
{
    if (folder.size() < 4 || folder.back() != '\\')
        return false;
    const char drive = folder[0];
    if (((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) && folder.compare(1, 2, ":\\") == 0)
        return RelativeNameProblem(folder.substr(3, folder.size() - 4)).empty();
    const std::string share = folder.substr(2, folder.size() - 3);
    return folder.compare(0, 2, "\\\\") == 0 && share.find('\\') != std::string::npos &&
           RelativeNameProblem(share).empty();
}

// The name of a file of the folder relative to it; empty when it is not one.
std::string RelativeTo(const std::string& folder, const std::string& path)
{
    if (path.compare(0, folder.size(), folder) != 0)
        return std::string();
    std::string name = path.substr(folder.size());
    return RelativeNameProblem(name).empty() ? name : std::string();
}

// File i of the journal: Missing after the last, Invalid for one the program did not write.
TValue ReadFile(HKEY key, std::size_t i, const std::string& folder, TJournal::TFile& file)
{
    std::string name;
    const TValue read = ReadText(key, Numbered("File", i), name);
    if (read != TValue::Read)
        return read;
    std::string backup;
    std::string activeX;
    std::string step;
    if (!RelativeNameProblem(name).empty() || ReadText(key, Numbered("Backup", i), backup) != TValue::Read ||
        !RelativeNameProblem(backup).empty() || ReadText(key, Numbered("Control", i), activeX) != TValue::Read ||
        (activeX != "1" && activeX != "0") || ReadText(key, Numbered("Step", i), step) != TValue::Read ||
        !ReadStep(step, file.step))
        return TValue::Invalid;
    file.destination = folder + name;
    file.backup = folder + backup;
    file.activeX = activeX == "1";
    return TValue::Read;
}

}  // namespace

bool TJournal::Begin(const std::string& clientDir, const std::vector<TFile>& files)
{
    open_.reset();
    clientDir_ = clientDir;
    files_ = files;
    if (!IsClientFolder(clientDir) || !platform::DeleteKeyTree(HKEY_LOCAL_MACHINE, key_, JournalView))
        return false;
    std::vector<std::pair<std::string, std::string>> names;  // destination and backup, relative
    for (const TFile& file : files) {
        names.emplace_back(RelativeTo(clientDir, file.destination), RelativeTo(clientDir, file.backup));
        if (names.back().first.empty() || names.back().second.empty())
            return false;
    }
    open_ = platform::CreateKey(HKEY_LOCAL_MACHINE, key_, JournalView);
    if (!open_)
        return false;
    HKEY key = open_.get();
    bool written = true;
    for (std::size_t i = 0; i < files.size() && written; ++i)
        written = platform::SetTextValue(key, Numbered("File", i), names[i].first) &&
                  platform::SetTextValue(key, Numbered("Backup", i), names[i].second) &&
                  platform::SetTextValue(key, Numbered("Control", i), files[i].activeX ? "1" : "0") &&
                  platform::SetTextValue(key, Numbered("Step", i), StepName(files[i].step));
    // The folder last: a journal cut off while it was written cannot be read, and goes.
    return written && platform::SetTextValue(key, ClientDirValue, clientDir) && platform::FlushKey(key);
}

void TJournal::Mark(const std::string& destination, TStep step)
{
    if (!open_)
        return;
    for (std::size_t i = 0; i < files_.size(); ++i)
        if (platform::EqualIgnoringCaseInLocale(files_[i].destination, destination)) {
            files_[i].step = step;
            platform::SetTextValue(open_.get(), Numbered("Step", i), StepName(step));
            platform::FlushKey(open_.get());
            return;
        }
}

TJournal::TFound TJournal::Load()
{
    clientDir_.clear();
    files_.clear();
    open_ = platform::OpenKeyForUpdate(HKEY_LOCAL_MACHINE, key_, JournalView);
    if (!open_)
        return TFound::None;
    if (ReadText(open_.get(), ClientDirValue, clientDir_) != TValue::Read || !IsClientFolder(clientDir_)) {
        clientDir_.clear();
        return TFound::Unreadable;
    }
    for (std::size_t i = 0;; ++i) {
        TFile file;
        switch (ReadFile(open_.get(), i, clientDir_, file)) {
        case TValue::Missing:
            return TFound::Found;
        case TValue::Invalid:
            files_.clear();
            return TFound::Unreadable;
        case TValue::Read:
            files_.push_back(file);
            break;
        }
    }
}

bool TJournal::Settled() const
{
    for (const TFile& file : files_)
        if (file.step != TStep::Listed && file.step != TStep::Copied && file.step != TStep::Settled)
            return false;
    return true;
}

bool TJournal::Remove()
{
    if (!open_)
        return true;
    platform::DeleteValue(open_.get(), ClientDirValue);
    platform::FlushKey(open_.get());
    open_.reset();
    clientDir_.clear();
    files_.clear();
    if (!platform::DeleteKeyTree(HKEY_LOCAL_MACHINE, key_, JournalView))
        return false;
    platform::FlushKey(HKEY_LOCAL_MACHINE);
    return true;
}

bool Recoverable(TJournal::TFound found, const TJournal& journal)
{
    return found == TJournal::TFound::Found && DirectoryExists(journal.ClientDir());
}

// A settled file is done with: a backup beside it is an older update's.
TRecoveryAction DecideRecovery(const TJournal::TFile& file, bool destinationExists, bool backupExists)
{
    using Step = TJournal::TStep;
    TRecoveryAction action;
    action.deleteCopy = file.step == Step::Copying && destinationExists;
    const bool destinationStays = destinationExists && !action.deleteCopy;
    action.putBack = file.step != Step::Listed && file.step != Step::Settled && !destinationStays && backupExists;
    action.registers = file.activeX && (destinationStays || action.putBack);
    return action;
}

// --- Recovery of an interrupted update ---

// The file as it stands after the cycle's last step finished or was undone,
// and a control registered again in whatever file is in place. False when
// the file could not be settled.
static bool Recover(TConfigurator& cfg, const TJournal::TFile& file)
{
    const TRecoveryAction action = DecideRecovery(file, FileExists(file.destination), FileExists(file.backup));
    if (action.deleteCopy) {
        cfg.WriteLog("Delete cut-off copy: " + file.destination);
        platform::SetAttributes(file.destination, FILE_ATTRIBUTE_NORMAL);
        if (!platform::RemoveFile(file.destination)) {
            cfg.WriteLog("Not settled: " + file.destination + " Error: " + LastErrorText());
            return false;
        }
        // From here the original must not be taken for the cut-off copy, should this recovery be cut off too.
        cfg.Journal.Mark(file.destination, TJournal::TStep::PuttingBack);
    }
    if (action.putBack) {
        cfg.WriteLog(FormatText("Rename \"%s\" to \"%s\"", {file.backup, file.destination}));
        if (!platform::MoveFileTo(file.backup, file.destination)) {
            cfg.WriteLog("Not settled: " + file.destination + " Error: " + LastErrorText());
            return false;
        }
    }
    if (action.registers)
        cfg.RegisterOCX(file.destination);
    if (file.step != TJournal::TStep::Listed && file.step != TJournal::TStep::Copied)
        cfg.Journal.Mark(file.destination, TJournal::TStep::Settled);
    return true;
}

TJournal::TFound TConfigurator::LoadInterruptedUpdate()
{
    const TJournal::TFound found = Journal.Load();
    InterruptedClientDir = Recoverable(found, Journal) ? Journal.ClientDir() : std::string();
    return found;
}

bool TConfigurator::InterruptedUpdateIsHere() const
{
    return !InterruptedClientDir.empty() && platform::SameFolder(InterruptedClientDir, DestDir);
}

void TConfigurator::RemoveJournal()
{
    if (!Journal.Remove())
        WriteLog("Journal of the update could not be removed");
}

void TConfigurator::DropUnusableJournal()
{
    if (LoadInterruptedUpdate() == TJournal::TFound::None || !InterruptedClientDir.empty())
        return;
    WriteLog("Journal of an interrupted update removed, unreadable or its client folder gone: " + Journal.ClientDir());
    RemoveJournal();
}

bool TConfigurator::RecoverInterruptedUpdate()
{
    if (InterruptedClientDir.empty())
        return true;
    if (!InterruptedUpdateIsHere()) {
        WriteLog("Journal of an interrupted update left alone: its client folder is " + InterruptedClientDir);
        return true;
    }
    WriteLog("Start RecoverInterruptedUpdate: " + InterruptedClientDir);
    // Marking a step changes no file's place in the list, only its step.
    bool settled = true;
    for (std::size_t i = 0; i < Journal.Files().size(); ++i)
        settled = Recover(*this, TJournal::TFile(Journal.Files()[i])) && settled;
    if (settled)
        RemoveJournal();
    // A registration it made again names the client's control, whose holders the application check looks for.
    if (RegisteredActiveXFullName.empty())
        RegisteredActiveXFullName = GetRegisteredActiveXFullName(AxClsid);
    WriteLog("End RecoverInterruptedUpdate");
    return settled;
}
