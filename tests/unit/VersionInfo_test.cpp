// A version.dll planted beside the program must not serve its reading of file
// versions: the planted one (planted_version.dll) answers every call with
// failure. Wine prefers its built-in DLLs, so the started programs are told
// (through Wine's per-program settings) to prefer a DLL found beside them, as
// Windows does for version.dll.
#include "support/BoxDriver.h"
#include "support/TestFiles.h"
#include "support/WineSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class PlantedVersionDll : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(dir / "version.dll", ReadBytes(BinDir() + "planted_version.dll")); }

    PreferDllBesideProgram importer{"versionimporter.exe", "version"};
    PreferDllBesideProgram reader{"versionreader.exe", "version"};

    ProgramRunResult RunCopy(const std::string& program, const std::string& arguments)
    {
        WriteBytes(dir / program, ReadBytes(BinDir() + program));
        return RunAndDriveBoxes("\"" + (dir / program) + "\" " + arguments, dir.Path(), {}, 30000);
    }
    TempDir dir;
};

TEST_F(PlantedVersionDll, ServesAStaticImport)
{
    ProgramRunResult run = RunCopy("versionimporter.exe", "");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode) << "the planting itself does not work here";
}

TEST_F(PlantedVersionDll, DoesNotServeTheReadingOfFileVersions)
{
    ProgramRunResult run = RunCopy("versionreader.exe", "\"" + BinDir() + "testcontrol_3_1_4_1.ocx\"");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(3u, run.exitCode);
}

}  // namespace
