// Button frames: cap, bevel, legend and, when lit, the light spilling out around the cap.
#include "plugin/artwork/SwitchArt.h"

#include "plugin/artwork/Layout.h"
#include "plugin/artwork/Palette.h"
#include "plugin/artwork/Shapes.h"

using namespace button;

void DrawSwitch(Canvas& c, const Typeface& legendFace, const char* legend, bool lit) {
  const double s = c.scale();
  auto capShape = [&](double inset) {
    ShapeBuilder b(s, 0, 0, kSwitchW, kSwitchH);
    b.roundRect(kCapX + inset, kCapY + inset, kCapW - 2 * inset, kCapH - 2 * inset, kCapRadius - inset * 0.5);
    return b.resolve();
  };
  const Coverage cap = capShape(0);
  if (lit) c.fill(Blurred(cap, (int)(4 * s + 0.5)), palette::kAccent, 0.7f);

  // Body: lit caps glow from the centre, dark caps get a soft top-down sheen.
  const double midX = kCapX + kCapW / 2, midY = kCapY + kCapH / 2;
  c.fill(cap, [&](double x, double y) {
    const double t = (y - kCapY) / kCapH;
    if (lit) {
      const double dx = (x - midX) / (kCapW / 2), dy = (y - midY) / (kCapH / 2);
      const float d = Clamp01((float)(dx * dx * 0.6 + dy * dy * 0.5));
      return Mix(Hex(0xFFD27A), palette::kAccentDeep, d * 0.8f + (float)t * 0.15f);
    }
    return Mix(Hex(0x4A4744), Hex(0x2A2826), (float)t);
  });
  // Bevel: light on the upper edge, dark on the lower one.
  const Coverage inner = capShape(1.2);
  const Coverage edge = Subtract(cap, inner);
  c.fill(edge, [&](double, double y) {
    const float t = (float)((y - kCapY) / kCapH);
    const Colour top = lit ? Hex(0xFFF0C8) : Hex(0x6E6A64);
    const Colour bottom = lit ? Hex(0xA85408) : Hex(0x161514);
    return Mix(top, bottom, t);
  });

  // Engraved legend: a dark lower edge under cream when off; lit, the light shines through dark ink.
  const double tracking = legendFace.width(legend, 0.6) > kCapW - 14 ? 0.1 : 0.6;
  const Coverage text = legendFace.text(legend, midX, midY, Align::Centre, tracking);
  if (lit) {
    c.fill(Shifted(text, 0, 1), Hex(0xFFF3D6), 0.45f);
    c.fill(text, Hex(0x4A2604));
  } else {
    c.fill(Shifted(text, 0, (int)(s + 0.5)), Hex(0x0E0D0C), 0.8f);
    c.fill(text, palette::kLegend);
  }
}
