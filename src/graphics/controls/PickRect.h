// PickRect: the value a click gives a control made of n picking rectangles (frames, buttons):
// the first rectangle containing the point at position i gives i / (n - 1).
#pragma once

#include "graphics/IRECT.h"

#include <vector>

// Leaves value unchanged when no rectangle contains the point; a single rectangle gives 0, since
// it has nowhere else to go.
inline void PickRect(const std::vector<IRECT>& rects, int x, int y, double* value) {
  const size_t n = rects.size();
  for (size_t i = 0; i < n; ++i) {
    if (rects[i].Contains(x, y)) {
      *value = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
      return;
    }
  }
}
