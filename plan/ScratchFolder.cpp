#include "plan/ScratchFolder.h"

#include "platform/Files.h"
#include "platform/Processes.h"

TScratchFolder::TScratchFolder(const std::string& parent)
{
    const std::string name = parent.empty() ? std::string() : platform::NewTempFileName(parent, "wcu");
    if (name.empty() || !platform::RemoveFile(name) || !platform::CreatePrivateDirectory(name))
        return;
    held_ = platform::HoldFolder(name);
    const DWORD attributes = held_ ? platform::HandleAttributes(held_.get()) : INVALID_FILE_ATTRIBUTES;
    const bool fresh = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                       !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && platform::FolderEmpty(name);
    if (fresh || (!held_ && platform::PlatformId() != VER_PLATFORM_WIN32_NT))
        path_ = name + "\\";
}

TScratchFolder::~TScratchFolder()
{
    for (const std::string& file : files_) {
        platform::SetAttributes(file, FILE_ATTRIBUTE_NORMAL);
        platform::RemoveFile(file);
    }
    held_.reset();
    if (!path_.empty())
        platform::RemoveEmptyDirectory(path_);
}

std::string TScratchFolder::File(const std::string& name)
{
    files_.push_back(path_ + name);
    return files_.back();
}
