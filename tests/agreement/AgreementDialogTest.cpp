// The agreement bubble as the panel uses it: created once with the panel as its owner, moved,
// shown and hidden; the text in a read-only rich edit with a skinned bar.
#include "dialogs/TooltipDlg.h"

#include "dialogs/AgreementText.h"
#include "res/resource.h"
#include "skin/PngResource.h"
#include "skinscroll/GuiTestSupport.h"
#include "skinscroll/SkinScrollWnd.h"

#include <richedit.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace guitest;

namespace {

const RECT kPanel{100, 40, 500, 640};  // a 400 x 600 panel

RECT WindowRect(HWND hWnd)
{
    RECT r;
    ::GetWindowRect(hWnd, &r);
    return r;
}

RECT RectIn(HWND hWnd, HWND parent)
{
    RECT r = WindowRect(hWnd);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring RichText(HWND edit)
{
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_NUMCHARS, 1200};
    const LRESULT n = ::SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_USECRLF;
    get.codepage = 1200;
    const LRESULT copied = ::SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                          reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

void Key(WORD vk, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
}

void Press(WORD vk, WORD modifier = 0)
{
    if (modifier)
        Key(modifier, true);
    Key(vk, true);
    Key(vk, false);
    if (modifier)
        Key(modifier, false);
    PumpFor(60);
}

class AgreementDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_gdiplus = new GdiplusSession;
        wchar_t path[MAX_PATH];
        ::GetSystemDirectoryW(path, MAX_PATH);
        ::wcscat_s(path, L"\\riched20.dll");
        s_richEdit = ::LoadLibraryW(path);
    }
    static void TearDownTestSuite() { delete s_gdiplus; }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_richEdit);
        ASSERT_TRUE(MoveTo(5, 5));
        PumpFor(::GetDoubleClickTime() + 50);
        const wchar_t* panelClass = CWnd::RegisterPlainClass(
            0, ::LoadCursorW(nullptr, IDC_ARROW), static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)), nullptr);
        ASSERT_TRUE(m_panel.CreateEx(0, panelClass, L"panel", WS_POPUP | WS_VISIBLE, kPanel, nullptr, 0));
    }
    void TearDown() override
    {
        m_dlg.reset();
        m_panel.DestroyWindow();
        PumpFor(50);
    }

    // What the panel does on the first click of the agreement link.
    void OpenLikeThePanel(float scale = 1.0f)
    {
        m_dlg = std::make_unique<CTooltipDlg>();
        m_dlg->m_fScale = scale;
        ASSERT_TRUE(m_dlg->Create(IDD_TOOLTIP, &m_panel));
        m_created = WindowRect(m_dlg->m_hWnd);
        ASSERT_NE(nullptr, m_dlg->GetTooltipContent());
        m_contentCreated = WindowRect(m_dlg->GetTooltipContent()->m_hWnd);
        const RECT p = WindowRect(m_panel.m_hWnd);
        const double s = scale;
        m_dlg->MoveWindow(static_cast<int>(p.left + 2 * s), static_cast<int>(p.top + 108 * s),
                          static_cast<int>((p.right - p.left) - 2 * s),
                          static_cast<int>((p.bottom - p.top) - 128 * s), TRUE);
        m_dlg->ShowWindow(SW_SHOW);
        m_dlg->ShowContent(true);
        PumpFor(300);
    }

    CTooltipChildDlg* Content() const { return m_dlg->GetTooltipContent(); }
    HWND Edit() const { return Content()->AgreementTextCtrl().m_hWnd; }
    CSkinScrollWnd* Frame() const { return CSkinScrollWnd::FromControl(Edit()); }

    void Screenshot(const wchar_t* name)
    {
        RECT r = WindowRect(m_panel.m_hWnd);
        ::InflateRect(&r, 20, 20);
        EXPECT_TRUE(SaveScreenPng(r, name));
    }

    static GdiplusSession* s_gdiplus;
    static HMODULE s_richEdit;
    CWnd m_panel;
    std::unique_ptr<CTooltipDlg> m_dlg;
    RECT m_created{};
    RECT m_contentCreated{};
};

GdiplusSession* AgreementDialogTest::s_gdiplus = nullptr;
HMODULE AgreementDialogTest::s_richEdit = nullptr;

