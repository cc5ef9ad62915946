// The skinned controls on a plain test dialog, with the tests' own plain-colour images:
// pixels read back from the controls after real pointer input.
#include "SkinTestSupport.h"

#include "framework/Dialog.h"
#include "res/ControlsTest.h"
#include "skin/CheckBoxBtn.h"
#include "skin/DrawStateInfoStatic.h"
#include "skin/DrawTextStatic.h"
#include "skin/ImageButton.h"
#include "skin/PngButton.h"
#include "skin/PngResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace guitest;

namespace {

const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kGreen = RGB(0, 200, 0);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kCyan = RGB(0, 200, 200);
const COLORREF kYellow = RGB(240, 220, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kCellEmpty = RGB(0, 0, 255);
const COLORREF kCellTicked = RGB(0, 160, 0);

class CCountingTextStatic : public CDrawTextStatic {
public:
    int paints = 0;

protected:
    void OnPaint() override
    {
        ++paints;
        CDrawTextStatic::OnPaint();
    }
};

class CControlsDlg : public CDialog {
public:
    CControlsDlg() : CDialog(IDD_CONTROLS_TEST) {}
    ~CControlsDlg() override { DeletePngImage(m_pPanel); }

    CPngButton m_png;
    CPngButton m_edge;
    CImageButton m_image;
    CCheckBoxBtn m_check;
    CDrawStateInfoStatic m_state;
    CCountingTextStatic m_text;
    Gdiplus::Image* m_pPanel = nullptr;
    std::vector<int> clicks;

protected:
    void DoDataExchange() override
    {
        DDX_Control(IDC_TEST_PNG_BUTTON, m_png);
        DDX_Control(IDC_TEST_EDGE_BUTTON, m_edge);
        DDX_Control(IDC_TEST_IMAGE_BUTTON, m_image);
        DDX_Control(IDC_TEST_CHECK, m_check);
        DDX_Control(IDC_TEST_STATE_STATIC, m_state);
        DDX_Control(IDC_TEST_TEXT_STATIC, m_text);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        LoadPngFromResource(&m_pPanel, IDB_TEST_PANEL);
        m_png.SetStateImages(IDB_TEST_NORMAL, IDB_TEST_HOVER, IDB_TEST_PRESSED, IDB_TEST_DISABLED);
        m_edge.SetStateImages(IDB_TEST_EDGE, IDB_TEST_EDGE, IDB_TEST_EDGE, IDB_TEST_EDGE);
        m_image.SetStateImages(IDB_TEST_BIG_NORMAL, IDB_TEST_BIG_HOVER, IDB_TEST_BIG_PRESSED,
                               IDB_TEST_BIG_DISABLED);
        m_image.SetBackdrop(m_pPanel);
        m_image.SetBackdropRect(0, 0, 60, 40);
        m_check.CreateFontFromParent();
        m_check.SetCheck(BST_CHECKED);
        m_state.CreateFontFromParent();
        m_text.CreateFontFromParent();
        ::MoveWindow(m_hWnd, 100, 100, 320, 260, FALSE);
        m_png.MoveWindow(10, 10, 40, 20);
        m_edge.MoveWindow(60, 10, 10, 10);
        m_image.MoveWindow(10, 40, 60, 40);
        m_check.MoveWindow(10, 90, 120, 20);
        m_state.MoveWindow(10, 120, 200, 40);
        m_text.MoveWindow(10, 170, 200, 40);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == BN_CLICKED)
            clicks.push_back(LOWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }
    void OnDestroy() override
    {
        m_png.ReleaseStateImages();
        m_edge.ReleaseStateImages();
        m_image.ReleaseStateImages();
        Default();
    }
};

POINT ScreenPointOf(HWND hWnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(hWnd, &p);
    return p;
}

void PointAt(HWND hWnd, int x, int y)
{
    POINT p = ScreenPointOf(hWnd, x, y);
    MoveTo(p.x, p.y);
    PumpFor(200);
}

void Repaint(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(50);
}

// The bounding box of the pixels that differ clearly from the background colour.
RECT InkBox(HWND hWnd, COLORREF background)
{
    RECT client;
    ::GetClientRect(hWnd, &client);
    HDC windowDC = ::GetDC(hWnd);
    HDC hdc = ::CreateCompatibleDC(windowDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(windowDC, client.right, client.bottom);
    HGDIOBJ previous = ::SelectObject(hdc, bitmap);
    ::BitBlt(hdc, 0, 0, client.right, client.bottom, windowDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, windowDC);
    RECT box{client.right, client.bottom, -1, -1};
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (!NearColor(::GetPixel(hdc, x, y), background, 60)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    ::SelectObject(hdc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(hdc);
    return box;
}

// Mean red and blue of the pixels in box that differ from white.
void InkMeans(HWND hWnd, const RECT& box, int* red, int* blue)
{
    long sumRed = 0, sumBlue = 0, count = 0;
    for (int x = box.left; x < box.right; ++x)
        for (int y = box.top; y < box.bottom; ++y) {
            COLORREF c = WindowDcPixel(hWnd, x, y);
            if (NearColor(c, RGB(255, 255, 255), 60))
                continue;
            sumRed += GetRValue(c);
            sumBlue += GetBValue(c);
            ++count;
        }
    *red = count ? static_cast<int>(sumRed / count) : -1;
    *blue = count ? static_cast<int>(sumBlue / count) : -1;
}

bool HasInk(const RECT& box)
{
    return box.right > box.left;
}

class SkinControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        MoveTo(1000, 900);
        ASSERT_TRUE(m_dlg.Create(IDD_CONTROLS_TEST, nullptr));
        m_dlg.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_dlg);
        PumpFor(300);
    }
    void TearDown() override
    {
        MoveTo(1000, 900);
        m_dlg.DestroyWindow();
        PumpFor(50);
    }
    CControlsDlg m_dlg;
};

#define EXPECT_COLOR(actual, expected)                                                       \
    do {                                                                                     \
        COLORREF seen_ = (actual);                                                           \
        EXPECT_TRUE(NearColor(seen_, (expected)))                                            \
            << "got " << int(GetRValue(seen_)) << "," << int(GetGValue(seen_)) << ","        \
            << int(GetBValue(seen_));                                                        \
    } while (0)

}  // namespace

TEST_F(SkinControls, PngButtonShowsTheImageOfItsState)
{
    HWND button = m_dlg.m_png;
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kRed);

