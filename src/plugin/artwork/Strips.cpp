// Strip table and per-strip rendering: every frame is drawn on its own canvas and copied into
// its slot of the strip.
#include "plugin/artwork/Strips.h"

#include "plugin/artwork/Canvas.h"
#include "plugin/artwork/Faceplate.h"
#include "plugin/artwork/KnobArt.h"
#include "plugin/artwork/Layout.h"
#include "plugin/artwork/MeterArt.h"
#include "plugin/artwork/Palette.h"
#include "plugin/artwork/SwitchArt.h"
#include "plugin/artwork/Typeface.h"

#include "pix/PIX_Blit.h"

#include <algorithm>
#include <cmath>
#include <functional>

const std::vector<StripInfo>& AllStrips() {
  static const std::vector<StripInfo> strips = [] {
    std::vector<StripInfo> v;
    v.push_back({"BG.png", 1, kEditorW, kEditorH, 0, 0});
    v.push_back({"METER.png", kMeterFrames, kMeterW, kMeterH, kMeterX, kMeterY});
    for (const SwitchSpec& s : Switches())
      v.push_back({std::string(s.file) + ".png", 2, kSwitchW, kSwitchH, s.x, s.y});
    for (const KnobSpec& k : Knobs())
      v.push_back({std::string(k.file) + ".png", k.frames, kKnobSize, kKnobSize, k.x, k.y});
    std::sort(v.begin(), v.end(), [](const StripInfo& a, const StripInfo& b) { return a.file < b.file; });
    return v;
  }();
  return strips;
}

const StripInfo* FindStrip(const std::string& file) {
  for (const StripInfo& s : AllStrips())
    if (s.file == file) return &s;
  return nullptr;
}

namespace {
// Draws frame k (0-based) of n.
using FrameDrawer = std::function<bool(Canvas&, int k, int n)>;

bool Stack(const StripInfo& strip, double scale, const FrameDrawer& draw, PIX_MemBitmap* out) {
  const int fw = (int)std::lround(strip.frameW * scale), fh = (int)std::lround(strip.frameH * scale);
  out->resize(fw, fh * strip.frames);
  PIX_MemBitmap frame;
  for (int k = 0; k < strip.frames; k++) {
    Canvas c(strip.frameW, strip.frameH, scale);
    if (!draw(c, k, strip.frames)) return false;
    c.toBitmap(&frame);
    PIX_Blit(out, &frame, 0, k * fh, nullptr, 1.0f, PIX_BLIT_MODE_COPY);
  }
  return true;
}
}  // namespace

bool RenderStrip(const StripInfo& strip, double scale, PIX_MemBitmap* out) {
  const std::string name = strip.file.substr(0, strip.file.size() - 4);
  if (name == "BG")
    return Stack(
        strip, scale, [](Canvas& c, int, int) { return DrawFaceplate(c); }, out);
  if (name == "METER")
    return Stack(
        strip, scale,
        [](Canvas& c, int k, int n) {
          DrawNeedle(c, (double)k / (n - 1));
          return true;
        },
        out);
  for (const SwitchSpec& s : Switches())
    if (name == s.file) {
      const Typeface face(kFaceCondensed, true, 10, scale);
      if (!face.ok()) return false;
      return Stack(
          strip, scale,
          [&](Canvas& c, int k, int) {
            DrawSwitch(c, face, s.legend, k == 1);
            return true;
          },
          out);
    }
  for (const KnobSpec& kn : Knobs())
    if (name == kn.file)
      return Stack(
          strip, scale,
          [](Canvas& c, int k, int n) {
            DrawKnob(c, (double)k / (n - 1));
            return true;
          },
          out);
  return false;
}
