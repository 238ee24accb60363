// The run-time binding of system DLLs: what a call gives where the DLL or the
// entry point is missing. That a planted DLL is never loaded is checked with
// real programs (VersionInfo_test, the process search's probe).
#include "platform/SystemLibrary.h"

#include <gtest/gtest.h>

namespace {

using platform::SystemDll;
using platform::SystemFunction;

TEST(SystemLibrary, SystemDirectoryEndsInItsOneBackslash)
{
    char expected[MAX_PATH] = "";
    ASSERT_GT(::GetSystemDirectoryA(expected, sizeof expected), 0u);
    EXPECT_EQ(std::string(expected) + "\\", platform::SystemDirectory());
}

TEST(SystemLibrary, CallsTheEntryPointAndAnswersZeroWhereTheDllOrTheEntryIsMissing)
{
    SystemDll kernel("kernel32.dll");
    SystemFunction<DWORD(WINAPI*)()> processId(kernel, "GetCurrentProcessId");
    SystemFunction<DWORD(WINAPI*)()> missingEntry(kernel, "NoSuchEntryPoint");
    EXPECT_EQ(::GetCurrentProcessId(), processId());
    EXPECT_EQ(0u, missingEntry());

    SystemDll missing("no-such-library.dll");
    SystemFunction<DWORD(WINAPI*)()> fromMissing(missing, "GetCurrentProcessId");
    EXPECT_EQ(0u, fromMissing());
    EXPECT_EQ(nullptr, missing.Module());
}

}  // namespace
