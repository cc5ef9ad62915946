#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/LogSave.h"
#include "repair/CommandRunner.h"
#include "repair/RepairEngine.h"
#include "repair/RepairMessages.h"
#include "repair/ToolSetup.h"

namespace {

const char kListing[] = "powershell -command \"get-hotfix\"";
// "键盘无法使用修复失败" in code page 936.
const char kRepairFailedText[] =
    "\xBC\xFC\xC5\xCC\xCE\xDE\xB7\xA8\xCA\xB9\xD3\xC3\xD0\xDE\xB8\xB4\xCA\xA7\xB0\xDC";

std::wstring LogFilePath()
{
    return GetLogSave().GetLogDir() + L"Tovrane.txt";
}

size_t CountOf(const std::string& text, const std::string& piece)
{
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

size_t RepairFailedEntries()
{
    return CountOf(ReadFileBytes(LogFilePath()), std::string("   ") + kRepairFailedText + "\r\n");
}

// A message-only window that records what the engine sends it.
class CRecorder {
public:
    struct Message {
        UINT id;
        WPARAM wParam;
        size_t logEntries;  // failure entries in the log when the message arrived
    };

    CRecorder()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CorvinaRepairRecorder";
        RegisterClassW(&wc);
        m_hWnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CRecorder() { DestroyWindow(m_hWnd); }

    HWND Window() const { return m_hWnd; }
    const std::vector<Message>& Messages() const { return m_messages; }
    void Clear() { m_messages.clear(); }

    // Pumps until the thread ends; false on a time-out.
    bool PumpUntilEnded(HANDLE thread, DWORD timeoutMs = 120000)
    {
        DWORD start = GetTickCount();
        for (;;) {
            DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, 200, QS_ALLINPUT);
            if (wait == WAIT_OBJECT_0)
                return true;
            Pump();
            if (GetTickCount() - start > timeoutMs)
                return false;
        }
    }

    // Pumps until a result has arrived; false on a time-out.
    bool PumpUntilResult(DWORD timeoutMs = 120000)
    {
        DWORD start = GetTickCount();
        while (!HasResult()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
            Pump();
            if (GetTickCount() - start > timeoutMs)
                return false;
        }
        return true;
    }

private:
    bool HasResult() const
    {
        for (const Message& m : m_messages)
            if (m.id == WM_REPAIR_RESULT)
                return true;
        return false;
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }

    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<CRecorder*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (self && (msg == WM_CLOSE_PROGRESS || msg == WM_REPAIR_RESULT)) {
            EXPECT_EQ(0, lParam);
            if (msg == WM_CLOSE_PROGRESS) {
                EXPECT_EQ(0u, wParam);
            }
            self->m_messages.push_back({msg, wParam, RepairFailedEntries()});
            return 0;
        }
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
    std::vector<Message> m_messages;
};

class RepairEngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_engine.SetNotifyWindow(m_recorder.Window())); }

    // One run on a thread of ours through the engine's own entry, so its end can be seen.
    void RunOnce()
    {
        m_recorder.Clear();
        HANDLE thread =
            CreateThread(nullptr, 0, CRepairEngine::RepairThreadProc, &m_engine, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        ASSERT_TRUE(m_recorder.PumpUntilEnded(thread));
        DWORD code = 0;
        GetExitCodeThread(thread, &code);
        CloseHandle(thread);
        EXPECT_EQ(1u, code);
    }

    // Exactly the closing message, then exactly one result.
    void ExpectReported(WPARAM result)
    {
        const auto& messages = m_recorder.Messages();
        ASSERT_EQ(2u, messages.size());
        EXPECT_EQ(static_cast<UINT>(WM_CLOSE_PROGRESS), messages[0].id);
        EXPECT_EQ(static_cast<UINT>(WM_REPAIR_RESULT), messages[1].id);
        EXPECT_EQ(result, messages[1].wParam);
    }

    std::vector<std::string> CommandLinesOf(const wchar_t* program) const
    {
        std::vector<std::string> lines;
        for (const auto& call : m_tools.Journal()) {
            EXPECT_EQ(StandinsFolder(), call.program.substr(0, call.program.rfind(L'\\') + 1));
            if (call.program.substr(call.program.rfind(L'\\') + 1) == program)
                lines.push_back(call.commandLine);
        }
        return lines;
    }

    CToolSetup m_tools;
    CRecorder m_recorder;
    CRepairEngine m_engine;
};

TEST_F(RepairEngineTest, NotifyWindowMustBeAWindow)
{
    CRepairEngine engine;
    EXPECT_FALSE(engine.SetNotifyWindow(nullptr));
    EXPECT_TRUE(engine.SetNotifyWindow(m_recorder.Window()));
}

TEST_F(RepairEngineTest, OnlyKB4516068IsRemoved)
{
    m_tools.WriteFixture("update KB4516068 Security Update\r\nupdate KB4000001\r\n");
    RunOnce();
    ExpectReported(REPAIR_SUCCEEDED);
    EXPECT_EQ(std::vector<std::string>{kListing}, CommandLinesOf(L"powershell.exe"));
    EXPECT_EQ(std::vector<std::string>{"wusa /uninstall /kb:4516068"}, CommandLinesOf(L"wusa.exe"));
    EXPECT_EQ("update KB4000001\r\n", m_tools.ReadFixture());
}

