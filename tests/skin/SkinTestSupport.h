// What the skin tests add to the common window-test support: GDI+ for the whole run and a
// screenshots folder beside the test program.
#pragma once

#include "support/GuiInput.h"
#include "support/ScreenCapture.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

// Saves the whole screen as a PNG in the screenshots folder beside the test program.
bool SaveScreenshot(const wchar_t* name);
// Saves the window's client area (read from its DC) the same way.
bool SaveWindowShot(HWND hWnd, const wchar_t* name);
