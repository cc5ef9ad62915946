#include "framework/Dialog.h"

#include "framework/WinApp.h"

namespace {

// The owner of a dialog run without a parent: the main window's last active popup, as a
// message box would be owned; a popup can never be owned by a child window.
HWND SafeOwner(HWND parent, HWND* topLevel)
{
    HWND hWnd = parent ? parent : GetMainWindowHandle();
    while (hWnd && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND top = hWnd;
    for (HWND up = hWnd; up; up = ::GetParent(up))
        top = up;
    if (!parent && hWnd)
        hWnd = ::GetLastActivePopup(hWnd);
    *topLevel = top;
    return hWnd;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_templateId(templateId) {}

HWND CDialog::CreateFromTemplate(HWND owner)
{
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner,
                                StaticDlgProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_pParentWnd = parent;
    m_modal = false;
    return CreateFromTemplate(parent ? parent->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND top = nullptr;
    HWND owner = SafeOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &top);
    bool enableOwner = false;
    bool enableTop = false;
    if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }
    if (top && top != owner && ::IsWindowEnabled(top)) {
        ::EnableWindow(top, FALSE);
        enableTop = true;
    }

    m_modal = true;
    m_endModal = false;
    m_modalResult = -1;
    if (CreateFromTemplate(owner) && !m_endModal) {
        bool shown = false;
        MSG msg;
        while (!m_endModal) {
            // Show the dialog the first time the queue is empty, after its initialisation.
            // Looking at the queue delivers messages sent from other threads: one of them may
            // have ended the dialog, and a loop nested in its handler taken the wake-up.
            if (!shown && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                shown = true;
                if (!m_endModal && m_hWnd && !::IsWindowVisible(m_hWnd))
                    ShowWhenIdle();
                continue;
            }
            if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!CWnd::WalkPreTranslateTree(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }

    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    // Enable the owner before the dialog goes, so that activation returns to it.
    if (enableTop)
        ::EnableWindow(top, TRUE);
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();
    m_modal = false;
    return m_modalResult;
}

void CDialog::ShowWhenIdle()
{
    ShowWindow(SW_SHOWNORMAL);
    UpdateWindow();
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    if (m_modal) {
        m_endModal = true;
        // Ended from a message sent by another thread, the loop still waits in GetMessage
        // for a posted message: give it one.
        if (m_hWnd)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
    if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::OnInitDialog()
{
    DoDataExchange();
    return TRUE;
}

void CDialog::DDX_Control(int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassDlgItem(static_cast<UINT>(id), this);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != 1)  // a button, or an accelerator
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Dialog keys (Tab, Enter, Escape) for messages of this dialog and its controls.
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

void CDialog::CenterWindow(HWND owner)
{
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    HMONITOR monitor = ::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{sizeof(info)};
    ::GetMonitorInfoW(monitor, &info);
    RECT area = info.rcWork;
    RECT center = area;
    // An owner that is hidden or minimised is no reference: centre on the work area then.
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &center);
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    if (x + width > area.right)
        x = area.right - width;
    if (x < area.left)
        x = area.left;
    if (y + height > area.bottom)
        y = area.bottom - height;
    if (y < area.top)
        y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hWnd, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    if (!self->SubclassWindow(hWnd))
        return TRUE;
    self->OnTemplateCreated();
    RECT before;
    ::GetWindowRect(hWnd, &before);
    BOOL result = self->OnInitDialog();
    // A modal dialog that its initialisation left hidden and in place is centred over its owner.
    if (self->m_modal && self->m_hWnd && !self->m_endModal && !::IsWindowVisible(hWnd)) {
        RECT after;
        ::GetWindowRect(hWnd, &after);
        HWND owner = ::GetWindow(hWnd, GW_OWNER);
        if (after.left == before.left && after.top == before.top &&
            (!owner || !::IsWindowEnabled(owner)))
            self->CenterWindow(owner);
    }
    return result;
}
