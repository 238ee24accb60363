// The program is typically started from a download folder: every DLL it
// imports statically must be one that Windows loads only from the system
// directory, or a DLL of the same name planted beside it would run inside it.
#include "CfgUnit/VersionCheck.h"
#include "common/Text.h"
#include "platform/Owner.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Known DLLs: always mapped from the system directory, whatever lies beside the program.
const std::set<std::string> SystemOnlyDlls = {"kernel32.dll", "user32.dll", "gdi32.dll",   "advapi32.dll",
                                              "shell32.dll",  "msvcrt.dll", "ole32.dll",   "oleaut32.dll",
                                              "comdlg32.dll", "shlwapi.dll", "ntdll.dll"};

class PeImage {
public:
    explicit PeImage(const std::string& path) : bytes_(ReadBytes(path))
    {
        if (At<IMAGE_DOS_HEADER>(0).e_magic != IMAGE_DOS_SIGNATURE)
            throw std::runtime_error(path + " is not an executable image");
        ntOffset_ = At<IMAGE_DOS_HEADER>(0).e_lfanew;
        if (At<DWORD>(ntOffset_) != IMAGE_NT_SIGNATURE)
            throw std::runtime_error(path + " is not a PE image");
        magic_ = At<IMAGE_NT_HEADERS32>(ntOffset_).OptionalHeader.Magic;
        if (magic_ != IMAGE_NT_OPTIONAL_HDR32_MAGIC && magic_ != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
            throw std::runtime_error(path + " is neither a PE32 nor a PE32+ image");
    }

    bool Is32Bit() const { return magic_ == IMAGE_NT_OPTIONAL_HDR32_MAGIC; }

    // The lower-cased names of the DLLs of the import table, in table order;
    // with functions, the names of the functions imported by name instead.
    std::vector<std::string> Imported(bool functions = false) const
    {
        std::vector<std::string> names;
        DWORD rva = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress;
        for (std::size_t offset = rva ? FileOffset(rva) : 0; rva; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
            if (descriptor.Name == 0)
                break;
            if (!functions) {
                names.push_back(LowerAscii(TextAt(FileOffset(descriptor.Name))));
                continue;
            }
            DWORD thunks = descriptor.OriginalFirstThunk ? descriptor.OriginalFirstThunk : descriptor.FirstThunk;
            for (std::size_t at = FileOffset(thunks);; at += Is32Bit() ? 4 : 8) {
                unsigned long long thunk = Is32Bit() ? At<DWORD>(at) : At<unsigned long long>(at);
                if (thunk == 0)
                    break;
                const bool byOrdinal = thunk >> (Is32Bit() ? 31 : 63);
                if (!byOrdinal)  // the name follows the hint's two bytes
                    names.push_back(TextAt(FileOffset(static_cast<DWORD>(thunk)) + 2));
            }
        }
        return names;
    }

    IMAGE_DATA_DIRECTORY Directory(int entry) const
    {
        return Is32Bit() ? At<IMAGE_NT_HEADERS32>(ntOffset_).OptionalHeader.DataDirectory[entry]
                         : At<IMAGE_NT_HEADERS64>(ntOffset_).OptionalHeader.DataDirectory[entry];
    }

private:
    template <typename T>
    T At(std::size_t offset) const
    {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T))
            throw std::runtime_error("image truncated");
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return value;
    }

    std::string TextAt(std::size_t offset) const
    {
        std::string::size_type end = bytes_.find('\0', offset);
        if (offset >= bytes_.size() || end == std::string::npos)
            throw std::runtime_error("name outside the image");
        return bytes_.substr(offset, end - offset);
    }

    std::size_t FileOffset(DWORD rva) const
    {
        IMAGE_FILE_HEADER file = At<IMAGE_NT_HEADERS32>(ntOffset_).FileHeader;  // the same in both kinds
        std::size_t sections = ntOffset_ + sizeof(DWORD) + sizeof file + file.SizeOfOptionalHeader;
        for (WORD i = 0; i < file.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section = At<IMAGE_SECTION_HEADER>(sections + i * sizeof section);
            DWORD size = std::max<DWORD>(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        throw std::runtime_error("address outside every section");
    }

    std::string bytes_;
    std::size_t ntOffset_ = 0;
    WORD magic_ = 0;
};

// The shipped program as this tree builds it, or the file WCU_SHIPPED_PROGRAM
// names (a release as it ships, signed or not: the release test sets it).
std::string ShippedProgram()
{
    const char* named = std::getenv("WCU_SHIPPED_PROGRAM");
    return named && *named ? named : BinDir() + SHIPPED_PROGRAM;
}

void ExpectOnlySystemDirectoryImports(const std::string& image)
{
    PeImage pe(image);
    std::vector<std::string> dlls = pe.Imported();
    EXPECT_NE(dlls.end(), std::find(dlls.begin(), dlls.end(), "kernel32.dll")) << image;
    for (const std::string& dll : dlls)
        EXPECT_EQ(1u, SystemOnlyDlls.count(dll)) << image << " imports " << dll;
    EXPECT_EQ(0u, pe.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).Size) << image << " has delay-loaded imports";
}

