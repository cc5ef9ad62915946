#include "app/AgreementBubble.h"

#include "dialogs/TooltipDlg.h"
#include "res/resource.h"
#include "skin/DrawTextStatic.h"
#include "skin/SkinScale.h"

CAgreementBubble::CAgreementBubble(CSkinContentDlg& panel, CDrawTextStatic& link)
    : m_panel(panel), m_link(link)
{
}

CAgreementBubble::~CAgreementBubble() = default;

void CAgreementBubble::OnPanelPress(POINT screen)
{
    if (!m_link.HitTest(screen)) {
        Hide();
        return;
    }
    if (!m_bubble) {
        auto bubble = std::make_unique<CTooltipDlg>();
        bubble->m_fScale = m_panel.m_fScale;
        if (!bubble->Create(IDD_TOOLTIP, &m_panel))
            return;
        m_bubble = std::move(bubble);
    }
    // Placed on every press: the panel may have been dragged since the last one.
    RECT p;
    m_panel.GetWindowRect(&p);
    const double s = m_panel.m_fScale;
    m_bubble->MoveWindow(Truncated(p.left + 2 * s), Truncated(p.top + 108 * s),
                         Truncated((p.right - p.left) - 2 * s),
                         Truncated((p.bottom - p.top) - 128 * s), TRUE);
    const bool show = !m_bubble->IsWindowVisible();
    m_bubble->ShowWindow(show ? SW_SHOW : SW_HIDE);
    m_bubble->ShowContent(show);
}

void CAgreementBubble::OnScreenPress(POINT press)
{
    if (!m_bubble)
        return;
    RECT panel, bubble;
    m_panel.GetWindowRect(&panel);
    m_bubble->GetWindowRect(&bubble);
    if (!::PtInRect(&panel, press))
        Hide();
    // A press on the link is the panel's own to toggle; one inside the bubble keeps it.
    else if (!m_link.HitTest(press) && !::PtInRect(&bubble, press) && m_bubble->IsWindowVisible())
        Hide();
}

void CAgreementBubble::Hide()
{
    if (!m_bubble)
        return;
    m_bubble->ShowWindow(SW_HIDE);
    m_bubble->ShowContent(false);
}

void CAgreementBubble::Destroy()
{
    m_bubble.reset();
}
