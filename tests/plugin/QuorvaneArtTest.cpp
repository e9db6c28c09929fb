// The editor's art at 1x: every frame the knob, needle and button sources draw is the film strip's
// own frame, byte for byte (the buttons' legends from the shipped glyphs), so an editor at 100 %
// can draw them instead of decoding whole strips; and such an editor decodes no strip at all.
#include "graphics/BitmapStorage.h"
#include "graphics/DeferredBitmap.h"
#include "graphics/IArtSource.h"
#include "graphics/IGraphics.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNG.h"
#include "plugin/QuorvaneArt.h"
#include "plugin/QuorvaneEditor.h"
#include "plugin/QuorvaneParams.h"
#include "plugin/artwork/LegendFace.h"
#include "support/FakePlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

FakePlugin::Options Quiet() {
  FakePlugin::Options o;
  o.nParams = QuorvaneParams::kNumParams;
  o.logCalls = false;
  return o;
}

std::unique_ptr<PIX_IBitmap> Strip(const char* file) {
  return std::unique_ptr<PIX_IBitmap>(PIX_LoadPNG((std::string(QV_IMAGE_DIR) + "/" + file).c_str()));
}

// Pixels of the frame that differ from frame k of the strip (all of them when the sizes differ).
long Differences(PIX_MemBitmap& drawn, PIX_IBitmap& strip, int k, int n) {
  const int fh = strip.getHeight() / n;
  if (drawn.getWidth() != strip.getWidth() || drawn.getHeight() != fh) return -1;
  long differ = 0;
  for (int y = 0; y < fh; y++)
    for (int x = 0; x < drawn.getWidth(); x++)
      differ += drawn.getBits()[(long)y * drawn.getRowSpan() + x] !=
                strip.getBits()[(long)(k * fh + y) * strip.getRowSpan() + x];
  return differ;
}

}  // namespace

TEST(QuorvaneArt, FramesDrawnAtOneScaleAreTheFilmStripsOwn) {
  FakePlugin plug(Quiet());
  IGraphicsHeadless gui(&plug, kQuorvaneEditorWidth, kQuorvaneEditorHeight);
  gui.SetResourceDir(QV_IMAGE_DIR);
  struct Case {
    std::unique_ptr<IArtSource> art;
    const char* strip;
    int frames;
    std::vector<int> shown;
  };
  const std::shared_ptr<LegendFaces> legends = MakeLegendFaces(&gui);
  Case cases[] = {
      {MakeKnobArt(), "MAKEUP.png", 121, {0, 1, 37, 60, 119, 120}},
      {MakeKnobArt(), "RATIO.png", 6, {0, 2, 5}},
      {MakeNeedleArt(), "METER.png", 211, {0, 1, 105, 210}},
      {MakeSwitchArt(legends, "IN"), "BYPASS.png", 2, {0, 1}},
      {MakeSwitchArt(legends, "TURBO"), "TURBO.png", 2, {0, 1}},
      {MakeSwitchArt(legends, "XFORMER"), "XFORMER.png", 2, {0, 1}},
      {MakeSwitchArt(legends, "EXT SC"), "EXT.png", 2, {0, 1}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.strip);
    EXPECT_TRUE(c.art->DrawsLayoutScale());
    const auto strip = Strip(c.strip);
    ASSERT_TRUE(strip && strip->getBits());
    for (int k : c.shown) {
      PIX_MemBitmap drawn;
      ASSERT_TRUE(c.art->DrawFrame(k, c.frames, 1.0, &drawn)) << "frame " << k;
      EXPECT_EQ(Differences(drawn, *strip, k, c.frames), 0) << "frame " << k;
    }
  }
  // The faceplate at 1x is its image.
  EXPECT_FALSE(MakeFaceplateArt(&gui)->DrawsLayoutScale());
}

// Every size the legends can be drawn at is on the sheet; others, a sheet that does not match the
// table, or no sheet give no face (the buttons then fall back to their strips).
TEST(QuorvaneArt, LegendFacesComeFromTheSheetOrNotAtAll) {
  const auto sheet = Strip("LEGENDS.png");
  ASSERT_TRUE(sheet);
  for (double scale : {1.0, 1.25, 1.37, 1.5, 2.0, 3.0, 4.0}) {
    const auto face = LegendFaceFromSheet(sheet.get(), scale);
    ASSERT_TRUE(face) << scale;
    EXPECT_TRUE(face->ok());
    EXPECT_GT(face->width("XFORMER"), face->width("IN"));
  }
  EXPECT_FALSE(LegendFaceFromSheet(sheet.get(), 0.5));
  EXPECT_FALSE(LegendFaceFromSheet(sheet.get(), 4.2));
  EXPECT_FALSE(LegendFaceFromSheet(sheet.get(), std::nan("")));
  EXPECT_FALSE(LegendFaceFromSheet(nullptr, 1.0));
  PIX_MemBitmap wrong(16, 16);
  EXPECT_FALSE(LegendFaceFromSheet(&wrong, 1.0));

  // An install without the sheet: the buttons decline to draw (the engine then shows their strips).
  FakePlugin plug(Quiet());
  IGraphicsHeadless bare(&plug, kQuorvaneEditorWidth, kQuorvaneEditorHeight);
  PIX_MemBitmap out;
  EXPECT_FALSE(MakeSwitchArt(MakeLegendFaces(&bare), "IN")->DrawFrame(0, 2, 1.0, &out));
}

// An editor at 100 % decodes its faceplate and no film strip: its knobs, needle and buttons are
// drawn for the frames shown.
TEST(QuorvaneArt, AnEditorAtOneScaleDecodesNoFilmStrip) {
  IGraphicsReleaseCaches();
  FakePlugin plug(Quiet());
  IGraphicsHeadless gui(&plug, kQuorvaneEditorWidth, kQuorvaneEditorHeight);
  gui.SetResourceDir(QV_IMAGE_DIR);
  gui.SetDeferImages(true);
  AttachQuorvaneEditor(&gui, &plug);
  gui.PrepDraw();
  IRECT all(0, 0, kQuorvaneEditorWidth, kQuorvaneEditorHeight);
  ASSERT_TRUE(gui.Draw(&all));
  int strips = 0;
  for (int id = 101; id <= 118; id++) {
    auto* image = dynamic_cast<DeferredBitmap*>(BitmapStorage::Shared().Find(id));
    ASSERT_TRUE(image) << id;
    ++strips;
    EXPECT_EQ(image->Decoded(), id == 102) << id;  // 102: the faceplate
  }
  EXPECT_EQ(strips, 18);
}
