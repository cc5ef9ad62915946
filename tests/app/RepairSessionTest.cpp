// The repair session without windows: the real engine with the console stand-ins, the real
// binding with the stand-in library beside this test, and windows that record what they show.
#include "app/RepairSession.h"
#include "app/ToolIdentity.h"
#include "repair/RepairMessages.h"
#include "repair/SystemFileAside.h"
#include "repair/ToolSetup.h"
#include "support/GuiInput.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>

namespace {

const wchar_t kFeedbackAsked[] = L"(solved?)";
const wchar_t kRaised[] = L"(raised)";

class CRecordingWindows : public IRepairWindows {
public:
    std::vector<std::wstring> shown;
    std::string end = "running";
    bool progressUp = false;

    void ShowPrompt(const wchar_t* text) override { shown.push_back(text); }
    void AskWhetherSolved() override { shown.push_back(kFeedbackAsked); }
    void RaisePanel() override { shown.push_back(kRaised); }
    void EndProcess(SessionEnd how) override { end = how == SessionEnd::WithCleanup ? "closed" : "ended"; }
    void CloseProgress() override { progressUp = false; }
    void ShowProgress(const wchar_t* text) override
    {
        shown.push_back(text);
        progressUp = true;
        guitest::PumpUntil([&] { return !progressUp; }, 20000);
    }
};

// The window the worker reports to forwards as the panel does, or with another result.
CRepairSession* g_session = nullptr;
WPARAM g_resultInstead = 0;
LRESULT CALLBACK ForwardToSession(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_REPAIR_RESULT && g_resultInstead)
        wParam = g_resultInstead;
    return g_session->OnWorkerMessage(msg, wParam) ? 1 : ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

std::wstring BesideThisTest(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    std::wstring self(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.rfind(L'\\') + 1) + name;
}

// The library's journal, each call with its answer; the time of a report reads "T".
std::vector<std::string> FeedbackCalls()
{
    std::string text = std::regex_replace(ReadFileBytes(BesideThisTest(L"session-journal.txt")),
                                          std::regex("\"-?[0-9]{6,}\""), "\"T\"");
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

// A listing that cannot be started at all; a system without PowerShell at its system path.
const char kNoListing[] = "(no interpreter)";
const char kNoPowerShell[] = "update KB4516068\n";
const char kInit[] = "InitFreedbackDll() = 1";
const char kNotNewer[] = "GetToolIsNewVersion(\"10056\", \"1.0.4\") = 0";  // nothing published
const char kReport[] = "CustomerFeedbackEx(\"10056\", \"1.0.4\", 1, \"T\") = 1";
const wchar_t kInitFailed[] = L"工具初始化失败";
const wchar_t kNotice[] = L"本工具仅适用于重置后所有按键都无法使用的情况。本工具不能解决个别按键失效的问题。";
const wchar_t kProgress[] = L"正在修复，请稍等";
const wchar_t kSucceeded[] = L"键盘无法使用修复成功。";
const wchar_t kFailed[] = L"键盘无法使用修复失败！";

struct SessionCase {
    const char* name;
    bool notifyWindow;  // start-up answers: a window to report to, the library's answers
    const char* library;
    const char* listing;  // the stand-ins' fixture for one press; null: no press
    WPARAM resultInstead;  // a result the worker never sends, in place of its own
    bool close;            // a close after everything else
    std::vector<std::wstring> shown;
    std::vector<std::string> feedbackCalls;
    const char* end;  // running, busy (a repair still counts as running), ended, closed
};

const SessionCase kCases[] = {
    {"no window to report to", false, "", nullptr, 0, false, {kInitFailed}, {}, "ended"},
    {"library init fails", true, "[service]\ninit = fail\n", nullptr, 0, false, {kInitFailed},
     {"InitFreedbackDll() = 0"}, "ended"},
    {"newer version", true, "[newest]\n10056 = 1.0.5\n", nullptr, 0, false,
     {L"检测到当前工具有新的版本更新，请下载最新版本使用。"},
     {kInit, "GetToolIsNewVersion(\"10056\", \"1.0.4\") = 3", "OpenToolDownUrl() = 1"}, "ended"},
    {"closed at once", true, "", nullptr, 0, true, {kNotice, kFeedbackAsked},
     {kInit, kNotNewer}, "closed"},
    {"removed, then closed", true, "", "update KB4512578\nupdate KB4515384\n", 0, true,
     {kNotice, kProgress, kSucceeded, kRaised, kFeedbackAsked}, {kInit, kNotNewer, kReport}, "closed"},
    {"removed, restart needed", true, "", "update KB4516068\nwusa-exit 3010\n", 0, false,
     {kNotice, kProgress, kSucceeded, kRaised}, {kInit, kNotNewer, kReport}, "running"},
    {"removal refused", true, "", "update KB4516068\nwusa-exit 5\n", 0, false,
     {kNotice, kProgress, kFailed, kRaised}, {kInit, kNotNewer}, "running"},
    {"listing cannot start", true, "", kNoListing, 0, false,
     {kNotice, kProgress, kFailed, kRaised}, {kInit, kNotNewer}, "running"},
    {"listing fails: nothing was checked", true, "", "powershell fail\nupdate KB5000001\n", 0, false,
     {kNotice, kProgress, kFailed, kRaised}, {kInit, kNotNewer}, "running"},
    {"no PowerShell at its system path", true, "", kNoPowerShell, 0, true,
     {kNotice, kProgress, kFailed, kRaised, kFeedbackAsked}, {kInit, kNotNewer}, "closed"},
    {"none installed", true, "", "update KB5000001\n", 0, true,
     {kNotice, kProgress, L"本工具不适用当前系统！", kRaised}, {kInit, kNotNewer}, "ended"},
    {"unknown result counts as failed", true, "", "update KB4516068\n", 9, false,
     {kNotice, kProgress, kFailed, kRaised}, {kInit, kNotNewer}, "running"},
};

}  // namespace

TEST(RepairSession, StartUpRepairAndEndsGoAsTheTableSays)
{
    CToolSetup tools;
    for (const SessionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileW(BesideThisTest(L"session-journal.txt").c_str());
        WriteFileBytes(BesideThisTest(L"HalvexFeedbackInformation.ini"),
                       std::string("[service]\nrecord_only = 1\njournal = session-journal.txt\n") + c.library);
        tools.WriteFixture(c.listing ? c.listing : "");
        CRecordingWindows windows;
        CRepairEngine engine;
        if (c.listing == kNoListing)
            engine.SetListingRunner([](std::wstring, std::string&, DWORD*, DWORD) { return false; });
        std::unique_ptr<CSystemFileAside> noPowerShell;
        if (c.listing == kNoPowerShell) {
            noPowerShell.reset(new CSystemFileAside(L"WindowsPowerShell\\v1.0\\powershell.exe"));
            ASSERT_TRUE(noPowerShell->IsAside());
        }
        CClickHook clickHook;
        CFeedbackDll feedback;
        CRepairSession session(windows, engine, clickHook, feedback, CORVINA_TOOL);
        g_session = &session;
        g_resultInstead = c.resultInstead;
        HWND notify = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ::SetWindowLongPtrW(notify, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForwardToSession));
        if (session.StartUp(c.notifyWindow ? notify : nullptr)) {
            session.CheckForNewerVersion();
            if (c.listing && windows.end == "running")
                session.OnRepairPressed();
            guitest::PumpUntil([&] { return !session.IsRepairRunning() || windows.end != "running"; }, 20000);
            if (c.close)
                session.RequestClose();
        }
        clickHook.Uninstall();
        ::DestroyWindow(notify);
        EXPECT_EQ(windows.shown, c.shown);
        EXPECT_EQ(FeedbackCalls(), c.feedbackCalls);
        EXPECT_EQ(session.IsRepairRunning() && windows.end == "running" ? "busy" : windows.end, c.end);
    }
}