    PointAt(button, 20, 10);  // rests longer than the 10 ms hover time
    EXPECT_EQ(m_dlg.m_png.GetState(), STATE_HOVER);
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kGreen);

    LeftDown();
    PumpFor(150);
    EXPECT_EQ(m_dlg.m_png.GetState(), STATE_PRESSED);
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kBlue);

    LeftUp();
    PumpFor(150);
    EXPECT_EQ(m_dlg.m_png.GetState(), STATE_HOVER) << "released: hover, not normal";
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kGreen);
    EXPECT_EQ(m_dlg.clicks, std::vector<int>{IDC_TEST_PNG_BUTTON});

    PointAt(m_dlg, 200, 20);
    EXPECT_EQ(m_dlg.m_png.GetState(), STATE_NORMAL);
    EXPECT_FALSE(m_dlg.m_png.IsTracking());
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kRed);

    // Disabled: the disabled image whatever the pointer does; the state stays.
    m_dlg.m_png.EnableWindow(FALSE);
    Repaint(button);
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kGrey);
    PointAt(button, 20, 10);
    LeftDown();
    PumpFor(100);
    LeftUp();
    PumpFor(100);
    EXPECT_EQ(m_dlg.m_png.GetState(), STATE_NORMAL);
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kGrey);
    EXPECT_EQ(m_dlg.clicks.size(), 1u);
    PointAt(m_dlg, 200, 20);

    m_dlg.m_png.EnableWindow(TRUE);
    Repaint(button);
    EXPECT_COLOR(WindowDcPixel(button, 20, 10), kRed);
}

