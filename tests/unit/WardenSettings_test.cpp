// The tunnel settings file: location comparison and translation, section
// numbering and lookup, and the copy of a server section, on real files.
#include "CfgUnit/Configurator.h"
#include "CfgUnit/WardenSettings.h"
#include "common/Text.h"
#include "support/LogLines.h"
#include "support/SettingsFiles.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class WardenSettings : public ::testing::Test {
protected:
    TempDir dir;
    TConfigurator configurator;
    const std::string cfgPath = dir / "warden.cfg";

    // A correction state over a settings file holding the sections.
    TSettingsCorrection& Open(const std::vector<IniSection>& sections)
    {
        WriteBytes(cfgPath, IniText(sections));
        state_.reset(new TSettingsCorrection(configurator, cfgPath));
        state_->ReadSections();
        return *state_;
    }

private:
    std::unique_ptr<TSettingsCorrection> state_;
};

TEST(IsSameServer, HostsFoldLatinLettersOnlyAndPortsDefaultTo80)
{
    EXPECT_TRUE(IsSameServer("srv:80", "SRV"));
    EXPECT_TRUE(IsSameServer("srv:81", "srv:081"));
    EXPECT_TRUE(IsSameServer("srv:", "srv"));
    EXPECT_TRUE(IsSameServer("srv:+81", "srv:81x"));
    EXPECT_FALSE(IsSameServer("srv:81", "srv"));
    EXPECT_FALSE(IsSameServer("srv", "srv.bank"));
    EXPECT_FALSE(IsSameServer("сервер", "СЕРВЕР"));
    EXPECT_TRUE(IsSameServer("сервер:90", "сервер:90"));
}

TEST(IsSameServer, PortWithoutDigitsIsZero)
{
    EXPECT_FALSE(IsSameServer("srv:abc", "srv"));
    EXPECT_TRUE(IsSameServer("srv:abc", "srv:0"));
    EXPECT_TRUE(IsSameServer("srv:-", "srv:0"));
}

TEST_F(WardenSettings, TranslatesThroughTheFirstPairNamingTheSameServer)
{
    TSettingsCorrection& state = Open({});
    configurator.WardLocations.Add("other:90=x:1");
    configurator.WardLocations.Add("old:80=new:81");
    configurator.WardLocations.Add("OLD=second:1");

    EXPECT_EQ("new:81", state.TranslateWardenLocation("OLD"));
    EXPECT_EQ("new:81", state.TranslateWardenLocation("old:"));
    EXPECT_EQ("unknown:80", state.TranslateWardenLocation("unknown:80"));
    EXPECT_EQ("old:81", state.TranslateWardenLocation("old:81"));
    EXPECT_EQ("", state.TranslateWardenLocation(""));
}

TEST_F(WardenSettings, HighestNumberCountsCryptoSubSectionsAndLeadingDigits)
{
    EXPECT_EQ(12, Open({{"Client\\Web servers\\s1", {"a=1"}},
                        {"Client\\Web servers\\s12\\Crypto engine", {"a=1"}},
                        {"Other\\s40", {"a=1"}}})
                      .MaxSectionNumber);
    EXPECT_EQ(7, Open({{"Client\\Web servers\\s07", {"a=1"}}}).MaxSectionNumber);
    EXPECT_EQ(5, Open({{"client\\web SERVERS\\S5x", {"a=1"}}}).MaxSectionNumber);
    EXPECT_EQ(0, Open({{"Client\\Web servers\\sx", {"a=1"}}, {"Client\\Web servers\\s+9", {"a=1"}},
                       {"Client\\Web server\\s9", {"a=1"}}})
                     .MaxSectionNumber);
}

TEST_F(WardenSettings, LookupComparesHostsExactlyAndVisitsOnlyCanonicalSectionNames)
{
    TSettingsCorrection& state = Open({{"Client\\Web servers\\s1", {"web server host=bank.example"}},
                                       {"CLIENT\\WEB SERVERS\\S3", {"web server host=third"}},
                                       {"Client\\Web servers\\s07", {"web server host=Bank.Example"}},
                                       {"Client\\Web servers\\s12\\Crypto engine", {"a=1"}}});
    ASSERT_EQ(12, state.MaxSectionNumber);

    EXPECT_EQ(1, state.FindConfigSectionByHost(1, "bank.example"));
    EXPECT_EQ(0, state.FindConfigSectionByHost(1, "Bank.Example"));
    EXPECT_EQ(0, state.FindConfigSectionByHost(2, "bank.example"));
    EXPECT_EQ(3, state.FindConfigSectionByHost(1, "third"));
    EXPECT_EQ(0, state.FindConfigSectionByHost(1, "THIRD"));
    EXPECT_EQ(0, state.FindConfigSectionByHost(13, "third"));
    EXPECT_EQ(0, state.FindConfigSectionByHost(1, ""));
}

