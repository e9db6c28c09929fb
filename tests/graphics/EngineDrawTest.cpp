// Draw passes, dirty tracking and the drawing operations' reach: frame offsets, clipping, and
// arguments that must not touch memory outside a bitmap.
#include "graphics/GraphicsTestSupport.h"
#include "pix/PIX_MemBitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {
// Logs its name when drawn and runs an optional drawing function.
class PaintControl : public IControl {
 public:
  PaintControl(IPlugin* plug, const IRECT& rect, Calls* drawn, const char* name)
      : IControl(plug, rect), mDrawn(drawn), mName(name) {}
  bool Draw(IGraphics* g) override {
    if (mDrawn) mDrawn->push_back(mName);
    return paint ? paint(g) : true;
  }
  std::function<bool(IGraphics*)> paint;

 private:
  Calls* mDrawn;
  std::string mName;
};

// w x h, every pixel opaque with red = its row and green = its column, so a drawn pixel tells
// where in the source it came from.
std::unique_ptr<PIX_MemBitmap> Gradient(int w, int h) {
  auto bm = std::make_unique<PIX_MemBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bm->getBits()[y * bm->getRowSpan() + x] = PIX_MAKEPIXEL(255, y, x, 0);
  return bm;
}

struct DrawEditor : EditorFixture {
  Calls drawn;
  PaintControl* bg;

  DrawEditor() {
    bg = new PaintControl(&plug, IRECT(0, 0, 200, 100), &drawn, "bg");
    gui->AttachControl(bg);
  }
  PaintControl* Add(const IRECT& r, const char* name) {
    auto* c = new PaintControl(&plug, r, &drawn, name);
    gui->AttachControl(c);
    return c;
  }
  // One strict pass over clip with the background running fn.
  void Pass(const IRECT& clip, std::function<bool(IGraphics*)> fn) {
    bg->paint = std::move(fn);
    IRECT r = clip;
    gui->Draw(&r);
    bg->paint = nullptr;
  }
};
}  // namespace

TEST(EngineDraw, StrictPassDrawsWhatTheRectangleTouchesAndCleansAll) {
  DrawEditor ed;
  ed.Add(IRECT(10, 10, 30, 30), "a");
  ed.Add(IRECT(30, 10, 40, 20), "touching");  // its left edge meets the pass's right edge
  ed.Add(IRECT(100, 10, 120, 30), "away");
  ed.Add(IRECT(10, 10, 30, 30), "hidden")->Hide(true);
  ed.Add(IRECT(), "zero");
  ed.Attach();

  IRECT dirty;
  EXPECT_TRUE(ed.gui->IsDirty(&dirty));
  EXPECT_EQ(dirty, IRECT(0, 0, 200, 100));
  IRECT r(10, 10, 30, 30);
  EXPECT_TRUE(ed.gui->Draw(&r));
  EXPECT_EQ(ed.drawn, (Calls{"bg", "a", "touching"}));
  EXPECT_EQ(ed.gui->GetDrawRect(), r);
  EXPECT_EQ(ed.gui->NPresents(), 1);
  EXPECT_EQ(ed.gui->PresentedArea(), r);

  // Hiding requested one more pass; after it nothing is dirty and the rectangle is left alone.
  IRECT untouched(1, 2, 3, 4);
  EXPECT_TRUE(ed.gui->IsDirty(&untouched));
  EXPECT_EQ(untouched, IRECT(1, 2, 30, 30));
  ed.gui->Draw(&r);
  untouched = IRECT(1, 2, 3, 4);
  EXPECT_FALSE(ed.gui->IsDirty(&untouched));
  EXPECT_EQ(untouched, IRECT(1, 2, 3, 4));
}

TEST(EngineDraw, AValueChangeKeepsAControlDirtyForExactlyOneMorePass) {
  DrawEditor ed;
  PaintControl* a = ed.Add(IRECT(10, 10, 30, 30), "a");
  ed.Attach();
  IRECT all(0, 0, 200, 100);
  ed.gui->Draw(&all);

  ed.gui->SetControlFromPlug(1, 0.2);  // the first value only becomes the default
  IRECT r;
  EXPECT_FALSE(ed.gui->IsDirty(&r));
  ed.gui->SetControlFromPlug(1, 0.3);
  EXPECT_TRUE(a->IsDirty());
  ed.gui->Draw(&all);
  EXPECT_TRUE(ed.gui->IsDirty(&r));
  EXPECT_EQ(r, *a->GetRECT());
  ed.gui->Draw(&all);
  EXPECT_FALSE(a->IsDirty());
}