TEST_F(SkinControls, PngButtonLeavesOutTheLastColumnAndRowWhenEnlarged)
{
    HWND edge = m_dlg.m_edge;
    EXPECT_EQ(m_dlg.m_edge.SourceRectFor(10, 10).Width, 10);
    // Scale 1: drawn 1:1 from the full image, the magenta edge shows.
    EXPECT_COLOR(WindowDcPixel(edge, 9, 4), kMagenta);
    EXPECT_COLOR(WindowDcPixel(edge, 4, 9), kMagenta);
    EXPECT_COLOR(WindowDcPixel(edge, 4, 4), kGreen);

    // Enlarged to 20 x 20 at scale 1 the whole image is drawn: the edge fills the last pixels.
    m_dlg.m_edge.MoveWindow(60, 10, 20, 20);
    Repaint(edge);
    int fullRight = GetRValue(WindowDcPixel(edge, 19, 10));
    EXPECT_GT(GetRValue(WindowDcPixel(edge, 18, 10)), 150);
    EXPECT_GT(GetRValue(WindowDcPixel(edge, 10, 18)), 150);

    // At scale 2 the source is one column and one row smaller: no magenta pixel inside, at
    // most a trace of it in the very last one where the stretching reaches the edge.
    m_dlg.m_edge.m_fScale = 2.0f;
    Repaint(edge);
    Gdiplus::Rect source = m_dlg.m_edge.SourceRectFor(10, 10);
    EXPECT_EQ(source.Width, 9);
    EXPECT_EQ(source.Height, 9);
    for (int i = 0; i < 19; i += 3) {
        SCOPED_TRACE(i);
        EXPECT_LT(GetRValue(WindowDcPixel(edge, 18, i)), 60);
        EXPECT_LT(GetRValue(WindowDcPixel(edge, i, 18)), 60);
    }
    EXPECT_LT(GetRValue(WindowDcPixel(edge, 19, 10)), fullRight);
    EXPECT_COLOR(WindowDcPixel(edge, 10, 10), kGreen);
    EXPECT_EQ(m_dlg.m_edge.SourceRectFor(10, 10).Width, 9);
    m_dlg.m_edge.m_fScale = 1.25f;
    EXPECT_EQ(m_dlg.m_edge.SourceRectFor(26, 34).Width, 25);
    EXPECT_EQ(m_dlg.m_edge.SourceRectFor(26, 34).Height, 33);
    m_dlg.m_edge.m_fScale = 0.9f;
    EXPECT_EQ(m_dlg.m_edge.SourceRectFor(26, 34).Width, 26);
}

