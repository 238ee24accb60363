// Files and directories: thin wrappers over the kernel32 calls.
#pragma once

#include "platform/Owner.h"

#include <string>

namespace platform {

// INVALID_FILE_ATTRIBUTES when the name does not exist.
DWORD FileAttributes(const std::string& name);
bool SetAttributes(const std::string& name, DWORD attributes);
bool RemoveFile(const std::string& name);
bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists);
bool MoveFileTo(const std::string& from, const std::string& to);

// CREATE_NEW, write access, shared for reading and writing, normal attributes.
FileHandle CreateNewFile(const std::string& name);
bool WriteFile(HANDLE file, const std::string& bytes);
// The whole content of an existing file, opened shared; false when it cannot be read.
bool ReadWholeFile(const std::string& name, std::string& bytes);

// The short (8.3) form of a path; false when the system cannot give one.
bool ShortPathName(const std::string& path, std::string& shortPath);

// The user's temporary folder, with its trailing backslash; empty when the system gives none.
std::string TempPath();
// A new empty file of a unique name in directory (GetTempFileNameA); empty when none could be made.
std::string NewTempFileName(const std::string& directory, const std::string& prefix);
bool CreateDirectoryAt(const std::string& name);
bool RemoveEmptyDirectory(const std::string& name);
std::string ModuleFileName();  // of the program, buffer of 512 characters

}  // namespace platform
