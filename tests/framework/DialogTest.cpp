// The dialog class: our modal loop, owner handling, centring, pre-translation, data exchange.
#include <gtest/gtest.h>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework_test.h"

#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr UINT_PTR kStepTimer = 1;

// A test dialog whose initialisation and timer steps are given by each test.
class CScriptedDialog : public CDialog {
public:
    explicit CScriptedDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_DIALOG, parent) {}

    std::function<void(CScriptedDialog&)> onInit;
    std::vector<std::function<void(CScriptedDialog&)>> steps;  // one per 50 ms tick
    bool swallowEscape = false;
    int escapesSeen = 0;
    CButton m_button;
    CButton m_drawn;
    int drawItemCalls = 0;

    class CDrawnButton;

protected:
    void DoDataExchange() override
    {
        DDX_Control(IDC_TEST_BUTTON, m_button);
        DDX_Control(IDC_TEST_DRAWN, m_drawn);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        if (!steps.empty())
            SetTimer(kStepTimer, 50);
        return TRUE;
    }
    void OnTimer(UINT_PTR id) override
    {
        if (id != kStepTimer)
            return CDialog::OnTimer(id);
        if (m_next < steps.size())
            steps[m_next++](*this);
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
            ++escapesSeen;
            if (swallowEscape)
                return TRUE;
        }
        return CDialog::PreTranslateMessage(msg);
    }

private:
    size_t m_next = 0;
};

class COwnerDialog : public CDialog {
public:
    COwnerDialog() : CDialog(IDD_TEST_OWNER) {}
};

void PostKey(HWND hWnd, WPARAM key)
{
    ::PostMessageW(hWnd, WM_KEYDOWN, key, 0);
}

RECT WindowRect(HWND hWnd)
{
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    return r;
}

}  // namespace

