#include "platform/Files.h"

namespace platform {

DWORD FileAttributes(const std::string& name)
{
    return ::GetFileAttributesA(name.c_str());
}

bool SetAttributes(const std::string& name, DWORD attributes)
{
    return ::SetFileAttributesA(name.c_str(), attributes) != FALSE;
}

bool RemoveFile(const std::string& name)
{
    return ::DeleteFileA(name.c_str()) != FALSE;
}

bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists)
{
    return ::CopyFileA(from.c_str(), to.c_str(), failIfExists) != FALSE;
}

bool MoveFileTo(const std::string& from, const std::string& to)
{
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

std::string TempPath()
{
    char buffer[MAX_PATH + 1];
    DWORD length = ::GetTempPathA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::string NewTempFileName(const std::string& directory, const std::string& prefix)
{
    char buffer[MAX_PATH];
    return ::GetTempFileNameA(directory.c_str(), prefix.c_str(), 0, buffer) != 0 ? std::string(buffer)
                                                                                  : std::string();
}

bool CreateDirectoryAt(const std::string& name)
{
    return ::CreateDirectoryA(name.c_str(), nullptr) != FALSE;
}

bool RemoveEmptyDirectory(const std::string& name)
{
    return ::RemoveDirectoryA(name.c_str()) != FALSE;
}

FileHandle CreateNewFile(const std::string& name)
{
    return FileHandle(::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteFile(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
}

bool ReadWholeFile(const std::string& name, std::string& bytes)
{
    FileHandle file(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    bytes.clear();
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
        if (read == 0)
            return true;
        bytes.append(chunk, read);
    }
    return false;
}

bool ShortPathName(const std::string& path, std::string& shortPath)
{
    char buffer[261];
    DWORD length = ::GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return false;
    shortPath.assign(buffer, length);
    return true;
}

std::string ModuleFileName()
{
    char buffer[512];
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

}  // namespace platform
