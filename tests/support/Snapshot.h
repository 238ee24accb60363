// The state a run could change, byte for byte: every file under some folders
// (with its attributes) and every value under some registry keys.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// "file <path>", "key <path>" or "value <key path>\<name>" to its bytes.
using Snapshot = std::map<std::string, std::string>;

Snapshot TakeSnapshot(const std::vector<std::string>& folders, const std::vector<std::pair<HKEY, std::string>>& keys);

// The names of the entries that differ, one a line; empty when none does.
std::string SnapshotDifference(const Snapshot& before, const Snapshot& after);
