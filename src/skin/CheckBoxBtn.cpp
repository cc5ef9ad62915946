#include "skin/CheckBoxBtn.h"

#include "skin/FontCopy.h"
#include "skin/PngResource.h"
#include "skin/SkinPaint.h"
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
    if (m_hFont)
        ::DeleteObject(m_hFont);
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

void CCheckBoxBtn::CreateFontFromParent()
{
    ReplaceFont(m_hFont, CopyFont(FontOfWindow(GetParent())));
    // Set up with the font, so that the first paint draws and does not decode.
    if (!m_pCheckImage)
        LoadPngFromResource(&m_pCheckImage, kCheckBoxPng);
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
    {
        CMemoryPaint paint(hdc, m_rcClient.right - m_rcClient.left, m_rcClient.bottom - m_rcClient.top);
        if (paint.IsReady()) {
            HDC memDC = paint.DC();
            ::FillRect(memDC, &m_rcClient, m_hBackBrush);
            ::SetBkMode(memDC, TRANSPARENT);
            m_hPrevFont = nullptr;
            bool fontSelected = false;
            {
                Gdiplus::Graphics graphics(memDC);
                if (m_pCheckImage || LoadPngFromResource(&m_pCheckImage, kCheckBoxPng)) {
                    RECT box = BoxRectFor(m_rcClient);
                    // Indeterminate shows the empty box, like unchecked.
                    int cell = GetCheck() == BST_CHECKED ? 1 : 0;
                    DrawImagePart(graphics, m_pCheckImage, box,
                                  RECT{cell * kCellSize, 0, (cell + 1) * kCellSize, kCellSize});

                    if (m_hFont) {
                        m_hPrevFont = ::SelectObject(memDC, m_hFont);
                        fontSelected = true;
                    }
                    std::wstring text = GetWindowText();
                    ::SetTextColor(memDC, m_crText);
                    RECT textRect = m_rcClient;
                    textRect.left = TextLeftFor(m_rcClient);
                    ::DrawTextW(memDC, text.c_str(), static_cast<int>(text.size()), &textRect,
                                DT_VCENTER | DT_SINGLELINE);
                }
            }
            paint.CopyTo(hdc, m_rcClient.right, m_rcClient.bottom);
            if (fontSelected)
                ::SelectObject(memDC, m_hPrevFont);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}