TEST(EngineDraw, NonStrictPassRedrawsDirtyControlsAndWhatTheyOverlap) {
  DrawEditor ed;
  ed.Add(IRECT(10, 10, 30, 30), "a");
  PaintControl* b = ed.Add(IRECT(25, 25, 60, 60), "b");
  ed.Add(IRECT(100, 10, 120, 30), "c");
  PaintControl* hidden = ed.Add(IRECT(150, 10, 170, 30), "hidden");
  hidden->Hide(true);
  ed.Attach();
  ed.gui->SetStrictDrawing(false);
  EXPECT_FALSE(ed.gui->IsStrictDrawing());

  // A dirty background redraws every shown control; hidden ones stay dirty.
  IRECT any(0, 0, 1, 1);
  ed.gui->Draw(&any);
  EXPECT_EQ(ed.drawn, (Calls{"bg", "a", "b", "c"}));
  EXPECT_TRUE(hidden->IsDirty());

  // Otherwise each dirty control is redrawn with what overlaps it, clipped to itself.
  // The hidden control is redrawn under (its hiding asked for two passes), then cleaned.
  ed.gui->Draw(&any);
  ed.gui->Draw(&any);
  EXPECT_FALSE(hidden->IsDirty());
  ed.drawn.clear();
  b->SetDirty(false);
  ed.gui->Draw(&any);
  EXPECT_EQ(ed.drawn, (Calls{"bg", "a", "b"}));
  EXPECT_EQ(ed.gui->GetDrawRect(), *b->GetRECT());
  IRECT r;
  EXPECT_FALSE(ed.gui->IsDirty(&r));
}

TEST(EngineDraw, FilmStripFramesComeFromTheirRoundedOffsets) {
  DrawEditor ed;
  ed.Attach();
  auto image = Gradient(10, 10);
  IBitmap vertical(image.get(), 10, 10, 3), horizontal(image.get(), 10, 10, 3, true),
      single(image.get(), 10, 10, 1);
  IRECT dest(0, 0, 3, 3);
  auto sourceOf = [&](IBitmap* bm, int frame) {
    ed.Pass(IRECT(0, 0, 200, 100), [&](IGraphics* g) { return g->DrawBitmap(bm, &dest, frame); });
    const IColor p = ed.gui->GetPoint(0, 0);
    return std::make_pair(p.G, p.R);  // source x, y
  };
  using XY = std::pair<int, int>;
  // Offsets int((k - 1) * 10 / 3 + 0.5); frames outside the strip show its ends.
  EXPECT_EQ(sourceOf(&vertical, 1), XY(0, 0));
  EXPECT_EQ(sourceOf(&vertical, 2), XY(0, 3));
  EXPECT_EQ(sourceOf(&vertical, 3), XY(0, 7));
  EXPECT_EQ(sourceOf(&vertical, 0), XY(0, 0));
  EXPECT_EQ(sourceOf(&vertical, -5), XY(0, 0));
  EXPECT_EQ(sourceOf(&vertical, 1000), XY(0, 7));
  EXPECT_EQ(sourceOf(&horizontal, 3), XY(7, 0));
  EXPECT_EQ(sourceOf(&single, 2), XY(0, 0));
}

