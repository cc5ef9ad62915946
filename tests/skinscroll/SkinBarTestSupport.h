// A test skin bitmap whose cells are solid, distinct colours, and a parent window that records
// the scroll notifications of its bars and scrolls like an ordinary client of a scroll bar.
#pragma once

#include <windows.h>

#include <vector>

namespace bartest {

inline COLORREF CellColour(int column, int row)
{
    return RGB(20 + column * 25, 30 + row * 90, 220 - column * 20);
}

// 9 x 3 cells of 13 pixels, 32 bits per pixel.
inline HBITMAP MakeSkinBitmap(int cell = 13)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 9 * cell;
    bmi.bmiHeader.biHeight = -3 * cell;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < 3 * cell; ++y) {
        for (int x = 0; x < 9 * cell; ++x) {
            COLORREF c = CellColour(x / cell, y / cell);
            pixels[y * 9 * cell + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return bitmap;
}

struct Notification {
    UINT msg;
    int code;
    int position;      // the high word of wParam
    int trackPos;      // the bar's SIF_TRACKPOS read back when the notification arrived
    HWND bar;
    ULONGLONG time;
};

// The parent: keeps a position in [0, maxPos], moves it as a scroll client does and gives it
// back to the bar with SetScrollInfo.
class RecordingParent {
public:
    RecordingParent(int x, int y, int width, int height, COLORREF background)
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"SkinBarTestParent";
        ::RegisterClassW(&wc);
        m_brush = ::CreateSolidBrush(background);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"bars", WS_POPUP | WS_VISIBLE, x, y, width,
                                   height, nullptr, nullptr, wc.hInstance, this);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetForegroundWindow(m_hWnd);
    }
    ~RecordingParent()
    {
        ::DestroyWindow(m_hWnd);
        ::DeleteObject(m_brush);
    }
    RecordingParent(const RecordingParent&) = delete;
    RecordingParent& operator=(const RecordingParent&) = delete;

    HWND m_hWnd = nullptr;
    std::vector<Notification> m_log;
    int m_pos = 0;
    int m_maxPos = 0;
    int m_page = 0;
    bool m_answer = true;  // false: the parent takes no position (records only)

    void Reset(HWND bar, int nMax, int page, int pos, int maxPos)
    {
        m_log.clear();
        m_pos = pos;
        m_maxPos = maxPos;
        m_page = page;
        SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS};
        si.nMin = 0;
        si.nMax = nMax;
        si.nPage = static_cast<UINT>(page);
        si.nPos = pos;
        ::SetScrollInfo(bar, SB_CTL, &si, TRUE);
        ::InvalidateRect(bar, nullptr, TRUE);
        ::UpdateWindow(bar);
    }

    int Count(int code) const
    {
        int n = 0;
        for (const Notification& e : m_log)
            n += e.code == code;
        return n;
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<RecordingParent*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (self && msg == WM_ERASEBKGND) {
            RECT r;
            ::GetClientRect(hWnd, &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, self->m_brush);
            return 1;
        }
        if (self && (msg == WM_VSCROLL || msg == WM_HSCROLL)) {
            self->OnScroll(msg, wParam, reinterpret_cast<HWND>(lParam));
            return 0;
        }
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    }

    void OnScroll(UINT msg, WPARAM wParam, HWND bar)
    {
        SCROLLINFO track{sizeof(track), SIF_TRACKPOS};
        ::GetScrollInfo(bar, SB_CTL, &track);
        const int code = LOWORD(wParam);
        m_log.push_back(Notification{msg, code, static_cast<int>(HIWORD(wParam)), track.nTrackPos, bar,
                                     ::GetTickCount64()});
        if (!m_answer)
            return;
        int pos = m_pos;
        switch (code) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= m_page; break;
        case SB_PAGEDOWN: pos += m_page; break;
        case SB_THUMBPOSITION: pos = HIWORD(wParam); break;
        default: return;
        }
        m_pos = pos < 0 ? 0 : (pos > m_maxPos ? m_maxPos : pos);
        SCROLLINFO si{sizeof(si), SIF_POS};
        si.nPos = m_pos;
        ::SetScrollInfo(bar, SB_CTL, &si, TRUE);
    }

    HBRUSH m_brush = nullptr;
};

}  // namespace bartest
