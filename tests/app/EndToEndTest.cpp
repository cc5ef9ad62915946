// The real tool under Wine: start-up checks, the panel, the repair, the close, all with real
// mouse input.  One tool process per scenario.
#include "DesktopShell.h"
#include "InterpreterAside.h"
#include "ToolWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Width of a text in the dialogs' font (宋体 10 pt) at this process's resolution.
int DialogFontTextWidth(const wchar_t* text, int dpi = 96)
{
    HDC dc = ::GetDC(nullptr);
    HFONT font = ::CreateFontW(-::MulDiv(10, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0,
                               0, L"宋体");
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

class EndToEnd : public testing::Test {
protected:
    static void SetUpTestSuite() { ::CreateDirectoryW(BuildPath(L"screenshots").c_str(), nullptr); }
};

struct StartupFailure {
    const char* name;
    ToolOptions options;
    const wchar_t* message;
};

}  // namespace

TEST_F(EndToEnd, EachFailingStartupCheckShowsItsMessageAndEndsWithCodeZero)
{
    ToolOptions unsupported;
    unsupported.windowsVersion = L"win81";
    ToolOptions missing;
    missing.library.clear();
    ToolOptions withoutExport;
    withoutExport.library = L"standin-variants\\omit-5\\HalvexFeedbackInformation.dll";
    ToolOptions initFails;
    initFails.initFails = true;
    const StartupFailure failures[] = {
        {"unsupported", unsupported, L"此工具不支持当前系统"},
        {"missing_library", missing, kInitFailed},
        {"library_without_export", withoutExport, kInitFailed},
        {"init_answers_zero", initFails, kInitFailed},
    };
    for (const StartupFailure& failure : failures) {
        SCOPED_TRACE(failure.name);
        CToolRun tool(L"Downloads", failure.options);
        ASSERT_TRUE(tool.Start());
        HWND prompt = WaitPrompt(tool, failure.message);
        ASSERT_TRUE(prompt);
        Screenshot((L"startup_" + Widen(failure.name)).c_str());
        EXPECT_FALSE(FindPanel(tool.ProcessId()) && ::IsWindowVisible(FindPanel(tool.ProcessId())) &&
                     PromptWithText(tool.ProcessId(), kNotice));
        ASSERT_TRUE(ClosePrompt(tool, prompt));
        EXPECT_EQ(tool.WaitExit(60000), 0u);
        ::Sleep(3500);  // long enough for a removal that must not happen
        EXPECT_TRUE(FileExists(tool.Executable()));
        std::vector<std::string> journal = tool.FeedbackJournal();
        EXPECT_EQ(CountContaining(journal, "GetToolIsNewVersion"), 0u);
    }
}

TEST_F(EndToEnd, NewerVersionOpensTheDownloadAndEnds)
{
    ToolOptions options;
    options.newestVersion = "1.0.5";
    CToolRun tool(L"Downloads", options);
    ASSERT_TRUE(tool.Start());
    HWND prompt = WaitPrompt(tool, L"检测到当前工具有新的版本更新，请下载最新版本使用。");
    ASSERT_TRUE(prompt);
    Screenshot(L"prompt_newer_version");
    EXPECT_EQ(CountContaining(tool.FeedbackJournal(), "OpenToolDownUrl"), 0u);
    ASSERT_TRUE(ClosePrompt(tool, prompt));
    EXPECT_EQ(tool.WaitExit(60000), 0u);
    std::vector<std::string> journal = tool.FeedbackJournal();
    ASSERT_GE(journal.size(), 3u);
    EXPECT_EQ(journal[0], "InitFreedbackDll() = 1");
    EXPECT_EQ(journal[1], "GetToolIsNewVersion(\"10056\", \"1.0.4\") = 3");
    EXPECT_EQ(journal[2].rfind("OpenToolDownUrl(", 0), 0u) << journal[2];
    EXPECT_TRUE(FileExists(tool.Executable()));
}

TEST_F(EndToEnd, PanelGeometryInputAndTwoRepairsThenNotApplicable)
{
    ToolOptions options;
    // Listed in the other order: the engine's own order decides which goes first.
    options.updates = {"KB4512578", "KB4515384"};
    CToolRun tool(L"Downloads", options);
    ASSERT_TRUE(tool.Start());
    DWORD pid = tool.ProcessId();
    HWND notice = WaitPrompt(tool, kNotice);
    ASSERT_TRUE(notice);
    Screenshot(L"prompt_usage_notice_96dpi");
    ASSERT_TRUE(ClosePrompt(tool, notice));
    ::Sleep(600);
    EXPECT_FALSE(PromptWithText(pid, kNotice)) << "the notice comes once";

    HWND frame = FindVisibleWindow(pid, L"Tovrane");
    HWND panel = FindPanel(pid);
    ASSERT_TRUE(frame && panel);
    EXPECT_EQ(::GetWindow(panel, GW_OWNER), frame);
    Screenshot(L"panel_96dpi");

    // Frame 410 x 611, the panel 400 x 600 at (5, 4) inside it, centred on the screen.
    RECT f = RectOf(frame), p = RectOf(panel);
    EXPECT_EQ(Width(f), 410);
    EXPECT_EQ(Height(f), 611);
    EXPECT_EQ(Width(p), 400);
    EXPECT_EQ(Height(p), 600);
    EXPECT_EQ(p.left - f.left, 5);
    EXPECT_EQ(p.top - f.top, 4);
    EXPECT_EQ(f.left, ::GetSystemMetrics(SM_CXSCREEN) / 2 - 205);
    EXPECT_EQ(f.top, ::GetSystemMetrics(SM_CYSCREEN) / 2 - 305);

    auto expectAt = [&](int id, int l, int t, int r, int b) {
        RECT c = ClientRectOf(panel, id);
        EXPECT_EQ(c.left, l) << id;
        EXPECT_EQ(c.top, t) << id;
        EXPECT_EQ(c.right, r) << id;
        EXPECT_EQ(c.bottom, b) << id;
    };
    int n = DialogFontTextWidth(L"同意《Halvex服务工具使用许可协议》") / 14;
    int v = DialogFontTextWidth(L"反馈问题");
    ASSERT_GT(n, 0);
    expectAt(IDC_BTN_CLOSE, 368, 0, 394, 34);
    expectAt(IDC_BTN_MINIMIZE, 340, 0, 366, 34);
    expectAt(IDC_STATIC_VERSION, 188, 16, 228, 31);
    expectAt(IDC_BTN_REPAIR, 58, 240, 342, 325);
    expectAt(IDC_BTN_MORE_TOOLS, 45, 540, 103, 558);
    expectAt(IDC_CHECK_AGREE, 8, 575, 8 + 16 + 2 * n + 2, 595);
    expectAt(IDC_STATIC_AGREEMENT_LINK, 8 + 16 + 2 * n + 2 + 6, 575, 8 + 16 + 2 * n + 2 + 6 + 14 * n, 595);
    expectAt(IDC_STATIC_FEEDBACK_LINK, 400 - (v + 12) - 6, 575, 400 - 6, 595);
    EXPECT_EQ(DescribeWindow(ChildById(panel, IDC_STATIC_VERSION)).text, L"1.0.4");
    EXPECT_EQ(DescribeWindow(ChildById(panel, IDC_CHECK_AGREE)).checked, BST_CHECKED);

    // Enter and Escape do nothing.
    ClickAt(p.left + 200, p.top + 450);
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    ::Sleep(300);
    EXPECT_TRUE(tool.Running());
    EXPECT_TRUE(::IsWindowVisible(panel) && ::IsWindowVisible(frame));

    // The band under the title drags both; its right 86 pixels and everything below do not.
    DragFromTo(POINT{p.left + 150, p.top + 15}, POINT{p.left + 90, p.top + 55});
    RECT p1 = RectOf(panel), f1 = RectOf(frame);
    EXPECT_EQ(p1.left - p.left, -60);
    EXPECT_EQ(p1.top - p.top, 40);
    EXPECT_EQ(f1.left - p1.left, -5);
    EXPECT_EQ(f1.top - p1.top, -4);
    EXPECT_EQ(Width(f1), 410);
    DragFromTo(POINT{p1.right - 80, p1.top + 10}, POINT{p1.right - 30, p1.top + 80});
    DragFromTo(POINT{p1.left + 150, p1.top + 35}, POINT{p1.left + 200, p1.top + 90});
    EXPECT_EQ(RectOf(panel).left, p1.left);
    EXPECT_EQ(RectOf(panel).top, p1.top);
    EXPECT_EQ(RectOf(frame).left, f1.left);
    p = p1;

    // Unchecking the agree box disables the repair button; checking enables it again.
    HWND repair = ChildById(panel, IDC_BTN_REPAIR);
    ClickChild(panel, IDC_CHECK_AGREE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(repair); }, 2000));
    ClickChild(panel, IDC_CHECK_AGREE);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(repair) != FALSE; }, 2000));

    // The transparent edge of the repair button starts nothing.
    RECT button = RectOf(repair);
    ClickAt(button.left + 8, (button.top + button.bottom) / 2);
    ::Sleep(1500);
    EXPECT_TRUE(tool.ToolJournal().empty());
    EXPECT_FALSE(PromptWithText(pid, kProgress));

    // Press one: the progress prompt, then success for the first known update in the engine's order.
    auto repairOnce = [&](const wchar_t* expected, const wchar_t* shot) -> HWND {
        POINT centre = CentreOf(RectOf(repair));
        ClickAt(centre.x, centre.y);
        bool sawProgress = false;
        HWND result = nullptr;
        WaitUntil([&] {
            sawProgress = sawProgress || PromptWithText(pid, kProgress);
            result = PromptWithText(pid, expected);
            return result != nullptr || !tool.Running();
        }, 15000);
        EXPECT_TRUE(sawProgress || tool.ToolJournal().size() > 0);
        if (result && shot)
            Screenshot(shot);
        return result;
    };
    HWND success = repairOnce(kSucceeded, L"prompt_success");
    ASSERT_TRUE(success);
    EXPECT_EQ(CountContaining(tool.FeedbackJournal(), "CustomerFeedbackEx"), 0u) << "not before the prompt closes";
    EXPECT_EQ(InstalledUpdates(tool.FixturePath()), std::vector<std::string>{"KB4512578"});
    ASSERT_TRUE(ClosePrompt(tool, success));
    ASSERT_TRUE(WaitUntil([&] { return CountContaining(tool.FeedbackJournal(), "CustomerFeedbackEx") > 0; }, 3000));
    std::vector<std::string> journal = tool.FeedbackJournal();
    EXPECT_EQ(CountContaining(journal, "CustomerFeedbackEx(\"10056\", \"1.0.4\", 1, \""), 1u);
    EXPECT_EQ(PromptWithText(pid, kSucceeded), nullptr);

    // Press two removes the other one; press three finds none and ends the tool.
    success = repairOnce(kSucceeded, nullptr);
    ASSERT_TRUE(success);
    EXPECT_TRUE(InstalledUpdates(tool.FixturePath()).empty());
    ASSERT_TRUE(ClosePrompt(tool, success));
    ::Sleep(300);
    EXPECT_EQ(CountContaining(tool.FeedbackJournal(), "CustomerFeedbackEx"), 2u);

    HWND notApplicable = repairOnce(kNotApplicable, L"prompt_not_applicable");
    ASSERT_TRUE(notApplicable);
    ASSERT_TRUE(ClosePrompt(tool, notApplicable));
    EXPECT_EQ(tool.WaitExit(60000), 0u);
    std::vector<std::string> commands = tool.ToolJournal();
    EXPECT_EQ(CountContaining(commands, "get-hotfix"), 3u);
    ASSERT_EQ(CountContaining(commands, "/uninstall"), 2u);
    EXPECT_EQ(CountContaining(commands, "/kb:4515384"), 1u);
    EXPECT_EQ(CountContaining(commands, "/kb:4512578"), 1u);
    EXPECT_LT(std::find_if(commands.begin(), commands.end(), [](const std::string& l) { return l.find("4515384") != std::string::npos; }),
              std::find_if(commands.begin(), commands.end(), [](const std::string& l) { return l.find("4512578") != std::string::npos; }));
    ::Sleep(3500);
    EXPECT_TRUE(FileExists(tool.Executable())) << "an ended tool removes nothing";
}

