#include "support/GuiInput.h"

#include <cstdio>

namespace guitest {

namespace {

// An injected move waits for every low-level mouse hook on the desktop to answer; a hook in a
// slow program can take seconds.  Only a move that never arrives waits this out.
const DWORD kPointerPatienceMs = 30000;

}  // namespace

ULONGLONG Now()
{
    return ::GetTickCount64();
}

void PumpFor(DWORD ms)
{
    const ULONGLONG end = Now() + ms;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        const ULONGLONG now = Now();
        if (now >= end)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = Now() + timeoutMs;
    while (!done()) {
        if (Now() >= end)
            return done();
        PumpFor(10);
    }
    return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs)
{
    const ULONGLONG end = Now() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (Now() >= end)
            return false;
        ::Sleep(pollMs);
    }
}

void SendMouse(DWORD flags, LONG dx, LONG dy, DWORD data)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

namespace {

// The smallest normalised value that maps back to the pixel.
LONG Normalised(int pixel, int extent)
{
    return static_cast<LONG>((pixel * 65536LL + extent - 1) / extent);
}

}  // namespace

void SendPointerTo(int x, int y)
{
    // The display's own pointer first, as a mouse moves it.  While any program on the desktop
    // has a low-level mouse hook, Wine moves its cursor for an injected move only once the hook
    // has answered, and leaves the display's pointer where it was; the next pointer event the
    // display reports (a window mapped under it) puts the cursor back there, and a press lands
    // where the pointer used to be.
    ::SetCursorPos(x, y);
    SendPointerBurst({{POINT{x, y}, 0}});
}

void SendPointerBurst(const std::vector<PointerStep>& steps)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = Normalised(steps[i].at.x, width);
        inputs[i].mi.dy = Normalised(steps[i].at.y, height);
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | steps[i].buttons;
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool MoveTo(int x, int y)
{
    SendPointerTo(x, y);
    POINT at{};
    const bool arrived = PumpUntil(
        [&] {
            ::GetCursorPos(&at);
            return at.x == x && at.y == y;
        },
        kPointerPatienceMs);
    if (!arrived)
        fprintf(stderr, "pointer at (%ld, %ld), not (%d, %d)\n", at.x, at.y, x, y);
    PumpFor(20);
    return arrived;
}

bool MoveTo(POINT p)
{
    return MoveTo(p.x, p.y);
}

void LeftDown()
{
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void LeftUp()
{
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void Wheel(int clicks)
{
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(clicks * WHEEL_DELTA));
}

bool ClickAt(POINT p, DWORD holdMs)
{
    if (!MoveTo(p))
        return false;
    PumpFor(50);
    LeftDown();
    PumpFor(holdMs);
    LeftUp();
    PumpFor(100);
    return true;
}

void Drag(POINT from, POINT to, int steps)
{
    MoveTo(from);
    PumpFor(80);
    LeftDown();
    PumpFor(150);
    for (int i = 1; i <= steps; ++i) {
        MoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
        PumpFor(40);
    }
    PumpFor(150);
    LeftUp();
    PumpFor(200);
}

void PressKey(WORD virtualKey)
{
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
    PumpFor(100);
}

POINT ScreenPoint(HWND hWnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(hWnd, &p);
    return p;
}

POINT CenterOf(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace guitest
