#include "skin/SkinDialog.h"

#include "res/MessageIds.h"
#include "skin/LayeredWindow.h"
#include "skin/PngResource.h"
#include "skin/SkinScale.h"

namespace {

constexpr UINT kRaiseContentDelay = 60;

}  // namespace

BOOL IsSwallowedSkinKey(const MSG* msg)
{
    return msg && msg->message == WM_KEYDOWN &&
           (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN);
}

// ---- background window ----

CSkinBackgroundDlg::CSkinBackgroundDlg(UINT templateId, CWnd* parent, const SkinPairValues& values)
    : CDialog(templateId, parent), m_values(values)
{
}

CSkinBackgroundDlg::~CSkinBackgroundDlg() = default;

BOOL CSkinBackgroundDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitSkinPair();
    return TRUE;
}

RECT CSkinBackgroundDlg::TargetRect()
{
    RECT window;
    GetWindowRect(&window);
    return RECT{window.left, window.top, window.left + Scaled(m_values.designWidth, m_fScale),
                window.top + Scaled(m_values.designHeight, m_fScale)};
}

RECT CSkinBackgroundDlg::ContentBaseRect()
{
    RECT window;
    GetWindowRect(&window);
    return window;
}

RECT CSkinBackgroundDlg::ContentRectFrom(const RECT& base)
{
    double s = m_fScale;
    const SkinInsets& in = m_values.creation;
    int left = Truncated(base.left + in.left * s);
    int top = Truncated(base.top + in.top * s);
    int width = Truncated((base.right - base.left) - in.right * s);
    int height = Truncated((base.bottom - base.top) - in.bottom * s);
    return RECT{left, top, left + width, top + height};
}

void CSkinBackgroundDlg::OnBackgroundMissing()
{
    if (m_bEndIfImageMissing)
        EndDialog(IDCANCEL);
}

BOOL CSkinBackgroundDlg::InitSkinPair()
{
    RECT target = TargetRect();
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(GetExStyle() ^ WS_EX_LAYERED));

    if (!m_pBackground && !LoadPngFromResource(m_pBackground, m_values.backgroundPng)) {
        OnBackgroundMissing();
        return FALSE;
    }
    PaintLayeredBackground(m_hWnd, m_pBackground.get(), target.right - target.left,
                           target.bottom - target.top);

    RECT content = ContentRectFrom(ContentBaseRect());
    m_pContent.reset(CreateContent());
    if (!m_pContent)
        return TRUE;
    m_pContent->m_fScale = m_fScale;
    // Placed before its initialisation, it lays its controls out once, not twice.
    if (!m_pContent->CreateAt(m_pContent->TemplateId(), this, content))
        return TRUE;
    if (!m_bShowsWhenIdle || !IsModal() || IsWindowVisible()) {
        m_pContent->ShowWindow(SW_SHOW);
        m_pContent->FocusFirstControl();
    }
    OnContentCreated();
    return TRUE;
}

void CSkinBackgroundDlg::ShowWhenIdle()
{
    if (!m_pContent || !m_pContent->IsWindow()) {
        CDialog::ShowWhenIdle();
        return;
    }
    // The content window shows last and takes the activation: the X11 driver raises each
    // window as it is mapped, and a button can be pressed as soon as it shows.
    ShowWindow(SW_SHOWNA);
    UpdateWindow();
    m_pContent->ShowWindow(SW_SHOW);
    m_pContent->FocusFirstControl();
    m_pContent->UpdateWindow();
}

void CSkinBackgroundDlg::OnMove(int, int)
{
    Default();
    if (!m_bFollow || !m_pContent || !m_pContent->IsWindow())
        return;
    RECT r;
    GetWindowRect(&r);
    const SkinInsets& in = m_values.follow;
    r.left += Scaled(in.left, m_fScale);
    r.top += Scaled(in.top, m_fScale);
    r.right -= Scaled(in.right, m_fScale);
    r.bottom -= Scaled(in.bottom, m_fScale);
    m_pContent->MoveWindow(r, TRUE);
}

int CSkinBackgroundDlg::FollowContent(int left, int top, int right, int bottom)
{
    m_bFollow = FALSE;
    const SkinInsets& out = m_values.dragOutsets;
    RECT r{left - Scaled(out.left, m_fScale), top - Scaled(out.top, m_fScale),
           right + Scaled(out.right, m_fScale), bottom + Scaled(out.bottom, m_fScale)};
    MoveWindow(r, TRUE);
    return 0;
}

void CSkinBackgroundDlg::OnDestroy()
{
    Default();
    m_pBackground.reset();
    m_pContent.reset();
}

