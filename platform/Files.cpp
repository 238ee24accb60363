#include "platform/Files.h"

#include "platform/Processes.h"
#include "platform/System.h"
#include "platform/SystemLibrary.h"

#include <cstring>

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

bool CreatePrivateDirectory(const std::string& name)
{
    static SystemDll advapi("advapi32.dll");
    static SystemFunction<BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG)> convert(
        advapi, "ConvertStringSecurityDescriptorToSecurityDescriptorA");
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!convert("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", 1 /* SDDL_REVISION_1 */, &descriptor, nullptr))
        return PlatformId() == VER_PLATFORM_WIN32_NT ? false : CreateDirectoryAt(name);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const bool made = ::CreateDirectoryA(name.c_str(), &attributes) != FALSE;
    const DWORD error = ::GetLastError();
    ::LocalFree(descriptor);
    ::SetLastError(error);
    return made;
}

FileHandle HoldFolder(const std::string& name)
{
    return FileHandle(::CreateFileA(name.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr));
}

DWORD HandleAttributes(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION information;
    return ::GetFileInformationByHandle(file, &information) ? information.dwFileAttributes
                                                             : INVALID_FILE_ATTRIBUTES;
}

bool FolderEmpty(const std::string& name)
{
    WIN32_FIND_DATAA entry;
    FindHandle search(::FindFirstFileA((name + "\\*").c_str(), &entry));
    if (!search)
        return false;
    do {
        if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0)
            return false;
    } while (::FindNextFileA(search.get(), &entry));
    return true;
}

// The identity of an existing file or folder; false when it cannot be opened.
static bool FileIdentity(const std::string& name, BY_HANDLE_FILE_INFORMATION& information)
{
    FileHandle file(::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && ::GetFileInformationByHandle(file.get(), &information);
}

bool SameFolder(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION first;
    BY_HANDLE_FILE_INFORMATION second;
    if (!FileIdentity(a, first) || !FileIdentity(b, second))
        return EqualIgnoringCaseInLocale(a, b);
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
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

static FileHandle OpenForReading(const std::string& name, DWORD sharing)
{
    return FileHandle(
        ::CreateFileA(name.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool ReadWholeFile(const std::string& name, std::string& bytes)
{
    FileHandle file = OpenForReading(name, FILE_SHARE_READ | FILE_SHARE_WRITE);
    return file && ReadRest(file.get(), bytes);
}

FileHandle OpenHeld(const std::string& name)
{
    return OpenForReading(name, FILE_SHARE_READ);
}

bool ReadRest(HANDLE file, std::string& bytes)
{
    bytes.clear();
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr)) {
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
