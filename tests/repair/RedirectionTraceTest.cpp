#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "repair/RedirectionTrace.h"
#include "support/TestFiles.h"

namespace {

// Lines as Wine 8 writes them.
const char kOff[] = "0104:Call KERNEL32.Wow64DisableWow64FsRedirection(0061fd0c) ret=0041254b\n"
                    "0104:Ret  KERNEL32.Wow64DisableWow64FsRedirection() retval=00000001 ret=0041254b\n";
const char kOffFailed[] =
    "0104:Call KERNEL32.Wow64DisableWow64FsRedirection(0061fd0c) ret=0041254b\n"
    "0104:Ret  KERNEL32.Wow64DisableWow64FsRedirection() retval=00000000 ret=0041254b\n";
const char kStart[] = "0104:Call KERNEL32.CreateProcessW(00412000,0061f000,00000000) ret=00412100\n"
                      "0104:Ret  KERNEL32.CreateProcessW() retval=00000001 ret=00412100\n";
const char kBack[] = "0104:Call KERNEL32.Wow64RevertWow64FsRedirection(00000000) ret=00412e1a\n"
                     "0104:Ret  KERNEL32.Wow64RevertWow64FsRedirection() retval=00000001 ret=00412e1a\n";
const char kLoad[] =
    "0104:trace:loaddll:build_module Loaded L\"C:\\\\windows\\\\system32\\\\userenv.dll\" at "
    "61C40000: builtin\n";
const char kEntry[] = "0104:Call PE DLL (proc=61C44110,module=61C40000 L\"userenv.dll\",reason="
                      "PROCESS_ATTACH,res=00000000)\n";
const char kOtherThreadLoad[] =
    "0108:trace:loaddll:build_module Loaded L\"C:\\\\windows\\\\system32\\\\gdiplus.dll\" at "
    "62000000: builtin\n";
const char kOtherCall[] = "0104:Call KERNEL32.GetTickCount64() ret=00412200\n";

TEST(RedirectionTrace, OnlyTheStartOfAChildWhileOff)
{
    struct Case {
        const char* what;
        std::string trace;
        size_t switchesOff;
        size_t starts;
        size_t faults;
    };
    const std::string s = "";
    const Case cases[] = {
        {"nothing switched", s + kLoad + kStart, 0, 0, 0},
        {"a start alone while off", s + kOff + kStart + kBack + kLoad, 1, 1, 0},
        {"a load while off", s + kOff + kLoad + kEntry + kStart + kBack, 1, 1, 2},
        {"a load after the start, before the switch-back", s + kOff + kStart + kLoad + kBack, 1, 1, 1},
        {"a load on another thread", s + kOff + kOtherThreadLoad + kStart + kBack, 1, 1, 0},
        {"another call while off", s + kOff + kStart + kOtherCall + kBack, 1, 1, 1},
        {"never switched back", s + kOff + kStart, 1, 1, 1},
        {"a failed switch-off is no switch", s + kOffFailed + kLoad + kStart, 0, 0, 0},
        {"two runs, lines ending in CR LF", "0104:x\r\n" + s + kOff + kStart + kBack + kOff + kStart + kBack, 2, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRedirectionTraceVerdict verdict = JudgeRedirectionTrace(c.trace);
        EXPECT_EQ(c.switchesOff, verdict.switchesOff);
        EXPECT_EQ(c.starts, verdict.startsWhileOff);
        EXPECT_EQ(c.faults, verdict.faults.size());
    }
    // The fault names the line.
    EXPECT_EQ(std::vector<std::string>{std::string(kLoad, sizeof(kLoad) - 2)},
              JudgeRedirectionTrace(s + kOff + kLoad + kBack).faults);
}

// Run by tests/repair/redirection-trace on the trace of one repair through the engine, a
// listing and a removal (RepairEngineTest.OnlyKB4516068IsRemoved), named by the variable.
TEST(TracedRepair, NoLibraryLoadsWhileTheRedirectionIsOff)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"CORVINA_REDIRECTION_TRACE", path, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH) << "no trace named";
    CRedirectionTraceVerdict verdict = JudgeRedirectionTrace(ReadFileBytes(path));
    // One switch for each child: the interpreter of the listing and that of the removal.
    EXPECT_EQ(2u, verdict.switchesOff);
    EXPECT_EQ(2u, verdict.startsWhileOff);
    for (const std::string& fault : verdict.faults)
        ADD_FAILURE() << "while the redirection was off: " << fault;
}

}  // namespace
