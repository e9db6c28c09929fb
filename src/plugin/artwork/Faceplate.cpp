// Faceplate drawing, back to front: metal, engraving, recesses and shadows, then legends.
#include "plugin/artwork/Faceplate.h"

#include "plugin/artwork/KnobArt.h"
#include "plugin/artwork/Layout.h"
#include "plugin/artwork/MeterArt.h"
#include "plugin/artwork/Palette.h"
#include "plugin/artwork/Shapes.h"
#include "plugin/artwork/SwitchArt.h"
#include "plugin/artwork/Typeface.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kDivider = 392;  // the groove between the compressor and detector sections

// Seeded grain so the metal does not look like flat paint; same seed, same plate.
struct Grain {
  uint32_t state = 0x51ED2705u;
  float next() {
    state = state * 1664525u + 1013904223u;
    return (float)((state >> 8) & 0xFFFF) / 65535.0f - 0.5f;
  }
};

void Panel(Canvas& c) {
  // Fine horizontal brushing: each row gets its own slight brightness, each pixel a little grain.
  Grain g;
  std::vector<float> rowTone((size_t)c.height());
  for (auto& t : rowTone) t = g.next() * 0.012f;
  const double s = c.scale();
  c.fillAll([&](double x, double y) {
    const float t = (float)(y / kEditorH);
    Colour col = Mix(palette::kPanelTop, palette::kPanelBottom, t);
    const double dx = (x - kEditorW * 0.35) / kEditorW, dy = (y - kEditorH * 0.2) / kEditorH;
    const float glow = (float)std::exp(-(dx * dx + dy * dy) * 3.0) * 0.035f;
    const int row = std::min((int)(y * s), c.height() - 1);
    return Shade(col, glow + rowTone[(size_t)row] + g.next() * 0.010f);
  });
  // Bevelled outer edge.
  ShapeBuilder outer(s, 0, 0, kEditorW, kEditorH);
  outer.rect(0, 0, kEditorW, kEditorH);
  outer.rect(2, 2, kEditorW - 4, kEditorH - 4, false);
  // Lit along the top and left, in shadow along the bottom and right; the corners split diagonally.
  c.fill(outer.resolve(), [&](double x, double y) {
    const bool lit = (y < 3 && x < kEditorW - y) || (x < 3 && y < kEditorH - x);
    return lit ? Hex(0x5C5852) : Hex(0x141312);
  });
}

void Screw(Canvas& c, double cx, double cy, double slotAngle) {
  const double s = c.scale();
  {
    ShapeBuilder b(s, cx - 12, cy - 12, cx + 12, cy + 12);
    b.disc(cx + 0.5, cy + 1.2, 7.2);
    c.fill(Blurred(b.resolve(), (int)(1.5 * s + 0.5)), palette::kShadow, 0.6f);
  }
  ShapeBuilder head(s, cx - 10, cy - 10, cx + 10, cy + 10);
  head.disc(cx, cy, 6.5);
  c.fill(head.resolve(), [&](double x, double y) {
    const double dx = x - cx, dy = y - cy;
    const double v = 0.52 - 0.05 * dy - 0.025 * dx;
    return Colour{(float)v, (float)(v * 0.98), (float)(v * 0.95), 1};
  });
  ShapeBuilder slot(s, cx - 10, cy - 10, cx + 10, cy + 10);
  slot.segment(Polar(cx, cy, 5.2, slotAngle), Polar(cx, cy, -5.2, slotAngle), 1.5, false);
  c.fill(slot.resolve(), Hex(0x1A1918));
  ShapeBuilder lip(s, cx - 10, cy - 10, cx + 10, cy + 10);
  lip.segment(Polar(cx + 0.35, cy + 0.8, 5.0, slotAngle), Polar(cx + 0.35, cy + 0.8, -5.0, slotAngle), 0.6,
              false);
  c.fill(lip.resolve(), Hex(0xC9C4BA), 0.6f);
}

// An engraved line: dark cut with a light lower lip.
void Groove(Canvas& c, Pt a, Pt b, double width) {
  const double s = c.scale();
  const double l = std::min(a.x, b.x) - 4, t = std::min(a.y, b.y) - 4;
  const double r = std::max(a.x, b.x) + 4, bt = std::max(a.y, b.y) + 4;
  ShapeBuilder lipShape(s, l, t, r, bt);
  lipShape.segment({a.x + 1, a.y + 1}, {b.x + 1, b.y + 1}, width, true);
  c.fill(lipShape.resolve(), palette::kEdgeLight, 0.7f);
  ShapeBuilder cut(s, l, t, r, bt);
  cut.segment(a, b, width, true);
  c.fill(cut.resolve(), palette::kRecess, 0.9f);
}

void SwitchWell(Canvas& c, const SwitchSpec& sw) {
  const double s = c.scale();
  const double x = sw.x + button::kCapX, y = sw.y + button::kCapY;
  const double w = button::kCapW, h = button::kCapH;
  ShapeBuilder lip(s, x - 6, y - 6, x + w + 6, y + h + 6);
  lip.roundRect(x - 3, y - 3, w + 6, h + 6, button::kCapRadius + 3);
  c.fill(lip.resolve(), [&](double, double yy) {
    return Mix(Hex(0x141312), Hex(0x5A5650), (float)((yy - (y - 3)) / (h + 6)));
  });
  ShapeBuilder hole(s, x - 6, y - 6, x + w + 6, y + h + 6);
  hole.roundRect(x - 1.8, y - 1.8, w + 3.6, h + 3.6, button::kCapRadius + 1.8);
  c.fill(hole.resolve(), Hex(0x0C0B0B));
}

