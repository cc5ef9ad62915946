// What the skin tests share: GDI+ for the whole run, message pumping, real input, pixels.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

// Dispatches the thread's messages for about ms milliseconds.
void PumpMessages(DWORD ms);
// Pumps until done() is true or ms have passed; returns done().
template <class Done>
bool PumpUntil(Done done, DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms)
            return false;
        PumpMessages(10);
    }
    return true;
}

// Real input through SendInput.
void MovePointerTo(int x, int y);
void PressLeft();
void ReleaseLeft();
void PressKey(WORD vk);

// The colour of a client pixel of the window, read back from its window DC.
COLORREF ClientPixel(HWND hWnd, int x, int y);
// Whether two colours are within tolerance on every channel.
bool NearColor(COLORREF a, COLORREF b, int tolerance = 12);
std::wstring ColorText(COLORREF c);

// Saves the whole screen as a PNG in the screenshots folder beside the test program.
bool SaveScreenshot(const wchar_t* name);
// Saves the window's client area (read from its DC) the same way.
bool SaveWindowShot(HWND hWnd, const wchar_t* name);
// The folder the test program lies in, with a trailing backslash.
std::wstring ProgramFolder();