TEST_F(EndToEnd, InstallersQuestionComesToTheFrontAndIsAnsweredWithTheMouse)
{
    // The installer asks in a window of its own while the tool waits on its progress prompt,
    // both in the middle of the screen: a press lands on the question only if it is in front.
    ToolOptions options;
    options.updates = {"KB4516066"};
    options.wusaMode = "window";
    CToolRun tool(L"Downloads", options);
    ASSERT_TRUE(tool.Start());
    DWORD pid = tool.ProcessId();
    HWND panel = PanelAfterNotice(tool);
    ASSERT_TRUE(panel);
    ClickChild(panel, IDC_BTN_REPAIR);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = ::FindWindowW(L"CorvinaWusaStandIn", nullptr)) != nullptr; }, 60000));
    ASSERT_TRUE(WaitOnScreen(question));
    EXPECT_TRUE(PromptWithText(pid, kProgress)) << "the tool waits for the installer";
    Screenshot(L"installer_question");
    ClickChild(question, IDYES);
    HWND success = WaitPrompt(tool, kSucceeded);
    ASSERT_TRUE(success);
    EXPECT_TRUE(InstalledUpdates(tool.FixturePath()).empty());
    std::vector<std::string> journal = tool.ToolJournal();
    EXPECT_EQ(CountContaining(journal, "/kb:4516066"), 1u);
    EXPECT_EQ(CountContaining(journal, "wusa window: asked 0 show 0 visible 1 front 1"), 1u);
    ASSERT_TRUE(ClosePrompt(tool, success));
}

