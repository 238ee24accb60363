#include "platform/VersionInfo.h"

#include "platform/SystemLibrary.h"

namespace platform {

namespace {

SystemDll version("version.dll");
SystemFunction<DWORD(WINAPI*)(LPCSTR, LPDWORD)> fileVersionInfoSize(version, "GetFileVersionInfoSizeA");
SystemFunction<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)> fileVersionInfo(version, "GetFileVersionInfoA");
SystemFunction<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)> verQueryValue(version, "VerQueryValueA");

}  // namespace

DWORD FileVersionInfoSize(const std::string& fileName)
{
    DWORD handle = 0;
    return fileVersionInfoSize(fileName.c_str(), &handle);
}

bool ReadFileVersionInfo(const std::string& fileName, DWORD size, std::vector<char>& block)
{
    block.assign(size, '\0');
    return fileVersionInfo(fileName.c_str(), 0, size, block.data()) != FALSE;
}

bool FixedFileInfo(std::vector<char>& block, VS_FIXEDFILEINFO& info)
{
    void* record = nullptr;
    UINT length = 0;
    if (!verQueryValue(block.data(), "\\", &record, &length) || !record || length < sizeof info)
        return false;
    info = *static_cast<const VS_FIXEDFILEINFO*>(record);
    return true;
}

}  // namespace platform
