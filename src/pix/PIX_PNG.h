// PNG decoding into 32-bit bitmaps (libpng, or WIC on Windows), from a file, a memory block or the plug-in
// bundle's resources. Every failure returns null.
#pragma once

#include <cstddef>

#include "pix/PIX_IBitmap.h"

// With a bitmap given, that bitmap is resized, filled and returned (it may have been resized, and
// partly written, when null is returned); without one a new PIX_MemBitmap (row alignment 4) owned
// by the caller is returned.
PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap = nullptr);
PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, size_t length, PIX_IBitmap* bitmap = nullptr);

// The size in a PNG file's header, without decoding; false for a file that is no PNG.
bool PIX_ReadPNGSize(const char* path, int* width, int* height);

// Images linked into the module itself; PIX_LoadPNGFromNamedResource looks a name up here first.
// Set once, while the module loads; the table must live as long as the module.
struct PIX_EmbeddedImage {
  const char* name;
  const unsigned char* data;
  size_t size;
};
void PIX_SetEmbeddedImages(const PIX_EmbeddedImage* images, int count);

// Loads the embedded image of that name, else <bundle>/Contents/Resources/<name>; names longer
// than 400 characters give null.
PIX_IBitmap* PIX_LoadPNGFromNamedResource(const char* name, PIX_IBitmap* bitmap = nullptr);
// Numeric resources do not exist on this platform: always null.
PIX_IBitmap* PIX_LoadPNGFromResource(void* module, int resourceId, PIX_IBitmap* bitmap = nullptr);