TEST(Dialog, DoModalReturnsTheEndDialogValueAndDestroysTheWindow)
{
    CScriptedDialog dialog;
    HWND seen = nullptr;
    dialog.steps.push_back([&](CScriptedDialog& d) {
        seen = d.m_hWnd;
        d.EndDialog(1234);
    });
    EXPECT_EQ(dialog.DoModal(), 1234);
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(::IsWindow(seen));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(Dialog, EndDialogDuringInitialisationReturnsWithoutALoop)
{
    CScriptedDialog dialog;
    dialog.onInit = [](CScriptedDialog& d) { d.EndDialog(IDCANCEL); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(Dialog, TheOwnerIsDisabledWhileModalAndEnabledAfterwards)
{
    COwnerDialog owner;
    ASSERT_TRUE(owner.Create(IDD_TEST_OWNER, nullptr));
    owner.ShowWindow(SW_SHOW);
    CScriptedDialog dialog(&owner);
    bool ownerEnabledInside = true;
    HWND ownerOfDialog = nullptr;
    dialog.steps.push_back([&](CScriptedDialog& d) {
        ownerEnabledInside = owner.IsWindowEnabled() != FALSE;
        ownerOfDialog = ::GetWindow(d.m_hWnd, GW_OWNER);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_EQ(ownerOfDialog, owner.m_hWnd);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST(Dialog, AHiddenUnmovedModalDialogIsCentredOverItsOwner)
{
    COwnerDialog owner;
    ASSERT_TRUE(owner.Create(IDD_TEST_OWNER, nullptr));
    owner.SetWindowPos(nullptr, 100, 100, 500, 400, SWP_NOZORDER | SWP_SHOWWINDOW);
    CScriptedDialog dialog(&owner);
    RECT inside{};
    dialog.steps.push_back([&](CScriptedDialog& d) {
        inside = WindowRect(d.m_hWnd);
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
    RECT o = WindowRect(owner.m_hWnd);
    int width = inside.right - inside.left, height = inside.bottom - inside.top;
    EXPECT_EQ(inside.left, (o.left + o.right) / 2 - width / 2);
    EXPECT_EQ(inside.top, (o.top + o.bottom) / 2 - height / 2);
    owner.DestroyWindow();
}

TEST(Dialog, ADialogThatPlacesItselfIsNotCentred)
{
    COwnerDialog owner;
    ASSERT_TRUE(owner.Create(IDD_TEST_OWNER, nullptr));
    owner.SetWindowPos(nullptr, 100, 100, 500, 400, SWP_NOZORDER | SWP_SHOWWINDOW);
    CScriptedDialog dialog(&owner);
    dialog.onInit = [](CScriptedDialog& d) { d.SetWindowPos(nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
    RECT inside{};
    dialog.steps.push_back([&](CScriptedDialog& d) {
        inside = WindowRect(d.m_hWnd);
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(inside.left, 7);
    EXPECT_EQ(inside.top, 9);
    owner.DestroyWindow();
}

TEST(Dialog, EscapeEndsAPlainDialogButAPreTranslateOverrideCanSwallowIt)
{
    CScriptedDialog plain;
    plain.steps.push_back([](CScriptedDialog& d) { PostKey(d.m_button.m_hWnd, VK_ESCAPE); });
    plain.steps.push_back([](CScriptedDialog& d) { d.EndDialog(77); });
    EXPECT_EQ(plain.DoModal(), IDCANCEL);
    EXPECT_EQ(plain.escapesSeen, 1);

    CScriptedDialog swallowing;
    swallowing.swallowEscape = true;
    swallowing.steps.push_back([](CScriptedDialog& d) { PostKey(d.m_button.m_hWnd, VK_ESCAPE); });
    swallowing.steps.push_back([](CScriptedDialog& d) { d.EndDialog(77); });
    EXPECT_EQ(swallowing.DoModal(), 77);
    EXPECT_EQ(swallowing.escapesSeen, 1);
}

TEST(Dialog, PreTranslationWalksFromAnOwnedPopupToItsOwner)
{
    // The key goes to a popup owned by the dialog; the dialog still sees it first.
    CScriptedDialog dialog;
    dialog.swallowEscape = true;
    HWND popup = nullptr;
    dialog.steps.push_back([&](CScriptedDialog& d) {
        popup = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, d.m_hWnd, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
        PostKey(popup, VK_ESCAPE);
    });
    dialog.steps.push_back([](CScriptedDialog& d) { d.EndDialog(5); });
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_EQ(dialog.escapesSeen, 1);
}

namespace {

class CCountingButton : public CButton {
public:
    int draws = 0;
    UINT lastId = 0;

protected:
    void DrawItem(DRAWITEMSTRUCT* item) override
    {
        ++draws;
        lastId = item->CtlID;
        ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
};

class CBindingDialog : public CDialog {
public:
    CBindingDialog() : CDialog(IDD_TEST_DIALOG) {}
    CButton m_button;
    CCountingButton m_drawn;
    CWnd m_text;
    bool boundRight = false;

protected:
    void DoDataExchange() override
    {
        DDX_Control(IDC_TEST_BUTTON, m_button);
        DDX_Control(IDC_TEST_DRAWN, m_drawn);
        DDX_Control(IDC_TEST_TEXT, m_text);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        boundRight = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IDC_TEST_BUTTON)) == &m_button &&
                     CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IDC_TEST_DRAWN)) == &m_drawn &&
                     CWnd::FromHandlePermanent(m_hWnd) == this;
        SetTimer(1, 300);
        return TRUE;
    }
    void OnTimer(UINT_PTR) override
    {
        KillTimer(1);
        EndDialog(IDOK);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == IDC_TEST_BUTTON && HIWORD(wParam) == BN_CLICKED) {
            EndDialog(42);
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

}  // namespace

TEST(Dialog, DataExchangeBindsTemplateControlsAndOwnerDrawingIsReflected)
{
    CBindingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.boundRight);
    EXPECT_GE(dialog.m_drawn.draws, 1);
    EXPECT_EQ(dialog.m_drawn.lastId, static_cast<UINT>(IDC_TEST_DRAWN));
    EXPECT_EQ(dialog.m_button.m_hWnd, nullptr);  // unbound when the window went
}

TEST(Dialog, AButtonClickReachesOnCommand)
{
    CBindingDialog dialog;
    CScriptedDialog outer;  // drives the click from a timer of an outer modal loop
    outer.steps.push_back([&](CScriptedDialog& d) {
        d.ShowWindow(SW_HIDE);
        INT_PTR result = dialog.DoModal();
        d.EndDialog(static_cast<int>(result));
    });
    // The inner dialog ends with 42 once its button is clicked.
    std::thread clicker([&] {
        for (int i = 0; i < 100 && !dialog.m_button.m_hWnd; ++i)
            ::Sleep(20);
        ::Sleep(50);
        if (dialog.m_button.m_hWnd)
            ::PostMessageW(dialog.m_button.m_hWnd, BM_CLICK, 0, 0);
    });
    INT_PTR result = outer.DoModal();
    clicker.join();
    EXPECT_EQ(result, 42);
}

namespace {

// Ended by a message another thread sends while the loop first looks at its queue; the
// handler runs a loop of its own, as a nested prompt does, which takes the loop's wake-up.
class CEndedFromAnotherThread : public CScriptedDialog {
public:
    bool everShown = false;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_SHOWWINDOW && wParam)
            everShown = true;
        if (msg != WM_APP)
            return CScriptedDialog::WindowProc(msg, wParam, lParam);
        EndDialog(7);
        MSG nested;
        while (::PeekMessageW(&nested, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&nested);
        return 0;
    }
};

}  // namespace

TEST(Dialog, ADialogEndedBeforeItsFirstIdleMomentIsNeverShown)
{
    CEndedFromAnotherThread dialog;
    std::thread sender;
    dialog.onInit = [&](CScriptedDialog& d) {
        HWND hWnd = d.m_hWnd;
        sender = std::thread([hWnd] { ::SendMessageW(hWnd, WM_APP, 0, 0); });
        // The message waits in the queue before the loop first looks.
        while (!(HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE))
            ::Sleep(1);
    };
    EXPECT_EQ(dialog.DoModal(), 7);
    sender.join();
    EXPECT_FALSE(dialog.everShown);
}
