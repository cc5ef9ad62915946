#include "GuiDriver.h"

#include "support/ScreenCapture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <thread>

#include "skin/PngResource.h"

using guitest::RenderPixels;

namespace {

// How long the driver waits for what should come at once; only a failing test waits it out.
const DWORD kPatienceMs = 30000;

struct ThreadWindows {
    std::vector<HWND> windows;
    bool visibleOnly;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM param)
{
    auto* found = reinterpret_cast<ThreadWindows*>(param);
    if (!found->visibleOnly || ::IsWindowVisible(hWnd))
        found->windows.push_back(hWnd);
    return TRUE;
}

PairWindows FindPair(DWORD threadId, bool visibleOnly)
{
    ThreadWindows found{{}, visibleOnly};
    ::EnumThreadWindows(threadId, CollectWindow, reinterpret_cast<LPARAM>(&found));
    PairWindows pair;
    for (HWND candidate : found.windows) {
        HWND owner = ::GetWindow(candidate, GW_OWNER);
        for (HWND other : found.windows) {
            if (other == owner) {
                pair.background = owner;
                pair.content = candidate;
                return pair;
            }
        }
    }
    // A background without a content window: a dialog window owned by none of the others.
    for (HWND candidate : found.windows) {
        wchar_t name[16] = {};
        ::GetClassNameW(candidate, name, 16);
        if (wcscmp(name, L"#32770") == 0)
            pair.background = candidate;
    }
    return pair;
}

}  // namespace

void EnsureGdiplus()
{
    static guitest::GdiplusSession session;
}

PairWindows FindVisiblePair(DWORD threadId)
{
    return FindPair(threadId, true);
}

INT_PTR RunModalWithDriver(const std::function<INT_PTR()>& run,
                           const std::function<void(const PairWindows&)>& driver,
                           const std::function<void(const PairWindows&)>& endNow)
{
    EnsureGdiplus();
    const DWORD uiThread = ::GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        PairWindows pair;
        WaitUntil([&] {
            pair = FindVisiblePair(uiThread);
            return done || pair.background;
        }, kPatienceMs);
        if (done)
            return;
        guitest::WaitOnScreen(pair.background, kPatienceMs);
        // The content window comes with the background; a pair without images has none.
        WaitUntil([&] {
            pair = FindVisiblePair(uiThread);
            return done || pair.content;
        }, 5000);
        if (done)
            return;
        if (pair.content)
            guitest::WaitOnScreen(pair.content, kPatienceMs);
        if (!done)
            driver(pair);
        // Whatever the driver left open is ended, so that a failing test cannot hang.
        WaitUntil([&] { return done.load(); }, kPatienceMs);
        for (int attempt = 0; attempt < 50 && !done; ++attempt) {
            PairWindows left = FindPair(uiThread, false);
            if (left.background)
                endNow(left);
            ::Sleep(100);
        }
    });
    INT_PTR result = run();
    done = true;
    worker.join();
    return result;
}

POINT Offset(POINT p, int dx, int dy)
{
    return POINT{p.x + dx, p.y + dy};
}

RECT WindowRectOf(HWND hWnd)
{
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    return r;
}

RECT RectIn(HWND hWnd, HWND reference)
{
    RECT r = WindowRectOf(hWnd);
    ::MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Rect(int left, int top, int right, int bottom)
{
    return RECT{left, top, right, bottom};
}

SIZE SizeOf(const RECT& r)
{
    return SIZE{r.right - r.left, r.bottom - r.top};
}

CScreenShot::CScreenShot(const RECT& area)
    : m_width(area.right - area.left), m_height(area.bottom - area.top)
{
    m_pixels = RenderPixels(m_width, m_height, [&](HDC memory) {
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(memory, 0, 0, m_width, m_height, screen, area.left, area.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    });
}

COLORREF CScreenShot::At(int x, int y) const
{
    DWORD p = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool CScreenShot::SavePng(const std::wstring& path) const
{
    EnsureGdiplus();
    CLSID png;
    if (!guitest::PngEncoder(&png))
        return false;
    Gdiplus::Bitmap bitmap(m_width, m_height, m_width * 4, PixelFormat32bppRGB,
                           reinterpret_cast<BYTE*>(const_cast<DWORD*>(m_pixels.data())));
    return bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

double CScreenShot::MatchPng(const RECT& sub, UINT pngId, int tolerance) const
{
    EnsureGdiplus();
    Gdiplus::Image* image = nullptr;
    if (!LoadPngFromResource(&image, pngId))
        return 0.0;
    const int width = sub.right - sub.left;
    const int height = sub.bottom - sub.top;
    std::vector<DWORD> expected = RenderPixels(width, height, [&](HDC memory) {
        Gdiplus::Graphics graphics(memory);
        graphics.DrawImage(image, Gdiplus::Rect(0, 0, width, height), 0, 0,
                           static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()),
                           Gdiplus::UnitPixel);
    });
    DeletePngImage(image);
    int matching = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            DWORD shot = m_pixels[static_cast<size_t>(y + sub.top) * m_width + x + sub.left];
            if (guitest::NearColor(shot, expected[static_cast<size_t>(y) * width + x], tolerance))
                ++matching;
        }
    }
    return width > 0 && height > 0 ? static_cast<double>(matching) / (width * height) : 0.0;
}

bool CScreenShot::DiffersFrom(const CScreenShot& other) const
{
    return m_width != other.m_width || m_height != other.m_height || m_pixels != other.m_pixels;
}

bool SaveScreenPng(const std::wstring& name)
{
    return guitest::SaveScreenPng(ProgramFolder() + name);
}

HWND CreateLightBackdrop()
{
    static const wchar_t* className = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = ::CreateSolidBrush(RGB(214, 218, 224));
        wc.lpszClassName = L"DialogTestBackdrop";
        ::RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    HWND desk = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className, L"", WS_POPUP, 0, 0,
                                  ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(desk, SW_SHOWNOACTIVATE);
    ::UpdateWindow(desk);
    return desk;
}

int RunSelfAtDpi(DWORD dpi, const std::wstring& filter)
{
    HKEY desktop = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &desktop, nullptr) != ERROR_SUCCESS)
        return -1;
    DWORD previous = 0;
    DWORD size = sizeof(previous);
    const bool hadValue = ::RegQueryValueExW(desktop, L"LogPixels", nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(&previous), &size) == ERROR_SUCCESS;
    ::RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof(dpi));

    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + filter;
    ::SetEnvironmentVariableW(L"DIALOG_TEST_DPI", std::to_wstring(dpi).c_str());
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    int exitCode = -1;
    if (::CreateProcessW(self, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &process)) {
        ::WaitForSingleObject(process.hProcess, 240000);
        DWORD code = 0;
        if (::GetExitCodeProcess(process.hProcess, &code))
            exitCode = static_cast<int>(code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::SetEnvironmentVariableW(L"DIALOG_TEST_DPI", nullptr);

    if (hadValue)
        ::RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous),
                         sizeof(previous));
    else
        ::RegDeleteValueW(desktop, L"LogPixels");
    ::RegCloseKey(desktop);
    return exitCode;
}

bool IsDpiChild()
{
    return ::GetEnvironmentVariableW(L"DIALOG_TEST_DPI", nullptr, 0) > 0;
}
