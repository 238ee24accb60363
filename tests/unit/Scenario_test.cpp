#include "CfgUnit/Messages.h"

#include "support/FakeUserInterface.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

class ScenarioTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeUserInterface ui;
    TConfigurator cfg;

    void Load(const std::string& content)
    {
        cfg.ScenarioPath = dir / "scen.ini";
        WriteBytes(cfg.ScenarioPath, content);
        EXPECT_TRUE(cfg.ReadScenario());
    }
};

TEST_F(ScenarioTest, MissingScenarioIsReportedWithItsFullPathAndDefaultsStay)
{
    cfg.ScenarioPath = dir / "none.ini";
    EXPECT_TRUE(cfg.ReadScenario());
    ASSERT_EQ(1u, ui.boxes.size());
    EXPECT_EQ("Error", ui.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), ui.boxes[0].style);
    EXPECT_EQ(nullptr, ui.boxes[0].owner);
    EXPECT_EQ("Не найден конфигурационный файл: \"" + (dir / "none.ini") + "\".\r\nСообщите разработчикам.",
              ui.boxes[0].text);
    EXPECT_EQ("", cfg.ScenarioPath);
    EXPECT_TRUE(cfg.RemoveBackup);
    EXPECT_EQ(0, cfg.SourceFiles.Count());
}

TEST_F(ScenarioTest, DirectoryCountsAsMissing)
{
    cfg.ScenarioPath = dir.Path();
    cfg.ReadScenario();
    EXPECT_EQ(1u, ui.boxes.size());
}

TEST_F(ScenarioTest, EmptyPathReadsDefaultsWithoutABox)
{
    cfg.ScenarioPath = "";
    EXPECT_TRUE(cfg.ReadScenario());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(cfg.RemoveBackup);
    EXPECT_EQ("", cfg.AxClsid);
    EXPECT_EQ(0, cfg.SourceFiles.Count());
    EXPECT_EQ("Обновление проведено успешно.\r\n", cfg.ALL_OK);
}

TEST_F(ScenarioTest, SourceFilesStopAtTheFirstMissingNumber)
{
    Load("[WardCfgUp]\r\nFILE0=zero.ocx\r\nfile1=a.ocx\r\nFILE3=c.ocx\r\naxclsid= {AB-CD} \r\n");
    EXPECT_EQ("a.ocx\r\n", cfg.SourceFiles.Text());
    EXPECT_EQ("{AB-CD}", cfg.AxClsid);
    EXPECT_TRUE(ui.boxes.empty());

    Load("[WardCfgUp]\r\nFILE0=zero.ocx\r\nFILE2=b.ocx\r\n");
    EXPECT_EQ(0, cfg.SourceFiles.Count());

    Load("[WardCfgUp]\r\nFILE1=a.ocx\r\nFILE2=\r\nFILE3=c.ocx\r\n");
    EXPECT_EQ("a.ocx\r\n", cfg.SourceFiles.Text());
}

TEST_F(ScenarioTest, RemoveBackupIsOnOnlyForOne)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true}, {"removebackup=1\r\n", true}, {"RemoveBackup=2\r\n", false},
        {"RemoveBackup=yes\r\n", false}, {"RemoveBackup=0\r\n", false},
    };
    for (const auto& [line, expected] : cases) {
        Load(std::string("[WardCfgUp]\r\n") + line);
        EXPECT_EQ(expected, cfg.RemoveBackup) << line;
    }
}

TEST_F(ScenarioTest, LineSectionsAreTakenWhole)
{
    Load("[WARDEN LOCATION]\r\nold:80=new:81\r\n[web servers hosts]\r\nold.ru=new.ru\r\nb=c\r\n"
         "[CRYPTO PARAMS]\r\nkey=v\r\n[RUN OK]\r\n%TEMP%\\a.exe=-x\r\nnotepad.exe\r\n[RUN NOT OK]\r\nfail.exe=1\r\n");
    EXPECT_EQ("old:80=new:81\r\n", cfg.WardLocations.Text());
    EXPECT_EQ("old.ru=new.ru\r\nb=c\r\n", cfg.WebServersHosts.Text());
    EXPECT_EQ("key=v\r\n", cfg.CryptoParams.Text());
    EXPECT_EQ("%TEMP%\\a.exe=-x\r\nnotepad.exe\r\n", cfg.RunOkModules.Text());
    EXPECT_EQ("fail.exe=1\r\n", cfg.RunNotOkModules.Text());
}

TEST_F(ScenarioTest, CaptionsTurnBackslashNIntoLineBreaksOnlyInTheComment)
{
    Load("[Dialog captions]\r\nCommentLabelText=one\\ntwo\r\nDialogCaption=A\\nB\r\nAcceptButtonCaption=\r\n");
    EXPECT_EQ("one\r\ntwo", cfg.DialogCaptions.ValueOf("CommentLabelText"));
    EXPECT_EQ("A\\nB", cfg.DialogCaptions.ValueOf("DialogCaption"));
    EXPECT_EQ("Обновить", cfg.DialogCaptions.ValueOf("AcceptButtonCaption"));
    EXPECT_EQ(DialogCaptionCount, cfg.DialogCaptions.Count());
}

TEST_F(ScenarioTest, MessagesReplaceTheBuiltInTexts)
{
    Load("[Messages]\r\nALL_OK=Готово\\nвсё\r\nCOPY_ERROR=\r\nIEXPLORER_NAME=" + std::string(5000, 'x') + "\r\n");
    EXPECT_EQ("Готово\r\nвсё", cfg.ALL_OK);
    EXPECT_EQ("", cfg.COPY_ERROR);
    EXPECT_EQ(std::string(4095, 'x'), cfg.IEXPLORER_NAME);
    // A missing key keeps the built-in text with its line breaks.
    EXPECT_EQ("Завершить процессы:\r\n%s\r\n", cfg.OTHERPROCESSES_CLOSE);
}