TEST(EngineDraw, BlitsAreCutToThePassRectangle) {
  DrawEditor ed;
  ed.Attach();
  auto image = Gradient(20, 20);
  IBitmap bm(image.get(), 20, 20);
  IRECT all(0, 0, 200, 100);
  ed.Pass(all, [](IGraphics* g) { return g->FillIRect(&COLOR_BLACK, g->GetControl(0)->GetRECT()); });

  // Destination (5, 5)-(15, 15) cut to a pass over (8, 8)-(12, 12): pixel (8, 8) is source (3, 3).
  IRECT dest(5, 5, 15, 15);
  ed.Pass(IRECT(8, 8, 12, 12), [&](IGraphics* g) { return g->DrawBitmap(&bm, &dest, 0, 0); });
  EXPECT_EQ(ed.gui->GetPoint(8, 8), IColor(255, 3, 3, 0));
  EXPECT_EQ(ed.gui->GetPoint(11, 11), IColor(255, 6, 6, 0));
  EXPECT_EQ(ed.gui->GetPoint(12, 12), COLOR_BLACK);
  EXPECT_EQ(ed.gui->GetPoint(7, 8), COLOR_BLACK);

  // Wholly outside the pass, inverted, or with no image: nothing changes.
  const auto before = ed.gui->Snapshot();
  IRECT outside(50, 50, 60, 60), inverted(30, 30, 20, 20);
  IBitmap missing(nullptr, 20, 20);
  ed.Pass(IRECT(0, 0, 40, 40), [&](IGraphics* g) {
    EXPECT_TRUE(g->DrawBitmap(&bm, &outside, 1));
    EXPECT_TRUE(g->DrawBitmap(&bm, &inverted, 1));
    EXPECT_FALSE(g->DrawBitmap(&missing, &dest, 1));
    EXPECT_FALSE(g->DrawRotatedBitmap(&missing, 10, 10, 1.0));
    EXPECT_FALSE(g->DrawRotatedMask(&bm, &missing, &bm, 0, 0, 45.0));
    return true;
  });
  EXPECT_EQ(ed.gui->CountDifferences(before), 0);
}

TEST(EngineDraw, NothingIsDrawnBeforeTheBackBufferExists) {
  FakePlugin plug{EditorPlugOptions()};
  IGraphicsHeadless g(&plug, 50, 50);
  EXPECT_EQ(g.FPS(), 25);
  IRECT r(0, 0, 10, 10);
  EXPECT_TRUE(g.Draw(&r));  // no controls: nothing to do
  Calls drawn;
  auto* c = new PaintControl(&plug, r, &drawn, "c");
  g.AttachControl(c);
  EXPECT_EQ(g.GetBits(), nullptr);
  EXPECT_FALSE(g.Draw(&r));
  EXPECT_TRUE(drawn.empty());
  EXPECT_TRUE(c->IsDirty());
  EXPECT_EQ(g.NPresents(), 0);
  IText style;
  EXPECT_FALSE(g.FillIRect(&COLOR_RED, &r));
  EXPECT_FALSE(g.ForcePixel(&COLOR_RED, 1, 1));
  EXPECT_FALSE(g.DrawLine(&COLOR_RED, 0, 0, 5, 5));
  EXPECT_FALSE(g.DrawIText(&style, "text", &r));
  EXPECT_EQ(g.GetPoint(1, 1), COLOR_TRANSPARENT);
}

TEST(EngineDraw, PixelsAndShapesStayInsideTheBackBuffer) {
  DrawEditor ed;
  ed.Attach();
  const IColor odd(0x12, 0x34, 0x56, 0x78);
  EXPECT_TRUE(ed.gui->ForcePixel(&odd, 199, 99));
  EXPECT_EQ(ed.gui->GetPoint(199, 99), odd);
  const auto before = ed.gui->Snapshot();
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {200, 0}, {0, 100}, {1 << 30, 1 << 30}})
    EXPECT_FALSE(ed.gui->ForcePixel(&odd, x, y)) << x << "," << y;

  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  IRECT inverted(50, 50, 10, 10), zero(5, 5, 5, 5);
  int xs[2] = {0, 10}, ys[2] = {0, 10};
  ed.Pass(IRECT(0, 0, 200, 100), [&](IGraphics* g) {
    EXPECT_FALSE(g->DrawPoint(&COLOR_RED, nan, 1.0f));
    EXPECT_FALSE(g->DrawLine(&COLOR_RED, 0.0f, 0.0f, inf, 5.0f));
    EXPECT_FALSE(g->FillIConvexPolygon(&COLOR_RED, xs, ys, 2));
    g->DrawPoint(&COLOR_RED, 3e9f, -3e9f);
    g->DrawLine(&COLOR_RED, -1e30f, -1e30f, -1e30f, 1e30f);
    g->FillIRect(&COLOR_RED, &inverted);
    g->FillIRect(&COLOR_RED, &zero);
    g->FillRoundRect(&COLOR_RED, &zero, nullptr, 4, true);
    g->RoundRect(&COLOR_RED, &inverted, nullptr, 4, true);
    g->DrawCircle(&COLOR_RED, nan, 5.0f, 3.0f);
    g->DrawArc(&COLOR_RED, 5.0f, 5.0f, inf, 0.0f, 1.0f);
    g->DrawRadialLine(&COLOR_RED, 5.0f, 5.0f, nan, 1.0f, 4.0f);
    return true;
  });
  EXPECT_EQ(ed.gui->CountDifferences(before), 0);

  // Line positions within a rectangle are clamped to its edges (NaN to the start).
  ed.Pass(IRECT(0, 0, 200, 100), [&](IGraphics* g) {
    IRECT r(10, 10, 20, 20);
    g->DrawVerticalLine(&COLOR_RED, &r, nan);
    g->DrawHorizontalLine(&COLOR_BLUE, &r, 7.0f);
    return true;
  });
  EXPECT_EQ(ed.gui->GetPoint(10, 15), COLOR_RED);
  EXPECT_EQ(ed.gui->GetPoint(15, 10), COLOR_BLUE);
}