TEST_F(WardenSettings, CopyKeepsOtherKeysInOrderAndAppliesCryptoParameters)
{
    configurator.OpenLog(dir / "run.log");
    configurator.WardLocations.Add("old:80=new:81");
    configurator.CryptoParams.Add("keylen=512");
    configurator.CryptoParams.Add("Mode=cbc");
    TSettingsCorrection& state = Open({{"Client\\Web servers\\s1",
                                        {"first=1", "web server host=old.host", "web server address=10.0.0.1",
                                         "warden location=tun:81", "middle=2", "reserve location=OLD", "last=3"}},
                                       {"Client\\Web servers\\s1\\Crypto engine", {"Cipher=gost", "KeyLen=256"}}});
    state.NextSectionNumber = 2;
    state.NewWebServerHost = "new.host";
    state.NewWardenLocation = "tun2:82";

    state.CopyConfigSection(1);

    const std::string source = "first=1\nweb server host=old.host\nweb server address=10.0.0.1\n"
                               "warden location=tun:81\nmiddle=2\nreserve location=OLD\nlast=3\n";
    const std::string copy = "first=1\nweb server host=new.host\nweb server address=\n"
                             "warden location=tun2:82\nmiddle=2\nreserve location=new:81\nlast=3\n";
    EXPECT_EQ(source, SectionText(cfgPath, "Client\\Web servers\\s1"));
    EXPECT_EQ(copy, SectionText(cfgPath, "Client\\Web servers\\s2"));
    EXPECT_EQ("Cipher=gost\nkeylen=512\nMode=cbc\n", SectionText(cfgPath, "Client\\Web servers\\s2\\Crypto engine"));
    EXPECT_EQ(3, state.NextSectionNumber);

    auto crlf = [](const std::string& text) { return ReplaceAll(text, "\n", "\r\n"); };
    const std::vector<std::string> expectedLog = {
        "Old data of section \"Client\\Web servers\\s1\" : \r\n" + crlf(source),
        "New data of section \"Client\\Web servers\\s2\" : \r\n" + crlf(copy),
        "Old data of section \"Client\\Web servers\\s1\\Crypto engine\" : \r\nCipher=gost\r\nKeyLen=256\r\n",
        "New data of section \"Client\\Web servers\\s2\\Crypto engine\" : \r\nCipher=gost\r\nkeylen=512\r\nMode=cbc\r\n",
    };
    EXPECT_EQ(expectedLog, LogEntries(dir / "run.log"));
}

TEST_F(WardenSettings, CopyReplacesTheTargetSectionsWhole)
{
    TSettingsCorrection& state = Open({{"Client\\Web servers\\s1", {"web server host=old", "kept=1"}},
                                       {"Client\\Web servers\\s2", {"stale=1", "web server host=new"}},
                                       {"Client\\Web servers\\s2\\Crypto engine", {"stale=2"}}});
    state.NextSectionNumber = 2;
    state.NewWebServerHost = "new";

    state.CopyConfigSection(1);

    EXPECT_EQ("web server host=new\nkept=1\nweb server address=\nwarden location=\nreserve location=\n",
              SectionText(cfgPath, "Client\\Web servers\\s2"));
    EXPECT_EQ("", SectionText(cfgPath, "Client\\Web servers\\s2\\Crypto engine"));
}

TEST_F(WardenSettings, CopyOfAnOversizedSectionIsCutAtTheBlockLimit)
{
    std::vector<std::string> lines = {"web server host=old"};
    for (int i = 10; i < 50; ++i)
        lines.push_back("k" + std::to_string(i) + "=" + std::string(995, 'v'));
    TSettingsCorrection& state = Open({{"Client\\Web servers\\s1", lines}});
    state.NextSectionNumber = 2;
    state.NewWebServerHost = "new";

    state.CopyConfigSection(1);

    lines[0] = "web server host=new";
    std::string packed;
    for (const std::string& line : lines)
        packed += line + '\n';
    packed.resize(ProfileFile::SectionBlockLimit);
    const std::string written = packed + "\nweb server address=\nwarden location=\nreserve location=\n";
    EXPECT_EQ(written, SectionText(cfgPath, "Client\\Web servers\\s2"));
}

}  // namespace
