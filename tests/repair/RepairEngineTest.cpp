#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "log/LogSave.h"
#include "repair/CommandRunner.h"
#include "repair/RepairEngine.h"
#include "repair/RepairMessages.h"
#include "repair/SystemFileAside.h"
#include "repair/ToolSetup.h"
#include "support/GuiInput.h"

namespace {

// What reaches the stand-ins: the tools by their full system paths, as the interpreter passes
// them on. The listing's module path is PowerShell's own folder only, and get-hotfix is named
// with its module, so no module of the user's can answer in its place.
const char kListingScript[] =
    "\"$env:PSModulePath = $PSHOME + '\\Modules'; Microsoft.PowerShell.Management\\get-hotfix\"";

std::string ListingLine()
{
    return "\"" + Utf8(SystemPowerShell()) + "\" -NoProfile -NonInteractive -command " + kListingScript;
}

std::string RemovalLine(const char* number)
{
    return "\"" + Utf8(SystemWusa()) + "\" /uninstall /kb:" + number;
}
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
    void RunOnce(DWORD timeoutMs = 120000)
    {
        m_recorder.Clear();
        HANDLE thread =
            CreateThread(nullptr, 0, CRepairEngine::RepairThreadProc, &m_engine, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        ASSERT_TRUE(m_recorder.PumpUntilEnded(thread, timeoutMs));
        DWORD code = 0;
        GetExitCodeThread(thread, &code);
        CloseHandle(thread);
        EXPECT_EQ(1u, code);
    }

    // Exactly the closing message, then exactly one result. The calls so far say which step
    // went otherwise.
    void ExpectReported(WPARAM result)
    {
        const auto& messages = m_recorder.Messages();
        ASSERT_EQ(2u, messages.size());
        EXPECT_EQ(static_cast<UINT>(WM_CLOSE_PROGRESS), messages[0].id);
        EXPECT_EQ(static_cast<UINT>(WM_REPAIR_RESULT), messages[1].id);
        EXPECT_EQ(result, messages[1].wParam) << "tool journal:\n" << JournalText();
    }

    std::string JournalText() const { return ReadFileBytes(m_tools.Folder() + L"journal.txt"); }

    // The command lines of the stand-in at that path; every call must come from a system path.
    std::vector<std::string> CommandLinesOf(const std::wstring& program) const
    {
        std::vector<std::string> lines;
        for (const auto& call : m_tools.Journal()) {
            EXPECT_TRUE(_wcsicmp(call.program.c_str(), SystemPowerShell().c_str()) == 0 ||
                        _wcsicmp(call.program.c_str(), SystemWusa().c_str()) == 0)
                << Utf8(call.program);
            if (_wcsicmp(call.program.c_str(), program.c_str()) == 0)
                lines.push_back(call.commandLine);
        }
        return lines;
    }
    std::vector<std::string> Listings() const { return CommandLinesOf(SystemPowerShell()); }
    std::vector<std::string> Removals() const { return CommandLinesOf(SystemWusa()); }

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
    EXPECT_EQ(std::vector<std::string>{ListingLine()}, Listings());
    EXPECT_EQ(std::vector<std::string>{RemovalLine("4516068")}, Removals());
    EXPECT_EQ("update KB4000001\r\n", m_tools.ReadFixture());
}

TEST_F(RepairEngineTest, TwoKnownUpdatesOnlyTheFirstInOrderGoes)
{
    m_tools.WriteFixture("update KB4516066\r\nupdate KB4512578\r\n");
    RunOnce();
    ExpectReported(REPAIR_SUCCEEDED);
    EXPECT_EQ(std::vector<std::string>{RemovalLine("4512578")}, Removals());
    EXPECT_EQ("update KB4516066\r\n", m_tools.ReadFixture());
}

TEST_F(RepairEngineTest, SearchOrderIsFixedNotTheListingOrder)
{
    m_tools.WriteFixture("update KB4516068\r\nupdate KB4516066\r\nupdate KB4516058\r\n"
                         "update KB4512578\r\nupdate KB4515384\r\n");
    const char* expected[] = {"4515384", "4512578", "4516058", "4516066", "4516068"};
    std::vector<std::string> removals;
    for (const char* number : expected) {
        RunOnce();
        ExpectReported(REPAIR_SUCCEEDED);
        removals.push_back(RemovalLine(number));
        ASSERT_EQ(removals, Removals()) << JournalText();
    }
    RunOnce();
    ExpectReported(REPAIR_NOT_APPLICABLE);
    EXPECT_EQ(removals, Removals());
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
    EXPECT_EQ(std::vector<std::string>{ListingLine()}, Listings());
    EXPECT_TRUE(Removals().empty());
}

TEST_F(RepairEngineTest, ListingsExitCodeDecidesWhetherAnythingWasChecked)
{
    // Only a listing that ended with 0 tells that none of the updates is there.
    struct Case {
        const char* fixture;
        bool powershellThere;
        WPARAM result;
    };
    const Case cases[] = {
        {"powershell nothing\r\nupdate KB4515384\r\n", true, REPAIR_NOT_APPLICABLE},
        {"update KB5000001\r\n", true, REPAIR_NOT_APPLICABLE},
        {"powershell fail\r\nupdate KB4515384\r\n", true, REPAIR_FAILED},
        {"powershell exit\r\npowershell-exit 1\r\nupdate KB5000001\r\n", true, REPAIR_FAILED},
        {"powershell exit\r\npowershell-exit 1\r\nupdate KB4515384\r\n", true, REPAIR_FAILED},
        {"powershell exit\r\npowershell-exit 0\r\nupdate KB5000001\r\n", true, REPAIR_NOT_APPLICABLE},
        {"update KB4515384\r\n", false, REPAIR_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + (c.powershellThere ? "" : " (no PowerShell)"));
        m_tools.WriteFixture(c.fixture);
        std::unique_ptr<CSystemFileAside> aside;
        if (!c.powershellThere) {
            aside.reset(new CSystemFileAside(L"WindowsPowerShell\\v1.0\\powershell.exe"));
            ASSERT_TRUE(aside->IsAside());
            ASSERT_FALSE(CSystemFileAside::Exists(SystemPowerShell()));
        }
        const size_t listingsBefore = Listings().size();
        size_t before = RepairFailedEntries();
        RunOnce();
        ExpectReported(c.result);
        EXPECT_EQ(before + (c.result == REPAIR_FAILED ? 1 : 0), RepairFailedEntries());
        EXPECT_EQ(listingsBefore + (c.powershellThere ? 1 : 0), Listings().size());
        EXPECT_TRUE(Removals().empty());
    }
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
    EXPECT_EQ(std::vector<std::string>{RemovalLine("4516058")}, Removals());
}

bool ListingThatCannotStart(std::wstring, std::string& output, DWORD* exitCode, DWORD timeLimitMs)
{
    // Too long for the command interpreter's line: the real runner refuses to start it.
    return RunCommandCapture(std::wstring(2 * kMaxCommandLine, L'x'), output, exitCode, timeLimitMs);
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
        EXPECT_EQ(RemovalLine("4516066"), Removals().back());
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
    EXPECT_EQ((std::vector<std::string>{ListingLine(), ListingLine(), ListingLine()}), Listings());
    EXPECT_EQ((std::vector<std::string>{RemovalLine("4515384"), RemovalLine("4516058")}), Removals());
    EXPECT_EQ("update KB1234567\r\n", m_tools.ReadFixture());
}

// Wine's load order for one program for a scope (HKCU\Software\Wine\DllOverrides).
class CWineLoadOrder {
public:
    CWineLoadOrder(const wchar_t* module, const wchar_t* order) : m_module(module)
    {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_hKey, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof(m_old) - sizeof(wchar_t);
        m_bHadOld = RegQueryValueExW(m_hKey, module, nullptr, nullptr, reinterpret_cast<BYTE*>(m_old),
                                     &size) == ERROR_SUCCESS;
        Set(order);
    }
    ~CWineLoadOrder()
    {
        if (!m_hKey)
            return;
        if (m_bHadOld)
            Set(m_old);
        else
            RegDeleteValueW(m_hKey, m_module.c_str());
        RegCloseKey(m_hKey);
    }

private:
    void Set(const wchar_t* order)
    {
        RegSetValueExW(m_hKey, m_module.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                       static_cast<DWORD>((wcslen(order) + 1) * sizeof(wchar_t)));
    }

