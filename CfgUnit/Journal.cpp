#include "CfgUnit/Journal.h"

#include "CfgUnit/Configurator.h"
#include "common/FileNames.h"
#include "common/FormatText.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/System.h"

const char* const TJournal::Key = "Software\\Classes\\Local Settings\\Software\\WardCfgUp";

namespace {

const char* const ClientDirValue = "Client folder";
// A path of the client with room to spare.
constexpr DWORD ValueCapacity = 1024;

const char* const StepNames[] = {"listed", "backing up", "copying", "copied", "putting back"};

std::string Numbered(const char* name, std::size_t index)
{
    return name + std::to_string(index + 1);
}

bool ReadText(HKEY key, const std::string& valueName, std::string& text)
{
    if (!platform::QueryValueBytes(key, valueName, ValueCapacity, text))
        return false;
    text = text.substr(0, text.find('\0'));
    return true;
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

const char* StepName(TJournal::TStep step)
{
    return StepNames[static_cast<std::size_t>(step)];
}

// The program names only files of the client's folder: a journal that names
// others was not written by it.
bool InFolder(const std::string& folder, const std::string& name)
{
    return name.size() > folder.size() && platform::EqualIgnoringCaseInLocale(name.substr(0, folder.size()), folder);
}

// The rest of file i of the journal, after its destination; false when it cannot be read.
bool ReadRest(HKEY key, std::size_t i, const std::string& folder, TJournal::TFile& file)
{
    std::string activeX;
    std::string step;
    if (!ReadText(key, Numbered("Backup", i), file.backup) || !ReadText(key, Numbered("Control", i), activeX) ||
        !ReadText(key, Numbered("Step", i), step))
        return false;
    file.activeX = activeX == "1";
    return (activeX == "1" || activeX == "0") && ReadStep(step, file.step) && InFolder(folder, file.destination) &&
           InFolder(folder, file.backup);
}

}  // namespace

bool TJournal::Begin(const std::string& clientDir, const std::vector<TFile>& files)
{
    platform::DeleteKey(HKEY_CURRENT_USER, key_);
    open_ = platform::CreateKey(HKEY_CURRENT_USER, key_);
    clientDir_ = clientDir;
    files_ = files;
    if (!open_)
        return false;
    HKEY key = open_.get();
    bool written = true;
    for (std::size_t i = 0; i < files.size() && written; ++i)
        written = platform::SetTextValue(key, Numbered("File", i), files[i].destination) &&
                  platform::SetTextValue(key, Numbered("Backup", i), files[i].backup) &&
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
    open_ = platform::OpenKeyForUpdate(HKEY_CURRENT_USER, key_);
    if (!open_)
        return TFound::None;
    if (!ReadText(open_.get(), ClientDirValue, clientDir_) || clientDir_.empty())
        return TFound::Unreadable;
    for (std::size_t i = 0;; ++i) {
        TFile file;
        if (!ReadText(open_.get(), Numbered("File", i), file.destination))
            return TFound::Found;
        if (!ReadRest(open_.get(), i, clientDir_, file))
            return TFound::Unreadable;
        files_.push_back(file);
    }
}

void TJournal::Remove()
{
    if (!open_)
        return;
    open_.reset();
    clientDir_.clear();
    files_.clear();
    if (platform::DeleteKey(HKEY_CURRENT_USER, key_))
        platform::FlushKey(HKEY_CURRENT_USER);
}

// --- Recovery of an interrupted update ---

// The file as it stands after the cycle's last step finished or was undone,
// and a control registered again in whatever file is in place.
static void MakeConsistent(TConfigurator& cfg, const TJournal::TFile& file)
{
    if (file.step == TJournal::TStep::Copying) {
        cfg.WriteLog("Delete cut-off copy: " + file.destination);
        platform::SetAttributes(file.destination, FILE_ATTRIBUTE_NORMAL);
        platform::RemoveFile(file.destination);
        // From here the original must not be taken for the cut-off copy, should this recovery be cut off too.
        cfg.Journal.Mark(file.destination, TJournal::TStep::PuttingBack);
    }
    if (file.step != TJournal::TStep::Listed && !FileExists(file.destination) && FileExists(file.backup)) {
        cfg.WriteLog(FormatText("Rename \"%s\" to \"%s\"", {file.backup, file.destination}));
        platform::MoveFileTo(file.backup, file.destination);
    }
    if (file.activeX && FileExists(file.destination))
        cfg.RegisterOCX(file.destination);
}

bool Recoverable(TJournal::TFound found, const TJournal& journal)
{
    return found == TJournal::TFound::Found && DirectoryExists(journal.ClientDir());
}

void TConfigurator::RecoverInterruptedUpdate()
{
    TJournal::TFound found = Journal.Load();
    if (found == TJournal::TFound::None)
        return;
    if (!Recoverable(found, Journal)) {
        WriteLog("Journal of an interrupted update removed, unreadable or its client folder gone: " +
                 Journal.ClientDir());
        Journal.Remove();
        return;
    }
    WriteLog("Start RecoverInterruptedUpdate: " + Journal.ClientDir());
    const std::vector<TJournal::TFile> files = Journal.Files();
    for (const TJournal::TFile& file : files)
        MakeConsistent(*this, file);
    InterruptedClientDir = Journal.ClientDir();
    Journal.Remove();
    WriteLog("End RecoverInterruptedUpdate");
}
