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

TEST(Concat, JoinsPiecesOfEveryKindInOrder)
{
    // A NUL inside a piece is kept: pieces are taken by their size.
    EXPECT_EQ(std::string("ab\0cd", 5), Concat({"a", std::string("b\0c", 3), "d"}));
    EXPECT_EQ("", Concat({}));
    EXPECT_EQ("x", Concat({"", "x", std::string()}));
}

// The three readers of numbers differ only where a number outgrows its type.
TEST(ReadDigits, StopsAtTheFirstOtherCharacterAndWrapsOrSaturates)
{
    std::string::size_type at = 2;
    EXPECT_EQ(123u, ReadDigits("ab123x", at));
    EXPECT_EQ(5u, at);
    at = 0;
    EXPECT_EQ(0u, ReadDigits("x1", at));
    EXPECT_EQ(0u, at);
    at = 0;
    EXPECT_EQ(1000u, ReadDigits("1000", at, 1000));
    at = 0;
    EXPECT_EQ(1000u, ReadDigits("1001", at, 1000));
    at = 0;
    EXPECT_EQ(1000u, ReadDigits("99999999999999999999999|", at, 1000));
    EXPECT_EQ(23u, at);
    // 2^32 + 1 and 2^32 - 1: DecimalValue wraps like 32-bit arithmetic.
    EXPECT_EQ(1, DecimalValue("4294967297"));
    EXPECT_EQ(-1, DecimalValue("4294967295"));
    EXPECT_EQ(1, DecimalValue("-4294967295"));
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
