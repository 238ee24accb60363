// The registry: thin wrappers over the advapi32 calls. `view` is added to the
// access of a key opened or made from a root: KEY_WOW64_32KEY or
// KEY_WOW64_64KEY for one view of a 64-bit Windows, 0 for the caller's own.
#pragma once

#include "platform/Owner.h"

#include <string>

namespace platform {

// RegOpenKeyExA with options 0 and KEY_QUERY_VALUE; an empty owner on failure.
RegKey OpenKeyForQuery(HKEY root, const std::string& path);

// RegQueryValueExA into a buffer of capacity bytes: the system's status
// (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND without the value, ERROR_MORE_DATA for
// a value that does not fit, ...), with the value's type and the bytes it reports.
LONG QueryValue(HKEY key, const std::string& valueName, DWORD capacity, DWORD& type, std::string& bytes);
// The same whatever the value's type: false when the query fails.
bool QueryValueBytes(HKEY key, const std::string& valueName, DWORD capacity, std::string& bytes);

// RegOpenKeyExA with KEY_QUERY_VALUE and KEY_SET_VALUE; an empty owner on failure.
RegKey OpenKeyForUpdate(HKEY root, const std::string& path, REGSAM view = 0);
// RegCreateKeyExA, a key that lasts (not volatile), with KEY_QUERY_VALUE and KEY_SET_VALUE.
RegKey CreateKey(HKEY root, const std::string& path, REGSAM view = 0);
// RegSetValueExA of a REG_SZ value: the text and its terminating zero.
bool SetTextValue(HKEY key, const std::string& valueName, const std::string& text);
// RegDeleteValueA: true when the value is gone (or was never there).
bool DeleteValue(HKEY key, const std::string& valueName);
// RegDeleteKeyA: on the NT family only a key without subkeys.
bool DeleteKey(HKEY root, const std::string& path);
// The key with every subkey under it, deepest first (RegDeleteTree is missing
// before Windows Vista): true when the key is gone (or was never there).
bool DeleteKeyTree(HKEY root, const std::string& path, REGSAM view = 0);
// RegFlushKey: true once the key's changes are on disk.
bool FlushKey(HKEY key);

}  // namespace platform
