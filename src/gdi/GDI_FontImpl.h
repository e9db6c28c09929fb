// Internal font object: the request, the resolved metrics, a platform rasteriser and a cache of
// rendered glyphs. Only the layer's own files include this.
#pragma once

#include "gdi/GDI_FontBackend.h"
#include "gdi/GDI_Types.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct GDI_Font {
  GDI_FontRequest request;
  std::unique_ptr<GDI_FontBackend> backend;
  // Fonts are shared between editors; the cache and the rasteriser are guarded together.
  std::recursive_mutex mutex;
  std::unordered_map<uint32_t, GDI_Glyph> glyphs;

  // The glyph for cp, rendered on first use; null when it cannot be rendered. Call with the mutex
  // held; the pointer stays valid until TrimCache.
  const GDI_Glyph* Glyph(uint32_t cp);
  // Bounds memory for texts that run through huge numbers of distinct characters. Only call when
  // no glyph pointers are held.
  void TrimCache();
};

// The font used by contexts without a selected font; lives for the whole process.
HFONT GDI_DefaultFont();
