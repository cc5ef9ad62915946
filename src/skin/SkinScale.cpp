#include "skin/SkinScale.h"

#include <windows.h>

float ScaleFromDpi(int logPixelsY)
{
    if (logPixelsY > 100)
        return static_cast<float>(logPixelsY / 100.0);
    return 1.0f;
}

float ScaleFromScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return 1.0f;
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return ScaleFromDpi(dpi);
}
