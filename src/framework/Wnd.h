// A window object bound to its HWND.
//
// Binding is a comctl32 subclass whose reference data is the object, so any message of the
// window reaches WindowProc first.  WindowProc turns the messages a class cares about into the
// virtual On... handlers below; a derived class overrides the handlers it names (its "message
// map") and every handler's base version passes the message on unchanged (Default()).
#pragma once

#include <windows.h>
#include <windowsx.h>
#undef SubclassWindow  // a windowsx.h macro that would hide CWnd::SubclassWindow

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to a window, or null when the window is not one of ours.
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creates a plain window of the given class and binds it (WM_CREATE is not seen).
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    // Registers (once) a class whose procedure is DefWindowProc; returns its name.
    static const wchar_t* RegisterPlainClass(UINT classStyle, HCURSOR cursor, HBRUSH background,
                                             HICON icon);
    // The class for ordinary child windows: arrow cursor, no background brush.
    static const wchar_t* DefaultChildClass();

    // Offered to every bound window on the way from the message's window up through its
    // parents and owners, before the message is dispatched by our modal loop.
    virtual BOOL PreTranslateMessage(MSG* msg);
    static BOOL WalkPreTranslateTree(MSG* msg);

    // Thin wrappers.
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL DestroyWindow();
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    BOOL MoveWindow(const RECT& r, BOOL repaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
    }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    std::wstring GetWindowText() const;
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageW(m_hWnd, msg, w, l); }
    BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::PostMessageW(m_hWnd, msg, w, l); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Passes the message being handled to the window's previous procedure.
    LRESULT Default();

    virtual void OnPaint() { Default(); }
    virtual BOOL OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
    virtual void OnTimer(UINT_PTR) { Default(); }
    virtual void OnSize(UINT, int, int) { Default(); }
    virtual void OnMove(int, int) { Default(); }
    virtual LRESULT OnNcHitTest(POINT) { return Default(); }
    virtual void OnLButtonDown(UINT, POINT) { Default(); }
    virtual void OnLButtonUp(UINT, POINT) { Default(); }
    virtual void OnLButtonDblClk(UINT, POINT) { Default(); }
    virtual void OnMouseMove(UINT, POINT) { Default(); }
    virtual void OnMouseHover(UINT, POINT) { Default(); }
    virtual void OnMouseLeave() { Default(); }
    virtual void OnVScroll(UINT, UINT, HWND) { Default(); }
    virtual void OnHScroll(UINT, UINT, HWND) { Default(); }
    virtual void OnSysCommand(UINT, LPARAM) { Default(); }
    virtual HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    virtual void OnDestroy() { Default(); }
    // WM_COMMAND; return TRUE when handled.
    virtual BOOL OnCommand(WPARAM, LPARAM) { return FALSE; }
    // Owner drawing, reflected from the parent's WM_DRAWITEM to the control's object.
    virtual void DrawItem(DRAWITEMSTRUCT*) {}
    // Called after the window's last message, when the object is no longer bound.
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    struct CurrentMessage {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
};
