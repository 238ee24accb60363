// Copy decisions by file version, on the stand-in controls built in several versions.
#include "CfgUnit/VersionCheck.h"

#include "CfgUnit/Configurator.h"
#include "CfgUnit/Messages.h"
#include "common/Text.h"
#include "support/Bounded.h"
#include "support/FakeUserInterface.h"
#include "support/LogLines.h"
#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string Built(const std::string& variant)
{
    return BinDir() + "testcontrol_" + variant + ".ocx";
}

TEST(GetFileVersion, ReadsTheFixedFileVersionPartByPart)
{
    struct Case {
        const char* variant;
        FileVersion expected;
    };
    for (const Case& c : {Case{"1_0_0_0", {1, 0, 0, 0}}, Case{"1_10_0_0", {1, 10, 0, 0}},
                          Case{"1_99_99_99", {1, 99, 99, 99}}, Case{"3_1_4_1", {3, 1, 4, 1}}}) {
        FileVersion version;
        ASSERT_TRUE(GetFileVersion(Built(c.variant), version)) << c.variant;
        EXPECT_EQ(c.expected.major, version.major) << c.variant;
        EXPECT_EQ(c.expected.minor, version.minor) << c.variant;
        EXPECT_EQ(c.expected.release, version.release) << c.variant;
        EXPECT_EQ(c.expected.build, version.build) << c.variant;
    }
}

TEST(GetFileVersion, FailsWithoutVersionResourceOrFile)
{
    FileVersion version;
    EXPECT_FALSE(GetFileVersion(Built("noversion"), version));
    EXPECT_FALSE(GetFileVersion(BinDir() + "no such file.ocx", version));
}

// Source files are named relative to the current directory, as the scenario names them.
class VersionCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeDirectory(dir / "src");
        MakeDirectory(dir / "dest");
        current.emplace(dir / "src");
        configurator.OpenLog(dir / "run.log");
        configurator.DestDir = dir / "dest\\";
    }

    Lines Log() const { return LogEntries(dir / "run.log"); }

    // name in the source directory and, when destVariant is given, in the destination.
    void Place(const std::string& name, const std::string& sourceVariant, const std::string& destVariant = "")
    {
        WriteBytes(dir / ("src\\" + name), ReadBytes(Built(sourceVariant)));
        if (!destVariant.empty())
            WriteBytes(Dest(name), ReadBytes(Built(destVariant)));
    }
    std::string Dest(const std::string& name) const { return dir / ("dest\\" + name); }

    TempDir dir;
    std::optional<CurrentDirectory> current;
    FakeUserInterface ui;
    TConfigurator configurator;
};

struct Comparison {
    const char* source;       // variant; "noversion" for a file without version resource
    const char* destination;  // variant; "" for no destination file
    bool newer;
    Lines versionLines;  // with S and D standing for the two file names
};

class DecideCopy : public VersionCheck, public ::testing::WithParamInterface<Comparison> {};

TEST_P(DecideCopy, ComparesNumericallyAndLogsTheVersionsItRead)
{
    const Comparison& c = GetParam();
    Place("lib.dll", c.source, c.destination);
    const TCopyDecision decision = ::DecideCopy("lib.dll", Dest("lib.dll"));
    configurator.LogVersions(decision);
    EXPECT_EQ(c.newer, decision.need != TCopyDecision::TNeed::UpToDate);
    Lines expected;
    for (const std::string& line : c.versionLines)
        expected.push_back(ReplaceAll(ReplaceAll(line, "\"S\"", "\"lib.dll\""), "\"D\"", "\"" + Dest("lib.dll") + "\""));
    EXPECT_EQ(expected, Log());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, DecideCopy,
    ::testing::Values(
        Comparison{"1_2_0_0", "1_10_0_0", false,
                   {"Verision SrcFile: \"S\" : 1.2.0.0.", "Verision DstFile: \"D\" : 1.10.0.0."}},
        Comparison{"2_0_0_0", "1_99_99_99", true,
                   {"Verision SrcFile: \"S\" : 2.0.0.0.", "Verision DstFile: \"D\" : 1.99.99.99."}},
        Comparison{"3_1_4_1", "3_1_4_1", false,
                   {"Verision SrcFile: \"S\" : 3.1.4.1.", "Verision DstFile: \"D\" : 3.1.4.1."}},
        Comparison{"1_0_0_0", "1_2_0_0", false,
                   {"Verision SrcFile: \"S\" : 1.0.0.0.", "Verision DstFile: \"D\" : 1.2.0.0."}},
        Comparison{"1_2_0_0", "", true, {}},
        Comparison{"noversion", "2_0_0_0", true, {}},
        Comparison{"1_0_0_0", "noversion", true, {"Verision SrcFile: \"S\" : 1.0.0.0."}}));

TEST_F(VersionCheck, DirectoryOfTheDestinationNameCountsAsMissing)
{
    Place("lib.dll", "1_0_0_0");
    MakeDirectory(Dest("lib.dll"));
    const TCopyDecision decision = ::DecideCopy("lib.dll", Dest("lib.dll"));
    configurator.LogVersions(decision);
    EXPECT_EQ(TCopyDecision::TNeed::NotInstalled, decision.need);
    EXPECT_EQ(Lines{}, Log());
}

