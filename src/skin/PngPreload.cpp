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
void (*g_prepare)() = nullptr;
void (*g_afterwards)() = nullptr;
bool g_prepared = false;
HANDLE g_hThread = nullptr;
SRWLOCK g_lock = SRWLOCK_INIT;
CONDITION_VARIABLE g_decoded = CONDITION_VARIABLE_INIT;

DWORD WINAPI PreloadThread(LPVOID)
{
    if (g_prepare)
        g_prepare();
    ::AcquireSRWLockExclusive(&g_lock);
    g_prepared = true;
    ::ReleaseSRWLockExclusive(&g_lock);
    ::WakeAllConditionVariable(&g_decoded);
    for (int i = 0; i < g_count; ++i) {
        Gdiplus::Image* image = DecodePngResource(g_slots[i].id);
        ::AcquireSRWLockExclusive(&g_lock);
        g_slots[i].image = image;
        g_slots[i].done = true;
        ::ReleaseSRWLockExclusive(&g_lock);
        ::WakeAllConditionVariable(&g_decoded);
    }
    if (g_afterwards)
        g_afterwards();
    return 0;
}

}  // namespace

void StartPngPreload(const UINT* ids, int count, void (*prepare)(), void (*afterwards)())
{
    if (g_hThread)
        return;
    g_count = count < 0 ? 0 : count < kMaxImages ? count : kMaxImages;
    for (int i = 0; i < g_count; ++i)
        g_slots[i] = PreloadSlot{ids[i], nullptr, false, false};
    g_prepare = prepare;
    g_afterwards = afterwards;
    g_hThread = ::CreateThread(nullptr, 0, PreloadThread, nullptr, 0, nullptr);
    if (g_hThread)
        return;
    // Without a thread the work is done here, and the images are decoded when asked for.
    g_count = 0;
    if (prepare)
        prepare();
    if (afterwards)
        afterwards();
}

void WaitPngPreload()
{
    if (g_hThread)
        ::WaitForSingleObject(g_hThread, INFINITE);
}

bool TakePreloadedPng(UINT id, Gdiplus::Image** image)
{
    bool taken = false;
    ::AcquireSRWLockExclusive(&g_lock);
    // Any decoding, preloaded or not, needs what the thread prepares first (GDI+).
    while (g_hThread && !g_prepared)
        ::SleepConditionVariableSRW(&g_decoded, &g_lock, INFINITE, 0);
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
