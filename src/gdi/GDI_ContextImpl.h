// Internal layout of a memory drawing context; only the layer's own files include this.
#pragma once

#include "gdi/GDI_Types.h"

#include <algorithm>
#include <cstdint>
#include <vector>

struct GDI_Context {
  int width = 0;
  int height = 0;
  uint32_t* pixels = nullptr;  // width * height words, owned
  HFONT font = nullptr;        // selected, not owned
  GDI_COLOR textColor = 0;
  GDI_COLOR bkColor = 0xFFFFFF;
  int bkMode = GDI_OPAQUE;
  bool hasClip = false;
  RECT clip = {0, 0, 0, 0};
  struct SavedClip {
    bool hasClip;
    RECT clip;
  };
  std::vector<SavedClip> clipStack;

  // The drawable area: the clip limited to the buffer.
  RECT DrawableRect() const;
};

// The overlap of two rectangles; an empty overlap keeps its far edges at the near ones.
inline RECT GDI_IntersectRect(const RECT& a, const RECT& b) {
  RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}
