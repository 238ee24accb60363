// The scenario check: a scenario with a mistake of every kind and its report,
// and scenarios that check clean.
#include "CfgUnit/Configurator.h"
#include "check/ScenarioReport.h"

#include "common/FormatText.h"
#include "common/Text.h"

#include "support/FakeUserInterface.h"
#include "support/StandIns.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

// Source files are looked up from the current directory, as a run looks them up.
class ScenarioCheckTest : public ::testing::Test {
protected:
    TempDir dir;
    CurrentDirectory current{dir.Path()};
    FakeUserInterface ui;
    TConfigurator cfg;

    void Place(const std::string& name, const std::string& control)
    {
        WriteBytes(dir / name, ReadBytes(BinDir() + "testcontrol_" + control + ".ocx"));
    }

    std::string Check(const std::string& name, const std::string& content)
    {
        WriteBytes(dir / name, content);
        return ScenarioReport(name, CheckScenarioFile(cfg, dir / name));
    }
};

TEST_F(ScenarioCheckTest, AMistakeOfEveryKindIsReportedWithItsLine)
{
    Place("bankctl.ocx", "2_0_0_0");
    Place("bankctl.dll", "2_0_0_0");
    Place("noversion.dll", "noversion");
    const std::string utf8 = Utf8FromAnsi("Клиентская часть");
    const std::string scenario =
        "\xEF\xBB\xBF[WardCfgUp]\r\n"                                 // 1
        "RemoveBackup=2\r\n"                                          // 2
        "AXCLSID={5B1F0A4E-2C7D-4E8A-9A11}\r\n"                       // 3
        "FILE1=bankctl.ocx\r\n"                                       // 4
        "FILE2=missing.ocx\r\n"                                       // 5
        "FILE3=noversion.dll\r\n"                                     // 6
        "FILE4=bankctl.dll\r\n"                                       // 7
        "FILE5=BANKCTL.OCX\r\n"                                       // 8
        "FILE6=..\\outside.ocx\r\n"                                   // 9
        "FILE7=C:\\Windows\\evil.dll\r\n"                             // 10
        "FILE8=\\\\server\\share\\x.ocx\r\n"                          // 11
        "FILE9=\\root.ocx\r\n"                                        // 12
        "FILE10=sub\\nul.ocx\r\n"                                     // 13
        "FILE11=trailing.ocx.\r\n"                                    // 14
        "FILE12=wild*.ocx\r\n"                                        // 15
        "FILE13=old.bak\r\n"                                          // 16
        "FILE15=gap.ocx\r\n"                                          // 17
        "FILE0=zero.ocx\r\n"                                          // 18
        "FILE016=lead.ocx\r\n"                                        // 19
        "file1=again.ocx\r\n"                                         // 20
        "AXCLSD={5B1F0A4E-2C7D-4E8A-9A11-3F6D2B7C9E01}\r\n"           // 21
        "FILE14\r\n"                                                  // 22
        "\r\n"                                                        // 23
        "[WEB SERVER HOSTS]\r\n"                                      // 24
        "old.example=new.example\r\n"                                 // 25
        "[WEB SERVERS HOSTS]\r\n"                                     // 26
        "; current host=new host\r\n"                                 // 27
        "online.oldbank.example=online.newbank.example\r\n"           // 28
        "ONLINE.oldbank.example=other.example\r\n"                    // 29
        "same.example=SAME.example\r\n"                               // 30
        "empty.example=\r\n"                                          // 31
        "=lonely.example\r\n"                                         // 32
        "[WARDEN LOCATION]\r\n"                                       // 33
        "tunnel.oldbank.example:8443=tunnel.newbank.example:9443\r\n" // 34
        "TUNNEL.oldbank.example:8443=elsewhere.example\r\n"           // 35
        ":8443=tunnel.newbank.example\r\n"                            // 36
        "reserve.oldbank.example=reserve.newbank.example:99999\r\n"   // 37
        "backup.oldbank.example:port=backup.newbank.example:0\r\n"    // 38
        "[RUN OK]\r\n"                                                // 39
        "%SystemRoot%\\system32\\notepad.exe=%TEMP%\\done.txt\r\n"    // 40
        "%WCU_CHECK_NOWHERE%\\report.exe=-q\r\n"                      // 41
        "C:\\Program Files\\Bank\\missing.exe\r\n"                    // 42
        "notepad.exe\r\n"                                             // 43
        "https://bank.example/done\r\n"                               // 44
        "[RUN NOT OK]\r\n"                                            // 45
        "%SystemRoot%\\no such folder\\fail.exe=1\r\n"                // 46
        "[RUN OK]\r\n"                                                // 47
        "C:\\second.exe\r\n"                                          // 48
        "[Dialog captions]\r\n"                                       // 49
        "DialogCaption=Обновление\\nWarden\r\n"                       // 50
        "CommentLabelText=Строка\\nстрока\r\n"                        // 51
        "AcceptButtonCaptoin=OK\r\n"                                  // 52
        "[Messages]\r\n"                                              // 53
        "NOT_FOUND_FILE=Нет файла %s и %s\r\n"                        // 54
        "ERROR_FIND_ACTIVEX_DIR=Нет ActiveX %d\r\n"                   // 55
        "ERROR_NOTFOUND_WARDENCFG=Нет \"%-40s\"\r\n"                  // 56
        "ERROR_CORRECT_WARDENCFG=Ошибка в %s: %s, 100% отказ\r\n"     // 57
        "OTHERPROCESSES_CLOSE=Завершить: %s и 5%\r\n"                 // 58
        "ALL_OK=Готово на 100%%\r\n"                                  // 59
        "IEXPLORER_NAME=Internet Explorer %s\r\n"                     // 60
        "COPY_ERROR=\r\n"                                             // 61
        "ALL_0K=Готово\r\n"                                           // 62
        "WARDEN_CLIENT_NAME=Warden (" + utf8 + ")\r\n"                // 63
        "; " + utf8 + "\r\n"                                          // 64
        "[Extra]\r\n"                                                 // 65
        "key=value\r\n";                                              // 66

    EXPECT_EQ(
        "mistakes.ini:1: error: the file starts with a UTF-8 byte-order mark, which Windows reads as part of the "
        "first line: [WardCfgUp] is lost; save the scenario in code page 1251\r\n"
        "mistakes.ini:2: warning: [WardCfgUp] RemoveBackup=2 is neither 0 nor 1: the run keeps the copied source "
        "files\r\n"
        "mistakes.ini:3: error: [WardCfgUp] AXCLSID {5B1F0A4E-2C7D-4E8A-9A11} is not a class id (32 hexadecimal "
        "digits grouped 8-4-4-4-12)\r\n"
        "mistakes.ini:5: warning: [WardCfgUp] FILE2 missing.ocx is missing in the current directory: the run shows "
        "NOT_FOUND_FILE and copies nothing\r\n"
        "mistakes.ini:6: warning: [WardCfgUp] FILE3 noversion.dll has no version resource: the run copies it over "
        "the installed file whatever that file's version\r\n"
        "mistakes.ini:7: warning: [WardCfgUp] FILE4 bankctl.dll and FILE1 bankctl.ocx share the backup name "
        "bankctl.bak: the run keeps them as bankctl.ocx.bak and bankctl.dll.bak\r\n"
        "mistakes.ini:8: error: [WardCfgUp] FILE5 BANKCTL.OCX is listed again (FILE1): the run copies it twice\r\n"
        "mistakes.ini:9: error: [WardCfgUp] FILE6 ..\\outside.ocx leaves the client's folder through \"..\"\r\n"
        "mistakes.ini:10: error: [WardCfgUp] FILE7 C:\\Windows\\evil.dll leaves the client's folder: it names a "
        "drive\r\n"
        "mistakes.ini:11: error: [WardCfgUp] FILE8 \\\\server\\share\\x.ocx leaves the client's folder: it is a "
        "network path\r\n"
        "mistakes.ini:12: error: [WardCfgUp] FILE9 \\root.ocx leaves the client's folder: it starts at the root of a "
        "drive\r\n"
        "mistakes.ini:13: error: [WardCfgUp] FILE10 sub\\nul.ocx names the device NUL\r\n"
        "mistakes.ini:14: error: [WardCfgUp] FILE11 trailing.ocx. ends in a dot or a blank, which Windows drops "
        "from file names\r\n"
        "mistakes.ini:15: error: [WardCfgUp] FILE12 wild*.ocx holds *, which no file name may hold\r\n"
        "mistakes.ini:16: warning: [WardCfgUp] FILE13 old.bak is named like a backup: the run keeps the installed "
        "file as old.bak.bak\r\n"
        "mistakes.ini:17: error: [WardCfgUp] FILE15 is never read: FILE14 is missing\r\n"
        "mistakes.ini:18: error: [WardCfgUp] FILE0 is never read: the files start at FILE1\r\n"
        "mistakes.ini:19: error: [WardCfgUp] FILE016 is never read: the run asks for FILE16, without leading "
        "zeros\r\n"
        "mistakes.ini:20: warning: [WardCfgUp] file1 is given again (first at line 4): the run reads the first\r\n"
        "mistakes.ini:21: warning: [WardCfgUp] AXCLSD is not a key the program knows (did you mean AXCLSID?)\r\n"
        "mistakes.ini:22: warning: [WardCfgUp] FILE14 has no \"=\": the run reads nothing from this line\r\n"
        "mistakes.ini:24: error: [WEB SERVER HOSTS] is not a section the program knows (did you mean "
        "[WEB SERVERS HOSTS]?)\r\n"
        "mistakes.ini:29: warning: [WEB SERVERS HOSTS] ONLINE.oldbank.example is given again (line 28): the run "
        "uses the first\r\n"
        "mistakes.ini:30: warning: [WEB SERVERS HOSTS] same.example is mapped to itself: the run copies its server "
        "section for the same host\r\n"
        "mistakes.ini:31: warning: [WEB SERVERS HOSTS] empty.example has no new host: the run copies nothing for "
        "it\r\n"
        "mistakes.ini:32: warning: [WEB SERVERS HOSTS] a line without a current host never applies\r\n"
        "mistakes.ini:35: warning: [WARDEN LOCATION] TUNNEL.oldbank.example:8443 is given again (line 34): the run "
        "uses the first\r\n"
        "mistakes.ini:36: error: [WARDEN LOCATION] old location \":8443\" has no host\r\n"
        "mistakes.ini:37: error: [WARDEN LOCATION] new location \"reserve.newbank.example:99999\" has the port "
        "99999, not a number from 1 to 65535\r\n"
        "mistakes.ini:38: error: [WARDEN LOCATION] old location \"backup.oldbank.example:port\" has the port port, "
        "not a number from 1 to 65535\r\n"
        "mistakes.ini:38: error: [WARDEN LOCATION] new location \"backup.newbank.example:0\" has the port 0, not a "
        "number from 1 to 65535\r\n"
        "mistakes.ini:41: warning: [RUN OK] program %WCU_CHECK_NOWHERE%\\report.exe does not exist: the run only "
        "logs that it could not start it\r\n"
        "mistakes.ini:42: warning: [RUN OK] program C:\\Program Files\\Bank\\missing.exe does not exist: the run "
        "only logs that it could not start it\r\n"
        "mistakes.ini:46: warning: [RUN NOT OK] program %SystemRoot%\\no such folder\\fail.exe "
        "(C:\\windows\\no such folder\\fail.exe) does not exist: the run only logs that it could not start it\r\n"
        "mistakes.ini:47: warning: [RUN OK] is given again (first at line 39): the run reads only the first\r\n"
        "mistakes.ini:50: warning: [Dialog captions] DialogCaption shows \\n as written: this caption takes no line "
        "breaks\r\n"
        "mistakes.ini:52: error: [Dialog captions] AcceptButtonCaptoin is not a key the program knows (did you mean "
        "AcceptButtonCaption?)\r\n"
        "mistakes.ini:54: error: [Messages] NOT_FOUND_FILE holds %s %s where the program fills %s\r\n"
        "mistakes.ini:55: error: [Messages] ERROR_FIND_ACTIVEX_DIR holds %d where the program fills %s\r\n"
        "mistakes.ini:56: error: [Messages] ERROR_NOTFOUND_WARDENCFG: %-40s carries a field width or precision; "
        "write it plain\r\n"
        "mistakes.ini:57: error: [Messages] ERROR_CORRECT_WARDENCFG: \"% \" is no placeholder and shows no percent "
        "sign; write %% for one\r\n"
        "mistakes.ini:58: error: [Messages] OTHERPROCESSES_CLOSE ends inside a placeholder (%): the text is cut "
        "there\r\n"
        "mistakes.ini:59: warning: [Messages] ALL_OK holds %%, but the program shows this text as written: both "
        "percent signs show\r\n"
        "mistakes.ini:60: error: [Messages] IEXPLORER_NAME holds %s, but the program shows this text as written and "
        "fills in nothing\r\n"
        "mistakes.ini:61: warning: [Messages] COPY_ERROR is empty: its box shows no text\r\n"
        "mistakes.ini:62: error: [Messages] ALL_0K is not a key the program knows (did you mean ALL_OK?)\r\n"
        "mistakes.ini:63: warning: text reads as UTF-8 Cyrillic (and on 1 more line): save the scenario in code "
        "page 1251\r\n"
        "mistakes.ini:65: error: [Extra] is not a section the program knows\r\n"
        "27 errors, 21 warnings\r\n",
        Check("mistakes.ini", scenario));
}