TEST_F(AgreementDialogTest, OpensWithItsFirstLineAtTheTopAndAnEnabledBar)
{
    OpenLikeThePanel();
    EXPECT_TRUE(m_dlg->IsWindowVisible());
    EXPECT_TRUE(Content()->IsWindowVisible());
    EXPECT_EQ(BuildAgreementText(), RichText(Edit()));
    EXPECT_EQ(0, ::SendMessageW(Edit(), EM_GETFIRSTVISIBLELINE, 0, 0));

    ASSERT_NE(nullptr, Frame());
    CSkinScrollBar& bar = Frame()->VerticalBar();
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_TRUE(bar.IsWindowEnabled());
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(bar.m_hWnd, SB_CTL, &si);
    EXPECT_EQ(0, si.nPos);
    EXPECT_GT(si.nMax, static_cast<int>(si.nPage));
    EXPECT_EQ(13, bar.PartRect(SB_THUMBTRACK).top);  // right below the up arrow
    EXPECT_EQ(0, Frame()->Corner());
    Screenshot(L"agreement_top.png");
}

TEST_F(AgreementDialogTest, PlacesThePairAndTheTextAtScaleOne)
{
    OpenLikeThePanel();
    // Created at the design size; the content window inset by 1, 1 and 2, 18 less in size.
    EXPECT_EQ(396, m_created.right - m_created.left);
    EXPECT_EQ(482, m_created.bottom - m_created.top);
    EXPECT_EQ(m_created.left + 1, m_contentCreated.left);
    EXPECT_EQ(m_created.top + 1, m_contentCreated.top);
    EXPECT_EQ(396 - 2, m_contentCreated.right - m_contentCreated.left);
    EXPECT_EQ(482 - 18, m_contentCreated.bottom - m_contentCreated.top);

    // Moved over the panel; the content follows with 2 and 18 off the right and bottom edges.
    const RECT bubble = WindowRect(m_dlg->m_hWnd);
    EXPECT_EQ(kPanel.left + 2, bubble.left);
    EXPECT_EQ(kPanel.top + 108, bubble.top);
    EXPECT_EQ(398, bubble.right - bubble.left);
    EXPECT_EQ(472, bubble.bottom - bubble.top);
    const RECT content = WindowRect(Content()->m_hWnd);
    EXPECT_EQ(bubble.left + 1, content.left);
    EXPECT_EQ(bubble.top + 1, content.top);
    EXPECT_EQ(bubble.right - 2, content.right);
    EXPECT_EQ(bubble.bottom - 18, content.bottom);

    // The text's frame was placed once, 8 pixels inside the content window's client rectangle
    // as it was at creation; moves and size changes do not lay it out again.
    const RECT frame = RectIn(Frame()->m_hWnd, Content()->m_hWnd);
    EXPECT_EQ(8, frame.left);
    EXPECT_EQ(8, frame.top);
    EXPECT_EQ(m_contentCreated.right - m_contentCreated.left - 8, frame.right);
    EXPECT_EQ(m_contentCreated.bottom - m_contentCreated.top - 8, frame.bottom);
    EXPECT_EQ(IDC_RICHEDIT_AGREEMENT, ::GetDlgCtrlID(Frame()->m_hWnd));
    // The template's border became a client edge, which the frame takes off; the control is
    // 4 pixels wider than the frame, so the skinned bar sits exactly over its own bar strip.
    RECT frameClient;
    ::GetClientRect(Frame()->m_hWnd, &frameClient);
    EXPECT_EQ(frame.right - frame.left, frameClient.right);
    const RECT vbar = RectIn(Frame()->VerticalBar().m_hWnd, Frame()->m_hWnd);
    EXPECT_EQ(frameClient.right, vbar.right);
    EXPECT_EQ(frameClient.right - 13, vbar.left);
    EXPECT_EQ(frameClient.right - 13, RectIn(Frame()->Limiter(), Frame()->m_hWnd).right);
    RECT client;
    ::GetClientRect(Content()->m_hWnd, &client);

    // The bubble's white body shows behind the text's margin.
    EXPECT_EQ(RGB(255, 255, 255), ClientPixel(Content()->m_hWnd, 4, client.bottom / 2));
}

TEST_F(AgreementDialogTest, ScalesItsSizesAndMargins)
{
    OpenLikeThePanel(1.25f);
    EXPECT_EQ(495, m_created.right - m_created.left);  // 396 * 1.25
    EXPECT_EQ(602, m_created.bottom - m_created.top);  // 482 * 1.25 = 602.5
    EXPECT_EQ(m_created.left + 1, m_contentCreated.left);
    EXPECT_EQ(492, m_contentCreated.right - m_contentCreated.left);   // 495 - 2.5
    EXPECT_EQ(579, m_contentCreated.bottom - m_contentCreated.top);  // 602 - 22.5
    const RECT bubble = WindowRect(m_dlg->m_hWnd);
    const RECT content = WindowRect(Content()->m_hWnd);
    EXPECT_EQ(bubble.right - 2, content.right);    // 2.5 -> 2
    EXPECT_EQ(bubble.bottom - 22, content.bottom);  // 22.5 -> 22
    const RECT frame = RectIn(Frame()->m_hWnd, Content()->m_hWnd);
    EXPECT_EQ(10, frame.left);  // 8 * 1.25
    EXPECT_EQ(16, Frame()->BarThickness());  // 13 * 1.25 = 16.25
}