TEST_F(VersionCheck, EmptySourceListNeedsNoCopy)
{
    EXPECT_FALSE(configurator.CheckFilesForNeedCopy());
    EXPECT_EQ((Lines{"Check files for need copy (version source > version dest)",
                     "End Check files for need copy result: FALSE"}),
              Log());
}

TEST_F(VersionCheck, KeepsOnlyNewerFilesCheckingFromTheLastEntry)
{
    Place("a.dll", "1_0_0_0", "1_2_0_0");
    Place("b.dll", "2_0_0_0", "1_99_99_99");
    Place("c.dll", "3_1_4_1", "3_1_4_1");
    for (const char* name : {"a.dll", "b.dll", "c.dll"})
        configurator.SourceFiles.Add(name);

    EXPECT_TRUE(configurator.CheckFilesForNeedCopy());

    ASSERT_EQ(1, configurator.SourceFiles.Count());
    EXPECT_EQ("b.dll", configurator.SourceFiles[0]);
    const std::string a = Dest("a.dll"), b = Dest("b.dll"), c = Dest("c.dll");
    EXPECT_EQ((Lines{"Check files for need copy (version source > version dest)",
                     "Check files: source: \"c.dll\" dest: \"" + c + "\"",
                     "Verision SrcFile: \"c.dll\" : 3.1.4.1.",
                     "Verision DstFile: \"" + c + "\" : 3.1.4.1.",
                     "Not need copy \"c.dll\" to \"" + c + "\"",
                     "Check files: source: \"b.dll\" dest: \"" + b + "\"",
                     "Verision SrcFile: \"b.dll\" : 2.0.0.0.",
                     "Verision DstFile: \"" + b + "\" : 1.99.99.99.",
                     "Check files: source: \"a.dll\" dest: \"" + a + "\"",
                     "Verision SrcFile: \"a.dll\" : 1.0.0.0.",
                     "Verision DstFile: \"" + a + "\" : 1.2.0.0.",
                     "Not need copy \"a.dll\" to \"" + a + "\"",
                     "End Check files for need copy result: TRUE"}),
              Log());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(VersionCheck, InstalledControlThatNeedsNoCopyIsRegisteredAgain)
{
    ScratchClsid clsid;
    Place("client.OCX", "3_1_4_1");
    std::string installed = InstallTestControl("3_1_4_1", dir / "dest\\", "client.OCX", clsid);
    configurator.SourceFiles.Add("client.OCX");

    // Registers through regsvr32, which the check waits for without a limit of its own.
    bool result = ResultWithin(60000, [&] { return configurator.CheckFilesForNeedCopy(); });

    EXPECT_FALSE(result);
    EXPECT_EQ(0, configurator.SourceFiles.Count());
    std::string registered;
    EXPECT_TRUE(ReadServerValue(clsid, registered));
    EXPECT_TRUE(EqualFoldingAscii(installed, registered)) << registered;
    Lines log = Log();
    ASSERT_EQ(11u, log.size());
    EXPECT_EQ("Not need copy \"client.OCX\" to \"" + installed + "\"", log[4]);
    EXPECT_EQ("Start RegisterOCX: " + installed, log[5]);
    EXPECT_EQ("End RegisterOCX: TRUE", log[9]);
    EXPECT_EQ("End Check files for need copy result: FALSE", log[10]);
}

TEST_F(VersionCheck, MissingSourceStopsTheCheckWithAnErrorBox)
{
    Place("a.dll", "2_0_0_0", "1_0_0_0");
    Place("c.dll", "1_0_0_0", "1_0_0_0");
    for (const char* name : {"a.dll", "missing.dll", "c.dll"})
        configurator.SourceFiles.Add(name);

    EXPECT_FALSE(configurator.CheckFilesForNeedCopy());

    ASSERT_EQ(2, configurator.SourceFiles.Count());
    EXPECT_EQ("a.dll", configurator.SourceFiles[0]);
    EXPECT_EQ("missing.dll", configurator.SourceFiles[1]);
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ(ReplaceAll(configurator.NOT_FOUND_FILE, "%s", "missing.dll"), ui.boxes[0].text);
    EXPECT_EQ(Box::Error, ui.boxes[0].caption);
    EXPECT_EQ(Box::ErrorStyle, ui.boxes[0].style);
    const std::string c = Dest("c.dll");
    EXPECT_EQ((Lines{"Check files for need copy (version source > version dest)",
                     "Check files: source: \"c.dll\" dest: \"" + c + "\"",
                     "Verision SrcFile: \"c.dll\" : 1.0.0.0.",
                     "Verision DstFile: \"" + c + "\" : 1.0.0.0.",
                     "Not need copy \"c.dll\" to \"" + c + "\"",
                     "Not found modul: missing.dll"}),
              Log());
}

}  // namespace
