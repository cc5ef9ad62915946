// Binding a window object to its HWND: lookup, default processing, nesting, unbinding.
#include <gtest/gtest.h>

#include "framework/Wnd.h"

namespace {

class CRecordingWnd : public CWnd {
public:
    int sizes = 0;
    bool postNcDestroyed = false;
    bool boundDuringPostNcDestroy = true;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_SETTEXT) {
            // A message sent from inside a handler must not change what Default() passes on.
            SendMessage(WM_USER + 1);
            return Default();
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
    void OnSize(UINT type, int cx, int cy) override
    {
        ++sizes;
        CWnd::OnSize(type, cx, cy);
    }
    void PostNcDestroy() override
    {
        postNcDestroyed = true;
        boundDuringPostNcDestroy = m_hWnd != nullptr;
    }
};

RECT Rect(int l, int t, int r, int b)
{
    return RECT{l, t, r, b};
}

}  // namespace

TEST(Wnd, CreateExBindsAndTheObjectIsFoundFromTheHandle)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, CWnd::DefaultChildClass(), L"x", WS_POPUP, Rect(0, 0, 50, 40), nullptr, 0));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    wnd.MoveWindow(0, 0, 60, 40);
    EXPECT_GE(wnd.sizes, 1);
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(nullptr), nullptr);
    ::DestroyWindow(plain);
    wnd.DestroyWindow();
}

TEST(Wnd, DefaultPassesTheOuterMessageAfterANestedOne)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, CWnd::DefaultChildClass(), L"", WS_POPUP, Rect(0, 0, 50, 40), nullptr, 0));
    wnd.SetWindowText(L"kept text");
    EXPECT_EQ(wnd.GetWindowText(), L"kept text");
    wnd.DestroyWindow();
}

TEST(Wnd, DestroyingTheWindowUnbindsTheObjectBeforePostNcDestroy)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, CWnd::DefaultChildClass(), L"", WS_POPUP, Rect(0, 0, 5, 5), nullptr, 0));
    HWND hWnd = wnd.m_hWnd;
    wnd.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.postNcDestroyed);
    EXPECT_FALSE(wnd.boundDuringPostNcDestroy);
}

TEST(Wnd, AnObjectDeletedFirstTakesItsWindowWithIt)
{
    HWND hWnd = nullptr;
    {
        CRecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, CWnd::DefaultChildClass(), L"", WS_POPUP, Rect(0, 0, 5, 5), nullptr, 0));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(Wnd, SubclassingTwiceOrANullWindowFails)
{
    CRecordingWnd first, second;
    ASSERT_TRUE(first.CreateEx(0, CWnd::DefaultChildClass(), L"", WS_POPUP, Rect(0, 0, 5, 5), nullptr, 0));
    EXPECT_FALSE(second.SubclassWindow(first.m_hWnd));
    EXPECT_FALSE(second.SubclassWindow(nullptr));
    HWND hWnd = first.UnsubclassWindow();
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_TRUE(second.SubclassWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &second);
    second.DestroyWindow();
}

TEST(Wnd, PlainClassesAreRegisteredOncePerAttributeSet)
{
    const wchar_t* a = CWnd::RegisterPlainClass(0, nullptr, nullptr, nullptr);
    const wchar_t* b = CWnd::RegisterPlainClass(0, nullptr, nullptr, nullptr);
    const wchar_t* c = CWnd::DefaultChildClass();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_STRNE(a, c);
    WNDCLASSW info{};
    ASSERT_TRUE(::GetClassInfoW(::GetModuleHandleW(nullptr), a, &info));
    EXPECT_EQ(info.hCursor, nullptr);
    EXPECT_EQ(info.hbrBackground, nullptr);
}
