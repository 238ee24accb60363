// Version resources through version.dll, bound at run time from the system
// directory: a version.dll planted beside the program is never loaded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

// GetFileVersionInfoSizeA: 0 when the file has no version resource or cannot be read.
DWORD FileVersionInfoSize(const std::string& fileName);
// GetFileVersionInfoA into a block of the given size.
bool ReadFileVersionInfo(const std::string& fileName, DWORD size, std::vector<char>& block);
// VerQueryValueA of the root block ("\"): the fixed version record.
bool FixedFileInfo(std::vector<char>& block, VS_FIXEDFILEINFO& info);

}  // namespace platform
