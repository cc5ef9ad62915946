// The control classes the program derives from or uses; each is a CWnd around a system control.
#pragma once

#include "framework/Wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int state) { ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0); }
};

class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, L"SCROLLBAR", nullptr, style, rect, parent, id);
    }
};

// The rich edit 2.0 control (class "RichEdit20W"); its library must be loaded first.
class CRichEditCtrl : public CWnd {};