TEST_F(SkinControls, ImageButtonStatesBackdropAndHotArea)
{
    HWND button = m_dlg.m_image;
    // The transparent margin shows the backdrop (cyan part of the panel), the core the state.
    EXPECT_COLOR(WindowDcPixel(button, 2, 2), kCyan);
    EXPECT_COLOR(WindowDcPixel(button, 30, 20), kRed);

    PointAt(button, 30, 20);
    EXPECT_COLOR(WindowDcPixel(button, 30, 20), kGreen);
    // A state's image is decoded when the button first enters that state, once.
    const int beforePress = LivePngImageCount();
    LeftDown();
    PumpFor(150);
    EXPECT_EQ(LivePngImageCount(), beforePress + 1);
    EXPECT_COLOR(WindowDcPixel(button, 30, 20), kBlue);
    LeftUp();
    PumpFor(150);
    EXPECT_COLOR(WindowDcPixel(button, 30, 20), kGreen);
    PointAt(m_dlg, 200, 20);
    EXPECT_COLOR(WindowDcPixel(button, 30, 20), kRed);

    m_dlg.m_image.SetHotMargins(19, 19, 19, 19);
    PointAt(button, 5, 5);
    EXPECT_FALSE(m_dlg.m_image.IsCursorInHotArea());
    PointAt(button, 30, 20);
    EXPECT_TRUE(m_dlg.m_image.IsCursorInHotArea());
    m_dlg.m_image.SetHotMargins(0, 0, 0, 0);
    PointAt(button, 5, 5);
    EXPECT_TRUE(m_dlg.m_image.IsCursorInHotArea());
    PointAt(m_dlg, 200, 20);

    const int beforeDisable = LivePngImageCount();
    m_dlg.m_image.EnableWindow(FALSE);
    Repaint(button);
    EXPECT_COLOR(WindowDcPixel(button, 30, 20), kGrey);
    m_dlg.m_image.EnableWindow(TRUE);
    m_dlg.m_image.EnableWindow(FALSE);
    m_dlg.m_image.EnableWindow(TRUE);
    EXPECT_EQ(LivePngImageCount(), beforeDisable + 1);

    // Erasing alone paints the whole button.
    HDC screen = ::GetDC(nullptr);
    HDC memDC = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 60, 40);
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    RECT all{0, 0, 60, 40};
    ::FillRect(memDC, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(::SendMessageW(button, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDC), 0), TRUE);
    EXPECT_COLOR(::GetPixel(memDC, 2, 2), kCyan);
    EXPECT_COLOR(::GetPixel(memDC, 30, 20), kRed);
    ::SelectObject(memDC, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memDC);
    ::ReleaseDC(nullptr, screen);

    // Releasing twice is harmless.
    int live = LivePngImageCount();
    m_dlg.m_image.ReleaseStateImages();
    EXPECT_EQ(LivePngImageCount(), live - 4);
    m_dlg.m_image.ReleaseStateImages();
    EXPECT_EQ(LivePngImageCount(), live - 4);
}

TEST_F(SkinControls, CheckBoxCellsAndTextStart)
{
    HWND box = m_dlg.m_check;
    RECT client;
    ::GetClientRect(box, &client);
    RECT cell = m_dlg.m_check.BoxRectFor(client);
    EXPECT_EQ(cell.left, 0);
    EXPECT_EQ(cell.top, 2);
    EXPECT_EQ(cell.right - cell.left, 16);
    EXPECT_EQ(m_dlg.m_check.TextLeftFor(client), 18);

    EXPECT_COLOR(WindowDcPixel(box, 8, 10), kCellTicked);
    // Text: black ink from x 18 on, nothing between the box and 18.
    RECT ink = InkBox(box, kWhite);
    bool gap = true;
    for (int y = 0; y < 20; ++y)
        for (int x = 16; x < 18; ++x)
            gap = gap && NearColor(WindowDcPixel(box, x, y), kWhite, 60);
    EXPECT_TRUE(gap);
    RECT textInk{client.right, 0, 0, 0};
    for (int x = 18; x < client.right && textInk.left == client.right; ++x)
        for (int y = 0; y < 20; ++y)
            if (!NearColor(WindowDcPixel(box, x, y), kWhite, 60)) {
                textInk.left = x;
                break;
            }
    EXPECT_GE(textInk.left, 18);
    EXPECT_LE(textInk.left, 21);
    EXPECT_GT(ink.right, 40) << "the two characters are drawn";

    // A real click toggles it and the parent hears of it.
    PointAt(box, 8, 10);
    LeftDown();
    PumpFor(80);
    LeftUp();
    PumpFor(200);
    EXPECT_EQ(m_dlg.m_check.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(m_dlg.clicks, std::vector<int>{IDC_TEST_CHECK});
    EXPECT_COLOR(WindowDcPixel(box, 8, 10), kCellEmpty);
    PointAt(m_dlg, 200, 20);

    // Indeterminate shows the empty cell too.
    ::SendMessageW(box, BM_SETSTYLE, BS_AUTO3STATE, TRUE);
    m_dlg.m_check.SetCheck(BST_INDETERMINATE);
    ASSERT_EQ(m_dlg.m_check.GetCheck(), BST_INDETERMINATE);
    Repaint(box);
    EXPECT_COLOR(WindowDcPixel(box, 8, 10), kCellEmpty);
    m_dlg.m_check.SetCheck(BST_CHECKED);
    Repaint(box);
    EXPECT_COLOR(WindowDcPixel(box, 8, 10), kCellTicked);
}

TEST(SkinCheckBox, AtScale2TheBoxIs32AndTextStartsAt34)
{
    CControlsDlg dlg;
    dlg.m_check.m_fScale = 2.0f;
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS_TEST, nullptr));
    // The control takes its final size before it first paints, clear of the other controls.
    dlg.m_check.MoveWindow(130, 40, 160, 40);
    dlg.ShowWindow(SW_SHOW);
    PumpFor(300);
    HWND box = dlg.m_check;
    RECT client;
    ::GetClientRect(box, &client);
    RECT cell = dlg.m_check.BoxRectFor(client);
    EXPECT_EQ(cell.right - cell.left, 32);
    EXPECT_EQ(cell.top, 4);
    EXPECT_EQ(dlg.m_check.TextLeftFor(client), 34);
    EXPECT_COLOR(WindowDcPixel(box, 1, 5), kCellTicked);
    EXPECT_COLOR(WindowDcPixel(box, 30, 34), kCellTicked);
    EXPECT_COLOR(WindowDcPixel(box, 33, 20), kWhite);
    int first = -1;
    for (int x = 32; x < client.right && first < 0; ++x)
        for (int y = 0; y < client.bottom; ++y)
            if (!NearColor(WindowDcPixel(box, x, y), kWhite, 60)) {
                first = x;
                break;
            }
    EXPECT_GE(first, 34);
    EXPECT_LE(first, 37);
    dlg.DestroyWindow();
}

