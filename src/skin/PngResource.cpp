#include "skin/PngResource.h"

namespace {

LONG g_liveImages = 0;

// An image that keeps count of itself, so that leaks of skin images can be seen.
class CCountedImage : public Gdiplus::Image {
public:
    explicit CCountedImage(IStream* stream) : Gdiplus::Image(stream, FALSE) { ++g_liveImages; }
    ~CCountedImage() override { --g_liveImages; }
};

}  // namespace

BOOL LoadPngFromResource(Gdiplus::Image** image, UINT id)
{
    if (!image)
        return FALSE;
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (!found)
        return FALSE;
    DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return FALSE;

    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, size);
    if (!block)
        return FALSE;
    void* target = ::GlobalLock(block);
    if (!target) {
        ::GlobalFree(block);
        return FALSE;
    }
    memcpy(target, bytes, size);
    ::GlobalUnlock(block);

    // The stream frees the block when its last reference goes, which the image holds for as
    // long as it may read from it.
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        ::GlobalFree(block);
        return FALSE;
    }
    // The decode result is not examined: drawing an undecodable image does nothing.
    *image = new CCountedImage(stream);
    stream->Release();
    return TRUE;
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
