// The test environment itself: the Wine prefix runs with the program's code page.
#include <gtest/gtest.h>

#include <windows.h>

TEST(WineEnvironment, AnsiCodePageIs1251)
{
    EXPECT_EQ(1251u, ::GetACP());
}

TEST(WineEnvironment, CyrillicLiteralsAreCp1251Bytes)
{
    const std::string word = "Обновление";
    EXPECT_EQ("\xce\xe1\xed\xee\xe2\xeb\xe5\xed\xe8\xe5", word);
}