LRESULT CSkinBackgroundDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_WINDOWPOSCHANGED: {
        LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
        auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos && ((pos->flags & SWP_SHOWWINDOW) || !(pos->flags & SWP_NOZORDER)))
            SetTimer(TIMER_RAISE_CONTENT, kRaiseContentDelay);
        return result;
    }
    case WM_ENABLE:
        // Disabled for a modal prompt that is about to come up.  On a slow start it may come
        // before RaiseContent ran, with the X server still holding this window over the
        // content, and a disabled content cannot take the activation afterwards: restack the
        // content there now, before the prompt maps over it.  Wine raises a window on the X
        // server only when it comes to the top of its own order, hence the way round.
        if (!wParam && m_pContent && m_pContent->IsWindow() && ::IsWindowVisible(m_pContent->m_hWnd)) {
            const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
            ::SetWindowPos(m_pContent->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, keep);
            ::SetWindowPos(m_pContent->m_hWnd, HWND_TOP, 0, 0, 0, 0, keep);
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            SetTimer(TIMER_RAISE_CONTENT, kRaiseContentDelay);
        break;
    case WM_TIMER:
        if (wParam == TIMER_RAISE_CONTENT) {
            KillTimer(TIMER_RAISE_CONTENT);
            RaiseContent();
            return 0;
        }
        break;
    default:
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CSkinBackgroundDlg::RaiseContent()
{
    // An owned window belongs above its owner.  Wine's X11 driver restacks a window when the
    // X server reports it mapped or activated, which can leave the shadow over the content,
    // so the order is checked once that has happened.
    if (!m_pContent || !m_pContent->IsWindow() || !::IsWindowVisible(m_pContent->m_hWnd))
        return;
    // Moving the activation between a press and its release would cancel the press.
    if (::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0) {
        SetTimer(TIMER_RAISE_CONTENT, kRaiseContentDelay);
        return;
    }
    // This window has no controls, so its focus is of no use.  Under Wine without a window
    // manager the window that takes the focus is also raised over the others on the X server
    // while Wine's own order stays as it was: the check below cannot see that, a new
    // activation of the content window puts it back on top.
    if (m_bContentTakesActivation && ::GetActiveWindow() == m_hWnd &&
        ::IsWindowEnabled(m_pContent->m_hWnd))
        ::SetActiveWindow(m_pContent->m_hWnd);
    for (HWND above = ::GetWindow(m_hWnd, GW_HWNDPREV); above;
         above = ::GetWindow(above, GW_HWNDPREV)) {
        if (above == m_pContent->m_hWnd)
            return;
    }
    // Right above this window, not above unrelated windows that lie over it.
    HWND above = ::GetWindow(m_hWnd, GW_HWNDPREV);
    ::SetWindowPos(m_pContent->m_hWnd, above ? above : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL CSkinBackgroundDlg::PreTranslateMessage(MSG* msg)
{
    if (IsSwallowedSkinKey(msg))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

// ---- content window ----

CSkinContentDlg::CSkinContentDlg(UINT templateId, UINT backgroundPng, CWnd* parent)
    : CDialog(templateId, parent), m_nBackgroundPng(backgroundPng)
{
}

BOOL CSkinContentDlg::CreateAt(UINT templateId, CWnd* parent, const RECT& place)
{
    m_rcCreateAt = place;
    m_bCreateAt = true;
    return Create(templateId, parent);
}

void CSkinContentDlg::OnTemplateCreated()
{
    if (m_bCreateAt)
        ::SetWindowPos(m_hWnd, nullptr, m_rcCreateAt.left, m_rcCreateAt.top,
                       m_rcCreateAt.right - m_rcCreateAt.left, m_rcCreateAt.bottom - m_rcCreateAt.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinContentDlg::FocusFirstControl()
{
    // A content window whose initialisation gave the focus to none: setting it while the
    // window was hidden would have activated it before its time.
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(m_hWnd, focus))
        return;
    if (HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE))
        ::SetFocus(first);
}

BOOL CSkinContentDlg::EnsureBackground()
{
    return m_pBackground || LoadPngFromResource(m_pBackground, m_nBackgroundPng);
}

BOOL CSkinContentDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!EnsureBackground())
        return TRUE;
    LayoutControls(TRUE);
    m_bLayoutDone = TRUE;
    return TRUE;
}

void CSkinContentDlg::PaintBackground(HDC hdc)
{
    PaintContentBackground(m_hWnd, hdc, m_pBackground.get());
}

BOOL CSkinContentDlg::OnEraseBkgnd(HDC hdc)
{
    if (EnsureBackground())
        PaintBackground(hdc);
    return TRUE;
}

void CSkinContentDlg::OnSize(UINT, int, int)
{
    Default();
    if (m_bLayoutDone)
        LayoutControls(FALSE);
}

RECT CSkinContentDlg::DragBand() const
{
    RECT band;
    GetClientRect(&band);
    POINT topLeft{band.left, band.top};
    POINT bottomRight{band.right, band.bottom};
    ClientToScreen(&topLeft);
    ClientToScreen(&bottomRight);
    band = RECT{topLeft.x, topLeft.y, bottomRight.x - m_nDragBandRightExclusion,
                topLeft.y + m_nDragBandHeight};
    return band;
}

LRESULT CSkinContentDlg::OnNcHitTest(POINT screen)
{
    if (!m_bDragsPair)
        return Default();
    RECT band = DragBand();
    m_bDragging = ::PtInRect(&band, screen);
    if (m_bDragging)
        return HTCAPTION;
    return Default();
}

void CSkinContentDlg::OnMove(int, int)
{
    Default();
    if (!m_bDragsPair || !m_bDragging)
        return;
    auto* owner = dynamic_cast<CSkinBackgroundDlg*>(CWnd::FromHandlePermanent(GetParent()));
    if (!owner)
        return;
    RECT r;
    GetWindowRect(&r);
    owner->FollowContent(r.left, r.top, r.right, r.bottom);
}

void CSkinContentDlg::OnDestroy()
{
    Default();
    m_pBackground.reset();
}

BOOL CSkinContentDlg::PreTranslateMessage(MSG* msg)
{
    if (IsSwallowedSkinKey(msg))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}
