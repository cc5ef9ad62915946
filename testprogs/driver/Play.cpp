#include "Play.h"

#include "CorvinaWindows.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>

namespace {

const DWORD kStartTimeoutMs = 90000;  // a first start in a new prefix builds Wine's caches
const DWORD kShownTimeoutMs = 15000;
const DWORD kRepairTimeoutMs = 30000;
// Nobody presses within a moment of something appearing.

const wchar_t* const kToolFiles[] = {L"Corvina.exe", L"HalvexFeedbackInformation.dll",
                                     L"HalvexFeedbackInformation.ini"};

struct StepRecord {
    std::string file;  // screenshot file name, without folder
    std::string name;
    std::string what;  // one line of what happened, or why it did not
    bool happened = false;
};

std::string HtmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string FirstWord(const std::string& line)
{
    return line.substr(0, line.find_first_of(" \t"));
}

std::vector<std::string> UpdateIds(const std::wstring& fixture)
{
    std::vector<std::string> ids;
    for (const std::string& update : InstalledUpdates(fixture))
        ids.push_back(FirstWord(update));
    return ids;
}

std::string Joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out.empty() ? "none" : out;
}

// The exit code the wusa stand-in gives, from its fixture (0 unless set).
std::string WusaExitCode(const std::wstring& fixture)
{
    for (const std::string& line : JournalLines(fixture)) {
        if (line.compare(0, 10, "wusa-exit ") == 0)
            return line.substr(10);
    }
    return "0";
}

class CPlay {
public:
    explicit CPlay(const PlaySetup& setup) : m_setup(setup) {}

    int Run();

private:
    // Runs one step when every step before it happened; the action says what happened, and
    // returns whether it did.  The screenshot shows the screen as the step ends.
    void Step(const char* file, const char* name, const std::function<bool(std::string&)>& action);
    bool Shot(const std::string& file);
    bool WaitSteady(HWND hWnd);
    bool PressRepairUntil(const wchar_t* result, bool needsProgress, std::string& what);
    void WriteIndex() const;
    void PrintSummary() const;

    PlaySetup m_setup;
    std::vector<StepRecord> m_steps;
    bool m_broken = false;
    DWORD m_pid = 0;
    HWND m_panel = nullptr;
    std::vector<std::string> m_listed;
    DWORD m_lastLinkClick = 0;
};

void CPlay::Step(const char* file, const char* name, const std::function<bool(std::string&)>& action)
{
    StepRecord record;
    record.file = std::string(file) + ".png";
    record.name = name;
    const std::wstring shot = m_setup.shots + L"\\" + std::wstring(record.file.begin(), record.file.end());
    ::DeleteFileW(shot.c_str());
    if (m_broken) {
        record.what = "not reached: an earlier step did not happen";
    } else {
        record.happened = action(record.what);
        // A step whose action took its own picture (a prompt before it was closed) keeps it.
        if (!FileExists(shot)) {
            // Drawing reaches the display some time after the last message.
            WaitScreenSettled(ScreenRect());
            Shot(record.file);
        }
        if (!record.happened)
            m_broken = true;
    }
    printf("%s %s: %s\n", record.happened ? "[done]" : "[MISSING]", name, record.what.c_str());
    fflush(stdout);
    m_steps.push_back(record);
}

bool CPlay::Shot(const std::string& file)
{
    return SaveScreenPng(m_setup.shots + L"\\" + std::wstring(file.begin(), file.end()));
}

bool CPlay::WaitSteady(HWND hWnd)
{
    return WaitOnScreen(hWnd);
}

bool CPlay::PressRepairUntil(const wchar_t* result, bool needsProgress, std::string& what)
{
    HWND repair = ChildById(m_panel, IDC_BTN_REPAIR);
    if (!::IsWindowEnabled(repair)) {
        what = "the one-click repair button is disabled";
        return false;
    }
    WaitOnScreen(repair);
    POINT centre = CentreOf(RectOf(repair));
    ClickWithPointerAt(centre.x, centre.y);
    bool sawProgress = false;
    HWND prompt = nullptr;
    WaitUntil([&] {
        if (!sawProgress && PromptWithText(m_pid, kProgress)) {
            sawProgress = true;
            Shot("06-progress.png");
        }
        prompt = PromptWithText(m_pid, result);
        return prompt != nullptr || !ProcessRunning(m_pid);
    }, kRepairTimeoutMs, 10);
    if (needsProgress && !sawProgress) {
        what = "no progress prompt came after the press";
        return false;
    }
    if (!prompt) {
        what = "the prompt \"" + Utf8(result) + "\" did not come";
        for (const wchar_t* other : {kNotApplicable, kFailed})
            if (PromptWithText(m_pid, other))
                what += "; \"" + Utf8(other) + "\" came instead";
        if (!ProcessRunning(m_pid))
            what += "; the tool has ended";
        return false;
    }
    return true;
}

