// The images of the first paint, decoded on a second thread while the first one starts the
// windows: LoadPngFromResource hands out a preloaded image instead of decoding it again.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// Starts, on a thread of its own, prepare (what decoding needs: GDI+), then the decoding of
// the images in this order, then afterwards (work the first paint does not wait for).  Without
// a thread both functions run here and the images are decoded when asked for.  Call once.
void StartPngPreload(const UINT* ids, int count, void (*prepare)(), void (*afterwards)());
// Waits until the thread has done all of its work; the images stay to be taken.
void WaitPngPreload();
// The preloaded image of that id, waiting for its decoding if need be; each is handed out
// once.  False when the id was not preloaded, already taken, or failed to load.
bool TakePreloadedPng(UINT id, Gdiplus::Image** image);
// Waits for the thread and deletes every image nobody took (before GDI+ shuts down).
void EndPngPreload();
