// File names: the directory part runs up to and including the last "\", "/"
// or ":"; the file-name part follows it; the extension runs from the last "."
// of the file-name part to the end.
#pragma once

#include <string>

std::string DirectoryPart(const std::string& name);
std::string FileNamePart(const std::string& name);
std::string ExtensionPart(const std::string& name);
// The name with its extension replaced (a name without "." gets it appended).
std::string ChangeExtension(const std::string& name, const std::string& extension);
bool HasExtension(const std::string& name, const std::string& extension);  // letters A to Z folded
// The name under which a replaced file is kept: its extension replaced by ".bak".
std::string PlainBackupName(const std::string& name);

// Why a name given relative to a folder (a scenario's file, a journal's)
// names no file inside that folder: it leaves it (a network path, a root, a
// drive, ".."), names a device (CON, NUL, COM1, ...), holds a character no
// file name may hold, ends in a dot or a blank, or is empty. Empty when the
// name stays inside.
std::string RelativeNameProblem(const std::string& name);

// The system reports attributes for the name and they do not mark a directory.
bool FileExists(const std::string& name);
// The system reports attributes for the name and they mark a directory.
bool DirectoryExists(const std::string& name);
