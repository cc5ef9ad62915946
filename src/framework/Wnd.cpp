#include "framework/Wnd.h"

#include <commctrl.h>

#include <map>
#include <vector>

namespace {

// One subclass id for all our objects; the object itself is the reference data.
constexpr UINT_PTR kSubclassId = 0xC0F1;

POINT PointFromLParam(LPARAM l)
{
    return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}

}  // namespace

CWnd::~CWnd()
{
    // A window must never outlive the object its procedure points at.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hWnd = m_hWnd;
        UnsubclassWindow();
        ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    DWORD_PTR ref = 0;
    if (hWnd && ::GetWindowSubclass(hWnd, SubclassProc, kSubclassId, &ref))
        return reinterpret_cast<CWnd*>(ref);
    return nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    if (!::SetWindowSubclass(hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent || !parent->m_hWnd)
        return FALSE;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    const RECT& r, HWND parent, UINT id)
{
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND hWnd = ::CreateWindowExW(exStyle, className, windowName, style, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, parent, menu,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hWnd)
        return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

const wchar_t* CWnd::RegisterPlainClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // Class names are kept for the life of the process, one per distinct set of attributes.
    static std::map<std::vector<UINT_PTR>, std::wstring> registered;
    std::vector<UINT_PTR> key{classStyle, reinterpret_cast<UINT_PTR>(cursor),
                              reinterpret_cast<UINT_PTR>(background), reinterpret_cast<UINT_PTR>(icon)};
    auto found = registered.find(key);
    if (found != registered.end())
        return found->second.c_str();

    wchar_t name[64];
    wsprintfW(name, L"CorvinaWnd:%x:%x:%x:%x", classStyle, static_cast<UINT>(key[1]),
              static_cast<UINT>(key[2]), static_cast<UINT>(key[3]));
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    return registered.emplace(key, name).first->second.c_str();
}

const wchar_t* CWnd::DefaultChildClass()
{
    return RegisterPlainClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* msg)
{
    // GetParent gives the owner of a popup, so owned dialogs hand on to their owners.
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
    }
    return FALSE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

std::wstring CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

LRESULT CWnd::Default()
{
    return ::DefSubclassProc(m_hWnd, m_current.msg, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOVE:
        OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_NCHITTEST:
        return OnNcHitTest(PointFromLParam(lParam));
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_MOUSEHOVER:
        OnMouseHover(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlType != ODT_MENU) {
            if (CWnd* control = FromHandlePermanent(item->hwndItem)) {
                control->DrawItem(item);
                return TRUE;
            }
        }
        break;
    }
    default:
        break;
    }
    return Default();
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR refData)
{
    auto* self = reinterpret_cast<CWnd*>(refData);
    // Nested messages (sent while a handler runs) must not lose the outer one for Default().
    CurrentMessage saved = self->m_current;
    self->m_current = CurrentMessage{msg, wParam, lParam};
    LRESULT result = self->WindowProc(msg, wParam, lParam);
    self->m_current = saved;

    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        if (self->m_hWnd == hWnd) {
            self->m_hWnd = nullptr;
            self->PostNcDestroy();
        }
    }
    return result;
}
