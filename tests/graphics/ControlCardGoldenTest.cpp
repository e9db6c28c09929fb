// A small editor holding every drawing control of the library in two or three states, drawn
// through the headless engine with film strips made here, compared pixel for pixel with the
// committed reference. Set QV_UPDATE_GOLDEN=1 to rewrite the reference after an intended change
// (and look at it before committing).
#include "graphics/GraphicsTestSupport.h"
#include "graphics/controls/IBitmapTextControl.h"
#include "graphics/controls/IFaderControl.h"
#include "graphics/controls/IFileSelectorControl.h"
#include "graphics/controls/IKnobControls.h"
#include "graphics/controls/IPanelControl.h"
#include "graphics/controls/IRadioButtonsControl.h"
#include "graphics/controls/ISwitchControls.h"
#include "graphics/controls/ITextControl.h"
#include "graphics/controls/IURLControl.h"
#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNG.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {
const char* kReference = "graphics/data/control_card.png";
constexpr int kW = 320, kH = 240;
constexpr float kPi = 3.14159265f;

// Film strips drawn with raster primitives, so the card needs no image files. A painter draws
// frame i with its top edge at y.
using Painter = void (*)(PIX_IBitmap* f, int i, float y);
struct Strips {
  std::vector<std::unique_ptr<PIX_MemBitmap>> images;

  IBitmap Make(int w, int h, int n, Painter paint) {
    images.emplace_back(new PIX_MemBitmap(w, h * n));
    PIX_Clear(images.back().get(), 0);
    for (int i = 0; i < n; ++i) paint(images.back().get(), i, static_cast<float>(i * h));
    return IBitmap(images.back().get(), w, h * n, n);
  }
};

void Disc(PIX_IBitmap* f, float cx, float cy, float r, PIX_Pixel c) {
  PIX_FillCircle(f, cx, cy, r, c, 1.0f, 0, true);
}
void Box(PIX_IBitmap* f, int x, int y, int w, int h, PIX_Pixel colour) {
  PIX_FillRect(f, x, y, w, h, colour, 1.0f, 0);
}

const Painter kDial = [](PIX_IBitmap* f, int i, float y) {
  Disc(f, 15.5f, y + 15.5f, 14, 0xFF383C44);
  PIX_Arc(f, 15.5f, y + 15.5f, 12, -0.75f * kPi, (i * 0.1875f - 0.75f) * kPi, 0xFFFF8030, 1.0f, 0, true);
};
const Painter kMaskBase = [](PIX_IBitmap* f, int, float) { Disc(f, 15.5f, 15.5f, 14, 0xFF204060); };
// The mask gives the base its alpha (a disc) and adds the pointer's light.
const Painter kMask = [](PIX_IBitmap* f, int, float) {
  Disc(f, 15.5f, 15.5f, 14, 0xFF000000);
  Box(f, 14, 2, 4, 14, 0xFF60A0C0);
};
const Painter kMaskTop = [](PIX_IBitmap* f, int, float) { Disc(f, 15.5f, 15.5f, 5, 0x80FFFFFF); };
const Painter kHandle = [](PIX_IBitmap* f, int, float) { Box(f, 0, 0, 16, 10, 0xFFC8C8C8); };
const Painter kRadio = [](PIX_IBitmap* f, int i, float y) {
  PIX_Circle(f, 6.5f, y + 6.5f, 6, 0xFFE0E0E0, 1.0f, 0, true);
  if (i) Disc(f, 6.5f, y + 6.5f, 3.5f, 0xFFFFD040);
};
// Glyphs for codes 32..95 as bar codes: column j lit when bit j of (code - 32) is set.
const Painter kGlyph = [](PIX_IBitmap* f, int i, float y) {
  for (int j = 0; j < 6; ++j)
    if (i & (1 << j)) Box(f, j, int(y) + 1, 1, 6, 0xFF80FF80);
};

template <class C>
C* Add(EditorFixture& ed, C* control, double value = 0.0) {
  control->SetValue(value);
  ed.gui->AttachControl(control);
  return control;
}