    std::wstring m_module;
    HKEY m_hKey = nullptr;
    wchar_t m_old[64] = {};
    bool m_bHadOld = false;
};

TEST_F(RepairEngineTest, RemovalByWinesOwnWusaFails)
{
    // Not our stand-in: the system's program as Wine ships it, which removes nothing.
    CSystemFileAside wusa(L"wusa.exe", L"wusa.exe.wine");
    ASSERT_TRUE(wusa.IsReplaced());
    CWineLoadOrder builtin(L"wusa.exe", L"builtin");
    DWORD code = 0;
    ASSERT_TRUE(RunCommand(RemovalCommand(4, SystemFolder()), false, &code));
    ASSERT_EQ(1u, code) << "Wine's wusa answers 1 to /uninstall";
    m_tools.WriteFixture("update KB4516068\r\n");
    size_t before = RepairFailedEntries();
    RunOnce();
    ExpectReported(REPAIR_FAILED);
    EXPECT_EQ(before + 1, RepairFailedEntries());
    EXPECT_EQ(std::vector<std::string>{ListingLine()}, Listings());
    EXPECT_TRUE(Removals().empty()) << "our stand-in was not there to run";
    EXPECT_EQ("update KB4516068\r\n", m_tools.ReadFixture());
}

// The installer stand-in's notes on its window: "wusa window: asked .. show .. visible .. front ..".
std::vector<std::string> WindowNotes(const CToolSetup& tools)
{
    std::vector<std::string> notes;
    std::string journal = ReadFileBytes(tools.Folder() + L"journal.txt");
    for (size_t at = journal.find("wusa window: "); at != std::string::npos;
         at = journal.find("wusa window: ", at + 1))
        notes.push_back(journal.substr(at, journal.find("\r\n", at) - at));
    return notes;
}

TEST_F(RepairEngineTest, InstallersQuestionIsShownAsItWouldShowItselfAndIsAnswered)
{
    // The installer asks in a window of its own, started by the interpreter. In the second row
    // the stand-in itself is the interpreter: it notes what the runner gives the interpreter,
    // which the interpreter may hand on. No show state may come with it, so the window shows.
    struct Case {
        const char* name;
        bool standinAsInterpreter;
        const char* note;
    };
    const Case cases[] = {
        {"the system's interpreter", false, "wusa window: asked 0 show 0 visible 1 front 1"},
        {"the stand-in as the interpreter", true, "wusa window: asked 0 show 0 visible 1 front 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_tools.WriteFixture("wusa window\r\nupdate KB4516068\r\n");
        // Wine runs its own interpreter whatever file lies there, unless told otherwise.
        std::unique_ptr<CSystemFileAside> aside;
        std::unique_ptr<CWineLoadOrder> native;
        if (c.standinAsInterpreter) {
            aside.reset(new CSystemFileAside(L"cmd.exe", L"wusa.exe"));
            ASSERT_TRUE(aside->IsReplaced());
            native.reset(new CWineLoadOrder(L"cmd.exe", L"native"));
        }
        // Answered once it is up; a window that never shows is closed, so the run still ends.
        bool shown = false;
        std::thread person([&] {
            HWND question = nullptr;
            shown = guitest::WaitUntil([&] {
                question = FindWindowW(L"CorvinaWusaStandIn", nullptr);
                return question && IsWindowVisible(question);
            }, 60000);
            if (question)
                PostMessageW(question, shown ? WM_COMMAND : WM_CLOSE, IDYES, 0);
        });
        DWORD code = 1;
        bool ran = RunCommand(RemovalCommand(4, SystemFolder()), false, &code);
        person.join();
        ASSERT_TRUE(ran);
        EXPECT_TRUE(shown);
        EXPECT_EQ(0u, code);
        EXPECT_EQ(std::vector<std::string>{c.note}, WindowNotes(m_tools));
        EXPECT_EQ("wusa window\r\n", m_tools.ReadFixture());
        std::vector<CToolSetup::Call> calls = m_tools.Journal();
        ASSERT_EQ(1u, calls.size());
        EXPECT_NE(std::string::npos, calls[0].commandLine.find(RemovalLine("4516068")))
            << calls[0].commandLine;
        const std::wstring program = c.standinAsInterpreter ? SystemFolder() + L"\\cmd.exe" : SystemWusa();
        EXPECT_EQ(0, _wcsicmp(program.c_str(), calls[0].program.c_str())) << Utf8(calls[0].program);
        WriteFileBytes(m_tools.Folder() + L"journal.txt", "");
    }
}

TEST_F(RepairEngineTest, ListingThatNeverEndsFailsAtItsTimeLimit)
{
    // One that waits silently, and one that writes without pause, so the pipe is never empty.
    for (const char* mode : {"hang", "endless"}) {
        SCOPED_TRACE(mode);
        m_tools.WriteFixture(std::string("powershell ") + mode + "\r\nupdate KB4515384\r\n");
        // Long enough for the stand-in to start on a slow machine; it never ends by itself.
        const DWORD limitMs = 15000;
        m_engine.SetListingTimeLimit(limitMs);
        const size_t listingsBefore = Listings().size();
        size_t before = RepairFailedEntries();
        // The result comes at the limit, not whenever the flood pauses: a generous margin.
        RunOnce(limitMs + 45000);
        if (HasFatalFailure())
            return;
        ExpectReported(REPAIR_FAILED);
        EXPECT_EQ(before + 1, RepairFailedEntries());
        EXPECT_EQ(listingsBefore + 1, Listings().size()) << "it ran, and was ended";
        EXPECT_EQ(ListingLine(), Listings().back());
        EXPECT_TRUE(Removals().empty());
        EXPECT_TRUE(guitest::WaitUntil([] { return ProcessesNamed(L"powershell.exe") == 0; }, 30000));
    }
}

TEST_F(RepairEngineTest, ProcessLeftHoldingTheOutputNeitherDelaysTheResultNorOutlivesIt)
{
    // The listing starts a copy of itself that holds the pipe for ten minutes, then exits.
    m_tools.WriteFixture("powershell linger\r\nupdate KB4516058\r\n");
    RunOnce();
    ExpectReported(REPAIR_SUCCEEDED);
    // The copy names itself as a 32-bit process sees it; it was started before the listing ended.
    std::vector<CToolSetup::Call> calls = m_tools.Journal();
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ(ListingLine(), calls[0].commandLine);
    EXPECT_NE(std::string::npos, calls[1].commandLine.find("powershell.exe\" --linger ")) << calls[1].commandLine;
    EXPECT_EQ(RemovalLine("4516058"), calls[2].commandLine);
    EXPECT_TRUE(guitest::WaitUntil([] { return ProcessesNamed(L"powershell.exe") == 0; }, 30000));
}

// Takes the listing's output from the "handout" stand-in, so it is held outside the listing's
// job, and writes into it without pause until the reader goes.
class CHandedOutWriter {
public:
    explicit CHandedOutWriter(const std::wstring& note) : m_note(note)
    {
        m_hThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~CHandedOutWriter()
    {
        m_bStop = true;
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
    }
    bool Took() const { return m_bTook; }

private:
    static DWORD WINAPI Run(LPVOID param)
    {
        auto* self = static_cast<CHandedOutWriter*>(param);
        HANDLE out = self->Take();
        if (!out)
            return 0;
        self->m_bTook = true;
        const std::string rows(64 * 1024, 'x');
        DWORD written = 0;
        // Ends once the reader has closed its end (or the test is done).
        while (!self->m_bStop && WriteFile(out, rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr)) {
        }
        CloseHandle(out);
        return 0;
    }

    HANDLE Take()
    {
        std::string note;
        if (!guitest::WaitUntil([&] { return !(note = ReadFileBytes(m_note)).empty(); }, 60000))
            return nullptr;
        DWORD processId = 0;
        unsigned long long value = 0;
        if (sscanf(note.c_str(), "%lu %llu", &processId, &value) != 2)
            return nullptr;
        HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId);
        HANDLE out = nullptr;
        if (process)
            DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)),
                            GetCurrentProcess(), &out, 0, FALSE, DUPLICATE_SAME_ACCESS);
        HANDLE taken = OpenEventW(EVENT_MODIFY_STATE, FALSE,
                                  (L"CorvinaHandout-" + std::to_wstring(processId)).c_str());
        if (taken) {
            SetEvent(taken);
            CloseHandle(taken);
        }
        if (process)
            CloseHandle(process);
        return out;
    }

    std::wstring m_note;
    HANDLE m_hThread = nullptr;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bTook{false};
};

