// The one-pass reader of plain INI files must read each section's keys as
// the system does, and must leave every other file to the system.
#include "common/PlainIni.h"
#include "common/ProfileFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

class PlainIniTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "warden.cfg";
};

TEST_F(PlainIniTest, APlainFileReadsAsTheSystemReadsEverySection)
{
    WriteBytes(path,
               "before=none\r\n[Client\\Web servers\\s1]\r\nweb server host=a.example\r\nwarden location=t:81\r\n"
               "\r\n; a comment=x\r\n[Bank]\r\nbank=Банк\r\nKEY=first\r\nkey=second\r\nempty=\r\n"
               "[Long]\nlong=" + std::string(5000, 'v') + "\n[last]\r\nx=a=b");
    PlainIniFile plain;
    ASSERT_TRUE(plain.Read(path));
    ProfileFile system(path);
    for (const char* section : {"Client\\Web servers\\s1", "bank", "long", "LAST"}) {
        StringList fromPlain;
        StringList fromSystem;
        system.Section = section;
        system.KeyLines(fromSystem);
        EXPECT_TRUE(plain.KeyLines(section, fromPlain)) << section;
        EXPECT_EQ(fromSystem.Text(), fromPlain.Text()) << section;
    }
    StringList none;
    EXPECT_FALSE(plain.KeyLines("missing", none));
}

TEST_F(PlainIniTest, AnyLineThatReadersMayTakeInTwoWaysLeavesTheFileToTheSystem)
{
    const std::string lines[] = {" key=1", "key =1", "key= 1", "key=1 ", "key=\"quoted\"", "key='quoted'",
                                 "[ s]",   "[s",     "[s]x",   "[]",     "no equals",     "=value",
                                 "k\tey=1", "[A]\r\nx=1\r\n[a]", "[Банк]", "ключ=1"};
    for (const std::string& line : lines) {
        WriteBytes(path, "[S]\r\n" + line + "\r\n");
        EXPECT_FALSE(PlainIniFile().Read(path)) << line;
    }
    WriteBytes(path, "\xEF\xBB\xBF[S]\r\nkey=1\r\n");
    EXPECT_FALSE(PlainIniFile().Read(path)) << "byte-order mark";
    EXPECT_FALSE(PlainIniFile().Read(dir / "missing.cfg"));
}
