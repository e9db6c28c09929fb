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

 private:
  int mW, mH;
  Draw mDraw;
};

class SwitchFrames : public IArtSource {
 public:
  explicit SwitchFrames(const char* legend) : mLegend(legend) {}

  bool DrawFrame(int frame, int, double scale, PIX_MemBitmap* out) override {
    // The legend's face is made once per scale; without the face the 1x image is resampled.
    if (!mFace || mFaceScale != scale) {
      mFace = std::make_unique<Typeface>(kFaceCondensed, true, 10, scale);
      mFaceScale = scale;
    }
    if (!mFace->ok()) return false;
    Canvas c(kSwitchW, kSwitchH, scale);
    DrawSwitch(c, *mFace, mLegend.c_str(), frame == 1);
    c.toBitmap(out);
    return true;
  }

 private:
  std::string mLegend;
  std::unique_ptr<Typeface> mFace;
  double mFaceScale = 0.0;
};

}  // namespace

std::unique_ptr<IArtSource> MakeFaceplateArt(IGraphics* graphics) {
  return std::make_unique<FaceplateArt>(graphics);
}
std::unique_ptr<IArtSource> MakeKnobArt() {
  return std::make_unique<FractionFrames>(kKnobSize, kKnobSize, DrawKnob);
}
std::unique_ptr<IArtSource> MakeNeedleArt() {
  return std::make_unique<FractionFrames>(kMeterW, kMeterH, DrawNeedle);
}
std::unique_ptr<IArtSource> MakeSwitchArt(const char* legend) {
  return std::make_unique<SwitchFrames>(legend);
}
