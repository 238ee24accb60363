// The program built with the bank's key (the build tree's throwaway "bank"
// key): an update signed with scripts/sign-update.sh runs as every update ran
// before, and one that is not as the bank signed it is refused, changing nothing.
#include "CfgUnit/Messages.h"
#include "common/Text.h"

#include "support/LogLines.h"
#include "support/StandIns.h"
#include "support/UpdateFixture.h"
#include "support/WineSettings.h"

#include <gtest/gtest.h>

#include <functional>

class SignedUpdateTest : public UpdateFixture {
protected:
    SignedUpdateTest() : UpdateFixture("WardCfgUpTestKey.exe") {}

    const std::string scenario = install.ProgramDir() + "scen.ini";
    const std::string signature = scenario + ".sig";
    const std::string done = "Обновление ДБО завершено";  // code page 1251 in the scenario, kept by the signing
    std::string unsignedScenario;

    void SignedDownload()
    {
        TwoNewerFiles("[Messages]\r\nALL_OK=" + done + "\r\n");
        unsignedScenario = ReadBytes(scenario);
        ASSERT_TRUE(SignUpdate(scenario, work));
    }

    // One box, one log line that names the reason, no change of any file or registration.
    void ExpectRefused(const std::string& reason)
    {
        const Snapshot before = State();
        ProgramRunResult run = install.Run("-c=scen.ini -l=..\\run.log", {Answer::Ok});
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        ASSERT_EQ(1u, run.boxes.size()) << Describe(run.boxes);
        EXPECT_EQ("Error", run.boxes[0].caption);
        EXPECT_EQ(Utf8FromAnsi(UpdateRefusedText), run.boxes[0].text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, run.boxes[0].buttons);
        const std::vector<std::string> log = LogEntries(install.Root() + "run.log");
        ASSERT_EQ(1u, log.size());
        EXPECT_TRUE(Contains(log[0], reason)) << log[0];
        EXPECT_EQ("", SnapshotDifference(before, State()));
    }

    // Whether another program could write, rename or delete the file now.
    static bool Changeable(const std::string& path)
    {
        platform::FileHandle writer(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return writer || ::MoveFileA(path.c_str(), (path + ".moved").c_str()) || ::DeleteFileA(path.c_str());
    }
};

TEST_F(SignedUpdateTest, AnUpdateThatIsNotAsTheBankSignedItIsRefusedAndChangesNothing)
{
    SignedDownload();
    const std::string signedScenario = ReadBytes(scenario);
    const std::string signedBytes = ReadBytes(signature);
    const std::string source = ReadBytes(work + "b.dll");
    auto flipped = [](std::string bytes, std::size_t at) {
        bytes[at] ^= 1;
        return bytes;
    };
    const struct {
        const char* fault;
        std::function<void()> make;
        const char* reason;  // in the log line
    } faults[] = {
        {"a byte of the scenario", [&] { WriteBytes(scenario, ReplaceAll(signedScenario, NewHost, "new.bank.examplf")); },
         "scen.ini.sig is no signature of the scenario by the built-in key"},
        {"a byte of a source", [&] { WriteBytes(work + "b.dll", flipped(source, source.size() / 2)); },
         "b.dll does not match its hash in [SHA256]"},
        {"a byte of the signature", [&] { WriteBytes(signature, flipped(signedBytes, 7)); },
         "scen.ini.sig is no signature of the scenario by the built-in key"},
        {"no signature", [&] { ::DeleteFileA(signature.c_str()); }, "scen.ini.sig does not exist"},
        {"signed with another key", [&] { EXPECT_TRUE(SignUpdate(scenario, work, "other")); },
         "scen.ini.sig is no signature of the scenario by the built-in key"},
        {"signed without the hashes",
         [&] {
             WriteBytes(scenario, unsignedScenario);
             EXPECT_TRUE(SignUpdate(scenario, work, "bank", false));
         },
         "a.ocx has no hash in [SHA256]"},
    };
    auto asSigned = [&] {
        WriteBytes(scenario, signedScenario);
        WriteBytes(signature, signedBytes);
        WriteBytes(work + "b.dll", source);
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.fault);
        asSigned();
        fault.make();
        ExpectRefused(fault.reason);
    }
    // Without rsaenh no provider of RSA with SHA-256, as on the 9x family: nothing is applied unchecked.
    asSigned();
    MissingDll noProvider("WardCfgUp.exe", "rsaenh");
    ExpectRefused("this system cannot verify the update");
}

// The run of an unsigned update before: the same boxes, files, registration and
// result program. While it asks to close the programs holding the files, no
// other program can change the scenario or a source.
TEST_F(SignedUpdateTest, AnUpdateAsTheBankSignedItRunsAsEverWithItsFilesHeldFromTheirCheck)
{
    SignedDownload();
    StandIn holder(BinDir() + "holder.exe", {client + "a.ocx"});
    std::vector<bool> changeable;
    ProgramRunResult run = install.Run("-c=scen.ini -l=run.log", {Answer::Ok, Answer::Ok}, [&](const BoxRecord& box) {
        if (box.caption == u8"Внимание")
            for (const std::string& file : {scenario, work + "a.ocx", work + "b.dll"})
                changeable.push_back(Changeable(file));
    });
    ASSERT_EQ(2u, run.boxes.size()) << Describe(run.boxes);
    EXPECT_EQ(std::vector<bool>(3, false), changeable);
    EXPECT_EQ(Utf8FromAnsi(done), run.boxes[1].text);
    EXPECT_EQ("ok", ResultProgramsStarted());
    EXPECT_TRUE(HoldsControl(client + "a.ocx", "2_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "a.bak", "1_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "b.dll", "2_0_0_0"));
    EXPECT_TRUE(HoldsControl(client + "b.bak", "1_2_0_0"));
    EXPECT_EQ(client + "a.ocx", RegisteredPath());
    EXPECT_FALSE(Exists(work + "a.ocx") || Exists(work + "b.dll"));  // the sources go once installed
    EXPECT_TRUE(Contains(Utf8FromAnsi(ReadBytes(work + "run.log")), "Update verified with the built-in key SHA-256 "));
}
