// Skin images: PNG files kept in the program's resources under the type "PNG".
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

// On TRUE *image holds a new image that the caller owns (free it with delete).  A missing
// resource leaves *image untouched and returns FALSE.  GDI+ must have been started.
BOOL LoadPngFromResource(Gdiplus::Image** image, UINT id);

// The same into an owning pointer; on FALSE it is left untouched.
BOOL LoadPngFromResource(std::unique_ptr<Gdiplus::Image>& image, UINT id);

// A new image decoded from the resource, or null when the resource is missing.  Any thread.
Gdiplus::Image* DecodePngResource(UINT id);

// Whether the resources hold a PNG image of that id (nothing is decoded).
bool PngResourceExists(UINT id);

// Deletes the image, if any, and clears the pointer.
void DeletePngImage(Gdiplus::Image*& image);

// Number of images made by LoadPngFromResource that have not been deleted yet.
int LivePngImageCount();
