// The process searcher against real stand-in processes.
#include "PrsSrch/ProcessSearcher.h"

#include "common/FileNames.h"
#include "common/Text.h"
#include "support/BoxDriver.h"
#include "support/StandIns.h"
#include "support/TestFiles.h"
#include "support/WineSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using Ids = std::vector<DWORD>;

namespace {

std::vector<DWORD> SearchByName(TProcessSearcher& searcher, const std::string& name)
{
    searcher.ProcessName = name;
    searcher.SearchProcesses();
    return MarksOf(searcher.Processes);
}

std::vector<DWORD> SearchByModules(TProcessSearcher& searcher, const std::vector<std::string>& paths)
{
    searcher.ProcessName.clear();
    searcher.ShortPath = true;
    searcher.Modules.Clear();
    for (const std::string& path : paths)
        searcher.Modules.Add(searcher.NormalizeName(path));
    searcher.SearchProcesses();
    return MarksOf(searcher.Processes);
}

}  // namespace

TEST(ProcessSearcherNameMode, MatchesTheImageFileNameIgnoringAsciiCaseOnly)
{
    TempDir dir;
    StandIn upper(CopyFixture("wardlink.exe", dir.Path(), "WARDLINK.EXE"), {});
    StandIn backup(CopyFixture("wardlink.exe", dir.Path(), "wardlink.exe.bak"), {});
    StandIn cut(CopyFixture("wardlink.exe", dir.Path(), "wardlink.ex"), {});
    ASSERT_TRUE(upper.Started() && backup.Started() && cut.Started());

    TProcessSearcher searcher;
    searcher.FullPath = true;
    EXPECT_EQ(Ids{upper.Id()}, SearchByName(searcher, "wardlink.exe"));
    EXPECT_TRUE(EqualFoldingAscii(dir / "WARDLINK.EXE", searcher.Processes[0])) << searcher.Processes[0];
}

TEST(ProcessSearcherNameMode, StoresTheSystemSpellingOfTheNameOrOfItsFileNamePart)
{
    TempDir dir;
    StandIn client(CopyFixture("wardlink.exe", dir.Path(), "WardLink.exe"), {});
    ASSERT_TRUE(client.Started());

    TProcessSearcher searcher;
    searcher.FullPath = false;
    ASSERT_EQ(Ids{client.Id()}, SearchByName(searcher, "WARDLINK.EXE"));
    EXPECT_EQ("WardLink.exe", searcher.Processes[0]);

    searcher.FullPath = true;
    ASSERT_EQ(Ids{client.Id()}, SearchByName(searcher, "wardlink.exe"));
    EXPECT_EQ("WardLink.exe", FileNamePart(searcher.Processes[0]));
    EXPECT_TRUE(EqualFoldingAscii(DirectoryPart(searcher.Processes[0]), dir.Path())) << searcher.Processes[0];
}

TEST(ProcessSearcherModuleMode, FindsAHolderOnceAndNeverThroughItsOwnImage)
{
    TempDir dir;
    std::string one = CopyFixture("heldlib.dll", dir.Path(), "one.dll");
    std::string two = CopyFixture("heldlib.dll", dir.Path(), "two.dll");
    std::string idleImage = CopyFixture("holder.exe", dir.Path(), "idle.exe");
    StandIn keeper(CopyFixture("holder.exe", dir.Path(), "keeper.exe"), {one, two});
    StandIn idle(idleImage, {});
    ASSERT_TRUE(keeper.Started() && idle.Started());

    TProcessSearcher searcher;
    searcher.FullPath = true;
    EXPECT_EQ(Ids{keeper.Id()}, SearchByModules(searcher, {two, idleImage, one}));
    EXPECT_EQ(Ids{}, SearchByModules(searcher, {idleImage}));
}

// A process whose module list the system refuses (one created suspended has
// none yet) must not be taken for the holder enumerated before it. (Wine
// empties the name buffer when it refuses a name, so a search that reused
// its buffers would not show the fault here; this guards the skip itself.)
TEST(ProcessSearcherModuleMode, SkipsAProcessWhoseModulesAreRefused)
{
    TempDir dir;
    std::string one = CopyFixture("heldlib.dll", dir.Path(), "one.dll");
    StandIn keeper(CopyFixture("holder.exe", dir.Path(), "keeper.exe"), {one});
    StandIn suspended(CopyFixture("holder.exe", dir.Path(), "suspended.exe"), {one}, 120, true);
    ASSERT_TRUE(keeper.Started() && suspended.Started());

    TProcessSearcher searcher;
    searcher.FullPath = true;
    EXPECT_EQ(Ids{keeper.Id()}, SearchByModules(searcher, {one}));
    EXPECT_EQ(1, searcher.Processes.Count());
}

