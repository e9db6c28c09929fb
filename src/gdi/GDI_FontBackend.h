// What a platform's font rasteriser supplies to the GDI layer: the request, the resolved metrics and
// rendered glyphs. Free of the layer's handle types, whose names Win32's headers also use, so the
// Windows rasteriser can include both.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct GDI_FontRequest {
  int height = 0;      // > 0 cell height, < 0 em size, 0 default
  int escapement = 0;  // tenths of a degree, counter-clockwise
  int weight = 400;    // normal
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool antiAlias = true;
  std::string face;
};

struct GDI_FontMetrics {
  int ascent = 0;
  int descent = 0;
  int emSize = 0;
  int avgCharWidth = 0;
  int maxCharWidth = 0;
  int underlinePos = 0;  // below the baseline, pixels
  int lineThickness = 1;
};

// A rendered glyph: coverage 0..255, one byte per pixel, rows top-down. left/top place the map's
// top-left relative to the pen on the baseline (y down); advances are 26.6 fixed point, y down.
struct GDI_Glyph {
  int left = 0, top = 0, width = 0, height = 0;
  int32_t advanceX = 0, advanceY = 0;
  std::vector<uint8_t> coverage;
};

// What each platform supplies: a face opened for one request, rendering glyphs at its size and
// angle.
class GDI_FontBackend {
 public:
  virtual ~GDI_FontBackend() {}
  virtual const GDI_FontMetrics& Metrics() const = 0;
  virtual const std::string& Family() const = 0;
  // False when the character cannot be rendered; a blank glyph is a success with an empty map.
  virtual bool RenderGlyph(uint32_t cp, GDI_Glyph* out) = 0;
};

// Opens the best system face for the request (substituting when the face is missing); null if
// no face can be opened at all.
std::unique_ptr<GDI_FontBackend> GDI_OpenFontBackend(const GDI_FontRequest& req);
