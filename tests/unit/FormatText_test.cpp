#include "common/FormatText.h"

#include <gtest/gtest.h>

#include <windows.h>

// The system formatter, for templates that are well formed for their arguments.
static std::string Wvsprintf(const char* templateText, std::initializer_list<INT_PTR> args)
{
    std::vector<INT_PTR> list(args);
    char out[2048];
    int length = ::wvsprintfA(out, templateText, reinterpret_cast<va_list>(list.data()));
    return std::string(out, length > 0 ? length : 0);
}

static INT_PTR P(const char* text)
{
    return reinterpret_cast<INT_PTR>(text);
}

TEST(FormatText, WellFormedTemplatesMatchTheSystemFormatter)
{
    const char* name = "Warden (Клиентская часть)";
    EXPECT_EQ(Wvsprintf("Verision SrcFile: \"%s\" : %d.%d.%d.%d.", {P("a.ocx"), 1, 10, 0, 65535}),
              FormatText("Verision SrcFile: \"%s\" : %d.%d.%d.%d.", {"a.ocx", 1, 10, 0, 65535}));
    EXPECT_EQ(Wvsprintf("%s|%5d|%-4s|%05d|%.2s|%d", {P(name), 42, P("ab"), -7, P("xyz"), -2147483647 - 1}),
              FormatText("%s|%5d|%-4s|%05d|%.2s|%d", {name, 42, "ab", -7, "xyz", -2147483647 - 1}));
    EXPECT_EQ(Wvsprintf("100%% %x %X %u", {255, 255, 3}), FormatText("100%% %x %X %u", {255, 255, 3}));
    EXPECT_EQ(Wvsprintf("%x|%X|%#x|%#X|%08X", {-1, 0xABCDEF, 255, 0xBEEF, 0x1F}),
              FormatText("%x|%X|%#x|%#X|%08X", {-1, 0xABCDEF, 255, 0xBEEF, 0x1F}));
}

TEST(FormatText, MissingAndEmptyArgumentsRenderAsEmptyText)
{
    EXPECT_EQ("a[] b[] c[]", FormatText("a[%s] b[%s] c[%d]", {""}));
    EXPECT_EQ("host: x.ru, port: ", FormatText("host: %s, port: %d", {"x.ru"}));
    std::string empty;
    EXPECT_EQ("[]", FormatText("[%s]", {empty}));
}

TEST(FormatText, PercentSignsOfAScenarioTextAreHarmless)
{
    EXPECT_EQ("50% done", FormatText("50%% done", {}));
    EXPECT_EQ("bad  end", FormatText("bad %s end%", {}));
    EXPECT_EQ("number 42 text", FormatText("number %d text", {"42"}));
}

TEST(FormatText, ResultIsCutAt1023Bytes)
{
    std::string longText(3000, 'x');
    EXPECT_EQ(1023u, FormatText("%s", {longText}).size());
    EXPECT_EQ("ab" + std::string(1021, 'x'), FormatText("ab%s", {longText}));
    std::string fits(1023, 'y');
    EXPECT_EQ(fits, FormatText(fits, {}));
}

// Any width or precision gives what the full width would, cut at the limit.
TEST(FormatText, HugeWidthsAndPrecisionsAreCutAtTheLimit)
{
    EXPECT_EQ("x" + std::string(1022, ' '), FormatText("x%99999999999s|%.99999999999s|%999999999999d", {"a", "b", 5}));
    EXPECT_EQ(("ab" + std::string(1199, ' ') + "z").substr(0, 1023), FormatText("ab%1200s", {"z"}));
    EXPECT_EQ("-" + std::string(1022, '0'), FormatText("%099999999999d", {-5}));
}