TEST(Imports, ProgramImportsOnlySystemDirectoryDlls)
{
    ExpectOnlySystemDirectoryImports(BinDir() + "WardCfgUp.exe");
}

// The shipped program is the 32-bit build, whatever this tree builds for its tests.
TEST(Imports, ShippedProgramIsA32BitImageWithItsIconAndVersion)
{
    ASSERT_TRUE(PeImage(ShippedProgram()).Is32Bit());
    ExpectOnlySystemDirectoryImports(ShippedProgram());
    platform::Library image(::LoadLibraryExA(ShippedProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(image);
    EXPECT_NE(nullptr, ::FindResourceA(image.get(), "WARDCFGUP", RT_GROUP_ICON));
    EXPECT_NE(nullptr, ::FindResourceA(image.get(), MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION));
}

// Elevated as installer detection did it, and never virtualized where that
// detection is off; its identity carries the version of the version resource;
// laid out for each monitor's DPI, never stretched by the system (Wine does not
// stretch: only the declaration shows it); the controls of Common Controls 6.
TEST(Imports, ShippedProgramCarriesItsManifest)
{
    platform::Library image(::LoadLibraryExA(ShippedProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(image);
    HRSRC found = ::FindResourceA(image.get(), MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(nullptr, found);
    std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(image.get(), found))),
                         ::SizeofResource(image.get(), found));
    FileVersion v;
    ASSERT_TRUE(GetFileVersion(ShippedProgram(), v));
    const std::string parts[] = {
        "level=\"requireAdministrator\"", "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
        "name=\"WardCfgUp\" version=\"" + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
            std::to_string(v.release) + "." + std::to_string(v.build) + "\"",
        ">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""};
    for (const std::string& part : parts)
        EXPECT_NE(std::string::npos, manifest.find(part)) << part << " in " << manifest;
}

// The functions that run code on another thread: a thread of their own, a pool's, a timer queue's.
const std::set<std::string> ThreadStarters = {
    "CreateThread",          "CreateRemoteThread",   "CreateRemoteThreadEx",        "_beginthread",
    "_beginthreadex",        "QueueUserWorkItem",    "RegisterWaitForSingleObject", "BindIoCompletionCallback",
    "CreateThreadpool",      "CreateThreadpoolWork", "CreateThreadpoolTimer",       "CreateThreadpoolWait",
    "CreateThreadpoolIo",    "TrySubmitThreadpoolCallback", "CreateTimerQueue",     "CreateTimerQueueTimer"};

std::vector<std::string> ThreadStartersOf(const std::string& image)
{
    std::vector<std::string> found;
    for (const std::string& function : PeImage(image).Imported(true))
        if (ThreadStarters.count(function))
            found.push_back(function);
    return found;
}

// The program's runtime (runtime/LeanRuntime.cpp) guards its statics, records
// its exceptions and locks for one thread only: the program may start none.
// This test program, which links the library's runtime, shows that a thread
// start is seen.
TEST(Imports, ShippedProgramStartsNoThread)
{
    EXPECT_EQ(std::vector<std::string>{}, ThreadStartersOf(ShippedProgram()));
    EXPECT_NE(std::vector<std::string>{}, ThreadStartersOf(BinDir() + "Imports_test.exe"));
}

// This test program itself links the version reading of the copy check.
TEST(Imports, ReadingFileVersionsAddsNoImport)
{
    FileVersion version;
    ASSERT_TRUE(GetFileVersion(BinDir() + "testcontrol_2_0_0_0.ocx", version));
    EXPECT_EQ(2, version.major);
    ExpectOnlySystemDirectoryImports(BinDir() + "Imports_test.exe");
}

TEST(Imports, StaticImportOfVersionDllIsSeen)
{
    std::vector<std::string> dlls = PeImage(BinDir() + "versionimporter.exe").Imported();
    EXPECT_NE(dlls.end(), std::find(dlls.begin(), dlls.end(), "version.dll"));
}

}  // namespace
