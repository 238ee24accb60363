#include "CfgUnit/Configurator.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <regex>

class RunLogTest : public ::testing::Test {
protected:
    TempDir dir;
    TConfigurator cfg;
    std::string path = dir / "run.log";
};

TEST_F(RunLogTest, WithoutALogNothingIsWritten)
{
    cfg.WriteLog("Start CheckProcesses");
    EXPECT_FALSE(cfg.LogOpen());
    EXPECT_FALSE(Exists(path));
}

TEST_F(RunLogTest, LinesCarryTheLocalDateAndTime)
{
    cfg.OpenLog(path);
    ASSERT_TRUE(cfg.LogOpen());
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    cfg.WriteLog("Start CheckProcesses");
    std::string line = ReadBytes(path);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m,
                                 std::regex(R"(\[(\d\d)\.(\d\d)\.(\d{4}) (\d\d):(\d\d):(\d\d)\] -> Start CheckProcesses\r\n)")))
        << line;
    EXPECT_EQ(before.wYear, std::stoi(m[3]));
    EXPECT_EQ(before.wMonth, std::stoi(m[2]));
    EXPECT_EQ(before.wHour, std::stoi(m[4]));
}

TEST_F(RunLogTest, TextIsWrittenByteForByteAndLineBreaksContinueWithoutStamp)
{
    cfg.OpenLog(path);
    cfg.WriteLog("Show message: Для \"Dedo\"\r\nвторая строка");
    cfg.WriteLog("");
    std::string log = ReadBytes(path);
    EXPECT_TRUE(std::regex_match(log, std::regex("\\[[^\\]]{19}\\] -> Show message: Для \"Dedo\"\r\nвторая строка\r\n"
                                                 "\\[[^\\]]{19}\\] -> \r\n")))
        << log;
}

TEST_F(RunLogTest, AnExistingFileStartsEmptyAndOthersMayReadWhileItIsOpen)
{
    WriteBytes(path, "old content\r\n");
    cfg.OpenLog(path);
    EXPECT_EQ("", ReadBytes(path));
    cfg.WriteLog("first");
    // No buffering: another reader sees the line at once.
    EXPECT_NE(std::string::npos, ReadBytes(path).find("first\r\n"));
}

TEST_F(RunLogTest, ALogThatCannotBeCreatedLeavesLoggingOff)
{
    cfg.OpenLog(dir / "no such dir\\run.log");
    EXPECT_FALSE(cfg.LogOpen());
    cfg.OpenLog("");
    EXPECT_FALSE(cfg.LogOpen());
}

TEST_F(RunLogTest, ASecondLogTakesOverAndTheFirstStaysEmpty)
{
    std::string second = dir / "second.log";
    WriteBytes(path, "old");
    WriteBytes(second, "old");
    cfg.OpenLog(path);
    cfg.OpenLog(second);
    cfg.WriteLog("line");
    EXPECT_EQ("", ReadBytes(path));
    EXPECT_NE(std::string::npos, ReadBytes(second).find("] -> line\r\n"));
}