TEST_F(RepairEngineTest, WriterOutsideTheJobDelaysTheResultOnlyBriefly)
{
    // Ending the job cannot end this writer: what is left is read for a bounded time only.
    m_tools.WriteFixture("powershell handout\r\nupdate KB4516058\r\n");
    CHandedOutWriter writer(m_tools.Folder() + L"hotfix.txt.handout");
    // Far longer than the bounded read, far shorter than the flood: it never ends by itself.
    RunOnce(60000);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(writer.Took());
    ExpectReported(REPAIR_SUCCEEDED);
    EXPECT_EQ(std::vector<std::string>{RemovalLine("4516058")}, Removals());
}

// Tools planted where a careless start would find them: in a folder first on the PATH,
// beside this program and in the current folder. Each .exe plant is a copy of the journalling
// stand-in, and each script plant notes its start, so a start shows.
class PlantedToolsTest : public RepairEngineTest {
protected:
    void SetUp() override
    {
        RepairEngineTest::SetUp();
        wchar_t program[MAX_PATH];
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring programFolder = program;
        programFolder.erase(programFolder.rfind(L'\\') + 1);
        m_currentFolder = MakeTempFolder(L"corvina-current-");
        m_pathFolder = MakeTempFolder(L"corvina-on-path-");
        GetCurrentDirectoryW(MAX_PATH, program);
        m_oldCurrent = program;
        SetCurrentDirectoryW(m_currentFolder.c_str());
        wchar_t path[32768];
        DWORD length = GetEnvironmentVariableW(L"PATH", path, 32768);
        m_oldPath.assign(path, length);
        SetEnvironmentVariableW(L"PATH", (m_pathFolder + L";" + m_oldPath).c_str());

        m_marks = m_tools.Folder() + L"plant-marks.txt";
        const std::string script = "@echo %~f0>> \"" + Utf8(m_marks) + "\"\r\n";
        for (const std::wstring& folder : {programFolder, m_currentFolder, m_pathFolder}) {
            for (const wchar_t* name : {L"powershell.exe", L"wusa.exe"})
                Plant(folder + name, [](const std::wstring& at) {
                    return CopyFileW((StandinsFolder() + L"wusa.exe").c_str(), at.c_str(), FALSE) != FALSE;
                });
            for (const wchar_t* name : {L"powershell.bat", L"wusa.cmd"})
                Plant(folder + name, [&](const std::wstring& at) { return WriteFileBytes(at, script); });
        }
    }

