// Registry reads: thin wrappers over the advapi32 calls.
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

}  // namespace platform
