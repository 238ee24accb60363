// The checks of a signed update's files in process: which sources count as
// checked, and that what was checked stays as it was until it is installed.
// The signature itself is verified by the real program (e2e/SignedUpdate_test).
#include "CfgUnit/SignedUpdate.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

// The SHA-256 of "a" and of "abc" (the test vectors of FIPS 180-2), in either case.
const std::string HashOfA = "ca978112ca1bbdcafac231b39a23dc4da786eff8147c4e72b9807785afee48bb";
const std::string HashOfAbc = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";

class SignedUpdateTest : public ::testing::Test {
protected:
    TempDir dir;
    CurrentDirectory current{dir.Path()};
    TSignedUpdate update{BuiltInUpdateKey};

    void SetUp() override
    {
        for (const char* name : {"a.ocx", "nohash.dll", "short.dll", "locked.dll"})
            WriteBytes(dir / name, "a");
        WriteBytes(dir / "abc.dll", "abc");
        WriteBytes(dir / "changed.dll", "abd");
        WriteBytes(dir / "scen.ini", "[SHA256]\r\nA.OCX=" + HashOfA + "\r\nabc.dll = " + HashOfAbc +
                                         "\r\nchanged.dll=" + HashOfAbc + "\r\nshort.dll=" + HashOfA.substr(1) +
                                         "\r\nmissing.dll=" + HashOfA + "\r\nlocked.dll=" + HashOfA + "\r\n");
    }
};

TEST_F(SignedUpdateTest, EachSourceIsCheckedAgainstTheHashOfItsFileNValueAndHeldOnceItMatches)
{
    const TSourceHashes hashes(dir / "scen.ini");
    HeldFile locked(dir / "locked.dll", true);
    EXPECT_EQ(TSourceCheck::Matches, update.CheckSource("a.ocx", hashes));
    EXPECT_EQ(TSourceCheck::Matches, update.CheckSource("abc.dll", hashes));
    EXPECT_EQ(TSourceCheck::Differs, update.CheckSource("changed.dll", hashes));
    EXPECT_EQ("changed.dll does not match its hash in [SHA256]", update.Problem());
    EXPECT_EQ(TSourceCheck::Differs, update.CheckSource("short.dll", hashes));
    EXPECT_EQ(TSourceCheck::NoHash, update.CheckSource("nohash.dll", hashes));
    EXPECT_EQ(TSourceCheck::Missing, update.CheckSource("missing.dll", hashes));
    EXPECT_EQ(TSourceCheck::Unreadable, update.CheckSource("locked.dll", hashes));

    // Held from here on: no other program writes or deletes them.
    EXPECT_FALSE(::DeleteFileA((dir / "a.ocx").c_str()));
    EXPECT_ANY_THROW(WriteBytes(dir / "abc.dll", "abd"));
    update.ReleaseSources();
    EXPECT_TRUE(::DeleteFileA((dir / "a.ocx").c_str()));
}

TEST_F(SignedUpdateTest, ACopyIsTakenOnlyWhenItHoldsTheBytesCheckedAndIsThenHeld)
{
    ASSERT_EQ(TSourceCheck::Matches, update.CheckSource("a.ocx", TSourceHashes(dir / "scen.ini")));
    WriteBytes(dir / "copy.ocx", "a");
    platform::FileHandle copy;
    EXPECT_TRUE(update.HoldCopy("a.ocx", dir / "copy.ocx", copy));
    EXPECT_FALSE(::DeleteFileA((dir / "copy.ocx").c_str()));
    copy.reset();

    WriteBytes(dir / "copy.ocx", "b");
    EXPECT_FALSE(update.HoldCopy("a.ocx", dir / "copy.ocx", copy));
    EXPECT_EQ(dir / "copy.ocx is not the file checked as its source", update.Problem());
    EXPECT_FALSE(update.HoldCopy("abc.dll", dir / "copy.ocx", copy));
    EXPECT_EQ("abc.dll was not checked against its hash", update.Problem());

    copy.reset();
    EXPECT_TRUE(TSignedUpdate().HoldCopy("abc.dll", dir / "copy.ocx", copy));  // without a key, nothing is checked
    EXPECT_FALSE(copy);
}

}  // namespace