    void TearDown() override
    {
        SetCurrentDirectoryW(m_oldCurrent.c_str());
        SetEnvironmentVariableW(L"PATH", m_oldPath.c_str());
        for (const std::wstring& path : m_planted)
            DeleteFileW(path.c_str());
        RemoveFolder(m_currentFolder);
        RemoveFolder(m_pathFolder);
    }

    template <typename Make>
    void Plant(const std::wstring& at, Make make)
    {
        ASSERT_TRUE(make(at));
        m_planted.push_back(at);
    }

    bool AnyPlantRan() const
    {
        if (!ReadFileBytes(m_marks).empty())
            return true;
        for (const auto& call : m_tools.Journal())
            if (_wcsicmp(call.program.c_str(), SystemPowerShell().c_str()) != 0 &&
                _wcsicmp(call.program.c_str(), SystemWusa().c_str()) != 0)
                return true;
        return false;
    }

    // The way a careless program would: in this process's current folder and environment.
    static void RunCarelessly(std::wstring commandLine)
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                                   CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process));
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    std::wstring m_currentFolder;
    std::wstring m_pathFolder;
    std::wstring m_oldCurrent;
    std::wstring m_oldPath;
    std::wstring m_marks;
    std::vector<std::wstring> m_planted;
};

TEST_F(PlantedToolsTest, PlantsWouldRunIfStartedTheCarelessWay)
{
    // The plants are live: a program plant, and a script plant named with its extension.
    SetEnvironmentVariableW(L"CORVINA_HOTFIX_FIXTURE", (m_tools.Folder() + L"hotfix.txt").c_str());
    SetEnvironmentVariableW(L"CORVINA_TOOL_JOURNAL", (m_tools.Folder() + L"journal.txt").c_str());
    RunCarelessly(L"cmd /C wusa /uninstall /kb:4516068");
    SetEnvironmentVariableW(L"CORVINA_HOTFIX_FIXTURE", nullptr);
    SetEnvironmentVariableW(L"CORVINA_TOOL_JOURNAL", nullptr);
    EXPECT_TRUE(AnyPlantRan());
    ASSERT_TRUE(ReadFileBytes(m_marks).empty());
    RunCarelessly(L"cmd /C wusa.cmd /uninstall /kb:4516068");
    EXPECT_EQ(Utf8(m_currentFolder) + "wusa.cmd\r\n", ReadFileBytes(m_marks));
}

