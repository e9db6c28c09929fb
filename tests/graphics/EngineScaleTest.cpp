// The editor at other scales: sizes and coordinates, who may set the scale, drawing into the
// larger back buffer from art sources (each frame drawn once) or resampled without one, the host
// menu's coordinates, and images decoded only once drawn.
#include "graphics/DeferredBitmap.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/IArtSource.h"
#include "graphics/controls/IBitmapControl.h"
#include "graphics/controls/IKnobControls.h"
#include "graphics/platform/x11/DesktopScale.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNGWrite.h"
#include "pix/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// Frames of one flat colour per frame, counting what it was asked for.
class CountingArt : public IArtSource {
 public:
  explicit CountingArt(bool works = true) : mWorks(works) {}
  bool DrawFrame(int frame, int, double scale, PIX_MemBitmap* out) override {
    ++calls;
    if (!mWorks) return false;
    const int side = static_cast<int>(std::lround(10 * scale));
    out->resize(side, side);
    PIX_Clear(out, 0xFF000000u | static_cast<PIX_Pixel>(frame + 1));
    return true;
  }
  int calls = 0;

 private:
  bool mWorks;
};

PIX_Pixel At(IGraphics* g, int x, int y) { return g->GetBits()[y * g->GetBackBuffer()->getRowSpan() + x]; }

TEST(EngineScale, SizesCoordinatesAndWhoSetsTheScale) {
  EditorFixture ed(4, 664, 662);
  ed.Attach();
  IGraphics* g = ed.gui;
  EXPECT_TRUE(g->SetScale(1.5));
  EXPECT_EQ(ed.plug.log, Calls{"resize 996 993"});
  EXPECT_EQ(g->Width(), 664);  // layout units stay
  EXPECT_EQ(g->GetBackBuffer()->getWidth(), 996);
  EXPECT_EQ(g->ToLayout(995), 663);
  EXPECT_EQ(g->WindowToLayout(IRECT(1, 1, 4, 4)), IRECT(0, 0, 3, 3));
  EXPECT_FALSE(g->SetScale(NAN));
  g->SetScale(9);
  EXPECT_EQ(g->GetScale(), IGraphics::kMaxScale);
  g->SetScale(0.2);
  EXPECT_EQ(g->GetScale(), IGraphics::kMinScale);
  EXPECT_DOUBLE_EQ(g->ScaleForWindow(1000, 700), 1000.0 / 664);

  // A user's choice wins over the first factor a host gives; a later change of screen is followed.
  double saved = 0;
  static double* sSaved;
  sSaved = &saved;
  g->SetScaleMemory([] { return 1.25; }, [](double s) { *sSaved = s; });
  g->ChooseInitialScale();
  EXPECT_EQ(g->GetScale(), 1.25);
  EXPECT_FALSE(g->SetHostScale(2.0));
  EXPECT_TRUE(g->SetHostScale(1.5));
  EXPECT_EQ(g->GetScale(), 1.5);
  g->SetUserScale(1.75);
  EXPECT_EQ(saved, 1.75);

  // Text is set at the pixel size; measured, it keeps its layout size.
  IText style(14, &COLOR_BLACK, "Arial");
  IRECT at1(0, 0, 300, 20), at2(0, 0, 300, 20);
  g->SetScale(1.0);
  ASSERT_TRUE(g->MeasureIText(&style, "Gain 12 dB", &at1));
  g->SetScale(2.0);
  ASSERT_TRUE(g->MeasureIText(&style, "Gain 12 dB", &at2));
  EXPECT_NEAR(at2.W(), at1.W(), 2);
  EXPECT_GT(at1.W(), 40);

  EXPECT_DOUBLE_EQ(XftDpiScale("Xft.antialias:\t1\nXft.dpi:\t192\n"), 2.0);
  EXPECT_DOUBLE_EQ(XftDpiScale("Xft.dpi:\tbig\n"), 1.0);
  EXPECT_DOUBLE_EQ(XftDpiScale(""), 1.0);
}