// Whether a 32-bit program starting the interpreter as the tool does would succeed.
bool InterpreterStarts(const std::wstring& path)
{
    PVOID old = nullptr;
    if (!::Wow64DisableWow64FsRedirection(&old))
        return false;
    std::wstring commandLine = L"cmd /C exit 0";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    bool started = ::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                    nullptr, nullptr, &startup, &process) != FALSE;
    ::Wow64RevertWow64FsRedirection(old);
    if (started) {
        ::WaitForSingleObject(process.hProcess, 10000);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    }
    return started;
}

std::wstring ToolLogPath()
{
    wchar_t data[MAX_PATH];
    DWORD length = ::ExpandEnvironmentStringsW(L"%ProgramData%", data, MAX_PATH);
    return std::wstring(data, length > 0 ? length - 1 : 0) + L"\\ToolLog\\Tovrane.txt";
}

std::string Gbk(const wchar_t* text)
{
    int size = ::WideCharToMultiByte(936, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    ::WideCharToMultiByte(936, 0, text, -1, &out[0], size, nullptr, nullptr);
    return out;
}

size_t Occurrences(const std::string& haystack, const std::string& needle)
{
    size_t count = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++count;
    return count;
}

TEST_F(EndToEnd, FailedListingKeepsThePanelUsable)
{
    ToolOptions options;
    options.updates = {"KB4516058"};
    CToolRun tool(L"Downloads", options);
    ASSERT_TRUE(tool.Start());
    DWORD pid = tool.ProcessId();
    HWND panel = PanelAfterNotice(tool);
    ASSERT_TRUE(panel);
    HWND repair = ChildById(panel, IDC_BTN_REPAIR);
    const std::string failedEntry = Gbk(L"键盘无法使用修复失败");
    ASSERT_EQ(failedEntry.size(), 20u);
    const size_t entriesBefore = Occurrences(ReadFileBytes(ToolLogPath()), failedEntry);

    {
        CInterpreterAside aside;
        ASSERT_TRUE(aside.IsAside());
        ASSERT_FALSE(InterpreterStarts(aside.Path())) << "the listing must not be able to run";

        POINT centre = CentreOf(RectOf(repair));
        ClickAt(centre.x, centre.y);
        HWND failed = WaitPrompt(tool, kFailed, 15000);
        ASSERT_TRUE(failed);
        EXPECT_EQ(WindowsWithChildText(pid, kFailed).size(), 1u);
        // The progress prompt has gone: only the frame, the panel and this prompt's pair are up.
        HWND frame = ::GetWindow(panel, GW_OWNER);
        for (const CWindowInfo& top : TopLevelWindows(pid)) {
            if (!top.visible)
                continue;
            EXPECT_TRUE(top.hWnd == frame || top.hWnd == panel || top.hWnd == failed ||
                        top.hWnd == ::GetWindow(failed, GW_OWNER))
                << ToJson(top);
        }
        Screenshot(L"prompt_failed");
        ASSERT_TRUE(ClosePrompt(tool, failed));
        ASSERT_TRUE(aside.Restore());
    }
    // The worker writes the entry once the prompt has been closed.
    EXPECT_TRUE(WaitUntil([&] {
        return Occurrences(ReadFileBytes(ToolLogPath()), failedEntry) == entriesBefore + 1;
    }, 3000));
    ::Sleep(500);
    EXPECT_FALSE(PromptWithText(pid, kFailed)) << "the failure is shown once";
    EXPECT_EQ(Occurrences(ReadFileBytes(ToolLogPath()), failedEntry), entriesBefore + 1);
    EXPECT_TRUE(tool.ToolJournal().empty()) << "nothing ran";
    EXPECT_EQ(CountContaining(tool.FeedbackJournal(), "CustomerFeedbackEx"), 0u);

    // The panel is usable: the next press lists and removes as usual.
    ASSERT_TRUE(tool.Running());
    EXPECT_TRUE(::IsWindowEnabled(panel));
    EXPECT_TRUE(::IsWindowEnabled(repair));
    POINT centre = CentreOf(RectOf(repair));
    ClickAt(centre.x, centre.y);
    HWND success = WaitPrompt(tool, kSucceeded, 15000);
    ASSERT_TRUE(success);
    ASSERT_TRUE(ClosePrompt(tool, success));
    EXPECT_TRUE(InstalledUpdates(tool.FixturePath()).empty());
    std::vector<std::string> commands = tool.ToolJournal();
    EXPECT_EQ(CountContaining(commands, "get-hotfix"), 1u);
    EXPECT_EQ(CountContaining(commands, "/kb:4516058"), 1u);
    EXPECT_TRUE(WaitUntil([&] { return CountContaining(tool.FeedbackJournal(), "CustomerFeedbackEx") == 1; }, 3000));
}

TEST_F(EndToEnd, MinimiseTakesBothWindowsAndClosingTheFrameAsksForFeedback)
{
    CDesktopShell shell;
    CToolRun tool(L"Downloads", ToolOptions{});
    WriteFileBytes(tool.Folder() + L"\\my notes.txt", "mine");
    ASSERT_TRUE(tool.Start());
    DWORD pid = tool.ProcessId();
    ASSERT_TRUE(ClosePrompt(tool, WaitPrompt(tool, kNotice)));
    HWND panel = FindPanel(pid);
    HWND frame = FindVisibleWindow(pid, L"Tovrane");
    ASSERT_TRUE(panel && frame);


    // Minimise takes both windows.
    ClickChild(panel, IDC_BTN_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(frame) && !::IsWindowVisible(panel); }, 3000));
    ::PostMessageW(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(frame) && ::IsWindowVisible(panel); }, 3000));
    ::Sleep(500);

    // Closed from the task bar or the frame's system menu: the feedback question, then the end.
    ::PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND feedback = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (feedback = FindFeedbackDialog(pid)) != nullptr; }, 5000));
    Screenshot(L"feedback_dialog");
    ClickChild(feedback, IDC_BTN_SOLVED);
    EXPECT_EQ(tool.WaitExit(60000), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(tool.Executable()); }, 8000)) << "a normal close";
    EXPECT_EQ(ReadFileBytes(tool.Folder() + L"\\my notes.txt"), "mine");
}

