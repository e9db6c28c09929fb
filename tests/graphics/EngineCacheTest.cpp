// The process-wide image and font caches shared by every editor, images that fail to load, and
// rebuilding an editor with Resize.
#include "graphics/BitmapStorage.h"
#include "graphics/FontStorage.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/controls/ISwitchControls.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNGWrite.h"
#include "pix/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
// A scratch folder of images, removed afterwards.
struct ImageDir {
  std::string path;

  ImageDir() {
    char tmpl[] = "/tmp/qv-images-XXXXXX";
    path = mkdtemp(tmpl) ? tmpl : "/tmp";
  }
  ~ImageDir() { std::filesystem::remove_all(path); }

  void WritePNG(const char* name, int w, int h, PIX_Pixel colour) {
    PIX_MemBitmap bm(w, h);
    PIX_Clear(&bm, colour);
    ASSERT_TRUE(PIX_WritePNGFile(&bm, (path + "/" + name).c_str()));
  }
  void WriteBytes(const char* name, const char* bytes) {
    FILE* f = std::fopen((path + "/" + name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(bytes, f);
    std::fclose(f);
  }
};

struct ImageEditor : EditorFixture {
  explicit ImageEditor(const ImageDir& dir) { gui->SetResourceDir(dir.path.c_str()); }
};
}  // namespace

TEST(EngineCache, TwoEditorsShareOneImageAndOneFont) {
  ImageDir dir;
  dir.WritePNG("KNOB.png", 8, 24, 0xFF102030);
  ImageEditor one(dir), two(dir);
  one.Attach();
  two.Attach();

  const IBitmap a = one.gui->LoadIBitmap(501, "resources/img/KNOB.png", 3);
  const IBitmap b = two.gui->LoadIBitmap(501, "resources/img/KNOB.png", 3, true);
  ASSERT_NE(a.mData, nullptr);
  EXPECT_EQ(a.mData, b.mData);
  EXPECT_EQ(a.W, 8);
  EXPECT_EQ(a.H, 24);
  EXPECT_EQ(a.FrameHeight(), 8);
  EXPECT_TRUE(b.mFramesAreHorizontal);
  EXPECT_EQ(one.gui->NBitmapLoads(), 1);
  EXPECT_EQ(two.gui->NBitmapLoads(), 0);

  // Styles that differ only in quality share one font, across editors; another size does not.
  const int fonts = FontStorage::Shared().Count();
  IText plain(13), smooth(13), larger(14);
  smooth.mQuality = IText::kQualityAntiAliased;
  IRECT r(0, 0, 50, 20);
  ASSERT_TRUE(one.gui->MeasureIText(&plain, "x", &r));
  ASSERT_TRUE(two.gui->MeasureIText(&smooth, "x", &r));
  EXPECT_EQ(plain.mCached, smooth.mCached);
  EXPECT_EQ(FontStorage::Shared().Count(), fonts + 1);
  ASSERT_TRUE(two.gui->MeasureIText(&larger, "x", &r));
  EXPECT_NE(larger.mCached, plain.mCached);
  EXPECT_EQ(FontStorage::Shared().Count(), fonts + 2);
}

TEST(EngineCache, AnImageThatFailsToLoadIsNeverDrawnNorCached) {
  ImageDir dir;
  dir.WriteBytes("BAD.png", "\x89PNG\r\n\x1a\n not really");
  ImageEditor ed(dir);
  const int cached = BitmapStorage::Shared().Count();

  const IBitmap missing = ed.gui->LoadIBitmap(502, "resources/img/LATER.png", 2);
  EXPECT_EQ(missing.mData, nullptr);
  EXPECT_EQ(missing.W, 0);
  EXPECT_EQ(missing.N, 2);
  EXPECT_EQ(ed.gui->LoadIBitmap(503, "BAD.png").mData, nullptr);
  EXPECT_EQ(BitmapStorage::Shared().Count(), cached);

  // The editor still works: the controls draw nothing and a switch still takes clicks.
  ed.gui->AttachBackground(504, "resources/img/NONE.png");
  auto* sw = new ISwitchControl(&ed.plug, 0, 0, -1, &missing);
  sw->SetTargetArea(IRECT(0, 0, 10, 10));
  ed.gui->AttachControl(sw);
  ed.Attach();
  IRECT all(0, 0, 200, 100);
  const auto blank = ed.gui->Snapshot();
  EXPECT_TRUE(ed.gui->Draw(&all));
  EXPECT_EQ(ed.gui->CountDifferences(blank), 0);
  IMouseMod left(true);
  ed.gui->OnMouseDown(5, 5, &left);
  EXPECT_DOUBLE_EQ(sw->GetValue(), 1.0);

  // Nothing was cached, so a later load tries again and can succeed.
  const int loads = ed.gui->NBitmapLoads();
  dir.WritePNG("LATER.png", 4, 4, 0xFFFFFFFF);
  EXPECT_NE(ed.gui->LoadIBitmap(502, "resources/img/LATER.png", 2).mData, nullptr);
  ed.gui->LoadIBitmap(502, "resources/img/LATER.png", 2);
  EXPECT_EQ(ed.gui->NBitmapLoads(), loads + 1);
}

TEST(EngineCache, DerivedImagesAndReleaseNeverFreeAnImageTwice) {
  ImageDir dir;
  dir.WritePNG("STRIP.png", 6, 12, 0xFF00FF00);
  ImageEditor ed(dir);
  IBitmap strip = ed.gui->LoadIBitmap(505, "STRIP.png", 2);
  ASSERT_NE(strip.mData, nullptr);

  // A retained copy of a cached image shares it: releasing one entry keeps the image alive.
  ed.gui->RetainBitmap(&strip);
  ed.gui->ReleaseBitmap(&strip);
  EXPECT_EQ(strip.mData->getWidth(), 6);
  PIX_MemBitmap foreign(2, 2);
  IBitmap notCached(&foreign, 2, 2);
  ed.gui->ReleaseBitmap(&notCached);  // not the cache's to delete

  const IBitmap scaled = ed.gui->ScaleBitmap(&strip, 3, 6);
  ASSERT_NE(scaled.mData, nullptr);
  EXPECT_EQ(scaled.W, 3);
  EXPECT_EQ(scaled.N, 2);
  EXPECT_EQ(PIX_GetPixel(scaled.mData, 1, 1), 0xFF00FF00u);
  IRECT partlyOutside(4, 10, 8, 14);
  const IBitmap cropped = ed.gui->CropBitmap(&strip, &partlyOutside);
  ASSERT_NE(cropped.mData, nullptr);
  EXPECT_EQ(PIX_GetPixel(cropped.mData, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(PIX_GetPixel(cropped.mData, 3, 3), 0u);  // beyond the source: transparent
  EXPECT_EQ(ed.gui->ScaleBitmap(&strip, 0, 5).mData, nullptr);

  // Module exit empties both caches; a second call, and loading afterwards, are harmless.
  IGraphicsReleaseCaches();
  IGraphicsReleaseCaches();
  EXPECT_EQ(BitmapStorage::Shared().Count(), 0);
  EXPECT_EQ(FontStorage::Shared().Count(), 0);
  EXPECT_NE(ed.gui->LoadIBitmap(505, "STRIP.png", 2).mData, nullptr);
}

TEST(EngineCache, ResizeRebuildsTheEditor) {
  EditorFixture ed;
  const IBitmap strip(nullptr, 10, 20, 2);
  ed.gui->AttachPanelBackground(&COLOR_GRAY);
  ed.gui->AttachControl(new ISwitchControl(&ed.plug, 0, 0, -1, &strip));
  ed.gui->AttachKeyCatcher(new ISwitchControl(&ed.plug, 0, 0, -1, &strip));
  ed.Attach();
  IMouseMod left(true);
  ed.gui->HandleMouseOver(true);
  ed.gui->OnMouseOver(5, 5, &left);
  ed.gui->OnMouseDown(5, 5, &left);
  ASSERT_EQ(ed.gui->GetMouseCapture(), 1);

  ed.gui->Resize(300, 150);
  EXPECT_EQ(ed.plug.log, (Calls{"resize 300 150"}));
  EXPECT_EQ(ed.gui->NControls(), 0);
  EXPECT_EQ(ed.gui->GetMouseCapture(), -1);
  EXPECT_EQ(ed.gui->GetMouseOver(), -1);
  EXPECT_EQ(ed.gui->GetBackBuffer()->getWidth(), 300);
  EXPECT_EQ(ed.gui->GetBackBuffer()->getHeight(), 150);
  // Events between the rebuild and the new controls find nothing.
  ed.gui->OnMouseUp(5, 5, &left);
  ed.gui->OnMouseDrag(6, 6, &left);

  // A background attached after other controls still goes first: drawn first, hit last.
  auto* front = new ISwitchControl(&ed.plug, 0, 0, -1, &strip);
  ed.gui->AttachControl(front);
  ed.gui->AttachPanelBackground(&COLOR_RED);
  EXPECT_EQ(ed.gui->GetControl(1), front);
  EXPECT_EQ(ed.gui->GetMouseControlIdx(100, 100), 0);
  IRECT all(0, 0, 300, 150);
  EXPECT_TRUE(ed.gui->Draw(&all));
  EXPECT_EQ(ed.gui->GetPoint(299, 149), COLOR_RED);
  EXPECT_NE(ed.gui->GetKeyCatcher(), nullptr);
}
