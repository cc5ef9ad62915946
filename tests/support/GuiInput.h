// Real input for the window tests: the pointer and keys through SendInput, and waiting for a
// condition while the thread's own windows keep working.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace guitest {

ULONGLONG Now();

// Dispatches the thread's messages for the given time.
void PumpFor(DWORD ms);
// Dispatches messages until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Polls the condition, sleeping between polls, until it holds or the time is up; whether it
// held.  For threads and processes that own none of the windows they watch.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000, DWORD pollMs = 20);

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0);
// One absolute pointer move to a screen point, the display's pointer with it, without waiting
// for the move to arrive.
void SendPointerTo(int x, int y);
// A step of a burst: the pointer goes to the point, and the button flags (if any) act there.
struct PointerStep {
    POINT at;
    DWORD buttons;
};
// The steps as one SendInput call: nothing of this process runs between them.
void SendPointerBurst(const std::vector<PointerStep>& steps);
// Moves the pointer to a screen point and waits until it is there; true when it got there.
bool MoveTo(int x, int y);
bool MoveTo(POINT p);
// Button events where the pointer is: no move, so the press and release cannot shift it.
void LeftDown();
void LeftUp();
void Wheel(int clicks);
bool ClickAt(POINT p, DWORD holdMs = 30);
// Presses at from, moves to to in steps (each waited for), releases there.
void Drag(POINT from, POINT to, int steps = 10);
// A key down and up, then a moment for it to arrive.
void PressKey(WORD virtualKey);

// A client point of a window in screen coordinates.
POINT ScreenPoint(HWND hWnd, int x, int y);
POINT CenterOf(const RECT& r);

}  // namespace guitest