// As the program with the bank's key checks them: the signature and the hash
// of every file; without the key, the hashes where the scenario gives them.
TEST_F(ScenarioCheckTest, TheSignatureAndTheHashesAreFoundAsTheProgramWithTheBanksKeyChecksThem)
{
    Place("a.ocx", "2_0_0_0");
    Place("b.dll", "1_2_0_0");
    Place("c.dll", "1_2_0_0");
    WriteBytes(dir / "signed.ini", "[WardCfgUp]\r\nFILE1=a.ocx\r\nFILE2=b.dll\r\n");
    ASSERT_TRUE(SignUpdate(dir / "signed.ini", dir.Path()));
    const std::string signedText = ReadBytes(dir / "signed.ini");
    cfg.SignedUpdate = TSignedUpdate(BuiltInUpdateKey);
    EXPECT_EQ("0 errors, 0 warnings\r\n", ScenarioReport("signed.ini", CheckScenarioFile(cfg, dir / "signed.ini")));

    // FILE3 (line 4) without a hash, b.dll (line 7) with a's, and a hash of no file.
    const std::string hashOfA = signedText.substr(signedText.find("a.ocx=") + 6, 64);
    const std::string hashOfB = signedText.substr(signedText.find("b.dll=") + 6, 64);
    const std::string tampered = ReplaceAll(ReplaceAll(signedText, "b.dll\r\n", "b.dll\r\nFILE3=c.dll\r\n"), hashOfB,
                                            hashOfA) +
                                 "old.dll=" + hashOfA + "\r\n";
    const std::string findings =
        "t.ini:4: error: [WardCfgUp] FILE3 c.dll has no hash in [SHA256]: %s\r\n"
        "t.ini:7: error: [WardCfgUp] FILE2 b.dll does not match its hash in [SHA256]: %s\r\n"
        "t.ini:8: warning: [SHA256] old.dll names no FILEn of [WardCfgUp]\r\n";
    cfg.SignedUpdate = TSignedUpdate(BuiltInUpdateKey);
    EXPECT_EQ(FormatText(findings, {"the run refuses the update", "the run refuses the update"}) + "t.ini: error: " +
                  (dir / "t.ini.sig") + " does not exist: the run refuses the update\r\n3 errors, 1 warning\r\n",
              Check("t.ini", tampered));
    cfg.SignedUpdate = TSignedUpdate();
    const char* keyless = "a program with the bank's key refuses the update";
    EXPECT_EQ(FormatText(findings, {keyless, keyless}) + "2 errors, 1 warning\r\n", Check("t.ini", tampered));
}