TEST_F(SkinControls, StateStaticLayoutModes)
{
    HWND label = m_dlg.m_state;
    m_dlg.m_state.SetWindowText(L"正在修复");
    RECT client;
    ::GetClientRect(label, &client);
    int width = client.right;
    int height = client.bottom;
    EXPECT_EQ(m_dlg.m_state.GetAlignment(), TextAlignment::SingleLineLeft);
    struct Expect {
        TextAlignment alignment;
        int column;  // 0 left, 1 centre, 2 right
        bool wrapped;
    };
    const Expect modes[] = {
        {TextAlignment::SingleLineLeft, 0, false}, {TextAlignment::SingleLineCentred, 1, false},
        {TextAlignment::SingleLineRight, 2, false}, {TextAlignment::WrappedLeft, 0, true},
        {TextAlignment::WrappedCentred, 1, true},   {TextAlignment::WrappedRight, 2, true},
    };
    for (const auto& [alignment, column, wrapped] : modes) {
        SCOPED_TRACE(static_cast<int>(alignment));
        m_dlg.m_state.SetAlignment(alignment);
        Repaint(label);
        RECT ink = InkBox(label, kWhite);
        ASSERT_TRUE(HasInk(ink));
        int middleX = (ink.left + ink.right) / 2;
        int middleY = (ink.top + ink.bottom) / 2;
        if (column == 0) {
            EXPECT_LE(ink.left, 3);
        }
        if (column == 1) {
            EXPECT_LE(abs(middleX - width / 2), 3);
        }
        if (column == 2) {
            EXPECT_GE(ink.right, width - 3);
        }
        if (wrapped) {
            EXPECT_LE(ink.top, 4) << "wrapped text starts at the top";
        } else {
            EXPECT_LE(abs(middleY - height / 2), 3) << "one line, vertically centred";
        }
    }
    // Colour and backdrop.
    m_dlg.m_state.SetAlignment(TextAlignment::SingleLineCentred);
    m_dlg.m_state.SetForeColor(RGB(255, 255, 255));
    m_dlg.m_state.SetBackdrop(m_dlg.m_pPanel);
    m_dlg.m_state.SetBackdropRect(110, 0, 200, 100);
    Repaint(label);
    EXPECT_COLOR(WindowDcPixel(label, 2, 2), kYellow);
    RECT ink = InkBox(label, kYellow);
    ASSERT_TRUE(HasInk(ink));
    EXPECT_TRUE(NearColor(WindowDcPixel(label, (ink.left + ink.right) / 2, 0), kYellow));
    m_dlg.m_state.SetBackdropRect(0, 0, 100, 100);
    Repaint(label);
    EXPECT_COLOR(WindowDcPixel(label, 2, 2), kCyan);
}