// Alt+F4 on the panel goes the same way as its close button.
enum class CloseBy { Button, AltF4 };

void CloseAfterTheNotice(CToolRun& tool, CloseBy how = CloseBy::Button)
{
    ASSERT_TRUE(ClosePrompt(tool, WaitPrompt(tool, kNotice)));
    HWND panel = FindPanel(tool.ProcessId());
    ASSERT_TRUE(panel);
    if (how == CloseBy::Button)
        ClickChild(panel, IDC_BTN_CLOSE);
    else
        ::PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND feedback = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (feedback = FindFeedbackDialog(tool.ProcessId())) != nullptr; }, 5000));
    ClickChild(feedback, IDC_BTN_SOLVED);
    EXPECT_EQ(tool.WaitExit(60000), 0u);
}

TEST_F(EndToEnd, CloseRemovesOnlyTheToolsFilesAfterThreeSeconds)
{
    CDesktopShell shell;  // whose token the deleter takes
    CToolRun tool(L"Tovrane & 工具 (1) 100% ^!x!", ToolOptions{});
    WriteFileBytes(tool.Folder() + L"\\my notes.txt", "mine");
    ASSERT_TRUE(tool.Start());
    CloseAfterTheNotice(tool);
    DWORD closed = ::GetTickCount();
    EXPECT_TRUE(FileExists(tool.Executable())) << "the removal waits three seconds";
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(tool.Executable()); }, 8000));
    EXPECT_GE(::GetTickCount() - closed, 2500u);
    // The three files go one after the other.
    EXPECT_TRUE(WaitUntil([&] {
        return !FileExists(tool.Folder() + L"\\HalvexFeedbackInformation.dll") &&
               !FileExists(tool.Folder() + L"\\HalvexFeedbackInformation.ini");
    }, 3000));
    EXPECT_EQ(ReadFileBytes(tool.Folder() + L"\\my notes.txt"), "mine");
}