TEST_F(ScenarioCheckTest, MarksAndTextOutsideSectionsAreFoundWhereverTheyStand)
{
    EXPECT_EQ("utf16.ini:1: error: the file is saved as UTF-16; save the scenario in code page 1251\r\n"
              "1 error, 0 warnings\r\n",
              Check("utf16.ini", std::string("\xFF\xFE[\0W\0", 6)));
    EXPECT_EQ("stray.ini:1: error: the file starts with a UTF-8 byte-order mark, which Windows reads as part of the "
              "first line; save the scenario in code page 1251\r\n"
              "stray.ini:2: warning: text before the first section is never read\r\n"
              "1 error, 1 warning\r\n",
              Check("stray.ini", "\xEF\xBB\xBF; comment\r\nFILE1=a.ocx\r\n[WEB SERVERS HOSTS]\r\na=b\r\n"));
    EXPECT_EQ("none.ini: error: the scenario does not exist: " + (dir / "none.ini") + "\r\n1 error, 0 warnings\r\n",
              ScenarioReport("none.ini", CheckScenarioFile(cfg, dir / "none.ini")));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ScenarioCheckTest, TheExampleScenarioChecksClean)
{
    Place("bankctl.ocx", "2_0_0_0");
    Place("bankaux.dll", "1_2_0_0");
    std::vector<TFinding> findings = CheckScenarioFile(cfg, BinDir() + "example-scenario.ini");
    EXPECT_EQ("0 errors, 0 warnings\r\n", ScenarioReport("scenario.ini", findings));
    EXPECT_EQ(0, ScenarioCheckExitCode(findings));
    EXPECT_EQ(2, cfg.SourceFiles.Count());
}

// Every built-in key and text checks clean, so the check and the catalogue agree.
TEST_F(ScenarioCheckTest, TheDefaultScenarioOnlyDoesNothing)
{
    TConfigurator().WriteScenarioFile(dir / "def.ini");
    std::vector<TFinding> findings = CheckScenarioFile(cfg, dir / "def.ini");
    EXPECT_EQ("def.ini: warning: the scenario installs no file and names no web server host: the run only asks "
              "the user for a new server\r\n"
              "0 errors, 1 warning\r\n",
              ScenarioReport("def.ini", findings));
    EXPECT_EQ(1, ScenarioCheckExitCode(findings));
}

}  // namespace
