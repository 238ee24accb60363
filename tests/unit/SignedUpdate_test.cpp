// What the real program cannot be made to meet: a copy that differs from its
// checked source. The sources' checks show in the check's findings
// (ScenarioRules_test) and in the real program's runs (e2e/SignedUpdate_test).
#include "CfgUnit/SignedUpdate.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

TEST(SignedUpdate, ACopyIsTakenOnlyWhenItHoldsTheBytesCheckedAndIsThenHeld)
{
    TempDir dir;
    CurrentDirectory current(dir.Path());
    WriteBytes(dir / "a.ocx", "a");
    // The SHA-256 of "a" (a test vector of FIPS 180-2) in capitals, under a name of another case.
    WriteBytes(dir / "scen.ini", "[SHA256]\r\nA.OCX=CA978112CA1BBDCAFAC231B39A23DC4DA786EFF8147C4E72B9807785AFEE48BB\r\n");
    TSignedUpdate update(BuiltInUpdateKey);
    ASSERT_EQ(TSourceCheck::Matches, update.CheckSource("a.ocx", TSourceHashes(dir / "scen.ini")));

    platform::FileHandle copy;
    WriteBytes(dir / "copy.ocx", "a");
    EXPECT_TRUE(update.HoldCopy("a.ocx", dir / "copy.ocx", copy));
    EXPECT_FALSE(::DeleteFileA((dir / "copy.ocx").c_str()));
    copy.reset();
    WriteBytes(dir / "copy.ocx", "b");
    EXPECT_FALSE(update.HoldCopy("a.ocx", dir / "copy.ocx", copy));
    EXPECT_EQ(dir / "copy.ocx is not the file checked as its source", update.Problem());

    // A program without a key checks no copy, and holds none.
    copy.reset();
    EXPECT_TRUE(TSignedUpdate().HoldCopy("a.ocx", dir / "copy.ocx", copy));
    EXPECT_FALSE(copy);
}
