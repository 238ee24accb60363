// The registry: thin wrappers over the advapi32 calls.
#pragma once

#include "platform/Owner.h"

#include <string>

namespace platform {

// RegOpenKeyExA with options 0 and KEY_QUERY_VALUE; an empty owner on failure.
RegKey OpenKeyForQuery(HKEY root, const std::string& path);

// RegQueryValueExA into a buffer of capacity bytes, whatever the value's type:
// the bytes the call reports, or false when it fails (a value that does not
// fit among other reasons).
bool QueryValueBytes(HKEY key, const std::string& valueName, DWORD capacity, std::string& bytes);

// RegOpenKeyExA with KEY_QUERY_VALUE and KEY_SET_VALUE; an empty owner on failure.
RegKey OpenKeyForUpdate(HKEY root, const std::string& path);
// RegCreateKeyExA, a key that lasts (not volatile), with KEY_QUERY_VALUE and KEY_SET_VALUE.
RegKey CreateKey(HKEY root, const std::string& path);
// RegSetValueExA of a REG_SZ value: the text and its terminating zero.
bool SetTextValue(HKEY key, const std::string& valueName, const std::string& text);
// RegDeleteKeyA: on the NT family only a key without subkeys.
bool DeleteKey(HKEY root, const std::string& path);
// RegFlushKey: true once the key's changes are on disk.
bool FlushKey(HKEY key);

}  // namespace platform