TEST_F(RepairEngineTest, TwoKnownUpdatesOnlyTheFirstInOrderGoes)
{
    m_tools.WriteFixture("update KB4516066\r\nupdate KB4512578\r\n");
    RunOnce();
    ExpectReported(REPAIR_SUCCEEDED);
    EXPECT_EQ(std::vector<std::string>{"wusa /uninstall /kb:4512578"}, CommandLinesOf(L"wusa.exe"));
    EXPECT_EQ("update KB4516066\r\n", m_tools.ReadFixture());
}

TEST_F(RepairEngineTest, SearchOrderIsFixedNotTheListingOrder)
{
    m_tools.WriteFixture("update KB4516068\r\nupdate KB4516066\r\nupdate KB4516058\r\n"
                         "update KB4512578\r\nupdate KB4515384\r\n");
    const char* expected[] = {"4515384", "4512578", "4516058", "4516066", "4516068"};
    for (const char* number : expected) {
        RunOnce();
        ExpectReported(REPAIR_SUCCEEDED);
        EXPECT_EQ("wusa /uninstall /kb:" + std::string(number), CommandLinesOf(L"wusa.exe").back());
    }
    RunOnce();
    ExpectReported(REPAIR_NOT_APPLICABLE);
    EXPECT_EQ(5u, CommandLinesOf(L"wusa.exe").size());
}

