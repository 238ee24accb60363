#include "platform/VersionInfo.h"

#include "platform/SystemLibrary.h"

namespace platform {

namespace {

using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

// Loaded on first use and kept for the rest of the run.
struct VersionLibrary {
    Library module = LoadSystemLibrary("version.dll");
    SizeFunction size = EntryPoint<SizeFunction>(module.get(), "GetFileVersionInfoSizeA");
    InfoFunction info = EntryPoint<InfoFunction>(module.get(), "GetFileVersionInfoA");
    QueryFunction query = EntryPoint<QueryFunction>(module.get(), "VerQueryValueA");
};

const VersionLibrary& Version()
{
    static const VersionLibrary library;
    return library;
}

}  // namespace

DWORD FileVersionInfoSize(const std::string& fileName)
{
    if (!Version().size)
        return 0;
    DWORD handle = 0;
    return Version().size(fileName.c_str(), &handle);
}

bool ReadFileVersionInfo(const std::string& fileName, DWORD size, std::vector<char>& block)
{
    block.assign(size, '\0');
    return Version().info && Version().info(fileName.c_str(), 0, size, block.data());
}

bool FixedFileInfo(std::vector<char>& block, VS_FIXEDFILEINFO& info)
{
    void* record = nullptr;
    UINT length = 0;
    if (!Version().query || !Version().query(block.data(), "\\", &record, &length) || !record ||
        length < sizeof info)
        return false;
    info = *static_cast<const VS_FIXEDFILEINFO*>(record);
    return true;
}

}  // namespace platform