void BuildCard(EditorFixture& ed, Strips& s) {
  IPlugin* p = &ed.plug;
  p->GetParam(1)->InitDouble("Threshold", -12.5, -40.0, 0.0, 0.5, "dB");
  p->GetParam(2)->InitEnum("Ratio", 2, 4);
  p->GetParam(2)->SetDisplayText(2, "4:1");

  const IColor back(255, 32, 38, 46), section(128, 90, 110, 140), yellow(255, 240, 220, 60);
  ed.gui->AttachPanelBackground(&back);
  Add(ed, new IPanelControl(p, IRECT(4, 28, 316, 196), &section));

  IText title(16, &COLOR_WHITE, "DejaVu Sans", IText::kStyleBold, IText::kAlignNear);
  IText caption(12, &yellow, "DejaVu Sans", IText::kStyleNormal, IText::kAlignFar);
  Add(ed, new ITextControl(p, IRECT(8, 4, 160, 24), &title, "Quorvane"));
  Add(ed, new ICaptionControl(p, IRECT(170, 6, 312, 24), 1, &caption, true));
  Add(ed, new ICaptionControl(p, IRECT(170, 204, 312, 222), 2, &caption, false));

  IBitmap dial = s.Make(32, 32, 9, kDial), handle = s.Make(16, 10, 1, kHandle),
          radio = s.Make(14, 14, 2, kRadio);
  IBitmap base = s.Make(32, 32, 1, kMaskBase), mask = s.Make(32, 32, 1, kMask),
          top = s.Make(32, 32, 1, kMaskTop);
  IBitmap glyphs = s.Make(6, 8, 64, kGlyph), dialStep = s.Make(32, 32, 3, kDial);

  const double states[] = {0.0, 0.5, 1.0};
  for (int i = 0; i < 3; ++i) {
    Add(ed, new IBitmapControl(p, 12 + 36 * i, 30, -1, &dialStep), states[i]);
    Add(ed, new IKnobMultiControl(p, 12 + 40 * i, 70, -1, &dial), states[i]);
    Add(ed, new IKnobLineControl(p, IRECT(12 + 40 * i, 110, 44 + 40 * i, 142), -1, &yellow, 4, 14),
        states[i]);
    Add(ed, new IKnobRotaterControl(p, 132 + 40 * i, 110, -1, &mask), states[i]);
    Add(ed, new IKnobRotatingMaskControl(p, 12 + 40 * i, 152, -1, &base, &mask, &top), states[i]);
    Add(ed, new IFaderControl(p, 250 + 22 * i, 100, 64, -1, &handle), states[i]);
  }
  Add(ed, new ISwitchControl(p, 128, 38, -1, &radio), 0.0);
  Add(ed, new ISwitchControl(p, 148, 38, -1, &radio), 1.0);
  Add(ed, new IKnobMultiControl(p, 132, 70, -1, &dial), 0.75)->GrayOut(true);
  Add(ed, new IBitmapOverlayControl(p, 168, 79, -1, &radio, IRECT(0, 0, 10, 10)), 1.0);
  Add(ed, new IBitmapOverlayControl(p, 200, 110, -1, &radio, IRECT(0, 0, 10, 10)), 0.0);
  Add(ed, new IRadioButtonsControl(p, IRECT(180, 38, 250, 52), -1, 3, &radio, kHorizontal), 0.5);
  Add(ed, new IRadioButtonsControl(p, IRECT(290, 32, 304, 92), -1, 3, &radio, kVertical, true), 0.0);
  IText near(10, nullptr, nullptr, IText::kStyleNormal, IText::kAlignNear);
  Add(ed, new IBitmapTextControl(p, IRECT(12, 204, 160, 220), &glyphs, "QV-42 OK", &near, 6, 8, 1));

  // Controls that draw nothing unless a prompt is open, and controls whose image failed to load:
  // the empty area at (180, 70)-(240, 190) must stay empty.
  Add(ed, new IInvisibleSwitchControl(p, IRECT(180, 70, 240, 100), -1), 1.0);
  Add(ed, new IURLControl(p, IRECT(180, 70, 240, 100), "http://example.invalid"));
  Add(ed, new IFileSelectorControl(p, IRECT(180, 140, 240, 190), -1, &dial));
  IBitmap missing(nullptr, 0, 0, 3);
  for (IControl* c : std::vector<IControl*>{
           new IBitmapControl(p, 190, 150, -1, &missing), new IKnobMultiControl(p, 190, 150, -1, &missing),
           new IRadioButtonsControl(p, IRECT(180, 140, 240, 190), -1, 2, &missing),
           new IFaderControl(p, 200, 140, 40, -1, &missing),
           new IKnobRotaterControl(p, 200, 160, -1, &missing),
           new IKnobRotatingMaskControl(p, 200, 160, -1, &missing, &missing, &missing)})
    Add(ed, c, 1.0);
}
}  // namespace

TEST(ControlCard, MatchesTheReference) {
  EditorFixture ed(4, kW, kH);
  Strips strips;
  BuildCard(ed, strips);
  ed.Attach();
  IRECT all(0, 0, kW, kH);
  ed.gui->Draw(&all);

  const char* update = std::getenv("QV_UPDATE_GOLDEN");
  if (update && *update && *update != '0') {
    ASSERT_TRUE(ed.gui->SaveBackBuffer(kReference));
    GTEST_SKIP() << "reference rewritten: " << kReference;
  }
  std::unique_ptr<PIX_IBitmap> ref(PIX_LoadPNG(kReference));
  ASSERT_TRUE(ref) << "missing " << kReference << " (run with QV_UPDATE_GOLDEN=1 from tests/)";
  ASSERT_EQ(ref->getWidth() * ref->getHeight(), kW * kH);
  std::vector<PIX_Pixel> want;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) want.push_back(PIX_GetPixel(ref.get(), x, y));
  EXPECT_EQ(ed.gui->CountDifferences(want), 0);
}
