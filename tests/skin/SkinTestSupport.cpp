#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

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

void SendMouse(DWORD flags, int x = 0, int y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = x;
    input.mi.dy = y;
    ::SendInput(1, &input, sizeof(input));
}

bool EncoderClsid(const wchar_t* mime, CLSID* clsid)
{
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (!size)
        return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool SaveBitmapOf(HDC source, int x, int y, int width, int height, const wchar_t* name)
{
    HDC memDC = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    ::BitBlt(memDC, 0, 0, width, height, source, x, y, SRCCOPY);
    ::SelectObject(memDC, previous);
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        CLSID png;
        std::wstring folder = ProgramFolder() + L"screenshots";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        std::wstring path = folder + L"\\" + name + L".png";
        saved = EncoderClsid(L"image/png", &png) && image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    ::DeleteObject(bitmap);
    ::DeleteDC(memDC);
    return saved;
}

}  // namespace

void PumpMessages(DWORD ms)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

void MovePointerTo(int x, int y)
{
    int width = ::GetSystemMetrics(SM_CXSCREEN);
    int height = ::GetSystemMetrics(SM_CYSCREEN);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (x * 65536 + width - 1) / width,
              (y * 65536 + height - 1) / height);
}

void PressLeft()
{
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void ReleaseLeft()
{
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void PressKey(WORD vk)
{
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = vk;
    inputs[1].type = INPUT_KEYBOARD;
    inputs[1].ki.wVk = vk;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

COLORREF ClientPixel(HWND hWnd, int x, int y)
{
    // Copied out first: GetPixel on the window itself fails where the window is covered.
    HDC hdc = ::GetDC(hWnd);
    HDC memDC = ::CreateCompatibleDC(hdc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, 1, 1);
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    ::BitBlt(memDC, 0, 0, 1, 1, hdc, x, y, SRCCOPY);
    COLORREF color = ::GetPixel(memDC, 0, 0);
    ::SelectObject(memDC, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memDC);
    ::ReleaseDC(hWnd, hdc);
    return color;
}

bool NearColor(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::wstring ColorText(COLORREF c)
{
    wchar_t text[40];
    wsprintfW(text, L"rgb(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

bool SaveScreenshot(const wchar_t* name)
{
    HDC screen = ::GetDC(nullptr);
    bool saved = SaveBitmapOf(screen, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                              ::GetSystemMetrics(SM_CYSCREEN), name);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

bool SaveWindowShot(HWND hWnd, const wchar_t* name)
{
    RECT client;
    ::GetClientRect(hWnd, &client);
    HDC hdc = ::GetDC(hWnd);
    bool saved = SaveBitmapOf(hdc, 0, 0, client.right, client.bottom, name);
    ::ReleaseDC(hWnd, hdc);
    return saved;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}