TEST_F(SkinControls, StateStaticDotsCycleOnceASecond)
{
    HWND label = m_dlg.m_state;
    m_dlg.m_state.SetWindowText(L"正在修复，请稍等");
    m_dlg.m_state.SetAlignment(TextAlignment::SingleLineLeft);
    Repaint(label);
    RECT bare = InkBox(label, kWhite);
    ASSERT_TRUE(HasInk(bare));

    m_dlg.m_state.StartAnimation();
    std::vector<int> counts{m_dlg.m_state.GetDotCount()};
    std::vector<DWORD> times{::GetTickCount()};
    std::vector<LONG> rights{bare.right};
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 5500) {
        PumpFor(20);
        if (m_dlg.m_state.GetDotCount() != counts.back()) {
            counts.push_back(m_dlg.m_state.GetDotCount());
            times.push_back(::GetTickCount());
            ::UpdateWindow(label);
            rights.push_back(InkBox(label, kWhite).right);
        }
    }
    EXPECT_EQ(counts, (std::vector<int>{0, 1, 2, 3, 0, 1}));
    for (size_t i = 2; i < times.size(); ++i) {
        DWORD step = times[i] - times[i - 1];
        EXPECT_GE(step, 800u);
        EXPECT_LE(step, 1300u);
    }
    ASSERT_EQ(rights.size(), 6u);
    EXPECT_GT(rights[1], rights[0]);
    EXPECT_GT(rights[2], rights[1]);
    EXPECT_GT(rights[3], rights[2]);
    EXPECT_EQ(rights[4], bare.right);
    EXPECT_EQ(m_dlg.m_state.DisplayText(), L"正在修复，请稍等.");

    m_dlg.m_state.StopAnimation();
    PumpFor(1500);
    EXPECT_EQ(m_dlg.m_state.GetDotCount(), 0);
    EXPECT_EQ(InkBox(label, kWhite).right, bare.right);
}