TEST_F(PlantedToolsTest, RepairRunsOnlyTheToolsAtTheSystemPaths)
{
    m_tools.WriteFixture("update KB4516068\r\n");
    RunOnce();
    ExpectReported(REPAIR_SUCCEEDED);
    EXPECT_FALSE(AnyPlantRan());
    EXPECT_EQ(std::vector<std::string>{ListingLine()}, Listings());
    EXPECT_EQ(std::vector<std::string>{RemovalLine("4516068")}, Removals());
}

TEST(RepairCommands, ToolsByTheirQuotedSystemPaths)
{
    const std::pair<std::wstring, std::wstring> listings[] = {
        {L"C:\\windows\\system32",
         L"\"C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile "
         L"-NonInteractive -command \"$env:PSModulePath = $PSHOME + '\\Modules'; "
         L"Microsoft.PowerShell.Management\\get-hotfix\""},
        {L"D:\\Win Dows\\system32",
         L"\"D:\\Win Dows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile "
         L"-NonInteractive -command \"$env:PSModulePath = $PSHOME + '\\Modules'; "
         L"Microsoft.PowerShell.Management\\get-hotfix\""}};
    for (const auto& c : listings)
        EXPECT_EQ(c.second, ListingCommand(c.first));
    const std::pair<int, std::wstring> removals[] = {
        {0, L"\"D:\\Win Dows\\system32\\wusa.exe\" /uninstall /kb:4515384"},
        {1, L"\"D:\\Win Dows\\system32\\wusa.exe\" /uninstall /kb:4512578"},
        {2, L"\"D:\\Win Dows\\system32\\wusa.exe\" /uninstall /kb:4516058"},
        {3, L"\"D:\\Win Dows\\system32\\wusa.exe\" /uninstall /kb:4516066"},
        {4, L"\"D:\\Win Dows\\system32\\wusa.exe\" /uninstall /kb:4516068"},
        {-1, L""},
        {5, L""}};
    for (const auto& c : removals)
        EXPECT_EQ(c.second, RemovalCommand(c.first, L"D:\\Win Dows\\system32"));
}

