// Meter face and needle. The needle disappears under the apron, so every frame is transparent but
// for the needle and its soft shadow on the face.
#include "plugin/artwork/MeterArt.h"

#include "plugin/artwork/Layout.h"
#include "plugin/artwork/Palette.h"
#include "plugin/artwork/Shapes.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kSwing = 45.0 * kPi / 180.0;
const char* const kMinus = "\xE2\x88\x92";

struct DbMark {
  double dB;
  bool labelled;
};
const DbMark kMarks[] = {{0, true}, {1, true},  {2, false}, {3, true},   {4, false}, {5, false},
                         {6, true}, {8, false}, {10, true}, {15, false}, {20, true}};
}  // namespace

double meter::Angle(double v) { return kSwing - 2 * kSwing * v; }
double meter::ValueOfDb(double dB) { return 1.0 - std::pow(10.0, -dB / 20.0); }

void DrawMeterFace(Canvas& c, double ox, double oy, const Typeface& scaleFace, const Typeface& captionFace) {
  using namespace meter;
  const double s = c.scale();
  const double px = ox + kPivotX, py = oy + kPivotY;
  const double W = kMeterW, H = kMeterH;

  // Bezel: a sloped lip around a black recess.
  {
    ShapeBuilder b(s, ox - 12, oy - 12, ox + W + 12, oy + H + 12);
    b.roundRect(ox - 9, oy - 9, W + 18, H + 18, 12);
    c.fill(b.resolve(), [&](double, double y) {
      return Mix(Hex(0x1C1B1A), Hex(0x57534D), (float)((y - (oy - 9)) / (H + 18)));
    });
  }
  {
    ShapeBuilder b(s, ox - 12, oy - 12, ox + W + 12, oy + H + 12);
    b.roundRect(ox - 3, oy - 3, W + 6, H + 6, 8);
    c.fill(b.resolve(), Hex(0x0B0A0A));
  }
  ShapeBuilder wb(s, ox - 1, oy - 1, ox + W + 1, oy + H + 1);
  wb.roundRect(ox, oy, W, H, 6);
  const Coverage window = wb.resolve();

  // Backlit face: brightest low in the middle where the lamps are, warmer toward the rim.
  c.fill(window, [&](double x, double y) {
    const double dx = (x - (ox + W / 2)) / (W * 0.62), dy = (y - (oy + H * 0.78)) / (H * 0.95);
    return Mix(palette::kMeterFace, palette::kMeterFaceEdge, Clamp01((float)(dx * dx + dy * dy)));
  });

  // Scale: the arc, a red band past 10 dB, ticks and figures.
  const double vEnd = 1.0;
  {
    ShapeBuilder b(s, ox, oy, ox + W, oy + H);
    // The arc runs a little past both end marks.
    const double overrun = 1.2 * kPi / 180;
    b.arcBand(px, py, kArcR, kArcR + 1.2, Angle(vEnd) - overrun, Angle(0) + overrun);
    c.fill(b.resolve(), palette::kMeterInk);
  }
  {
    ShapeBuilder b(s, ox, oy, ox + W, oy + H);
    b.arcBand(px, py, kArcR + 1.2, kArcR + 5, Angle(vEnd), Angle(ValueOfDb(10)));
    c.fill(b.resolve(), palette::kMeterRed);
  }
  for (const DbMark& m : kMarks) {
    const double a = Angle(ValueOfDb(m.dB));
    ShapeBuilder b(s, ox, oy, ox + W, oy + H);
    b.segment(Polar(px, py, kArcR, a), Polar(px, py, kArcR + (m.labelled ? 11 : 7), a),
              m.labelled ? 1.7 : 1.2, false);
    c.fill(b.resolve(), palette::kMeterInk);
    if (!m.labelled) continue;
    const std::string text = m.dB == 0 ? std::string("0") : std::string(kMinus) + std::to_string((int)m.dB);
    const Pt at = Polar(px, py, kArcR + 21, a);
    c.fill(scaleFace.text(text, at.x, at.y, Align::Centre), palette::kMeterInk);
  }
  {
    // The end stop: full attenuation.
    const double a = Angle(vEnd);
    ShapeBuilder b(s, ox, oy, ox + W, oy + H);
    b.segment(Polar(px, py, kArcR, a), Polar(px, py, kArcR + 7, a), 1.2, false);
    c.fill(b.resolve(), palette::kMeterInk);
  }
  c.fill(captionFace.text("dB", px, oy + 112, Align::Centre), palette::kMeterInk);

  // Apron over the pivot, with the caption.
  {
    ShapeBuilder b(s, ox, oy, ox + W, oy + H);
    b.rect(ox, oy + kApronTop, W, H - kApronTop);
    const Coverage apron = Intersect(b.resolve(), window);
    c.fill(apron, [&](double, double y) {
      return Mix(Hex(0x3A3734), Hex(0x1F1D1B), (float)((y - (oy + kApronTop)) / (H - kApronTop)));
    });
    ShapeBuilder l(s, ox, oy, ox + W, oy + H);
    l.rect(ox, oy + kApronTop, W, 1);
    c.fill(Intersect(l.resolve(), window), Hex(0x6A655D));
    c.fill(captionFace.text("GAIN REDUCTION", px, oy + (kApronTop + H) / 2 + 0.5, Align::Centre, 1.5),
           palette::kLegend);
  }
  // The glass keeps the top of the window a little in shadow.
  {
    ShapeBuilder b(s, ox - 8, oy - 8, ox + W + 8, oy + H + 8);
    b.rect(ox - 8, oy - 8, W + 16, H + 16);
    b.roundRect(ox, oy + 3, W, H, 6, false);
    c.fill(Intersect(Blurred(b.resolve(), (int)(3 * s + 0.5)), window), palette::kShadow, 0.55f);
  }
}

void DrawNeedle(Canvas& c, double v) {
  using namespace meter;
  const double s = c.scale();
  const double a = Angle(v);
  // Only the needle's surroundings are worked on (the editor draws frames as they are shown, so
  // this is the meter's speed at large scales); the result is the same as over the whole frame.
  const Pt from = Polar(kPivotX, kPivotY, 60, a), to = Polar(kPivotX, kPivotY, kNeedleR, a);
  const double margin = 6 + 3 * (int)(1.5 * s + 0.5) / s;
  const double x0 = std::max(0.0, std::min(from.x, to.x) - margin);
  const double y0 = std::max(0.0, std::min(from.y, to.y) - margin);
  const double x1 = std::min((double)kMeterW, std::max(from.x, to.x) + 2 + margin);
  const double y1 = std::min((double)kMeterH, std::max(from.y, to.y) + 3 + margin);
  ShapeBuilder clip(s, x0, y0, x1, y1);
  clip.rect(0, 0, kMeterW, kApronTop);
  const Coverage visible = clip.resolve();
  auto needle = [&](double dx, double dy) {
    ShapeBuilder b(s, x0, y0, x1, y1);
    const Pt base = Polar(kPivotX + dx, kPivotY + dy, 60, a),
             tip = Polar(kPivotX + dx, kPivotY + dy, kNeedleR, a);
    b.taper(base, tip, 2.6, 1.1);
    return b.resolve();
  };
  c.fill(Intersect(Blurred(needle(2.0, 3.0), (int)(1.5 * s + 0.5)), visible), palette::kShadow, 0.30f);
  c.fill(Intersect(needle(0, 0), visible), palette::kNeedle);
}
