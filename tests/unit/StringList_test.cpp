#include "common/StringList.h"

#include <gtest/gtest.h>

static StringList Lines(std::initializer_list<const char*> lines)
{
    StringList list;
    for (const char* line : lines)
        list.Add(line);
    return list;
}

TEST(StringList, NamesAndValuesSplitAtTheFirstEquals)
{
    StringList list = Lines({"a=b=c", "plain", "=v", "k="});
    EXPECT_EQ("a", list.NameAt(0));
    EXPECT_EQ("b=c", list.ValueAt(0));
    EXPECT_EQ("plain", list.NameAt(1));
    EXPECT_EQ("", list.ValueAt(1));
    EXPECT_EQ("", list.NameAt(2));
    EXPECT_EQ("v", list.ValueAt(2));
    EXPECT_EQ("", list.ValueAt(3));
}

TEST(StringList, IndexOfNameFoldsLatinLettersOnly)
{
    StringList list = Lines({"Host=1", "hostX=2", "Банк=3", "host=4"});
    EXPECT_EQ(0, list.IndexOfName("HOST"));
    EXPECT_EQ(2, list.IndexOfName("Банк"));
    EXPECT_EQ(-1, list.IndexOfName("БАНК"));
    EXPECT_EQ(-1, list.IndexOfName(""));
    EXPECT_EQ(-1, list.IndexOfName("Hos"));
    EXPECT_EQ("1", list.ValueOf("host"));
    EXPECT_EQ("", list.ValueOf("none"));
}

TEST(StringList, SetValueReplacesTheFirstMatchOrAppends)
{
    StringList list = Lines({"Key=old", "key=second"});
    list.SetValue("KEY", "new");
    list.SetValue("Other", "x");
    EXPECT_EQ("KEY=new\r\nkey=second\r\nOther=x\r\n", list.Text());
}

TEST(StringList, IndexOfIgnoresCaseUnderTheUserLocale)
{
    StringList list = Lines({"Warden (Клиентская часть)", "a.exe"});
    EXPECT_EQ(0, list.IndexOf("WARDEN (КЛИЕНТСКАЯ ЧАСТЬ)"));
    EXPECT_EQ(1, list.IndexOf("A.EXE"));
    EXPECT_EQ(-1, list.IndexOf("a.ex"));
    EXPECT_EQ(-1, list.IndexOfExact("A.EXE"));
    EXPECT_EQ(1, list.IndexOfExact("a.exe"));
}

TEST(StringList, SortedLinesFindAndCountWhatIndexOfFinds)
{
    StringList list = Lines({"b", "Warden (Клиентская часть)", "A", "a", "c", "B", "warden (клиентская ЧАСТЬ)"});
    SortedLines sorted(list);
    for (const char* text : {"a", "B", "C", "WARDEN (КЛИЕНТСКАЯ ЧАСТЬ)", "d", "", "warden"})
        EXPECT_EQ(list.IndexOf(text), sorted.IndexOf(text)) << text;
    EXPECT_EQ(2, sorted.Count("A"));
    EXPECT_EQ(0, sorted.Count("d"));
    sorted.Add("D", 9);
    sorted.Add("a", 1);
    EXPECT_EQ(9, sorted.IndexOf("d"));
    EXPECT_EQ(1, sorted.IndexOf("A"));
    EXPECT_EQ(3, sorted.Count("a"));
}

TEST(StringList, MarksFollowTheirLines)
{
    StringList list;
    list.AddMarked("first", 7);
    list.Add("plain");
    list.AddMarked("third", 9);
    EXPECT_EQ(0u, list.MarkAt(1));
    EXPECT_EQ(2, list.IndexOfMark(9));
    list.Delete(0);
    EXPECT_EQ(-1, list.IndexOfMark(7));
    EXPECT_EQ(1, list.IndexOfMark(9));
    list.SetMarkAt(0, 9);
    EXPECT_EQ(0, list.IndexOfMark(9));
    EXPECT_EQ("plain\r\nthird\r\n", list.Text());
}