TEST_F(AgreementDialogTest, TheTextCannotBeEditedButCanBeCopied)
{
    OpenLikeThePanel();
    const std::wstring before = RichText(Edit());
    ASSERT_TRUE(ClickAt(ScreenPoint(Edit(), 60, 40)));
    for (WORD vk : {WORD('A'), WORD(VK_BACK), WORD(VK_DELETE), WORD(VK_SPACE), WORD(VK_RETURN)})
        Press(vk);
    Press('A', VK_CONTROL);
    Press('X', VK_CONTROL);
    Press('V', VK_CONTROL);
    Press(VK_ESCAPE);
    PumpFor(100);
    EXPECT_EQ(before, RichText(Edit()));
    EXPECT_TRUE(m_dlg->IsWindowVisible());  // Enter and Escape do not close the bubble
    EXPECT_TRUE(Content()->IsWindowVisible());

    // Selecting and copying work as usual.
    ASSERT_TRUE(ClickAt(ScreenPoint(Edit(), 60, 40)));
    Press('A', VK_CONTROL);
    Press('C', VK_CONTROL);
    std::wstring copied;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(::GlobalLock(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
    }
    EXPECT_EQ(0u, copied.find(kAgreementTitle));
}

TEST_F(AgreementDialogTest, WheelScrollingMovesTheSkinnedThumb)
{
    OpenLikeThePanel();
    ASSERT_TRUE(ClickAt(ScreenPoint(Edit(), 60, 40)));
    ::SetFocus(Edit());  // the wheel goes to the focus, which the click gave the text
    PumpFor(50);
    CSkinScrollBar& bar = Frame()->VerticalBar();
    const int thumbTop = bar.PartRect(SB_THUMBTRACK).top;
    Wheel(-3);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(Edit(), EM_GETFIRSTVISIBLELINE, 0, 0) > 0; }, 1000));
    EXPECT_TRUE(PumpUntil([&] { return bar.PartRect(SB_THUMBTRACK).top > thumbTop; }, 600));
}

