// The state a run could change, taken before and after it: every file under
// some folders and every value under some registry keys, byte for byte.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Entry name ("file C:\x\a.ocx", "key HKCR\CLSID\{...}", "value HKCR\...\InprocServer32\") to its bytes.
using Snapshot = std::map<std::string, std::string>;

Snapshot TakeSnapshot(const std::vector<std::string>& folders,
                      const std::vector<std::pair<HKEY, std::string>>& keys);

// The entries that differ between two snapshots, one a line, for failure output.
std::string SnapshotDifference(const Snapshot& before, const Snapshot& after);
