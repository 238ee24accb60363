#include "common/ProfileFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

class ProfileFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "test.ini";
};

TEST_F(ProfileFileTest, ReadsKeysWithDefaultsOnlyForMissingKeys)
{
    WriteBytes(path, "[S]\r\nkey=value\r\nempty=\r\nquoted=\"in quotes\"\r\nnum=12abc\r\n");
    ProfileFile file(path);
    file.Section = "s";
    EXPECT_EQ("value", file.StringValue("KEY", "def"));
    EXPECT_EQ("", file.StringValue("empty", "def"));
    EXPECT_EQ("def", file.StringValue("missing", "def"));
    EXPECT_EQ("in quotes", file.StringValue("quoted", ""));
    EXPECT_EQ(12, file.IntegerValue("num", 5));
    EXPECT_EQ(5, file.IntegerValue("missing", 5));
}

// What the section's keys read in one go must be what each key reads alone.
TEST_F(ProfileFileTest, KeyLinesHoldEveryValueAsTheKeyReadsIt)
{
    const std::string lines[] = {"plain=value", " spaced  =  a b  ", "double=\"in quotes\"", "single='x y'",
                                 "unbalanced=\"open", "inner=a\"b\"c", "empty=", "novalue", "tab=\tt\t",
                                 "PLAIN=second", "mixed=\"x'", "long=" + std::string(5000, 'v')};
    std::string text = "[S]\r\n; comment\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    WriteBytes(path, text + "[T]\r\nother=1\r\n");
    ProfileFile file(path);
    file.Section = "s";
    StringList keys;
    file.KeyLines(keys);
    ASSERT_EQ(11, keys.Count()) << keys.Text();
    EXPECT_EQ(-1, keys.IndexOfName("novalue"));
    for (int i = 0; i < keys.Count(); ++i) {
        const std::string name = keys.NameAt(i);
        if (keys.IndexOfName(name) == i) {  // the first of a name is the one a key reads
            EXPECT_EQ(file.StringValue(name, "default"), keys.ValueAt(i)) << name;
        }
    }
}

TEST_F(ProfileFileTest, LongValuesAreCutAt4095Characters)
{
    WriteBytes(path, "[S]\r\nlong=" + std::string(5000, 'v') + "\r\n");
    ProfileFile file(path);
    file.Section = "S";
    EXPECT_EQ(std::string(4095, 'v'), file.StringValue("long", ""));
}

TEST_F(ProfileFileTest, SectionLinesAppendInFileOrder)
{
    WriteBytes(path, "[A]\r\nx=1\r\nplain line\r\n[B]\r\ny=2\r\n");
    ProfileFile file(path);
    StringList lines;
    lines.Add("kept");
    file.Section = "A";
    file.SectionLines(lines);
    file.Section = "missing";
    file.SectionLines(lines);
    EXPECT_EQ("kept\r\nx=1\r\nplain line\r\n", lines.Text());
    StringList names;
    file.ReadSectionNames(names);
    EXPECT_EQ("A\r\nB\r\n", names.Text());
}

TEST_F(ProfileFileTest, WritingASectionReplacesItWhole)
{
    WriteBytes(path, "[A]\r\nold=1\r\nother=2\r\n[B]\r\nb=1\r\n");
    ProfileFile file(path, ProfileFile::TMode::Write);
    StringList lines;
    lines.Add("new=3");
    lines.Add("second=4");
    file.Section = "A";
    file.SectionLines(lines);
    file.StringValue("added", "");

    file.Mode = ProfileFile::TMode::Read;
    StringList back;
    file.SectionLines(back);
    EXPECT_EQ("new=3\r\nsecond=4\r\nadded=\r\n", back.Text());
    file.Section = "B";
    EXPECT_EQ("1", file.StringValue("b", ""));
    EXPECT_EQ(0u, file.FirstWriteError());
}

TEST(PackSectionBlock, CutsTheLineThatCrossesTheLimitAndDropsTheRest)
{
    StringList lines;
    lines.Add(std::string(32000, 'a'));
    lines.Add(std::string(1000, 'b'));
    lines.Add("dropped");
    std::string block = PackSectionBlock(lines);
    ASSERT_EQ(32766u, block.size());
    EXPECT_EQ('\0', block[32000]);
    EXPECT_EQ(std::string(764, 'b'), block.substr(32001, 764));
    EXPECT_EQ('\0', block.back());
    EXPECT_EQ(std::string::npos, block.find("dropped"));

    StringList none;
    EXPECT_EQ(std::string(1, '\0'), PackSectionBlock(none));
}

TEST_F(ProfileFileTest, AFailedWriteIsRecorded)
{
    MakeDirectory(path);  // a directory cannot be written as a file
    ProfileFile file(path, ProfileFile::TMode::Write);
    file.Section = "S";
    file.StringValue("k", "v");
    EXPECT_NE(0u, file.FirstWriteError());
}
