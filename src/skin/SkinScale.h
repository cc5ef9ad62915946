// The display scale of the skinned windows and the one way design lengths are scaled.
#pragma once

// A design length (pixels at scale 1) times the scale, computed in double precision from the
// single-precision scale and truncated toward zero.
inline int Scaled(double designLength, float scale)
{
    return static_cast<int>(designLength * static_cast<double>(scale));
}

// Truncation toward zero of a coordinate written as one floating-point expression,
// e.g. Truncated(width - 10 * static_cast<double>(scale)).
inline int Truncated(double value)
{
    return static_cast<int>(value);
}

// 1.0 up to 100 dpi, else dpi / 100.
float ScaleFromDpi(int logPixelsY);
// ScaleFromDpi of the screen's LOGPIXELSY.
float ScaleFromScreenDpi();