TEST(EngineScale, FramesComeFromTheArtOnceAndInputStaysInLayoutUnits) {
  EditorFixture ed(4, 40, 20);
  auto* art = new CountingArt;
  PIX_MemBitmap strip(10, 30);
  PIX_Clear(&strip, 0xFF0000FF);
  IBitmap bitmap(&strip, 10, 30, 3);
  bitmap.mArt = ed.gui->AdoptArtSource(std::unique_ptr<IArtSource>(art));
  ed.gui->AttachControl(new IKnobMultiControl(&ed.plug, 10, 5, 0, &bitmap));
  ed.Attach();
  ed.gui->SetScale(2.0);
  IRECT all(0, 0, 40, 20);
  ASSERT_TRUE(ed.gui->Draw(&all));
  ASSERT_TRUE(ed.gui->Draw(&all));
  EXPECT_EQ(art->calls, 1);
  // The 20 x 20 frame sits at (20, 10) in pixels, nothing of it outside.
  EXPECT_EQ(At(ed.gui, 20, 10) & 0xFFFFFF, 1u);
  EXPECT_EQ(At(ed.gui, 39, 29) & 0xFFFFFF, 1u);
  EXPECT_NE(At(ed.gui, 19, 10) & 0xFFFFFF, 1u);

  // A right click hands the host window units; a drag of one knob height (in layout units) is a
  // quarter of the range.
  IMouseMod right(false, true);
  ed.gui->OnMouseDown(15, 10, &right);
  EXPECT_EQ(ed.plug.log.back(), "popup 0 30 20");
  IMouseMod left(true, false);
  ed.gui->OnMouseDown(15, 14, &left);
  ed.gui->OnMouseDrag(15, 4, &left);
  ed.gui->OnMouseUp(15, 4, &left);
  EXPECT_NEAR(ed.gui->GetControl(0)->GetValue(), 0.25, 1e-9);
}

TEST(EngineScale, WithoutArtTheImageIsResampledAndFilesDecodeWhenDrawn) {
  EditorFixture ed(4, 20, 20);
  auto* art = new CountingArt(false);
  PIX_MemBitmap image(10, 10);
  PIX_Clear(&image, 0xFF00FF00);
  IBitmap bitmap(&image, 10, 10, 1);
  bitmap.mArt = ed.gui->AdoptArtSource(std::unique_ptr<IArtSource>(art));
  ed.gui->AttachControl(new IBitmapControl(&ed.plug, 0, 0, -1, &bitmap));
  ed.Attach();
  ed.gui->SetScale(1.5);
  IRECT all(0, 0, 20, 20);
  ASSERT_TRUE(ed.gui->Draw(&all));
  EXPECT_EQ(art->calls, 1);
  EXPECT_EQ(At(ed.gui, 14, 14), 0xFF00FF00u);

  const std::string file = ::testing::TempDir() + "qv-deferred.png";
  PIX_MemBitmap red(7, 3);
  PIX_Clear(&red, 0xFFFF0000);
  ASSERT_TRUE(PIX_WritePNGFile(&red, file.c_str()));
  DeferredBitmap deferred(file, 7, 3);
  EXPECT_EQ(deferred.getWidth(), 7);
  EXPECT_FALSE(deferred.Decoded());
  ASSERT_NE(deferred.getBits(), nullptr);
  EXPECT_EQ(deferred.getBits()[0], 0xFFFF0000u);
  // A file whose size no longer matches is never drawn from.
  DeferredBitmap changed(file, 8, 3);
  EXPECT_EQ(changed.getBits(), nullptr);
  std::remove(file.c_str());
}

TEST(EngineScale, EverySizeIsLimitedToTheLargestStepThatFitsTheScreen) {
  EditorFixture ed(4, 664, 662);
  ed.Attach();
  IGraphics* g = ed.gui;
  // 150 % is 996 x 993: not on a 1600 x 900 screen; 125 % (830 x 828) is.
  ed.gui->SetScreenWorkArea(1600, 900);
  g->SetScaleMemory([] { return 1.5; }, [](double) {});
  g->ChooseInitialScale();
  EXPECT_EQ(g->GetScale(), 1.25);
  EXPECT_FALSE(g->SetHostScale(2.0));
  EXPECT_FALSE(g->SetUserScale(2.0));
  EXPECT_EQ(g->GetScale(), 1.25);
  EXPECT_EQ(g->ScaleForWindow(1328, 1324), 1.25);
  EXPECT_DOUBLE_EQ(g->ScaleForWindow(850, 900, true), 850.0 / 664);  // fits: taken as it is
  EXPECT_TRUE(g->FitsScreen(1.25));
  EXPECT_FALSE(g->FitsScreen(1.5));

  // The screen got smaller under an open editor (moved to a laptop's screen): it shrinks and asks.
  ed.plug.log.clear();
  ed.gui->SetScreenWorkArea(800, 700);
  EXPECT_TRUE(g->FitToScreen());
  EXPECT_EQ(g->GetScale(), 1.0);
  EXPECT_EQ(ed.plug.log, Calls{"resize 664 662"});
  EXPECT_FALSE(g->FitToScreen());
  // Smaller than the editor itself: 100 % is still the size.
  ed.gui->SetScreenWorkArea(500, 400);
  EXPECT_FALSE(g->SetUserScale(1.5));
  EXPECT_EQ(g->GetScale(), 1.0);
  // Unknown work area: any size.
  ed.gui->SetScreenWorkArea(0, 0);
  EXPECT_TRUE(g->SetUserScale(2.0));
  EXPECT_EQ(g->GetScale(), 2.0);
}

}  // namespace
