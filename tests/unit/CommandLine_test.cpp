#include "common/CommandLine.h"

#include <gtest/gtest.h>

using Params = std::vector<std::string>;

TEST(SplitCommandLine, ProgramNameIsNoParameter)
{
    EXPECT_EQ(Params{}, SplitCommandLine("C:\\p\\WardCfgUp.exe"));
    EXPECT_EQ(Params{}, SplitCommandLine(""));
    EXPECT_EQ((Params{"-c=a.ini", "-l=log.txt"}), SplitCommandLine("prog.exe  -c=a.ini\t-l=log.txt  "));
}

TEST(SplitCommandLine, QuotedStretchKeepsBlanksAndItsQuotes)
{
    // Quotes only around the name keep both quotes; quotes around the whole parameter go.
    EXPECT_EQ((Params{"-c=\"my scen.ini\""}), SplitCommandLine("\"C:\\a b\\prog.exe\" -c=\"my scen.ini\""));
    EXPECT_EQ((Params{"-c=my scen.ini"}), SplitCommandLine("prog.exe \"-c=my scen.ini\""));
    EXPECT_EQ((Params{"a\"b c\"d", "e"}), SplitCommandLine("prog.exe a\"b c\"d e"));
}

TEST(SplitCommandLine, UnclosedQuoteRunsToTheEnd)
{
    EXPECT_EQ((Params{"-c=\"a b"}), SplitCommandLine("prog.exe -c=\"a b"));
}

TEST(SplitCommandLine, EmptyQuotePairsBeforeATokenAreSkipped)
{
    EXPECT_EQ((Params{"x"}), SplitCommandLine("prog.exe \"\" x \"\""));
    EXPECT_EQ((Params{"\""}), SplitCommandLine("prog.exe \""));
}

TEST(SplitCommandLine, ControlCharactersSeparateTokens)
{
    EXPECT_EQ((Params{"a", "b"}), SplitCommandLine("prog.exe\x01" "a\x1f" "b"));
}

TEST(HasOptionPrefix, FoldsLatinCapitalsOnly)
{
    EXPECT_TRUE(HasOptionPrefix("-C=scen.ini", "-c="));
    EXPECT_TRUE(HasOptionPrefix("-CW=def.ini", "-cw="));
    EXPECT_TRUE(HasOptionPrefix("-l=", "-l="));
    EXPECT_FALSE(HasOptionPrefix("-cw=def.ini", "-c="));
    EXPECT_FALSE(HasOptionPrefix("-c", "-c="));
    EXPECT_FALSE(HasOptionPrefix("/c=x", "-c="));
}