TEST(EngineDraw, TextTakesAnyBytesAndMeasuresByAlignment) {
  DrawEditor ed;
  ed.Attach();
  IText near(12, &COLOR_WHITE, "DejaVu Sans", IText::kStyleNormal, IText::kAlignNear);
  IText centre = near, far = near;
  centre.mAlign = IText::kAlignCenter;
  far.mAlign = IText::kAlignFar;

  IRECT r(10, 20, 110, 40);
  const IRECT kept = r;
  EXPECT_TRUE(ed.gui->DrawIText(&near, "", &r));
  EXPECT_TRUE(ed.gui->MeasureIText(&near, nullptr, &r));
  EXPECT_EQ(r, kept);

  IRECT n = r, c = r, f = r;
  ASSERT_TRUE(ed.gui->MeasureIText(&near, "Gain", &n));
  ASSERT_TRUE(ed.gui->MeasureIText(&centre, "Gain", &c));
  ASSERT_TRUE(ed.gui->MeasureIText(&far, "Gain", &f));
  const int w = n.W(), h = n.H();
  EXPECT_GT(w, 0);
  EXPECT_GT(h, 0);
  EXPECT_EQ(n, IRECT(10, 20, 10 + w, 20 + h));
  EXPECT_EQ(c, IRECT(60 - w / 2, 20, 60 - w / 2 + w, 20 + h));
  EXPECT_EQ(f, IRECT(110 - w, 20, 110, 20 + h));

  // Broken UTF-8, control characters and stray continuation bytes draw whatever they can.
  const char junk[] = "\xff\xfe\x80\x01 a\xc3\x28\xe2\x82\x1b\xf4\x90\x80\x80\xc3";
  bool ok = false;
  ed.Pass(IRECT(0, 0, 200, 100), [&](IGraphics* g) {
    IRECT at(0, 0, 200, 100);
    ok = g->DrawIText(&near, junk, &at) && g->DrawIText(&far, "\xe2\x82", &at);
    return ok;
  });
  EXPECT_TRUE(ok);
  IRECT m = r;
  EXPECT_TRUE(ed.gui->MeasureIText(&centre, junk, &m));
}

TEST(EngineDraw, RotatedMaskStaysWithinItsSquare) {
  DrawEditor ed;
  ed.Attach();
  auto base = Gradient(9, 9), mask = Gradient(9, 9), top = Gradient(9, 9);
  IBitmap b(base.get(), 9, 9), m(mask.get(), 9, 9), t(top.get(), 9, 9);
  ed.Pass(IRECT(0, 0, 200, 100),
          [](IGraphics* g) { return g->FillIRect(&COLOR_BLACK, g->GetControl(0)->GetRECT()); });
  const auto before = ed.gui->Snapshot();
  ed.Pass(IRECT(0, 0, 200, 100), [&](IGraphics* g) { return g->DrawRotatedMask(&b, &m, &t, 20, 30, 33.0); });
  const auto after = ed.gui->Snapshot();
  int changed = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if (after[y * 200 + x] != before[y * 200 + x]) {
        ++changed;
        EXPECT_TRUE(x >= 20 && x < 29 && y >= 30 && y < 39) << x << "," << y;
      }
  EXPECT_GT(changed, 0);
}
