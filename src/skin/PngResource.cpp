#include "skin/PngResource.h"

#include "skin/PngPreload.h"

#include <shlwapi.h>

namespace {

LONG g_liveImages = 0;

// An image that keeps count of itself, so that leaks of skin images can be seen.
class CCountedImage : public Gdiplus::Bitmap {
public:
    explicit CCountedImage(IStream* stream) : Gdiplus::Bitmap(stream, FALSE) { ::InterlockedIncrement(&g_liveImages); }
    ~CCountedImage() override { ::InterlockedDecrement(&g_liveImages); }
};

}  // namespace

BOOL LoadPngFromResource(Gdiplus::Image** image, UINT id)
{
    if (!image)
        return FALSE;
    if (TakePreloadedPng(id, image))
        return TRUE;
    Gdiplus::Image* decoded = DecodePngResource(id);
    if (!decoded)
        return FALSE;
    *image = decoded;
    return TRUE;
}

Gdiplus::Image* DecodePngResource(UINT id)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (!found)
        return nullptr;
    DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return nullptr;

    // A stream over a copy of the bytes, which the image holds for as long as it may read from
    // it.  From the shell's light library, loaded anyway: the COM libraries need not load
    // before the program starts, only with GDI+.
    IStream* stream = ::SHCreateMemStream(static_cast<const BYTE*>(bytes), size);
    if (!stream)
        return nullptr;
    // The decode result is not examined: drawing an undecodable image does nothing.
    Gdiplus::Image* image = new CCountedImage(stream);
    stream->Release();
    return image;
}

bool PngResourceExists(UINT id)
{
    return ::FindResourceW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), L"PNG") != nullptr;
}

BOOL LoadPngFromResource(std::unique_ptr<Gdiplus::Image>& image, UINT id)
{
    Gdiplus::Image* loaded = nullptr;
    if (!LoadPngFromResource(&loaded, id))
        return FALSE;
    image.reset(loaded);
    return TRUE;
}

void DeletePngImage(Gdiplus::Image*& image)
{
    delete image;
    image = nullptr;
}

int LivePngImageCount()
{
    return static_cast<int>(g_liveImages);
}