void KnobShadow(Canvas& c, const KnobSpec& k) {
  const double s = c.scale();
  const double cx = k.x + knob::kCentre, cy = k.y + knob::kCentre;
  ShapeBuilder b(s, cx - 40, cy - 40, cx + 40, cy + 40);
  b.disc(cx + 1.0, cy + 3.5, knob::kSkirtR);
  c.fill(Blurred(b.resolve(), (int)(3 * s + 0.5)), palette::kShadow, 0.75f);
  ShapeBuilder contact(s, cx - 40, cy - 40, cx + 40, cy + 40);
  contact.disc(cx, cy + 0.8, knob::kSkirtR + 0.6);
  c.fill(Blurred(contact.resolve(), (int)(1 * s + 0.5)), palette::kShadow, 0.6f);
}

struct Faces {
  explicit Faces(double s)
      : name(kFaceCondensed, true, 11.5, s),
        scale(kFaceCondensed, true, 9, s),
        unit(kFaceCondensed, false, 8.5, s),
        meterScale(kFaceCondensed, true, 12, s),
        meterCaption(kFaceCondensed, true, 10, s),
        brand(kFaceWide, true, 25, s),
        tagline(kFaceCondensed, true, 9, s),
        section(kFaceCondensed, true, 9.5, s) {}
  bool ok() const {
    for (const Typeface* t : {&name, &scale, &unit, &meterScale, &meterCaption, &brand, &tagline, &section})
      if (!t->ok()) return false;
    return true;
  }
  Typeface name, scale, unit, meterScale, meterCaption, brand, tagline, section;
};

void KnobScale(Canvas& c, const KnobSpec& k, const Faces& f) {
  const double s = c.scale();
  const double cx = k.x + knob::kCentre, cy = k.y + knob::kCentre;
  for (const ScaleMark& m : k.marks) {
    const double a = knob::Angle(m.fraction);
    ShapeBuilder b(s, cx - 40, cy - 40, cx + 40, cy + 40);
    const double outer = m.label ? knob::kTickOuter : knob::kTickOuter - 1.6;
    b.segment(Polar(cx, cy, knob::kTickInner, a), Polar(cx, cy, outer, a), m.label ? 1.4 : 1.0, false);
    c.fill(b.resolve(), m.label ? palette::kLegend : palette::kLegendDim);
    if (!m.label) continue;
    // Place the legend so its nearest edge keeps the same gap from the ticks at every angle.
    const double hw = f.scale.width(m.label) / 2, hh = 3.5;
    const double r = knob::kLabelGap + std::fabs(std::sin(a)) * hw + std::fabs(std::cos(a)) * hh;
    const Pt at = Polar(cx, cy, r, a);
    c.fill(f.scale.text(m.label, at.x, at.y, Align::Centre), palette::kLegend);
  }
  c.fill(f.name.text(k.name, cx, k.y - 7.5, Align::Centre, 0.9), palette::kLegend);
  if (k.unit[0]) c.fill(f.unit.text(k.unit, cx, cy + 38, Align::Centre), palette::kLegendDim);
}

// A section caption centred between two rules.
void SectionCaption(Canvas& c, const Typeface& face, const char* text, double left, double right, double y) {
  const double mid = (left + right) / 2;
  const double half = face.width(text, 2.0) / 2 + 8;
  c.fill(face.text(text, mid, y, Align::Centre, 2.0), palette::kLegendDim);
  Groove(c, {left, y}, {mid - half, y}, 1.0);
  Groove(c, {mid + half, y}, {right, y}, 1.0);
}
}  // namespace

bool DrawFaceplate(Canvas& c) {
  const double s = c.scale();
  const Faces faces(s);
  if (!faces.ok()) return false;

  Panel(c);
  for (const Pt& p :
       {Pt{16, 16}, Pt{kEditorW - 16.0, 16}, Pt{16, kEditorH - 16.0}, Pt{kEditorW - 16.0, kEditorH - 16.0}})
    Screw(c, p.x, p.y, (p.x * 7 + p.y * 3) * kPi / 180.0);
  Groove(c, {kDivider, 40}, {kDivider, kEditorH - 40.0}, 1.2);

  DrawMeterFace(c, kMeterX, kMeterY, faces.meterScale, faces.meterCaption);

  // Brand block over the buttons.
  const double brandX = (Switches()[0].x + Switches()[2].x + kSwitchW) / 2.0;
  c.fill(Shifted(faces.brand.text("QUORVANE", brandX, 78, Align::Centre, 4.0), 0, (int)(s + 0.5)),
         Hex(0x0E0D0C), 0.8f);
  c.fill(faces.brand.text("QUORVANE", brandX, 78, Align::Centre, 4.0), palette::kLegend);
  c.fill(faces.tagline.text("STEREO BUS COMPRESSOR", brandX, 100, Align::Centre, 2.2), palette::kAccent);

  for (const SwitchSpec& sw : Switches()) SwitchWell(c, sw);
  for (const KnobSpec& k : Knobs()) KnobShadow(c, k);
  for (const KnobSpec& k : Knobs()) KnobScale(c, k, faces);

  SectionCaption(c, faces.section, "COMPRESSOR", 40, kDivider - 18, kEditorH - 28.0);
  SectionCaption(c, faces.section, "DETECTOR", kDivider + 18, kEditorW - 40.0, kEditorH - 28.0);
  return true;
}
