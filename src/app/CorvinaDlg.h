// The main window: a layered frame with a soft shadow, no controls. The panel it owns lies
// over the frame's opaque part and leads every move; the frame follows it.
#pragma once

#include "skin/SkinDialog.h"

class CLumbraDlg;

class CCorvinaDlg : public CSkinBackgroundDlg {
public:
    explicit CCorvinaDlg(CWnd* parent = nullptr);

    CLumbraDlg* GetPanel() const;
    // The centred rectangle the frame is drawn at and the panel is placed from.
    const RECT& CentredRect() const { return m_rcCentred; }

protected:
    BOOL OnInitDialog() override;
    CSkinContentDlg* CreateContent() override;
    RECT TargetRect() override { return m_rcCentred; }
    RECT ContentBaseRect() override { return m_rcCentred; }
    void OnContentCreated() override;

    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnDestroy() override;
    // Every close (task bar, system menu, Alt+F4) goes the way of the panel's close button.
    void OnCancel() override;

private:
    HICON m_hIcon;
    RECT m_rcCentred{};
};