TEST(FindKnownUpdate, AnIdCountsOnlyWhenNoDigitFollows)
{
    const std::pair<const char*, int> cases[] = {
        {"KB4515384", 0}, {"KB45153840", -1}, {"x KB4515384\r\n", 0}, {"KB45153840 KB4516068", 4},
        {"KB45153849 KB4515384", 0}, {"KB4512578a", 1}, {"kb4515384", -1}, {"", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.second, FindKnownUpdate(c.first)) << c.first;
}

TEST_F(RepairEngineTest, OnlyWholeIdsInTheFirstFourMiBOfAListingCount)
{
    // A flood's rows come first; the fixture's update is the listing's last row.
    const std::pair<const char*, WPARAM> cases[] = {
        {"update KB45153840\r\n", REPAIR_NOT_APPLICABLE},
        {"powershell flood\r\nflood-bytes 4000000\r\nupdate KB4516058\r\n", REPAIR_SUCCEEDED},
        {"powershell flood\r\nflood-bytes 20000000\r\nupdate KB4516058\r\n", REPAIR_NOT_APPLICABLE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        m_tools.WriteFixture(c.first);
        RunOnce();
        ExpectReported(c.second);
    }
}

TEST_F(RepairEngineTest, LowerCaseIdIsNotFound)
{
    m_tools.WriteFixture("update kb4515384\r\n");
    RunOnce();
    ExpectReported(REPAIR_NOT_APPLICABLE);
    EXPECT_EQ(std::vector<std::string>{kListing}, CommandLinesOf(L"powershell.exe"));
    EXPECT_TRUE(CommandLinesOf(L"wusa.exe").empty());
}

TEST_F(RepairEngineTest, EmptyListingIsNotApplicable)
{
    m_tools.WriteFixture("powershell nothing\r\nupdate KB4515384\r\n");
    RunOnce();
    ExpectReported(REPAIR_NOT_APPLICABLE);
    EXPECT_TRUE(CommandLinesOf(L"wusa.exe").empty());
}

TEST_F(RepairEngineTest, FailingListingIsNotApplicable)
{
    m_tools.WriteFixture("powershell fail\r\nupdate KB4515384\r\n");
    RunOnce();
    ExpectReported(REPAIR_NOT_APPLICABLE);
    EXPECT_TRUE(CommandLinesOf(L"wusa.exe").empty());
}

TEST_F(RepairEngineTest, ListingInUtf16LosesTheIds)
{
    m_tools.WriteFixture("powershell zeros\r\nupdate KB4515384\r\n");
    RunOnce();
    ExpectReported(REPAIR_NOT_APPLICABLE);
}

TEST_F(RepairEngineTest, LongListingIsSearchedToItsEnd)
{
    m_tools.WriteFixture("powershell flood\r\nflood-bytes 120000\r\nupdate KB4516058\r\n");
    RunOnce();
    ExpectReported(REPAIR_SUCCEEDED);
    EXPECT_EQ(std::vector<std::string>{"wusa /uninstall /kb:4516058"}, CommandLinesOf(L"wusa.exe"));
}

bool ListingThatCannotStart(std::wstring, std::string& output)
{
    // Too long for the command interpreter's line: the real runner refuses to start it.
    return RunCommandCapture(std::wstring(2 * kMaxCommandLine, L'x'), output);
}

TEST_F(RepairEngineTest, ListingThatCannotStartFailsOnceThenLogs)
{
    m_tools.WriteFixture("update KB4515384\r\n");
    m_engine.SetListingRunner(ListingThatCannotStart);
    size_t before = RepairFailedEntries();
    RunOnce();
    ExpectReported(REPAIR_FAILED);
    // The entry is written after the result was handled.
    EXPECT_EQ(before, m_recorder.Messages()[1].logEntries);
    EXPECT_EQ(before + 1, RepairFailedEntries());
    EXPECT_TRUE(m_tools.Journal().empty());
}

TEST_F(RepairEngineTest, RemovalExitCodesDecideTheResult)
{
    struct Case {
        unsigned long exitCode;
        WPARAM result;
    };
    const Case cases[] = {{0, REPAIR_SUCCEEDED},    {3010, REPAIR_SUCCEEDED},
                          {1641, REPAIR_SUCCEEDED}, {2359303, REPAIR_SUCCEEDED},
                          {1223, REPAIR_FAILED},    {87, REPAIR_FAILED},
                          {1, REPAIR_FAILED},       {2359302, REPAIR_FAILED}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exitCode);
        m_tools.WriteFixture("wusa-exit " + std::to_string(c.exitCode) + "\r\nupdate KB4516066\r\n");
        size_t before = RepairFailedEntries();
        RunOnce();
        ExpectReported(c.result);
        EXPECT_EQ(before + (c.result == REPAIR_FAILED ? 1 : 0), RepairFailedEntries());
        EXPECT_EQ("wusa /uninstall /kb:4516066", CommandLinesOf(L"wusa.exe").back());
    }
}

TEST_F(RepairEngineTest, ThreeRunsRemoveTwoUpdatesOneByOne)
{
    m_tools.WriteFixture("update KB4516058\r\nupdate KB1234567\r\nupdate KB4515384\r\n");
    const WPARAM expected[] = {REPAIR_SUCCEEDED, REPAIR_SUCCEEDED, REPAIR_NOT_APPLICABLE};
    for (WPARAM result : expected) {
        m_recorder.Clear();
        ASSERT_TRUE(m_engine.StartRepair());
        ASSERT_TRUE(m_recorder.PumpUntilResult());
        ExpectReported(result);
    }
    EXPECT_EQ((std::vector<std::string>{kListing, kListing, kListing}),
              CommandLinesOf(L"powershell.exe"));
    EXPECT_EQ((std::vector<std::string>{"wusa /uninstall /kb:4515384", "wusa /uninstall /kb:4516058"}),
              CommandLinesOf(L"wusa.exe"));
    EXPECT_EQ("update KB1234567\r\n", m_tools.ReadFixture());
}

// Tools planted where a careless start would find them: beside this program and in the
// current folder. Each plant is a copy of the journalling stand-in, so a start shows.
class PlantedToolsTest : public RepairEngineTest {
protected:
    void SetUp() override
    {
        RepairEngineTest::SetUp();
        wchar_t program[MAX_PATH];
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        m_programFolder = program;
        m_programFolder.erase(m_programFolder.rfind(L'\\') + 1);
        m_currentFolder = MakeTempFolder(L"corvina-current-");
        GetCurrentDirectoryW(MAX_PATH, program);
        m_oldCurrent = program;
        SetCurrentDirectoryW(m_currentFolder.c_str());

        std::wstring wusa = StandinsFolder() + L"wusa.exe";
        for (const wchar_t* name : {L"cmd.exe", L"wusa.exe", L"powershell.exe"}) {
            Plant(wusa, m_programFolder + name);
            Plant(wusa, m_currentFolder + name);
        }
    }

    void TearDown() override
    {
        SetCurrentDirectoryW(m_oldCurrent.c_str());
        for (const std::wstring& path : m_planted)
            DeleteFileW(path.c_str());
        RemoveFolder(m_currentFolder);
    }

    void Plant(const std::wstring& from, const std::wstring& to)
    {
        ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE));
        m_planted.push_back(to);
    }

    bool AnyPlantRan() const
    {
        for (const auto& call : m_tools.Journal())
            if (call.program.substr(0, call.program.rfind(L'\\') + 1) != StandinsFolder())
                return true;
        return false;
    }

    std::wstring m_programFolder;
    std::wstring m_currentFolder;
    std::wstring m_oldCurrent;
    std::vector<std::wstring> m_planted;
};

TEST_F(PlantedToolsTest, PlantsWouldRunIfStartedTheCarelessWay)
{
    // Without an application name and in the program's current folder, a plant runs.
    std::wstring commandLine = L"cmd /C wusa /uninstall /kb:4516068";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_TRUE(AnyPlantRan());
}

TEST_F(PlantedToolsTest, RepairRunsOnlyTheToolsOnThePath)
{
    m_tools.WriteFixture("update KB4516068\r\n");
    RunOnce();
    ExpectReported(REPAIR_SUCCEEDED);
    EXPECT_FALSE(AnyPlantRan());
    EXPECT_EQ(std::vector<std::string>{kListing}, CommandLinesOf(L"powershell.exe"));
    EXPECT_EQ(std::vector<std::string>{"wusa /uninstall /kb:4516068"}, CommandLinesOf(L"wusa.exe"));
}

}  // namespace
