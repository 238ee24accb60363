#include "common/FileNames.h"

#include "common/Text.h"
#include "platform/Files.h"

static std::string::size_type AfterDirectory(const std::string& name)
{
    std::string::size_type delimiter = name.find_last_of("\\/:");
    return delimiter == std::string::npos ? 0 : delimiter + 1;
}

std::string DirectoryPart(const std::string& name)
{
    return name.substr(0, AfterDirectory(name));
}

std::string FileNamePart(const std::string& name)
{
    return name.substr(AfterDirectory(name));
}

// A dot in a directory name is no extension: "C:\Bank.Client\readme" has none.
static std::string::size_type ExtensionStart(const std::string& name)
{
    std::string::size_type dot = name.rfind('.');
    return dot == std::string::npos || dot < AfterDirectory(name) ? name.size() : dot;
}

std::string ExtensionPart(const std::string& name)
{
    return name.substr(ExtensionStart(name));
}

std::string ChangeExtension(const std::string& name, const std::string& extension)
{
    return name.substr(0, ExtensionStart(name)) + extension;
}

std::string PlainBackupName(const std::string& name)
{
    return ChangeExtension(name, ".bak");
}

bool HasExtension(const std::string& name, const std::string& extension)
{
    return EqualFoldingAscii(ExtensionPart(name), extension);
}

bool FileExists(const std::string& name)
{
    DWORD attributes = platform::FileAttributes(name);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& name)
{
    DWORD attributes = platform::FileAttributes(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
