// Finding the file of a registered control from its class identifier.
#include "CfgUnit/Configurator.h"
#include "platform/Registry.h"
#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

class ActiveXLookup : public ::testing::Test {
protected:
    std::string Lookup(const std::string& clsid) { return configurator.GetRegisteredActiveXFullName(clsid); }

    TConfigurator configurator;
    ScratchClsid clsid;
};

TEST_F(ActiveXLookup, AcceptsTheIdentifierWithOrWithoutBracesAndBlanks)
{
    SetServerValue(clsid, "C:\\Bank\\client.ocx");
    const std::string bare = clsid.Bare();
    for (const std::string& form :
         {clsid.Braced(), " \t" + clsid.Braced() + " \r\n", bare, "{" + bare, bare + "}", "\x01 " + bare + "\x1f"}) {
        EXPECT_EQ("C:\\Bank\\client.ocx", Lookup(form)) << "for the argument [" << form << "]";
    }
}

TEST_F(ActiveXLookup, EmptyOrBlankIdentifierGivesEmptyAnswer)
{
    SetServerValue(clsid, "C:\\Bank\\client.ocx");
    EXPECT_EQ("", Lookup(""));
    EXPECT_EQ("", Lookup(" \t\r\n "));
    EXPECT_EQ("", Lookup("{}"));
}

TEST_F(ActiveXLookup, UnregisteredClassGivesEmptyAnswer)
{
    EXPECT_EQ("", Lookup(clsid.Braced()));
}

TEST_F(ActiveXLookup, ServerKeyWithoutDefaultValueGivesEmptyAnswer)
{
    SetServerValue(clsid, "C:\\Bank\\client.ocx");
    platform::RegKey key = platform::OpenKeyForUpdate(HKEY_CLASSES_ROOT, clsid.ServerKey());
    ASSERT_TRUE(key);
    ::RegDeleteValueA(key.get(), "");
    platform::SetTextValue(key.get(), "ThreadingModel", "Apartment");
    key.reset();
    EXPECT_EQ("", Lookup(clsid.Braced()));
}

TEST_F(ActiveXLookup, PathOf260CharactersFitsAndLongerGivesEmptyAnswer)
{
    const std::string prefix = "C:\\";
    const std::string path260 = prefix + std::string(260 - prefix.size() - 4, 'd') + ".ocx";
    ASSERT_EQ(260u, path260.size());
    SetServerValue(clsid, path260);
    EXPECT_EQ(path260, Lookup(clsid.Braced()));

    SetServerValue(clsid, path260 + "x");
    EXPECT_EQ("", Lookup(clsid.Braced()));
}

TEST_F(ActiveXLookup, ValueIsTakenAsStoredWhateverItsType)
{
    SetServerValue(clsid, "%SystemRoot%\\system32\\client.ocx", REG_EXPAND_SZ);
    EXPECT_EQ("%SystemRoot%\\system32\\client.ocx", Lookup(clsid.Braced()));

    SetServerValue(clsid, "\"C:\\Program Files\\Bank\\client.ocx\"");
    EXPECT_EQ("\"C:\\Program Files\\Bank\\client.ocx\"", Lookup(clsid.Braced()));

    SetServerValue(clsid, std::string("C:\\first.ocx\0C:\\second.ocx", 27));
    EXPECT_EQ("C:\\first.ocx", Lookup(clsid.Braced()));
}

TEST_F(ActiveXLookup, WritesNoLogLine)
{
    TempDir dir;
    configurator.OpenLog(dir / "run.log");
    SetServerValue(clsid, "C:\\Bank\\client.ocx");
    ASSERT_EQ("C:\\Bank\\client.ocx", Lookup(clsid.Braced()));
    Lookup("");
    Lookup(clsid.Braced() + "0");
    configurator.LogFile.reset();
    EXPECT_EQ("", ReadBytes(dir / "run.log"));
}

}  // namespace