TEST_F(SkinControls, TextStaticModesColoursAndHover)
{
    CCountingTextStatic& label = m_dlg.m_text;
    HWND hWnd = label;
    label.SetWindowText(L"反馈问题");
    RECT client;
    ::GetClientRect(hWnd, &client);
    EXPECT_EQ(label.GetAlignment(), TextAlignment::WrappedLeft);
    struct Expect {
        TextAlignment alignment;
        int column;  // 0 left, 1 centre, 2 right
        bool oneLine;
    };
    const Expect modes[] = {{TextAlignment::WrappedLeft, 0, false},
                            {TextAlignment::SingleLineLeft, 0, true},
                            {TextAlignment::SingleLineCentred, 1, true},
                            {TextAlignment::WrappedRight, 2, false}};
    for (const Expect& e : modes) {
        SCOPED_TRACE(static_cast<int>(e.alignment));
        label.SetAlignment(e.alignment);
        Repaint(hWnd);
        RECT ink = InkBox(hWnd, kWhite);
        ASSERT_TRUE(HasInk(ink));
        if (e.column == 0) {
            EXPECT_LE(ink.left, 3);
        }
        if (e.column == 1) {
            EXPECT_LE(abs((ink.left + ink.right) / 2 - client.right / 2), 3);
        }
        if (e.column == 2) {
            EXPECT_GE(ink.right, client.right - 3);
        }
        if (e.oneLine) {
            EXPECT_LE(abs((ink.top + ink.bottom) / 2 - client.bottom / 2), 3);
        } else {
            EXPECT_LE(ink.top, 4);
        }
    }
    // No text: background only.
    label.SetAlignment(TextAlignment::None);
    Repaint(hWnd);
    EXPECT_FALSE(HasInk(InkBox(hWnd, kWhite)));
    label.SetBackdrop(m_dlg.m_pPanel);
    label.SetBackdropRect(0, 0, 90, 100);  // well inside the cyan half
    Repaint(hWnd);
    EXPECT_FALSE(HasInk(InkBox(hWnd, kCyan)));
    EXPECT_COLOR(WindowDcPixel(hWnd, 100, 20), kCyan);
    label.SetBackdrop(nullptr);

    // Hover: repaint only on a change of state.
    label.SetAlignment(TextAlignment::SingleLineLeft);
    label.SetTextColors(RGB(0, 0, 0), RGB(0, 0, 255));
    Repaint(hWnd);
    RECT window;
    ::GetWindowRect(hWnd, &window);
    POINT inside{window.left + 5, window.top + 5};
    POINT outside{window.left - 5, window.top + 5};
    EXPECT_TRUE(label.HitTest(inside));
    EXPECT_FALSE(label.HitTest(outside));
    int paints = label.paints;
    label.UpdateHover(inside);
    PumpFor(50);
    label.UpdateHover(inside);
    PumpFor(50);
    EXPECT_EQ(label.paints, paints + 1);
    EXPECT_TRUE(label.IsHover());
    RECT ink = InkBox(hWnd, kWhite);
    int red = 0, blue = 0;
    InkMeans(hWnd, ink, &red, &blue);
    EXPECT_GT(blue, red + 100) << "hover colour";
    label.UpdateHover(outside);
    PumpFor(50);
    label.UpdateHover(outside);
    PumpFor(50);
    EXPECT_EQ(label.paints, paints + 2);
    EXPECT_FALSE(label.IsHover());
    InkMeans(hWnd, ink, &red, &blue);
    EXPECT_LT(abs(blue - red), 40) << "back to the normal colour";
}

TEST(SkinTextStatic, BackColourCountsOnlyBeforeTheFirstPaint)
{
    CControlsDlg dlg;
    dlg.m_text.SetBackColor(RGB(240, 220, 0));
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS_TEST, nullptr));
    dlg.ShowWindow(SW_SHOW);
    PumpFor(300);
    HWND hWnd = dlg.m_text;
    EXPECT_COLOR(WindowDcPixel(hWnd, 190, 35), kYellow);
    dlg.m_text.SetBackColor(RGB(0, 0, 255));
    Repaint(hWnd);
    EXPECT_COLOR(WindowDcPixel(hWnd, 190, 35), kYellow);
    dlg.DestroyWindow();
}

TEST_F(SkinControls, Screenshot)
{
    m_dlg.m_state.SetAlignment(TextAlignment::WrappedCentred);
    m_dlg.m_state.SetForeColor(RGB(255, 255, 255));
    m_dlg.m_state.SetBackdrop(m_dlg.m_pPanel);
    m_dlg.m_state.SetBackdropRect(0, 0, 100, 40);
    m_dlg.m_state.StartAnimation();
    m_dlg.m_text.SetAlignment(TextAlignment::SingleLineLeft);
    m_dlg.m_text.SetTextColors(RGB(255, 92, 92), RGB(0, 0, 255));
    m_dlg.m_text.SetWindowText(L"《Halvex服务工具使用许可协议》");
    PointAt(m_dlg.m_image, 30, 20);
    PumpFor(2200);
    EXPECT_TRUE(SaveScreenshot(L"controls"));
    EXPECT_TRUE(SaveWindowShot(m_dlg, L"controls_dialog"));
}
