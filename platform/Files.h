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
// An existing file opened for reading so that, while the owner is held, no
// other program can write, rename or delete it (shared for reading only).
// Empty when it cannot be opened so, as while another program writes it.
FileHandle OpenHeld(const std::string& name);
// What the file holds from its position on; false when it cannot be read.
bool ReadRest(HANDLE file, std::string& bytes);

// The short (8.3) form of a path; false when the system cannot give one.
bool ShortPathName(const std::string& path, std::string& shortPath);

// A new empty file of a unique name in directory (GetTempFileNameA); empty when none could be made.
std::string NewTempFileName(const std::string& directory, const std::string& prefix);
bool CreateDirectoryAt(const std::string& name);
// CreateDirectoryA of a folder that SYSTEM and the administrators alone may
// use, and what is made in it after them (a protected descriptor, no rights
// inherited from the parent), where the system knows descriptors; on the 9x
// family, which has none, a plain folder.
bool CreatePrivateDirectory(const std::string& name);
// Opens a folder so that it cannot be renamed or deleted while the owner is
// held (no delete sharing), without following a link that stands at its name
// (the link itself is opened). An empty owner on failure (always on the 9x family).
FileHandle HoldFolder(const std::string& name);
// The attributes of what the handle names; INVALID_FILE_ATTRIBUTES when they cannot be read.
DWORD HandleAttributes(HANDLE file);
// The folder holds no entry but "." and "..".
bool FolderEmpty(const std::string& name);
// Whether two names lead to one folder as the file system tells it (the same
// volume and file index: a short and a long form of a name alike). Where a
// folder cannot be opened (the 9x family), the names are compared, letter case ignored.
bool SameFolder(const std::string& a, const std::string& b);
bool RemoveEmptyDirectory(const std::string& name);
std::string ModuleFileName();  // of the program, buffer of 512 characters

}  // namespace platform
