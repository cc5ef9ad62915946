#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace {

// GDI+ is started once for the whole test program, as the application does at start-up.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

[[maybe_unused]] ::testing::Environment* const g_gdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

std::wstring ScreenshotPath(const wchar_t* name)
{
    std::wstring folder = guitest::ProgramFolder() + L"screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name + L".png";
}

}  // namespace

bool SaveScreenshot(const wchar_t* name)
{
    HDC screen = ::GetDC(nullptr);
    bool saved = guitest::SaveDcPng(screen, guitest::ScreenRect(), ScreenshotPath(name));
    ::ReleaseDC(nullptr, screen);
    return saved;
}

bool SaveWindowShot(HWND hWnd, const wchar_t* name)
{
    return guitest::SaveWindowPng(hWnd, ScreenshotPath(name));
}
