// Knob frames. Shading is worked per pixel from the local surface normal: the body's chamfer
// catches the light by the angle of each flute, the cap shows a spun-metal sheen.
#include "plugin/artwork/KnobArt.h"

#include "plugin/artwork/Palette.h"
#include "plugin/artwork/Shapes.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kLight = -kPi / 4;  // top left, as a clock angle
constexpr int kFlutes = 20;
constexpr double kFluteDepth = 1.3;

struct Polar2 {
  double r, a;
};
Polar2 FromCentre(double x, double y) {
  const double dx = x - knob::kCentre, dy = y - knob::kCentre;
  return Polar2{std::sqrt(dx * dx + dy * dy), std::atan2(dx, -dy)};
}

// Position within one flute (0 at a ridge) for a clock angle on a body turned by rot.
double FlutePhase(double a, double rot) {
  double t = (a - rot) * kFlutes / (2 * kPi);
  return t - std::floor(t);
}

double BodyRadius(double a, double rot) {
  return knob::kBodyR - kFluteDepth * std::sin(kPi * FlutePhase(a, rot));
}

Colour Grey(double v, float alpha = 1.0f) {
  const float g = Clamp01((float)v);
  return Colour{g, g * 0.99f, g * 0.97f, alpha};
}
}  // namespace

double knob::Angle(double fraction) { return (-150.0 + 300.0 * fraction) * kPi / 180.0; }

void DrawKnob(Canvas& c, double fraction) {
  const double s = c.scale();
  const double cx = knob::kCentre, cy = knob::kCentre;
  const double rot = knob::Angle(fraction);

  // Skirt: a dark flange whose rim catches the light.
  {
    ShapeBuilder b(s, 0, 0, kKnobSize, kKnobSize);
    b.disc(cx, cy, knob::kSkirtR);
    c.fill(b.resolve(), [&](double x, double y) {
      const Polar2 p = FromCentre(x, y);
      double v = 0.16 - 0.09 * (y - cy) / knob::kSkirtR;
      const double rim = Clamp01((float)((p.r - (knob::kSkirtR - 1.6)) / 1.6));
      v += rim * 0.16 * std::cos(p.a - kLight);
      return Grey(v);
    });
  }
  // Fluted body: the chamfer between cap and flutes turns toward or away from the light.
  {
    ShapeBuilder b(s, 0, 0, kKnobSize, kKnobSize);
    b.radial(
        cx, cy, [&](double a) { return BodyRadius(a, rot); }, 720);
    c.fill(b.resolve(), [&](double x, double y) {
      const Polar2 p = FromCentre(x, y);
      const double t = FlutePhase(p.a, rot);
      // Slope of the outline against the angle tilts the normal of the flute's face.
      const double drda = -kFluteDepth * kPi * std::cos(kPi * t) * kFlutes / (2 * kPi);
      const double normal = p.a - std::atan2(drda, p.r);
      const double lit = std::cos(normal - kLight);
      double v = 0.11 + 0.13 * lit;
      if (lit > 0) v += 0.10 * std::pow(lit, 12.0);
      v -= 0.03 * (y - cy) / knob::kBodyR;
      return Grey(v);
    });
  }
  // Shadow of the cap's edge on the chamfer.
  {
    ShapeBuilder b(s, 0, 0, kKnobSize, kKnobSize);
    b.ring(cx, cy + 0.6, knob::kCapR - 0.5, knob::kCapR + 1.4);
    c.fill(b.resolve(), palette::kShadow, 0.35f);
  }
  // Spun aluminium cap: two broad sheen lobes across the light, brighter toward the top.
  {
    ShapeBuilder b(s, 0, 0, kKnobSize, kKnobSize);
    b.disc(cx, cy, knob::kCapR);
    c.fill(b.resolve(), [&](double x, double y) {
      const Polar2 p = FromCentre(x, y);
      double v = 0.50 - 0.10 * (y - cy) / knob::kCapR;
      v += 0.13 * std::cos(2 * (p.a - kLight - kPi / 2));
      v += 0.015 * std::cos(p.r * 2.4);
      const double rim = Clamp01((float)((p.r - (knob::kCapR - 1.1)) / 1.1));
      v += rim * 0.22 * std::cos(p.a - kLight);
      return Grey(v);
    });
  }
  // Pointer: engraved on the cap, a cream index across the chamfer.
  {
    ShapeBuilder b(s, 0, 0, kKnobSize, kKnobSize);
    b.segment(Polar(cx, cy, 3.0, rot), Polar(cx, cy, knob::kCapR - 1.6, rot), 2.6, true);
    c.fill(b.resolve(), Hex(0x121211));
  }
  {
    ShapeBuilder b(s, 0, 0, kKnobSize, kKnobSize);
    b.segment(Polar(cx, cy, knob::kCapR + 1.2, rot), Polar(cx, cy, knob::kSkirtR - 0.8, rot), 2.4, false);
    c.fill(b.resolve(), palette::kPointer);
  }
}
