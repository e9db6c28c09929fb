// Internal layout of a memory drawing context; only the layer's own files include this.
#pragma once

#include "gdi/GDI_Types.h"

#include <cstdint>
#include <vector>

struct GDI_Context
{
  int width = 0;
  int height = 0;
  uint32_t* pixels = nullptr;  // width * height words, owned
  HFONT font = nullptr;        // selected, not owned
  GDI_COLOR textColor = 0;
  GDI_COLOR bkColor = 0xFFFFFF;
  int bkMode = GDI_OPAQUE;
  bool hasClip = false;
  RECT clip = {0, 0, 0, 0};
  struct SavedClip
  {
    bool hasClip;
    RECT clip;
  };
  std::vector<SavedClip> clipStack;

  // The drawable area: the clip limited to the buffer.
  RECT DrawableRect() const;
};
