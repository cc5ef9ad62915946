// Reports what a new process sees: "dpi" exits with the screen's LOGPIXELSY, otherwise the
// exit code is the bit pattern of ScaleFromScreenDpi().
#include "skin/SkinScale.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[1], L"dpi") == 0) {
        HDC screen = ::GetDC(nullptr);
        int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        return dpi;
    }
    float scale = ScaleFromScreenDpi();
    int bits = 0;
    memcpy(&bits, &scale, sizeof(bits));
    return bits;
}
