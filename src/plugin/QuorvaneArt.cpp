// Art sources over the artwork's drawing code.
#include "plugin/QuorvaneArt.h"

#include "graphics/IArtSource.h"
#include "graphics/IGraphics.h"
#include "pix/PIX_Blit.h"
#include "pix/PIX_MemBitmap.h"
#include "plugin/artwork/Canvas.h"
#include "plugin/artwork/Faceplate.h"
#include "plugin/artwork/KnobArt.h"
#include "plugin/artwork/Layout.h"
#include "plugin/artwork/LegendFace.h"
#include "plugin/artwork/MeterArt.h"
#include "plugin/artwork/Palette.h"
#include "plugin/artwork/SwitchArt.h"
#include "plugin/artwork/Typeface.h"

#include <cmath>
#include <string>

const char* const kFaceplate2xFile = "resources/img/BG@2x.png";

namespace {

double Fraction(int frame, int nFrames) {
  return nFrames > 1 ? static_cast<double>(frame) / (nFrames - 1) : 0.0;
}

class FaceplateArt : public IArtSource {
 public:
  explicit FaceplateArt(IGraphics* graphics) : mGraphics(graphics) {}

  bool DrawFrame(int, int, double scale, PIX_MemBitmap* out) override {
    const int w = static_cast<int>(std::lround(kEditorW * scale)),
              h = static_cast<int>(std::lround(kEditorH * scale));
    std::unique_ptr<PIX_IBitmap> image(mGraphics->OSLoadBitmap(-1, kFaceplate2xFile));
    if (image && image->getBits()) {
      if (!out->resize(w, h) && (out->getWidth() != w || out->getHeight() != h)) return false;
      if (!out->getBits()) return false;
      PIX_ScaledBlit(out, image.get(), 0, 0, w, h, 0.0f, 0.0f, static_cast<float>(image->getWidth()),
                     static_cast<float>(image->getHeight()), 1.0f,
                     PIX_BLIT_MODE_COPY | PIX_BLIT_FILTER_BILINEAR);
      return true;
    }
    // Without the image (a damaged install) the plate is drawn here: slow, but sharp.
    Canvas c(kEditorW, kEditorH, scale);
    if (!DrawFaceplate(c)) return false;
    c.toBitmap(out);
    return true;
  }

 private:
  IGraphics* mGraphics;
};

// Frames that are one drawing at a fraction of the strip: knob angles, needle positions.
class FractionFrames : public IArtSource {
 public:
  using Draw = void (*)(Canvas&, double);
  FractionFrames(int w, int h, Draw draw) : mW(w), mH(h), mDraw(draw) {}

  bool DrawFrame(int frame, int nFrames, double scale, PIX_MemBitmap* out) override {
    Canvas c(mW, mH, scale);
    mDraw(c, Fraction(frame, nFrames));
    c.toBitmap(out);
    return true;
  }
  bool DrawsLayoutScale() const override { return true; }

 private:
  int mW, mH;
  Draw mDraw;
};

class SwitchFrames : public IArtSource {
 public:
  SwitchFrames(std::shared_ptr<LegendFaces> faces, const char* legend)
      : mFaces(std::move(faces)), mLegend(legend) {}

  bool DrawFrame(int frame, int, double scale, PIX_MemBitmap* out) override;
  bool DrawsLayoutScale() const override { return true; }

 private:
  std::shared_ptr<LegendFaces> mFaces;
  std::string mLegend;
};

}  // namespace

// The face for the last scale asked (or null when the sheet cannot give it: the buttons are then
// resampled from their 1x strips); the sheet is decoded for each new scale and dropped.
class LegendFaces {
 public:
  explicit LegendFaces(IGraphics* graphics) : mGraphics(graphics) {}

  const Typeface* At(double scale) {
    if (mScale != scale) {
      std::unique_ptr<PIX_IBitmap> sheet(mGraphics->OSLoadBitmap(-1, kLegendSheetFile));
      mFace = LegendFaceFromSheet(sheet.get(), scale);
      mScale = scale;
    }
    return mFace.get();
  }

 private:
  IGraphics* mGraphics;
  double mScale = 0.0;
  std::unique_ptr<Typeface> mFace;
};

bool SwitchFrames::DrawFrame(int frame, int, double scale, PIX_MemBitmap* out) {
  const Typeface* face = mFaces->At(scale);
  if (!face) return false;
  Canvas c(kSwitchW, kSwitchH, scale);
  DrawSwitch(c, *face, mLegend.c_str(), frame == 1);
  c.toBitmap(out);
  return true;
}

std::unique_ptr<IArtSource> MakeFaceplateArt(IGraphics* graphics) {
  return std::make_unique<FaceplateArt>(graphics);
}
std::unique_ptr<IArtSource> MakeKnobArt() {
  return std::make_unique<FractionFrames>(kKnobSize, kKnobSize, DrawKnob);
}
std::unique_ptr<IArtSource> MakeNeedleArt() {
  return std::make_unique<FractionFrames>(kMeterW, kMeterH, DrawNeedle);
}
std::shared_ptr<LegendFaces> MakeLegendFaces(IGraphics* graphics) {
  return std::make_shared<LegendFaces>(graphics);
}
std::unique_ptr<IArtSource> MakeSwitchArt(std::shared_ptr<LegendFaces> faces, const char* legend) {
  return std::make_unique<SwitchFrames>(std::move(faces), legend);
}
