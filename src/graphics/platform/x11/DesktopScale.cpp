// Xft.dpi parsing: "Xft.dpi:\t192" on a line of its own, as xrdb writes it.
#include "graphics/platform/x11/DesktopScale.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

double XftDpiScale(const char* resources) {
  static const char kKey[] = "Xft.dpi:";
  for (const char* line = resources; line && *line;) {
    if (std::strncmp(line, kKey, sizeof kKey - 1) == 0) {
      const double dpi = std::strtod(line + sizeof kKey - 1, nullptr);
      return std::isfinite(dpi) && dpi > 0.0 ? dpi / 96.0 : 1.0;
    }
    const char* next = std::strchr(line, '\n');
    line = next ? next + 1 : nullptr;
  }
  return 1.0;
}
