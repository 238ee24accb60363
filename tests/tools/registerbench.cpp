// registerbench: what one RegisterOCX of a test control costs, against the run
// time of regsvr32 itself.
//   registerbench [RUNS]   (default 5)
// Prints one line per run and the means, in milliseconds.
#include "CfgUnit/Configurator.h"
#include "platform/Owner.h"
#include "support/TestControl.h"
#include "support/TestFiles.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// regsvr32 alone: started and waited for on its process object, no polling.
double RegsvrAlone(const std::string& commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    Clock::time_point start = Clock::now();
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    platform::UniqueHandle process(info.hProcess);
    platform::UniqueHandle thread(info.hThread);
    DWORD waited = ::WaitForSingleObject(process.get(), 60000);
    double elapsed = MillisecondsSince(start);
    return waited == WAIT_OBJECT_0 ? elapsed : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    TempDir dir;
    ScratchClsid clsid;
    std::string control = InstallTestControl("1_0_0_0", dir.Path(), "bench.ocx", clsid);
    TConfigurator configurator;
    std::string commandLine = configurator.SystemDir + "regsvr32.exe \"" + control + "\" /s";

    double registerTotal = 0, regsvrTotal = 0;
    for (int run = 1; run <= runs; ++run) {
        Clock::time_point start = Clock::now();
        bool registered = configurator.RegisterOCX(control);
        double registerMs = MillisecondsSince(start);
        double regsvrMs = RegsvrAlone(commandLine);
        if (!registered || regsvrMs < 0) {
            std::printf("run %d: registration could not be started\n", run);
            return 1;
        }
        std::printf("run %d: RegisterOCX %.0f ms, regsvr32 alone %.0f ms\n", run, registerMs, regsvrMs);
        registerTotal += registerMs;
        regsvrTotal += regsvrMs;
    }
    configurator.UnRegisterOCX(control);
    std::printf("mean of %d runs: RegisterOCX %.0f ms, regsvr32 alone %.0f ms, waiting on the query rhythm %.0f ms\n",
                runs, registerTotal / runs, regsvrTotal / runs, (registerTotal - regsvrTotal) / runs);
    return 0;
}
