// PNG resources, the scale arithmetic and text measuring, against the program's resources.
#include "SkinTestSupport.h"

#include "framework/Dialog.h"
#include "res/resource.h"
#include "skin/PngResource.h"
#include "skin/SkinScale.h"
#include "skin/TextMeasure.h"

#include <gtest/gtest.h>

namespace {

// A pixel of the image drawn 1:1 into a 32-bit bitmap, as ARGB.
Gdiplus::ARGB DrawnPixel(Gdiplus::Image* image, int x, int y)
{
    Gdiplus::Bitmap target(static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()),
                           PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&target);
        graphics.DrawImage(image, 0, 0, static_cast<INT>(image->GetWidth()),
                           static_cast<INT>(image->GetHeight()));
    }
    Gdiplus::Color color;
    target.GetPixel(x, y, &color);
    return color.GetValue();
}

}  // namespace

TEST(LoadPngFromResource, LoadsAPresentImageWithItsSize)
{
    int before = LivePngImageCount();
    Gdiplus::Image* image = nullptr;
    ASSERT_TRUE(LoadPngFromResource(&image, IDB_MAIN_BACKGROUND));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(image->GetWidth(), 410u);
    EXPECT_EQ(image->GetHeight(), 611u);
    EXPECT_EQ(LivePngImageCount(), before + 1);
    DeletePngImage(image);
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(LivePngImageCount(), before);
}

TEST(LoadPngFromResource, MissingIdFailsAndLeavesThePointerAlone)
{
    int before = LivePngImageCount();
    Gdiplus::Image* image = nullptr;
    EXPECT_FALSE(LoadPngFromResource(&image, 999));
    EXPECT_EQ(image, nullptr);

    // A pointer that already holds something is not touched either.
    Gdiplus::Image* held = nullptr;
    ASSERT_TRUE(LoadPngFromResource(&held, IDB_CHECKBOX));
    Gdiplus::Image* same = held;
    EXPECT_FALSE(LoadPngFromResource(&held, 998));
    EXPECT_EQ(held, same);
    DeletePngImage(held);
    EXPECT_EQ(LivePngImageCount(), before);
}

TEST(LoadPngFromResource, IdUnderAnotherTypeFails)
{
    // 178 is the scroll-bar skin, an ordinary bitmap resource; 128 is the icon.
    ASSERT_NE(::FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_SKIN_SCROLLBAR), MAKEINTRESOURCEW(2)),
              nullptr);
    Gdiplus::Image* image = nullptr;
    EXPECT_FALSE(LoadPngFromResource(&image, IDB_SKIN_SCROLLBAR));
    EXPECT_EQ(image, nullptr);
    EXPECT_FALSE(LoadPngFromResource(&image, IDR_MAINFRAME));
    EXPECT_EQ(image, nullptr);
}

TEST(LoadPngFromResource, TwoLoadsGiveIndependentImages)
{
    int before = LivePngImageCount();
    Gdiplus::Image* first = nullptr;
    Gdiplus::Image* second = nullptr;
    ASSERT_TRUE(LoadPngFromResource(&first, IDB_CHECKBOX));
    ASSERT_TRUE(LoadPngFromResource(&second, IDB_CHECKBOX));
    ASSERT_NE(first, second);
    EXPECT_EQ(LivePngImageCount(), before + 2);

    // The middle of the ticked cell, read from the second image before and after the first goes.
    Gdiplus::ARGB expected = DrawnPixel(second, 24, 8);
    EXPECT_NE(expected >> 24, 0u) << "the ticked cell is drawn";
    DeletePngImage(first);
    EXPECT_EQ(LivePngImageCount(), before + 1);
    EXPECT_EQ(second->GetWidth(), 48u);
    EXPECT_EQ(second->GetHeight(), 16u);
    EXPECT_EQ(DrawnPixel(second, 24, 8), expected);
    DeletePngImage(second);
    EXPECT_EQ(LivePngImageCount(), before);
}

TEST(SkinScale, FactorFromTheVerticalResolution)
{
    EXPECT_EQ(ScaleFromDpi(72), 1.0f);
    EXPECT_EQ(ScaleFromDpi(96), 1.0f);
    EXPECT_EQ(ScaleFromDpi(100), 1.0f);
    EXPECT_EQ(ScaleFromDpi(101), 1.01f);
    EXPECT_EQ(ScaleFromDpi(120), 1.2f);
    EXPECT_EQ(ScaleFromDpi(144), 1.44f);
    EXPECT_EQ(ScaleFromDpi(192), 1.92f);
}

TEST(SkinScale, LengthsTruncateTowardZero)
{
    const float s = 1.2f;  // held in single precision: slightly above 1.2
    EXPECT_EQ(Scaled(410, s), 492);
    EXPECT_EQ(Scaled(611, s), 733);
    EXPECT_EQ(Scaled(10, s), 12);
    // One expression: 492 - 12.0000005 truncates to 479, not 480.
    EXPECT_EQ(Truncated(492 - 10 * static_cast<double>(s)), 479);
    EXPECT_EQ(Scaled(14, 1.5f), 21);
    EXPECT_EQ(Scaled(8, 1.01f), 8);
    EXPECT_EQ(Scaled(99, 1.01f), 99);    // 99.99
    // 1.01 in single precision is 1.00999999: 100 and 200 times it stay just below 101 and 202.
    EXPECT_EQ(Scaled(100, 1.01f), 100);
    EXPECT_EQ(Scaled(200, 1.01f), 201);
    EXPECT_EQ(Scaled(100, 1.5f), 150);
    EXPECT_EQ(Scaled(-3.5, 1.0f), -3);   // toward zero, not down
    EXPECT_EQ(Truncated(-0.9), 0);
}

TEST(MeasureTextWidth, NullWindowOrContextGivesMinusOne)
{
    HDC screen = ::GetDC(nullptr);
    HDC hdc = ::CreateCompatibleDC(screen);
    HGDIOBJ font = ::GetStockObject(SYSTEM_FONT);
    ::SelectObject(hdc, font);
    EXPECT_EQ(MeasureTextWidth(static_cast<HWND>(nullptr), hdc, L"同意"), -1);
    EXPECT_EQ(MeasureTextWidth(static_cast<CWnd*>(nullptr), hdc, L"同意"), -1);
    // The context was not touched.
    EXPECT_EQ(::GetCurrentObject(hdc, OBJ_FONT), font);
    EXPECT_EQ(MeasureTextWidth(::GetDesktopWindow(), nullptr, L"同意"), -1);
    ::DeleteDC(hdc);
    ::ReleaseDC(nullptr, screen);
}

TEST(MeasureTextWidth, MeasuresInTheWindowsFont)
{
    CDialog dialog(IDD_PROMPT_CHILD);
    ASSERT_TRUE(dialog.Create(IDD_PROMPT_CHILD, nullptr));
    HDC hdc = ::GetDC(dialog);
    HGDIOBJ before = ::GetCurrentObject(hdc, OBJ_FONT);
    const wchar_t* text = L"同意《Halvex服务工具使用许可协议》";
    int width = MeasureTextWidth(&dialog, hdc, text);
    EXPECT_EQ(::GetCurrentObject(hdc, OBJ_FONT), before);

    HGDIOBJ previous = ::SelectObject(hdc, dialog.GetFont());
    SIZE expected{};
    ::GetTextExtentPoint32W(hdc, text, static_cast<int>(wcslen(text)), &expected);
    ::SelectObject(hdc, previous);
    ::ReleaseDC(dialog, hdc);
    EXPECT_GT(width, 100);
    EXPECT_EQ(width, expected.cx);
    dialog.DestroyWindow();
}
