// Handle types, rectangle and constants shared by every call of the GDI compatibility layer.
#pragma once

#include <cstdint>

// Left, top, right, bottom; right and bottom are exclusive.
struct RECT {
  int left, top, right, bottom;
};

struct GDI_Context;
struct GDI_Font;
typedef GDI_Context* HDC;
typedef GDI_Font* HFONT;

// Colours are pixel words 0x00RRGGBB (the raster library's layout); the top byte is ignored.
typedef uint32_t GDI_COLOR;

// Background modes.
enum { GDI_TRANSPARENT = 1, GDI_OPAQUE = 2 };

// Font weights and qualities of a font request.
enum { GDI_FW_NORMAL = 400, GDI_FW_BOLD = 700 };
enum {
  GDI_DEFAULT_QUALITY = 0,
  GDI_DRAFT_QUALITY = 1,
  GDI_PROOF_QUALITY = 2,
  GDI_NONANTIALIASED_QUALITY = 3,
  GDI_ANTIALIASED_QUALITY = 4,
  GDI_CLEARTYPE_QUALITY = 5
};

// GDI_DrawText format flags.
enum {
  GDI_DT_LEFT = 0x0,
  GDI_DT_TOP = 0x0,
  GDI_DT_CENTER = 0x1,
  GDI_DT_RIGHT = 0x2,
  GDI_DT_VCENTER = 0x4,
  GDI_DT_BOTTOM = 0x8,
  GDI_DT_SINGLELINE = 0x20,
  GDI_DT_NOCLIP = 0x100,
  GDI_DT_CALCRECT = 0x400,
  GDI_DT_NOPREFIX = 0x800
};
