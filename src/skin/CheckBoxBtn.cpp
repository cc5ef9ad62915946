#include "skin/CheckBoxBtn.h"

#include "skin/FontCopy.h"
#include "skin/PngResource.h"
#include "skin/SkinScale.h"

#include <string>

namespace {

constexpr UINT kCheckBoxPng = 140;
constexpr int kCellSize = 16;

}  // namespace

CCheckBoxBtn::CCheckBoxBtn() : m_hBackBrush(::CreateSolidBrush(RGB(255, 255, 255))) {}

CCheckBoxBtn::~CCheckBoxBtn()
{
    DeletePngImage(m_pCheckImage);
    if (m_hMemBitmap)
        ::DeleteObject(m_hMemBitmap);
    if (m_hMemDC)
        ::DeleteDC(m_hMemDC);
    if (m_hFont)
        ::DeleteObject(m_hFont);
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

void CCheckBoxBtn::CreateFontFromParent()
{
    HFONT font = CopyFont(FontOfWindow(GetParent()));
    if (!font)
        return;
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = font;
}

RECT CCheckBoxBtn::BoxRectFor(const RECT& client) const
{
    int height = client.bottom - client.top;
    RECT box;
    box.left = client.left;
    box.top = height / 2 - Scaled(8, m_fScale);
    box.right = box.left + Scaled(kCellSize, m_fScale);
    box.bottom = box.top + Scaled(kCellSize, m_fScale);
    return box;
}

int CCheckBoxBtn::TextLeftFor(const RECT& client) const
{
    return client.left + Scaled(kCellSize, m_fScale) + 2;
}

void CCheckBoxBtn::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    GetClientRect(&m_rcClient);
    if (!m_hMemBitmap) {
        m_hMemDC = ::CreateCompatibleDC(hdc);
        m_hMemBitmap = ::CreateCompatibleBitmap(hdc, m_rcClient.right - m_rcClient.left,
                                                m_rcClient.bottom - m_rcClient.top);
    }
    if (!m_hMemDC || !m_hMemBitmap) {
        ::EndPaint(m_hWnd, &ps);
        return;
    }
    m_hPrevBitmap = ::SelectObject(m_hMemDC, m_hMemBitmap);
    ::FillRect(m_hMemDC, &m_rcClient, m_hBackBrush);
    ::SetBkMode(m_hMemDC, TRANSPARENT);
    m_hPrevFont = nullptr;
    bool fontSelected = false;
    {
        Gdiplus::Graphics graphics(m_hMemDC);
        if (m_pCheckImage || LoadPngFromResource(&m_pCheckImage, kCheckBoxPng)) {
            RECT box = BoxRectFor(m_rcClient);
            // Indeterminate shows the empty box, like unchecked.
            int cell = GetCheck() == BST_CHECKED ? 1 : 0;
            graphics.DrawImage(m_pCheckImage,
                               Gdiplus::Rect(box.left, box.top, box.right - box.left,
                                             box.bottom - box.top),
                               cell * kCellSize, 0, kCellSize, kCellSize, Gdiplus::UnitPixel);

            if (m_hFont) {
                m_hPrevFont = ::SelectObject(m_hMemDC, m_hFont);
                fontSelected = true;
            }
            std::wstring text = GetWindowText();
            ::SetTextColor(m_hMemDC, m_crText);
            RECT textRect = m_rcClient;
            textRect.left = TextLeftFor(m_rcClient);
            ::DrawTextW(m_hMemDC, text.c_str(), static_cast<int>(text.size()), &textRect,
                        DT_VCENTER | DT_SINGLELINE);
        }
    }
    ::BitBlt(hdc, 0, 0, m_rcClient.right, m_rcClient.bottom, m_hMemDC, 0, 0, SRCCOPY);
    if (fontSelected)
        ::SelectObject(m_hMemDC, m_hPrevFont);
    ::SelectObject(m_hMemDC, m_hPrevBitmap);
    ::EndPaint(m_hWnd, &ps);
}
