// The agreement window over the panel: made on the first press on the agreement link, toggled
// by the link, hidden by a press anywhere else on the screen outside it.
#pragma once

#include <windows.h>

#include <memory>

class CDrawTextStatic;
class CSkinContentDlg;
class CTooltipDlg;

class CAgreementBubble {
public:
    CAgreementBubble(CSkinContentDlg& panel, CDrawTextStatic& link);
    ~CAgreementBubble();

    // A press on the panel, at a screen point.
    void OnPanelPress(POINT screen);
    // A press anywhere on the screen, at the screen point where it happened.
    void OnScreenPress(POINT press);
    void Destroy();

private:
    void Hide();

    CSkinContentDlg& m_panel;
    CDrawTextStatic& m_link;
    std::unique_ptr<CTooltipDlg> m_bubble;
};
