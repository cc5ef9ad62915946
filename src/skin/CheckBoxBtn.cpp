#include "skin/CheckBoxBtn.h"

#include "skin/PngResource.h"
#include "skin/SkinPaint.h"
#include "skin/SkinScale.h"

#include <string>

namespace {

constexpr UINT kCheckBoxPng = 140;
constexpr int kCellSize = 16;

}  // namespace

CCheckBoxBtn::CCheckBoxBtn() = default;
CCheckBoxBtn::~CCheckBoxBtn() = default;

void CCheckBoxBtn::CreateFontFromParent()
{
    CSkinTextControl::CreateFontFromParent();
    // Set up with the font, so that the first paint draws and does not decode.
    if (!m_checkImage)
        LoadPngFromResource(m_checkImage, kCheckBoxPng);
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

void CCheckBoxBtn::DrawContent(HDC dc, const RECT& client)
{
    // Without its image the box shows only its white background.
    if (!m_checkImage && !LoadPngFromResource(m_checkImage, kCheckBoxPng))
        return;
    {
        Gdiplus::Graphics graphics(dc);
        // Indeterminate shows the empty box, like unchecked.
        int cell = GetCheck() == BST_CHECKED ? 1 : 0;
        DrawImagePart(graphics, m_checkImage.get(), BoxRectFor(client),
                      RECT{cell * kCellSize, 0, (cell + 1) * kCellSize, kCellSize});
    }
    std::wstring text = GetWindowText();
    ::SetTextColor(dc, m_crText);
    RECT textRect = client;
    textRect.left = TextLeftFor(client);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_VCENTER | DT_SINGLELINE);
}