TEST_F(AgreementDialogTest, DraggingTheThumbToTheMiddleScrollsTheText)
{
    OpenLikeThePanel();
    CSkinScrollBar& bar = Frame()->VerticalBar();
    const RECT thumb = bar.PartRect(SB_THUMBTRACK);
    RECT track;
    ::GetClientRect(bar.m_hWnd, &track);
    const POINT grab = ScreenPoint(bar.m_hWnd, 4, (thumb.top + thumb.bottom) / 2);
    ASSERT_TRUE(MoveTo(grab));
    LeftDown();
    PumpFor(50);
    const int middle = (track.bottom - (thumb.bottom - thumb.top)) / 2;
    ASSERT_TRUE(MoveTo(grab.x, grab.y + middle - thumb.top));
    PumpFor(100);
    LeftUp();
    ASSERT_TRUE(MoveTo(5, 5));
    PumpFor(300);
    const int line = static_cast<int>(::SendMessageW(Edit(), EM_GETFIRSTVISIBLELINE, 0, 0));
    const int lines = static_cast<int>(::SendMessageW(Edit(), EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(line, lines / 6);
    EXPECT_LT(line, lines * 5 / 6);
    SCROLLINFO control{sizeof(control), SIF_ALL};
    ::GetScrollInfo(Edit(), SB_VERT, &control);
    SCROLLINFO shown{sizeof(shown), SIF_ALL};
    ::GetScrollInfo(bar.m_hWnd, SB_CTL, &shown);
    EXPECT_EQ(control.nPos, shown.nPos);
    Screenshot(L"agreement_middle.png");
}

TEST_F(AgreementDialogTest, HidingAndShowingKeepsTheScrollPositionAndMovingCarriesTheContent)
{
    OpenLikeThePanel();
    ::SendMessageW(Edit(), WM_VSCROLL, SB_PAGEDOWN, 0);
    PumpFor(100);
    const int line = static_cast<int>(::SendMessageW(Edit(), EM_GETFIRSTVISIBLELINE, 0, 0));
    ASSERT_GT(line, 0);
    m_dlg->ShowWindow(SW_HIDE);
    m_dlg->ShowContent(false);
    PumpFor(100);
    EXPECT_FALSE(Content()->IsWindowVisible());
    m_dlg->MoveWindow(300, 200, 398, 472, TRUE);
    const RECT content = WindowRect(Content()->m_hWnd);
    EXPECT_EQ(301, content.left);
    EXPECT_EQ(201, content.top);
    EXPECT_EQ(300 + 398 - 2, content.right);
    EXPECT_EQ(200 + 472 - 18, content.bottom);
    m_dlg->ShowWindow(SW_SHOW);
    m_dlg->ShowContent(true);
    PumpFor(100);
    EXPECT_TRUE(Content()->IsWindowVisible());
    EXPECT_EQ(line, ::SendMessageW(Edit(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

TEST_F(AgreementDialogTest, DestroyingTheBubbleFreesItsFrameBitmapAndImages)
{
    const int imagesBefore = LivePngImageCount();
    OpenLikeThePanel();
    const HBITMAP bitmap = Content()->SkinBitmap();
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(OBJ_BITMAP, static_cast<int>(::GetObjectType(bitmap)));
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(117, info.bmWidth);
    EXPECT_EQ(1, CSkinScrollWnd::LiveCount());
    EXPECT_EQ(imagesBefore + 2, LivePngImageCount());  // image 183 in each window of the pair

    m_dlg->DestroyWindow();
    PumpFor(50);
    EXPECT_EQ(0, CSkinScrollWnd::LiveCount());
    EXPECT_EQ(0, static_cast<int>(::GetObjectType(bitmap)));
    EXPECT_EQ(imagesBefore, LivePngImageCount());
    EXPECT_EQ(nullptr, m_dlg->GetTooltipContent());
}

}  // namespace

namespace {

// Where the visible part of the text ends, in screen coordinates: the limiter clips the
// control, the skinned bar lies over it.
int VisibleTextRight(CSkinScrollWnd* frame)
{
    return std::min(WindowRect(frame->Limiter()).right, WindowRect(frame->VerticalBar().m_hWnd).left);
}

// The text as the control counts its characters: one CR ends a paragraph.
std::wstring ControlText(HWND edit)
{
    const LRESULT n = ::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT copied = ::SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                          reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

// The right edges, in screen coordinates, of the last characters of the lines the control
// broke itself (a line that ends at a paragraph end is left out).
std::vector<int> WrappedLineRightEdges(HWND edit)
{
    std::vector<int> edges;
    HDC dc = ::GetDC(edit);
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    HFONT font = ::CreateFontW(-::MulDiv(format.yHeight, ::GetDeviceCaps(dc, LOGPIXELSY), 1440), 0, 0, 0,
                               FW_NORMAL, 0, 0, 0, format.bCharSet, 0, 0, 0, 0, format.szFaceName);
    HGDIOBJ old = ::SelectObject(dc, font);
    const std::wstring text = ControlText(edit);
    const int lines = static_cast<int>(::SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    for (int line = 0; line + 1 < lines; ++line) {
        const int first = static_cast<int>(::SendMessageW(edit, EM_LINEINDEX, line, 0));
        const int next = static_cast<int>(::SendMessageW(edit, EM_LINEINDEX, line + 1, 0));
        if (next <= first || next > static_cast<int>(text.size()) || text[static_cast<size_t>(next - 1)] == L'\r')
            continue;
        int last = next - 1;
        while (last > first && text[static_cast<size_t>(last)] == L' ')
            --last;  // spaces at a break may hang past the edge
        POINTL at{};
        ::SendMessageW(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), last);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, &text[static_cast<size_t>(last)], 1, &size);
        POINT screen{at.x + size.cx, at.y};
        ::ClientToScreen(edit, &screen);
        edges.push_back(screen.x);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(edit, dc);
    return edges;
}

}  // namespace

TEST_F(AgreementDialogTest, TheTextAreaAndItsWrappedLinesEndLeftOfTheSkinnedBar)
{
    for (float scale : {1.0f, 1.25f, 1.5f}) {
        SCOPED_TRACE(scale);
        OpenLikeThePanel(scale);
        const int visibleRight = VisibleTextRight(Frame());
        RECT format{};
        ::SendMessageW(Edit(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        POINT formatRight{format.right, format.top};
        ::ClientToScreen(Edit(), &formatRight);
        EXPECT_LE(formatRight.x, visibleRight) << "no text under the bar";
        EXPECT_GT(formatRight.x, visibleRight - 8) << "nor a wide empty strip before it";

        const std::vector<int> edges = WrappedLineRightEdges(Edit());
        ASSERT_FALSE(edges.empty()) << "some long lines are broken";
        for (int edge : edges)
            EXPECT_LE(edge, visibleRight);
        if (scale == 1.0f)
            Screenshot(L"agreement_wrap.png");
    }
}
