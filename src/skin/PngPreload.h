// The images of the first paint, decoded on a second thread while the first one starts the
// windows: LoadPngFromResource hands out a preloaded image instead of decoding it again.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// Starts decoding the images, in this order, on a thread of their own.  GDI+ must have been
// started.  Call once.
void StartPngPreload(const UINT* ids, int count);
// The preloaded image of that id, waiting for its decoding if need be; each is handed out
// once.  False when the id was not preloaded, already taken, or failed to load.
bool TakePreloadedPng(UINT id, Gdiplus::Image** image);
// Waits for the thread and deletes every image nobody took (before GDI+ shuts down).
void EndPngPreload();
