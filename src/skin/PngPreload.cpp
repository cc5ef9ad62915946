#include "skin/PngPreload.h"

#include "skin/PngResource.h"

namespace {

constexpr int kMaxImages = 32;

struct PreloadSlot {
    UINT id;
    Gdiplus::Image* image;
    bool done;
    bool taken;
};

// Plain data and system objects only: a process that ends through exit() while the thread
// still runs must not run destructors of these.
PreloadSlot g_slots[kMaxImages];
int g_count = 0;
HANDLE g_hThread = nullptr;
SRWLOCK g_lock = SRWLOCK_INIT;
CONDITION_VARIABLE g_decoded = CONDITION_VARIABLE_INIT;

DWORD WINAPI PreloadThread(LPVOID)
{
    for (int i = 0; i < g_count; ++i) {
        Gdiplus::Image* image = DecodePngResource(g_slots[i].id);
        ::AcquireSRWLockExclusive(&g_lock);
        g_slots[i].image = image;
        g_slots[i].done = true;
        ::ReleaseSRWLockExclusive(&g_lock);
        ::WakeAllConditionVariable(&g_decoded);
    }
    return 0;
}

}  // namespace

void StartPngPreload(const UINT* ids, int count)
{
    if (g_hThread || count <= 0)
        return;
    g_count = count < kMaxImages ? count : kMaxImages;
    for (int i = 0; i < g_count; ++i)
        g_slots[i] = PreloadSlot{ids[i], nullptr, false, false};
    g_hThread = ::CreateThread(nullptr, 0, PreloadThread, nullptr, 0, nullptr);
    if (!g_hThread)
        g_count = 0;
}

bool TakePreloadedPng(UINT id, Gdiplus::Image** image)
{
    bool taken = false;
    ::AcquireSRWLockExclusive(&g_lock);
    for (int i = 0; i < g_count; ++i) {
        PreloadSlot& slot = g_slots[i];
        if (slot.id != id || slot.taken)
            continue;
        while (!slot.done)
            ::SleepConditionVariableSRW(&g_decoded, &g_lock, INFINITE, 0);
        slot.taken = true;
        if (slot.image) {
            *image = slot.image;
            slot.image = nullptr;
            taken = true;
        }
        break;
    }
    ::ReleaseSRWLockExclusive(&g_lock);
    return taken;
}

void EndPngPreload()
{
    if (!g_hThread)
        return;
    ::WaitForSingleObject(g_hThread, INFINITE);
    ::CloseHandle(g_hThread);
    g_hThread = nullptr;
    for (int i = 0; i < g_count; ++i)
        DeletePngImage(g_slots[i].image);
    g_count = 0;
}