int CPlay::Run()
{
    std::vector<std::string> removedBefore;

    Step("01-notice", "The usage notice", [&](std::string& what) {
        if (!WaitUntil([&] { return (m_pid = FindProcessByName(L"Corvina.exe")) != 0; }, kStartTimeoutMs)) {
            what = "Corvina.exe did not start";
            return false;
        }
        m_listed = UpdateIds(m_setup.fixture);
        HWND notice = WaitPrompt(m_pid, kNotice, kStartTimeoutMs);
        if (!notice || !WaitSteady(notice)) {
            what = "the usage notice did not come";
            return false;
        }
        Shot("01-notice.png");
        if (!ClosePrompt(notice)) {
            what = "the usage notice came, but its 确认 button did not close it";
            return false;
        }
        m_panel = FindPanel(m_pid);
        what = m_panel ? "The notice about what the tool can repair came up over the panel; 确认 closed it."
                       : "the notice closed, but no panel is shown";
        return m_panel != nullptr;
    });

    HWND agree = ChildById(m_panel, IDC_CHECK_AGREE);
    HWND repair = ChildById(m_panel, IDC_BTN_REPAIR);
    auto checked = [&] { return ::SendMessageW(agree, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    Step("02-unticked", "Untick the agree box", [&](std::string& what) {
        ClickControl(m_panel, IDC_CHECK_AGREE);
        bool done = WaitUntil([&] { return !checked() && !::IsWindowEnabled(repair); }, kShownTimeoutMs);
        what = done ? "The box is empty and the one-click repair button is disabled."
                    : "the box or the repair button did not follow the click";
        return done;
    });
    Step("03-ticked", "Tick the agree box", [&](std::string& what) {
        ClickControl(m_panel, IDC_CHECK_AGREE);
        bool done = WaitUntil([&] { return checked() && ::IsWindowEnabled(repair); }, kShownTimeoutMs);
        what = done ? "The box is ticked again and the one-click repair button is enabled."
                    : "the box or the repair button did not follow the click";
        return done;
    });

    auto clickLink = [&] {
        // Two presses on the link within the double-click time would make a double click.
        DWORD wait = ::GetDoubleClickTime() + 100;
        DWORD since = ::GetTickCount() - m_lastLinkClick;
        if (since < wait)
            ::Sleep(wait - since);
        ClickControl(m_panel, IDC_STATIC_AGREEMENT_LINK);
        m_lastLinkClick = ::GetTickCount();
    };
    Step("04-agreement", "Open the agreement", [&](std::string& what) {
        clickLink();
        bool done = WaitUntil([&] { return IsOpen(FindBubble(m_pid, m_panel)); }, kShownTimeoutMs);
        what = done ? "A press on the agreement link opened the licence text over the panel."
                    : "the agreement did not open";
        return done;
    });
    Step("05-agreement-closed", "Close the agreement", [&](std::string& what) {
        clickLink();
        bool done = WaitUntil([&] { return IsClosed(FindBubble(m_pid, m_panel)); }, kShownTimeoutMs);
        what = done ? "A second press on the link closed it." : "the agreement did not close";
        return done;
    });

    std::vector<std::string> firstRemoved;
    Step("06-progress", "Press the one-click repair", [&](std::string& what) {
        if (!PressRepairUntil(kSucceeded, true, what))
            return false;
        what = "The progress prompt \"正在修复，请稍等\" showed while the updates were listed and one removed.";
        return true;
    });
    Step("07-success", "The first known update removed", [&](std::string& what) {
        HWND success = PromptWithText(m_pid, kSucceeded);
        std::vector<std::string> now = UpdateIds(m_setup.fixture);
        for (const std::string& id : m_listed)
            if (std::find(now.begin(), now.end(), id) == now.end())
                firstRemoved.push_back(id);
        if (!success || firstRemoved.size() != 1) {
            what = "expected one update removed, found: " + Joined(firstRemoved);
            return false;
        }
        bool steady = WaitSteady(success);
        Shot("07-success.png");
        if (!steady || !ClosePrompt(success)) {
            what = "the success prompt did not close on 确认";
            return false;
        }
        what = "\"键盘无法使用修复成功。\" for " + firstRemoved[0] + "; 确认 closed it.";
        return true;
    });
    Step("08-second", "Press again: the second known update", [&](std::string& what) {
        std::vector<std::string> before = UpdateIds(m_setup.fixture);
        if (!PressRepairUntil(kSucceeded, false, what))
            return false;
        std::vector<std::string> now = UpdateIds(m_setup.fixture);
        std::vector<std::string> removed;
        for (const std::string& id : before)
            if (std::find(now.begin(), now.end(), id) == now.end())
                removed.push_back(id);
        HWND success = PromptWithText(m_pid, kSucceeded);
        Shot("08-second.png");
        if (removed.size() != 1 || !WaitSteady(success) || !ClosePrompt(success)) {
            what = "expected one more update removed and a success prompt, found: " + Joined(removed);
            return false;
        }
        what = "\"键盘无法使用修复成功。\" again, for " + removed[0] + "; 确认 closed it.";
        return true;
    });
    Step("09-feedback", "Close: the feedback question", [&](std::string& what) {
        ClickControl(m_panel, IDC_BTN_CLOSE);
        HWND feedback = nullptr;
        if (!WaitUntil([&] { return (feedback = FindFeedbackDialog(m_pid)) != nullptr; }, kShownTimeoutMs) ||
            !WaitSteady(feedback)) {
            what = "the feedback dialog did not come after the close button";
            return false;
        }
        Shot("09-feedback.png");
        ClickControl(feedback, IDC_BTN_SOLVED);
        if (!WaitUntil([&] { return !ProcessRunning(m_pid); }, kShownTimeoutMs)) {
            what = "the tool did not end after the answer";
            return false;
        }
        what = "The close button asked whether the problem is solved; the first button answered "
               "\"solved\" and the tool ended.";
        return true;
    });
    Step("10-removed", "The tool's files removed", [&](std::string& what) {
        auto toolFilesGone = [&] {
            for (const wchar_t* name : kToolFiles)
                if (FileExists(m_setup.toolFolder + L"\\" + name))
                    return false;
            return true;
        };
        bool gone = WaitUntil(toolFilesGone, kShownTimeoutMs, 100);
        bool kept = FileExists(m_setup.userFile);
        what = std::string(gone ? "Corvina.exe, HalvexFeedbackInformation.dll and its .ini are gone"
                                : "the tool's files are still there") +
               (kept ? "; the user's file beside them stays." : "; the user's file is gone too!");
        return gone && kept;
    });

    WriteIndex();
    PrintSummary();
    return m_broken ? 1 : 0;
}

void CPlay::WriteIndex() const
{
    std::ostringstream html;
    html << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Corvina: the repair, step by step"
            "</title>\n<style>body{font-family:sans-serif;margin:2em}li{margin-bottom:2em}"
            "img{border:1px solid #ccc;max-width:640px;display:block;margin-top:.5em}"
            ".missing{color:#b00}</style></head><body>\n<h1>Corvina: the repair, step by step</h1>\n<ol>\n";
    for (const StepRecord& step : m_steps) {
        html << "<li" << (step.happened ? "" : " class=\"missing\"") << "><b>" << HtmlEscaped(step.name)
             << "</b>: " << (step.happened ? "" : "did not happen: ") << HtmlEscaped(step.what) << "\n";
        if (FileExists(m_setup.shots + L"\\" + std::wstring(step.file.begin(), step.file.end())))
            html << "<img src=\"" << step.file << "\" alt=\"" << HtmlEscaped(step.name) << "\">";
        html << "</li>\n";
    }
    html << "</ol>\n</body></html>\n";
    WriteFileBytes(m_setup.shots + L"\\index.html", html.str());
}

void CPlay::PrintSummary() const
{
    std::vector<std::string> removed;
    for (const std::string& line : JournalLines(m_setup.commandsJournal)) {
        size_t at = line.find("/kb:");
        if (line.find("/uninstall") != std::string::npos && at != std::string::npos)
            removed.push_back("KB" + FirstWord(line.substr(at + 4)));
    }
    const std::string exitCode = WusaExitCode(m_setup.fixture);
    printf("\nSummary\n");
    printf("  Updates listed:  %s\n", Joined(m_listed).c_str());
    printf("  Updates removed: %s\n", Joined(removed).c_str());
    for (const std::string& id : removed)
        printf("    wusa /uninstall /kb:%s exited with %s\n", id.substr(2).c_str(), exitCode.c_str());
    printf("  Calls the feedback library received:\n");
    for (const std::string& line : JournalLines(m_setup.feedbackJournal))
        printf("    %s\n", line.c_str());
    printf("  The tool's files:\n");
    for (const wchar_t* name : kToolFiles)
        printf("    %s: %s\n", Utf8(name).c_str(),
               FileExists(m_setup.toolFolder + L"\\" + name) ? "still there" : "gone");
    printf("    %s (the user's): %s\n", Utf8(m_setup.userFile.substr(m_setup.userFile.rfind(L'\\') + 1)).c_str(),
           FileExists(m_setup.userFile) ? "kept" : "gone");
    int missing = 0;
    for (const StepRecord& step : m_steps)
        missing += step.happened ? 0 : 1;
    if (missing)
        printf("  %d of %d steps did not happen (marked MISSING above).\n", missing,
               static_cast<int>(m_steps.size()));
    else
        printf("  All %d steps happened.\n", static_cast<int>(m_steps.size()));
    fflush(stdout);
}

}  // namespace

int PlayRepair(const PlaySetup& setup)
{
    guitest::GdiplusSession gdiplus;
    ::CreateDirectoryW(setup.shots.c_str(), nullptr);
    CPlay play(setup);
    return play.Run();
}
