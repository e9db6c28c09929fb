// Font objects and their glyph caches; the platform rasteriser sits behind GDI_FontBackend.
#include "gdi/GDI_Font.h"
#include "gdi/GDI_ContextImpl.h"
#include "gdi/GDI_FontImpl.h"

#include <cstring>
#include <memory>
#include <new>

namespace {
// Past this many cached glyphs a font starts over; the editor's texts use a few dozen.
constexpr size_t kMaxCachedGlyphs = 4096;
// Requests beyond this are refused: nothing useful is that large and the rasteriser's memory
// grows with the square of it.
constexpr int kMaxHeight = 4096;
constexpr int kDefaultHeight = 16;
}  // namespace

const GDI_Glyph* GDI_Font::Glyph(uint32_t cp) {
  auto it = glyphs.find(cp);
  if (it != glyphs.end()) return &it->second;
  GDI_Glyph g;
  if (!backend || !backend->RenderGlyph(cp, &g)) return nullptr;
  return &glyphs.emplace(cp, std::move(g)).first->second;
}

void GDI_Font::TrimCache() {
  if (glyphs.size() > kMaxCachedGlyphs) glyphs.clear();
}

HFONT GDI_CreateFont(int height, int /*width*/, int escapement, int /*orientation*/, int weight, int italic,
                     int underline, int strikeOut, int /*charSet*/, int /*outPrecision*/,
                     int /*clipPrecision*/, int quality, int /*pitchAndFamily*/, const char* faceName) {
  GDI_FontRequest req;
  if (height == 0) height = kDefaultHeight;
  if (height > kMaxHeight || height < -kMaxHeight) return nullptr;
  req.height = height;
  req.escapement = escapement % 3600;
  req.weight = weight <= 0 ? GDI_FW_NORMAL : weight;
  req.italic = italic != 0;
  req.underline = underline != 0;
  req.strikeOut = strikeOut != 0;
  req.antiAlias = quality != GDI_NONANTIALIASED_QUALITY;
  if (faceName) req.face.assign(faceName, strnlen(faceName, 256));

  GDI_Font* font = new (std::nothrow) GDI_Font;
  if (!font) return nullptr;
  font->request = req;
  font->backend = GDI_OpenFontBackend(req);
  if (!font->backend) {
    delete font;
    return nullptr;
  }
  return font;
}

void GDI_DeleteFont(HFONT font) {
  if (font && font != GDI_DefaultFont()) delete font;
}

bool GDI_GetFontMetrics(HFONT font, GDI_TEXTMETRIC* out) {
  if (!font || !out) return false;
  std::lock_guard<std::recursive_mutex> lock(font->mutex);
  const GDI_FontMetrics& m = font->backend->Metrics();
  out->tmAscent = m.ascent;
  out->tmDescent = m.descent;
  out->tmHeight = m.ascent + m.descent;
  out->tmInternalLeading = out->tmHeight - m.emSize;
  out->tmExternalLeading = 0;
  out->tmAveCharWidth = m.avgCharWidth;
  out->tmMaxCharWidth = m.maxCharWidth;
  return true;
}

bool GDI_GetTextMetrics(HDC ctx, GDI_TEXTMETRIC* out) {
  if (!ctx) return false;
  return GDI_GetFontMetrics(ctx->font ? ctx->font : GDI_DefaultFont(), out);
}

const char* GDI_GetFontFamily(HFONT font) { return font ? font->backend->Family().c_str() : ""; }

HFONT GDI_DefaultFont() {
  // Contexts may use it until the end, so it lives as long as the code: freed when a plug-in's
  // module is unloaded (its face would otherwise keep the font library from being freed) or the
  // program ends.
  static const std::unique_ptr<GDI_Font> s_font(GDI_CreateFont(
      kDefaultHeight, 0, 0, 0, GDI_FW_NORMAL, 0, 0, 0, 0, 0, 0, GDI_ANTIALIASED_QUALITY, 0, "sans-serif"));
  return s_font.get();
}