TEST(ProcessSearcherTerminate, EndsEveryListedProcessBeforeItReturns)
{
    TempDir dir;
    std::string image = CopyFixture("holder.exe", dir.Path(), "victim.exe");
    StandIn first(image, {});
    StandIn second(image, {});
    ASSERT_TRUE(first.Started() && second.Started());

    TProcessSearcher searcher;
    EXPECT_TRUE(searcher.TerminateProcesses());  // nothing listed
    searcher.Processes.AddMarked("victim.exe", first.Id());
    searcher.Processes.AddMarked("victim.exe", second.Id());
    EXPECT_TRUE(searcher.TerminateProcesses());
    DWORD exitCode = 1;
    EXPECT_TRUE(first.WaitForExit(0, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(second.WaitForExit(0, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

// Wine keeps an ended process open to OpenProcess and TerminateProcess, so a
// process that is gone is stood in for by an id that no process carries.
TEST(ProcessSearcherTerminate, StopsAtAProcessThatCannotBeOpened)
{
    TempDir dir;
    StandIn survivor(CopyFixture("holder.exe", dir.Path(), "survivor.exe"), {});
    ASSERT_TRUE(survivor.Started());
    const DWORD goneId = 0x7FFFFFF8;

    TProcessSearcher searcher;
    searcher.Processes.AddMarked("gone.exe", goneId);
    searcher.Processes.AddMarked("survivor.exe", survivor.Id());
    EXPECT_FALSE(searcher.TerminateProcesses());
    EXPECT_FALSE(survivor.WaitForExit(500));
}

TEST(ProcessSearcherQuitWardenClient, PostsQuitToTheFirstInstanceOnly)
{
    TempDir dir;
    TProcessSearcher searcher;
    searcher.FullPath = true;
    searcher.ShortPath = true;
    searcher.QuitWardenClient();  // none running: nothing to post to
    EXPECT_EQ(0, searcher.Processes.Count());

    std::string image = CopyFixture("wardlink.exe", dir.Path(), "wardlink.exe");
    StandIn first(image, {});
    StandIn second(image, {});
    ASSERT_TRUE(first.Started() && second.Started());
    searcher.QuitWardenClient();

    EXPECT_EQ("wardlink.exe", searcher.ProcessName);
    EXPECT_FALSE(searcher.FullPath);
    EXPECT_FALSE(searcher.ShortPath);
    Ids found = MarksOf(searcher.Processes);
    std::sort(found.begin(), found.end());
    ASSERT_EQ((Ids{std::min(first.Id(), second.Id()), std::max(first.Id(), second.Id())}), found);
    const StandIn& addressed = searcher.Processes.MarkAt(0) == first.Id() ? first : second;
    const StandIn& other = &addressed == &first ? second : first;
    DWORD exitCode = 1;
    EXPECT_TRUE(addressed.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);  // a quit, not its time limit
    EXPECT_FALSE(other.WaitForExit(500));
}

namespace {

// A search run by the probe in a process of its own.
struct ProbeResult {
    DWORD platform = 0;
    std::string psapi;
    std::vector<DWORD> ids;
    std::vector<std::string> names;
};

ProbeResult RunProbe(const std::string& probe, const std::string& arguments)
{
    TempDir out;
    ProgramRunResult run = RunAndDriveBoxes("\"" + probe + "\" \"" + out / "result.txt" + "\" " + arguments,
                                            "", {}, 30000);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    ProbeResult result;
    std::istringstream lines(ReadBytes(out / "result.txt"));
    for (std::string line; std::getline(lines, line);) {
        std::string key = line.substr(0, line.find(' '));
        std::string value = line.substr(key.size() + (key.size() < line.size() ? 1 : 0));
        if (key == "platform")
            result.platform = std::stoul(value);
        else if (key == "psapi")
            result.psapi = value;
        else if (key == "process") {
            result.ids.push_back(std::stoul(value));
            result.names.push_back(value.substr(value.find(' ') + 1));
        }
    }
    return result;
}

}  // namespace

TEST(ProcessSearcherSnapshot, SearchesByNameAndByModuleOnThe9xFamily)
{
    TempDir dir;
    Win98Program win98("probe9x.exe");
    std::string probe = CopyFixture("searchprobe.exe", dir.Path(), "probe9x.exe");
    std::string one = CopyFixture("heldlib.dll", dir.Path(), "one.dll");
    std::string two = CopyFixture("heldlib.dll", dir.Path(), "two.dll");
    StandIn client(CopyFixture("wardlink.exe", dir.Path(), "WardLink.exe"), {one, two});
    StandIn cut(CopyFixture("wardlink.exe", dir.Path(), "wardlink.ex"), {});
    ASSERT_TRUE(client.Started() && cut.Started());

    ProbeResult byName = RunProbe(probe, "name WARDLINK.EXE");
    EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_WINDOWS}, byName.platform);
    EXPECT_EQ(Ids{client.Id()}, byName.ids);
    ASSERT_EQ(1u, byName.names.size());
    EXPECT_EQ("WardLink.exe", FileNamePart(byName.names[0]));

    ProbeResult byModule = RunProbe(probe, "module \"" + one + "\" \"" + two + "\" \"" + dir / "wardlink.ex\"");
    EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_WINDOWS}, byModule.platform);
    EXPECT_EQ(Ids{client.Id()}, byModule.ids);
}

TEST(ProcessSearcherPsapi, NeverLoadsAPsapiDllPlantedBesideTheProgram)
{
    TempDir dir;
    std::string probe = CopyFixture("searchprobe.exe", dir.Path(), "searchprobe.exe");
    CopyFixture("heldlib.dll", dir.Path(), "PSAPI.dll");
    StandIn client(CopyFixture("wardlink.exe", dir.Path(), "wardlink.exe"), {});
    ASSERT_TRUE(client.Started());

    ProbeResult result = RunProbe(probe, "name wardlink.exe");
    EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_NT}, result.platform);
    EXPECT_EQ(Ids{client.Id()}, result.ids);
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, sizeof system);
    EXPECT_TRUE(EqualFoldingAscii(std::string(system) + "\\psapi.dll", result.psapi)) << result.psapi;
}
