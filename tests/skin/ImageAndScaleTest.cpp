// PNG resources, the scale arithmetic and text measuring, against the program's resources.
#include "SkinTestSupport.h"

#include "framework/Dialog.h"
#include "res/resource.h"
#include "skin/LayeredWindow.h"
#include "skin/PngResource.h"
#include "skin/SkinScale.h"
#include "skin/TextMeasure.h"

#include <gtest/gtest.h>

#include <vector>

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

    HGDIOBJ previous = ::SelectObject(hdc, reinterpret_cast<HFONT>(dialog.SendMessage(WM_GETFONT)));
    SIZE expected{};
    ::GetTextExtentPoint32W(hdc, text, static_cast<int>(wcslen(text)), &expected);
    ::SelectObject(hdc, previous);
    ::ReleaseDC(dialog, hdc);
    EXPECT_GT(width, 100);
    EXPECT_EQ(width, expected.cx);
    dialog.DestroyWindow();
}

TEST(LayeredBitmap, CarriesTheSoftShadowAsPremultipliedAlpha)
{
    Gdiplus::Image* image = nullptr;
    ASSERT_TRUE(LoadPngFromResource(&image, IDB_PROMPT_BACKGROUND));
    HDC screen = ::GetDC(nullptr);
    void* bits = nullptr;
    const int width = 336;
    const int height = 156;
    HBITMAP bitmap = CreateLayeredBitmap(screen, image, width, height, &bits);
    ::ReleaseDC(nullptr, screen);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);
    auto* pixels = static_cast<const DWORD*>(bits);
    auto alpha = [&](int x, int y) { return static_cast<int>(pixels[y * width + x] >> 24); };

    EXPECT_EQ(alpha(0, 0), 0) << "outside the shadow";
    EXPECT_EQ(alpha(width / 2, height / 2), 255) << "the panel";
    EXPECT_EQ(pixels[(height / 2) * width + width / 2], 0xFFFFFFFFu) << "white panel";
    int fading = alpha(4, height / 2);
    EXPECT_GT(fading, 10) << "the shadow is soft, neither cut away";
    EXPECT_LT(fading, 200) << "nor solid";
    EXPECT_LT(alpha(1, height / 2), fading) << "it fades outward";
    bool premultiplied = true;
    for (int i = 0; i < width * height; ++i) {
        DWORD p = pixels[i];
        DWORD a = p >> 24;
        premultiplied = premultiplied && ((p >> 16) & 0xFF) <= a && ((p >> 8) & 0xFF) <= a &&
                        (p & 0xFF) <= a;
    }
    EXPECT_TRUE(premultiplied);

    // The layered picture over a light desktop, to look at.
    Gdiplus::Bitmap shot(width + 40, height + 40, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&shot);
        graphics.Clear(Gdiplus::Color(255, 236, 238, 242));
        Gdiplus::Bitmap layer(width, height, width * 4, PixelFormat32bppPARGB,
                              static_cast<BYTE*>(bits));
        graphics.DrawImage(&layer, 20, 20, width, height);
    }
    CLSID png{};
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0)
            png = codecs[i].Clsid;
    std::wstring folder = guitest::ProgramFolder() + L"screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_EQ(shot.Save((folder + L"\\layered_prompt_background.png").c_str(), &png, nullptr),
              Gdiplus::Ok);

    ::DeleteObject(bitmap);
    DeletePngImage(image);
}
