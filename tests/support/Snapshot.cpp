#include "support/Snapshot.h"

#include "support/TestFiles.h"

namespace {

void AddFolder(Snapshot& snapshot, const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(search, &found)) {
        const std::string name = folder + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            snapshot["file " + name] = std::to_string(found.dwFileAttributes) + ":" + ReadBytes(name);
        else if (found.cFileName[0] != '.')
            AddFolder(snapshot, name + "\\");
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
}

void AddKey(Snapshot& snapshot, HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    snapshot["key " + path] = "";
    char name[16384];
    BYTE data[65536];
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    for (DWORD i = 0; ::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) == ERROR_SUCCESS;
         ++i, nameSize = sizeof name, dataSize = sizeof data)
        snapshot["value " + path + "\\" + name] = std::to_string(type) + ":" + std::string(data, data + dataSize);
    for (DWORD i = 0; nameSize = sizeof name, ::RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr,
                                                               nullptr) == ERROR_SUCCESS;
         ++i)
        AddKey(snapshot, root, path + "\\" + name);
    ::RegCloseKey(key);
}

}  // namespace

Snapshot TakeSnapshot(const std::vector<std::string>& folders, const std::vector<std::pair<HKEY, std::string>>& keys)
{
    Snapshot snapshot;
    for (const std::string& folder : folders)
        AddFolder(snapshot, folder);
    for (const auto& key : keys)
        AddKey(snapshot, key.first, key.second);
    return snapshot;
}

std::string SnapshotDifference(const Snapshot& before, const Snapshot& after)
{
    std::string names;
    for (const auto& entry : before) {
        auto match = after.find(entry.first);
        if (match == after.end() || match->second != entry.second)
            names += entry.first + "\n";
    }
    for (const auto& entry : after)
        if (before.count(entry.first) == 0)
            names += entry.first + "\n";
    return names;
}
