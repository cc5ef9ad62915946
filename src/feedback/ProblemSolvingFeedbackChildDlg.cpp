#include "feedback/ProblemSolvingFeedbackChildDlg.h"

#include "feedback/KnowledgeBase.h"
#include "res/resource.h"
#include "skin/SkinScale.h"

#include <cstdio>
#include <ctime>

namespace {

// The panel image's design size and the answer buttons' image size.
constexpr double kPanelWidth = 400;
constexpr double kPanelHeight = 468;
constexpr double kButtonWidth = 266;
constexpr double kButtonHeight = 60;
constexpr double kRowStep = 80;  // vertical distance between the buttons' rows
constexpr int kGlowMargin = 9;   // transparent edge of the button images

// Where the three buttons lie on the panel image (solved, not solved, more).
constexpr RECT kDesignRects[3] = {
    {67, 154, 333, 214},
    {67, 234, 333, 294},
    {67, 314, 333, 374},
};

}  // namespace

FeedbackLayout LayoutFeedback(const RECT& r, float scale)
{
    const double s = scale;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    FeedbackLayout layout{};

    layout.close.left = Truncated(r.right - 18 * s);
    layout.close.top = Truncated(r.top + 6 * s);
    layout.close.right = Truncated(layout.close.left + 12 * s);
    layout.close.bottom = Truncated(layout.close.top + 12 * s);

    if (width <= kPanelWidth) {
        // The panel at its design size: the buttons keep their image size around the centre.
        static const int kOffsets[3] = {-80, 0, 80};
        for (int i = 0; i < 3; ++i) {
            const int left = r.left + width / 2 - 133;
            const int top = r.top + height / 2 + kOffsets[i];
            layout.buttons[i] = RECT{left, top, left + 266, top + 60};
            layout.backdrops[i] = layout.buttons[i];
        }
        layout.hotInset = kGlowMargin;
        return layout;
    }

    const int halfHeight = Truncated(s * kPanelHeight / 2);
    const int step = Scaled(kRowStep, scale);
    const int sideLeft = r.left + Truncated(s * kPanelWidth / 2) - Truncated(s * kButtonWidth / 2);
    const int lefts[3] = {r.left + Truncated(s * kPanelWidth / 2 - s * kButtonWidth / 2), sideLeft,
                          sideLeft};
    const int tops[3] = {r.top + Truncated(s * kPanelHeight / 2 - step), r.top + halfHeight,
                         r.top + halfHeight + step};
    for (int i = 0; i < 3; ++i) {
        layout.buttons[i] = RECT{lefts[i], tops[i], lefts[i] + Scaled(kButtonWidth, scale),
                                 tops[i] + Scaled(kButtonHeight, scale)};
        layout.backdrops[i] = kDesignRects[i];
    }
    layout.hotInset = Scaled(kGlowMargin, scale);
    return layout;
}

std::wstring FeedbackTimeText(__time64_t now)
{
    wchar_t text[16];
    swprintf(text, 16, L"%d", static_cast<int>(static_cast<unsigned int>(now & 0xFFFFFFFF)));
    return text;
}

CProblemSolvingFeedbackChildDlg::CProblemSolvingFeedbackChildDlg(CWnd* parent)
    : CSkinContentDlg(IDD_FEEDBACK_CHILD, IDB_FEEDBACK_PANEL, parent)
{
    m_bDragsPair = TRUE;
}

void CProblemSolvingFeedbackChildDlg::DoDataExchange()
{
    DDX_Control(IDC_BTN_FEEDBACK_CLOSE, m_btnClose);
    DDX_Control(IDC_BTN_SOLVED, m_btnSolved);
    DDX_Control(IDC_BTN_UNSOLVED, m_btnUnsolved);
    DDX_Control(IDC_BTN_MORE_PLANS, m_btnMore);
}

void CProblemSolvingFeedbackChildDlg::LayoutControls(BOOL first)
{
    GetClientRect(&m_rcClient);
    const FeedbackLayout layout = LayoutFeedback(m_rcClient, m_fScale);

    m_btnClose.m_fScale = m_fScale;
    // Loaded once: a later layout would otherwise lose the images loaded before.
    if (first)
        m_btnClose.SetStateImages(IDB_FEEDBACK_CLOSE_NORMAL, IDB_FEEDBACK_CLOSE_HOVER,
                                  IDB_FEEDBACK_CLOSE_PRESSED, IDB_FEEDBACK_CLOSE_DISABLED);
    m_btnClose.MoveWindow(layout.close, TRUE);

    CImageButton* buttons[3] = {&m_btnSolved, &m_btnUnsolved, &m_btnMore};
    static const UINT kFirstImage[3] = {IDB_SOLVED_NORMAL, IDB_UNSOLVED_NORMAL,
                                        IDB_MORE_PLANS_NORMAL};
    for (int i = 0; i < 3; ++i) {
        CImageButton& button = *buttons[i];
        if (first) {
            const RECT& source = layout.backdrops[i];
            button.SetBackdrop(m_pBackground.get());
            button.SetBackdropRect(source.left, source.top, source.right, source.bottom);
            button.SetHotMargins(layout.hotInset, layout.hotInset, layout.hotInset,
                                 layout.hotInset);
            const UINT image = kFirstImage[i];
            button.SetStateImages(image, image + 1, image + 2, image + 3);
        }
        button.MoveWindow(layout.buttons[i], TRUE);
    }
}

void CProblemSolvingFeedbackChildDlg::Answer(int code)
{
    if (m_bAnswered)
        return;
    m_bAnswered = TRUE;
    if (m_pFeedback) {
        const std::wstring now = FeedbackTimeText(_time64(nullptr));
        m_pFeedback->CustomerFeedbackEx(m_tool.id, m_tool.version, code, now.c_str());
        m_pFeedback->FeedbackQuestion(m_tool.id, m_tool.version);
    }
    ::SendMessageW(GetParent(), WM_CLOSE, 0, 0);
}

void CProblemSolvingFeedbackChildDlg::OpenKnowledgeBase()
{
    if (m_pFeedback)
        m_pFeedback->OpenUrl(KB_HOME_URL);
}

BOOL CProblemSolvingFeedbackChildDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // An owner-drawn button reports the second press of a quick pair as a double click; on
    // the more button that is one more request for the page.
    if (HIWORD(wParam) == BN_DOUBLECLICKED && LOWORD(wParam) == IDC_BTN_MORE_PLANS) {
        OpenKnowledgeBase();
        return TRUE;
    }
    if (HIWORD(wParam) != BN_CLICKED)
        return CSkinContentDlg::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_BTN_SOLVED:
        // A click on the transparent glow, or one the cursor has left, answers nothing.
        if (m_btnSolved.IsCursorInHotArea())
            Answer(FEEDBACK_SOLVED);
        return TRUE;
    case IDC_BTN_UNSOLVED:
        if (m_btnUnsolved.IsCursorInHotArea())
            Answer(FEEDBACK_UNSOLVED);
        return TRUE;
    case IDC_BTN_FEEDBACK_CLOSE:
        Answer(FEEDBACK_CLOSED);
        return TRUE;
    case IDC_BTN_MORE_PLANS:
        OpenKnowledgeBase();
        return TRUE;
    default:
        return CSkinContentDlg::OnCommand(wParam, lParam);
    }
}