TEST_F(EndToEnd, CloseFromAFolderOfItsOwnRemovesTheFolder)
{
    CDesktopShell shell;
    CToolRun tool(L"Corvina (2) & co", ToolOptions{});
    ASSERT_TRUE(tool.Start());
    CloseAfterTheNotice(tool, CloseBy::AltF4);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(tool.Folder()); }, 8000));
}

TEST_F(EndToEnd, At120DpiTheFrameAndPanelGrow)
{
    SetLogPixels(120);
    {
        CToolRun tool(L"Downloads", ToolOptions{});
        ASSERT_TRUE(tool.Start());
        HWND notice = WaitPrompt(tool, kNotice);
        ASSERT_TRUE(notice);
        Screenshot(L"prompt_usage_notice_120dpi");
        ASSERT_TRUE(ClosePrompt(tool, notice));
        HWND frame = FindVisibleWindow(tool.ProcessId(), L"Tovrane");
        HWND panel = FindPanel(tool.ProcessId());
        ASSERT_TRUE(frame && panel);
        Screenshot(L"panel_120dpi");
        RECT f = RectOf(frame), p = RectOf(panel);
        // The panel: 492 - 12.0000005 by 733 - 13.2000005, at (6, 4) of the centred rectangle.
        EXPECT_EQ(Width(p), 479);
        EXPECT_EQ(Height(p), 719);
        EXPECT_EQ(p.left, ::GetSystemMetrics(SM_CXSCREEN) / 2 - 246 + 6);
        EXPECT_EQ(p.top, ::GetSystemMetrics(SM_CYSCREEN) / 2 - 366 + 4);
        // The frame follows the panel by the drag outsets trunc(6.0), trunc(4.8), trunc(6.0), trunc(8.4).
        EXPECT_EQ(p.left - f.left, 6);
        EXPECT_EQ(p.top - f.top, 4);
        EXPECT_EQ(f.right - p.right, 6);
        EXPECT_EQ(f.bottom - p.bottom, 8);
        RECT close = ClientRectOf(panel, IDC_BTN_CLOSE);
        EXPECT_EQ(close.left, 441);
        EXPECT_EQ(close.right, 472);
        EXPECT_EQ(close.bottom, 40);
        RECT repair = ClientRectOf(panel, IDC_BTN_REPAIR);
        EXPECT_EQ(repair.left, 69);
        EXPECT_EQ(repair.top, 288);
        EXPECT_EQ(Width(repair), 340);
        EXPECT_EQ(Height(repair), 102);
        RECT more = ClientRectOf(panel, IDC_BTN_MORE_TOOLS);
        EXPECT_EQ(more.left, 54);
        EXPECT_EQ(more.top, 647);
        EXPECT_EQ(Width(more), 69);
        EXPECT_EQ(Height(more), 21);
        RECT agree = ClientRectOf(panel, IDC_CHECK_AGREE);
        int n = DialogFontTextWidth(L"同意《Halvex服务工具使用许可协议》", 120) / 14;
        EXPECT_EQ(agree.left, 9);
        EXPECT_EQ(agree.top, 688);
        EXPECT_EQ(agree.right, static_cast<int>(9 + 16 * static_cast<double>(1.2f) + 2 * n + 2));
        EXPECT_EQ(agree.bottom, 712);
    }
    SetLogPixels(96);
}

TEST_F(EndToEnd, APlantedRichEditLibraryIsNeverLoaded)
{
    ToolOptions options;
    options.dllOverrides = L"native,builtin";
    CToolRun tool(L"Downloads", options);
    ASSERT_TRUE(::CopyFileW(BuildPath(L"testprogs\\fakeriched20\\riched20.dll").c_str(),
                            (tool.Folder() + L"\\riched20.dll").c_str(), FALSE));
    ASSERT_TRUE(tool.Start());
    ASSERT_TRUE(WaitPrompt(tool, kNotice));
    std::wstring loaded = LoadedModulePath(tool.ProcessId(), L"riched20.dll");
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(_wcsicmp(loaded.c_str(), (std::wstring(system) + L"\\riched20.dll").c_str()), 0)
        << Utf8(loaded);
    EXPECT_FALSE(FileExists(tool.Folder() + L"\\riched20-loaded.txt"));

    // The same plant does load into a program that asks for the library by its name: the
    // override makes it effective, so the absence of its mark above means something.
    EXPECT_TRUE(LoadByNameFrom(tool.Folder(), L"riched20.dll"));
    EXPECT_TRUE(FileExists(tool.Folder() + L"\\riched20-loaded.txt"));
}
