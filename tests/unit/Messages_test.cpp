#include "CfgUnit/Messages.h"

#include "common/ProfileFile.h"
#include "common/Text.h"
#include "support/FakeUserInterface.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

static int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::string::size_type at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(Catalogue, KeysAreUniqueAndEveryTextIsSet)
{
    TConfigurator cfg;
    std::set<std::string> keys;
    for (const TMessageKey& message : MessageKeys) {
        keys.insert(message.Key);
        EXPECT_FALSE((cfg.*message.Text).empty()) << message.Key;
    }
    EXPECT_EQ(static_cast<std::size_t>(MessageKeyCount), keys.size());
    EXPECT_EQ("ERROR_FIND_ACTIVEX_DIR", std::string(MessageKeys[0].Key));
    EXPECT_EQ("COPY_ERROR", std::string(MessageKeys[MessageKeyCount - 1].Key));
}

TEST(Catalogue, TextsAreCp1251WithTheirBlanksAndLineBreaks)
{
    TConfigurator cfg;
    // "Обновление проведено успешно.\r\n"
    EXPECT_EQ("\xce\xe1\xed\xee\xe2\xeb\xe5\xed\xe8\xe5 \xef\xf0\xee\xe2\xe5\xe4\xe5\xed\xee "
              "\xf3\xf1\xef\xe5\xf8\xed\xee.\r\n",
              cfg.ALL_OK);
    EXPECT_EQ(2, Count(cfg.COPY_ERROR, "  "));
    EXPECT_EQ(12, Count(cfg.COPY_ERROR, "\r\n"));
    EXPECT_NE(std::string::npos, cfg.COPY_ERROR.find("выгрузить  (в правом"));
    EXPECT_NE(std::string::npos, cfg.COPY_ERROR.find("<OK> в  данном"));
    EXPECT_NE(std::string::npos, cfg.ERROR_CORRECT_WARDENCFG.find("Warden. \r\n"));
    EXPECT_NE(std::string::npos, cfg.ERROR_NOT_FILL_DIALOG_FIELDS.find("полей: \r\n%s\r\n"));
    EXPECT_EQ(7, Count(cfg.SHARING_ERROR, "\r\n"));
    EXPECT_EQ(5, Count(cfg.UsageText, "\r\n"));
    EXPECT_EQ(2, Count(cfg.SHARING_ERROR, "%s"));
    EXPECT_EQ(5, Count(cfg.CONFIG_EXISTS_TOOTHERBANK, "%s"));
    // The "ОК" inside is written with Cyrillic letters.
    EXPECT_NE(std::string::npos, cfg.WARNING_NEW_WEBHOST_EXISTS.find("\"\xce\xca\""));
}

class DefaultScenarioTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir / "def.ini";
    FakeUserInterface ui;
};

TEST_F(DefaultScenarioTest, ReadBackItGivesExactlyTheBuiltInSettings)
{
    TConfigurator writer;
    writer.WriteScenarioFile(path);

    TConfigurator reader;
    for (const TMessageKey& message : MessageKeys)
        reader.*message.Text = "changed";
    reader.DialogCaptions.Clear();
    reader.RemoveBackup = false;
    reader.ScenarioPath = path;
    reader.ReadScenario();

    TConfigurator builtIn;
    for (const TMessageKey& message : MessageKeys)
        EXPECT_EQ(builtIn.*message.Text, reader.*message.Text) << message.Key;
    EXPECT_EQ(builtIn.DialogCaptions.Text(), reader.DialogCaptions.Text());
    EXPECT_TRUE(reader.RemoveBackup);
    EXPECT_EQ(0, reader.SourceFiles.Count());
    EXPECT_EQ("", reader.AxClsid);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DefaultScenarioTest, NewFileHoldsItsSectionsInOrderAndNoLineBreaksInValues)
{
    TConfigurator().WriteScenarioFile(path);
    ProfileFile file(path);
    StringList sections;
    file.ReadSectionNames(sections);
    // The emptied result sections keep their header or not, as the system writer does it.
    for (const char* emptied : {"RUN OK", "RUN NOT OK"}) {
        int index = sections.IndexOfExact(emptied);
        if (index >= 0)
            sections.Delete(index);
        StringList lines;
        file.Section = emptied;
        file.SectionLines(lines);
        EXPECT_EQ(0, lines.Count()) << emptied;
    }
    EXPECT_EQ("WardCfgUp\r\nDialog captions\r\nMessages\r\n", sections.Text());

    StringList lines;
    file.Section = "WardCfgUp";
    file.SectionLines(lines);
    EXPECT_EQ("RemoveBackup=1\r\nFILE0=\r\nAXCLSID=\r\n", lines.Text());

    StringList messages;
    file.Section = "Messages";
    file.SectionLines(messages);
    ASSERT_EQ(MessageKeyCount, messages.Count());
    for (int i = 0; i < messages.Count(); ++i)
        EXPECT_EQ(MessageKeys[i].Key, messages.NameAt(i));
    EXPECT_EQ("Обновление проведено успешно.\\n", messages.ValueOf("ALL_OK"));

    StringList captions;
    file.Section = "Dialog captions";
    file.SectionLines(captions);
    EXPECT_EQ(TConfigurator().DialogCaptions.Text(), captions.Text());
}

TEST_F(DefaultScenarioTest, AnExistingScenarioKeepsItsFilesAndLocations)
{
    WriteBytes(path,
               "[WardCfgUp]\r\nRemoveBackup=0\r\nFILE1=a.ocx\r\nFILE2=b.dll\r\nAXCLSID={X}\r\nOwn=1\r\n"
               "[WARDEN LOCATION]\r\nold=new\r\n[RUN OK]\r\nok.exe=1\r\n[Dialog captions]\r\nDialogCaption=Mine\r\n"
               "[Messages]\r\nALL_OK=Mine\r\n[Other]\r\nx=y\r\n");
    TConfigurator().WriteScenarioFile(path);

    TConfigurator cfg;
    cfg.ScenarioPath = path;
    cfg.ReadScenario();
    EXPECT_EQ("a.ocx\r\nb.dll\r\n", cfg.SourceFiles.Text());
    EXPECT_TRUE(cfg.RemoveBackup);
    EXPECT_EQ("", cfg.AxClsid);
    EXPECT_EQ("old=new\r\n", cfg.WardLocations.Text());
    EXPECT_EQ(0, cfg.RunOkModules.Count());
    EXPECT_EQ("Обновление параметров Warden", cfg.DialogCaptions.ValueOf("DialogCaption"));
    EXPECT_EQ(TConfigurator().ALL_OK, cfg.ALL_OK);

    ProfileFile file(path);
    file.Section = "WardCfgUp";
    EXPECT_EQ("1", file.StringValue("Own", ""));
    file.Section = "Other";
    EXPECT_EQ("y", file.StringValue("x", ""));
}
