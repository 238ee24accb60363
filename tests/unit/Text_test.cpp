#include "common/FileNames.h"
#include "common/Text.h"

#include <gtest/gtest.h>

TEST(ReplaceAll, ReplacementIsNeverScannedAgain)
{
    EXPECT_EQ("a\r\nb\r\n", ReplaceAll("a\\nb\\n", "\\n", "\r\n"));
    EXPECT_EQ("xx", ReplaceAll("x", "x", "xx"));
    EXPECT_EQ("aa", ReplaceAll("aaaa", "aa", "a"));
    EXPECT_EQ("abc", ReplaceAll("abc", "", "z"));
}

TEST(FoldingAscii, LeavesCyrillicAlone)
{
    EXPECT_TRUE(EqualFoldingAscii("WardLink.EXE", "wardlink.exe"));
    EXPECT_FALSE(EqualFoldingAscii("Банк", "БАНК"));
    EXPECT_EQ("ABC\xe0\xff", UpperAscii("abc\xe0\xff"));
}

TEST(DecimalValue, SignDigitsAndStop)
{
    EXPECT_EQ(81, DecimalValue("081"));
    EXPECT_EQ(-12, DecimalValue("-12x3"));
    EXPECT_EQ(7, DecimalValue("+7"));
    EXPECT_EQ(0, DecimalValue("abc"));
    EXPECT_EQ(0, DecimalValue(""));
    EXPECT_EQ(0, DecimalValue(" 5"));
}

TEST(TrimControls, RemovesCodesUpTo32)
{
    EXPECT_EQ("{A}", TrimControls(" \t{A}\r\n "));
    EXPECT_EQ("", TrimControls("  \x01 "));
    EXPECT_EQ(" x", TrimControlsRight(" x\r\n"));
}

TEST(FileNames, PartsOfAName)
{
    EXPECT_EQ("C:\\T\\", DirectoryPart("C:\\T\\wardlink.exe"));
    EXPECT_EQ("C:", DirectoryPart("C:x.ocx"));
    EXPECT_EQ("wardlink.exe", FileNamePart("C:/T/wardlink.exe"));
    EXPECT_EQ("", DirectoryPart("a.ocx"));
    EXPECT_EQ(".ocx", ExtensionPart("C:\\T\\a.b.ocx"));
    EXPECT_TRUE(HasExtension("X.OCX", ".ocx"));
    EXPECT_FALSE(HasExtension("x.ocx.old", ".ocx"));
}

TEST(FileNames, BackupNameReplacesTheExtension)
{
    EXPECT_EQ("C:\\T\\x.bak", ChangeExtension("C:\\T\\x.ocx", ".bak"));
    EXPECT_EQ("C:\\T\\readme.bak", ChangeExtension("C:\\T\\readme", ".bak"));
    // A dot in a directory name is no extension: the backup stays beside its file.
    EXPECT_EQ("C:\\Bank.Client\\readme.bak", ChangeExtension("C:\\Bank.Client\\readme", ".bak"));
}
