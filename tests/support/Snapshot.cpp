#include "support/Snapshot.h"

#include "support/TestFiles.h"

namespace {

void AddFolder(Snapshot& snapshot, const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot["folder " + folder + name] = "";
            AddFolder(snapshot, folder + name + "\\");
        } else {
            snapshot["file " + folder + name] = std::to_string(found.dwFileAttributes) + ":" + ReadBytes(folder + name);
        }
    } while (::FindNextFileA(search, &found));
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
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        snapshot["value " + path + "\\" + name] =
            std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), dataSize);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        AddKey(snapshot, root, path + "\\" + name);
    }
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
    std::string text;
    for (const auto& entry : before) {
        auto other = after.find(entry.first);
        if (other == after.end())
            text += "gone: " + entry.first + "\n";
        else if (other->second != entry.second)
            text += "changed: " + entry.first + "\n";
    }
    for (const auto& entry : after)
        if (before.find(entry.first) == before.end())
            text += "new: " + entry.first + "\n";
    return text;
}