TEST_F(RepairEngineTest, CommandLinesReachTheToolsExactlyThroughASystemFolderWithBlanks)
{
    // Wine keeps its system folder in one place; a copy of the stand-ins in a folder with
    // blanks shows what the interpreter hands on from such a path.
    std::wstring system = MakeTempFolder(L"corvina Win Dows (x86) ") + L"system 32";
    ASSERT_TRUE(CreateDirectoryW(system.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((system + L"\\WindowsPowerShell").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((system + L"\\WindowsPowerShell\\v1.0").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW((StandinsFolder() + L"powershell.exe").c_str(),
                          (system + L"\\WindowsPowerShell\\v1.0\\powershell.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((StandinsFolder() + L"wusa.exe").c_str(), (system + L"\\wusa.exe").c_str(),
                          FALSE));
    m_tools.WriteFixture("update KB4512578\r\n");
    std::string listing;
    DWORD code = 1;
    ASSERT_TRUE(RunCommandCapture(ListingCommand(system), listing, &code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(1, FindKnownUpdate(listing));
    ASSERT_TRUE(RunCommand(RemovalCommand(1, system), false, &code));
    EXPECT_EQ(0u, code);

    std::vector<CToolSetup::Call> calls = m_tools.Journal();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("\"" + Utf8(system) + "\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile "
              "-NonInteractive -command " + kListingScript,
              calls[0].commandLine);
    EXPECT_EQ("\"" + Utf8(system) + "\\wusa.exe\" /uninstall /kb:4512578", calls[1].commandLine);
    EXPECT_EQ("", m_tools.ReadFixture());
    RemoveFolder(system.substr(0, system.rfind(L'\\') + 1));
}

}  // namespace
