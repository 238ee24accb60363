#include "common/FileNames.h"

#include "common/Text.h"
#include "platform/Files.h"

#include <vector>

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

// The device that a path component names whatever its extension ("nul.ocx" is NUL); empty for none.
static std::string DeviceName(const std::string& component)
{
    std::string stem = UpperAscii(TrimControlsRight(component.substr(0, component.find('.'))));
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (stem == device)
            return stem;
    bool port = stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
                stem[3] >= '1' && stem[3] <= '9';
    return port ? stem : std::string();
}

static std::vector<std::string> PathComponents(const std::string& path)
{
    std::vector<std::string> components;
    std::string::size_type from = 0;
    for (std::string::size_type end; (end = path.find_first_of("\\/", from)) != std::string::npos; from = end + 1)
        components.push_back(path.substr(from, end - from));
    components.push_back(path.substr(from));
    return components;
}

std::string RelativeNameProblem(const std::string& entry)
{
    if (entry.empty())
        return "is empty";
    if (entry.compare(0, 2, "\\\\") == 0)
        return "leaves the client's folder: it is a network path";
    if (entry[0] == '\\' || entry[0] == '/')
        return "leaves the client's folder: it starts at the root of a drive";
    if (entry.find(':') != std::string::npos)
        return "leaves the client's folder: it names a drive";
    for (const std::string& component : PathComponents(entry)) {
        // Windows drops a component's trailing dots and blanks: ". ." and "... " go up as ".." does.
        if (component.find("..") != std::string::npos && component.find_first_not_of(". ") == std::string::npos)
            return "leaves the client's folder through \"..\"";
        std::string device = DeviceName(component);
        if (!device.empty())
            return "names the device " + device;
    }
    std::string::size_type forbidden = entry.find_first_of("<>\"|?*");
    if (forbidden != std::string::npos)
        return "holds " + entry.substr(forbidden, 1) + ", which no file name may hold";
    if (entry.back() == '.' || entry.back() == ' ')
        return "ends in a dot or a blank, which Windows drops from file names";
    return "";
}
