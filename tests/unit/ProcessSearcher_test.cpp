// Names made comparable: file-name part or short path, ASCII letters upper-cased.
#include "PrsSrch/ProcessSearcher.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

TEST(NormalizeName, FileNamePartWithAsciiLettersUpperCased)
{
    TProcessSearcher searcher;
    EXPECT_EQ("WARDLINK.EXE", searcher.NormalizeName("C:\\Program Files\\X\\WardLink.exe"));
    EXPECT_EQ("B.DLL", searcher.NormalizeName("C:/a/b.dll"));
    EXPECT_EQ("NAME.OCX", searcher.NormalizeName("D:name.ocx"));
    EXPECT_EQ("PLAIN", searcher.NormalizeName("plain"));
    EXPECT_EQ("", searcher.NormalizeName("C:\\dir\\"));
}

TEST(NormalizeName, CyrillicLettersKeepTheirCase)
{
    TProcessSearcher searcher;
    EXPECT_EQ("ПРОГРАММА.EXE", searcher.NormalizeName("C:\\ПРОГРАММА.exe"));
    EXPECT_EQ("программа.EXE", searcher.NormalizeName("C:\\программа.exe"));
}

TEST(NormalizeName, ShortFormIsTheSameForEverySpellingOfAnExistingFile)
{
    TempDir dir;
    MakeDirectory(dir / "Long Directory Name");
    std::string file = dir / "Long Directory Name\\Component File.ocx";
    WriteBytes(file, "x");
    TProcessSearcher searcher;
    searcher.ShortPath = true;

    std::string normalized = searcher.NormalizeName(file);
    EXPECT_EQ(std::string::npos, normalized.find(' ')) << normalized;
    EXPECT_EQ(normalized, searcher.NormalizeName(dir / "LONG DIRECTORY NAME\\component file.OCX"));
    EXPECT_EQ(normalized, searcher.NormalizeName(normalized));
}

// A file that does not exist yet cannot be held by a process: its name must
// match nothing, not even the failed conversion of another such name.
TEST(NormalizeName, FailedShortFormsMatchNothing)
{
    TempDir dir;
    TProcessSearcher searcher;
    searcher.ShortPath = true;

    std::string first = searcher.NormalizeName(dir / "missing.dll");
    std::string again = searcher.NormalizeName(dir / "missing.dll");
    std::string other = searcher.NormalizeName(dir / "absent.ocx");
    std::string unacceptable = searcher.NormalizeName("");
    EXPECT_NE(first, again);
    EXPECT_NE(first, other);
    EXPECT_NE(first, unacceptable);
    EXPECT_NE(other, unacceptable);
    for (const std::string& failed : {first, again, other, unacceptable}) {
        EXPECT_NE("", failed);
        EXPECT_NE(searcher.NormalizeName(dir.Path()), failed);
    }
}
