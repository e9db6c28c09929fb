// The editor layout: which film strip each control draws, where, and for which parameter. The
// list order is the control order, so the meter ends up as control 17.
#include "plugin/QuorvaneEditor.h"

#include "graphics/IArtSource.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/IBitmapControl.h"
#include "graphics/controls/IKnobControls.h"
#include "graphics/controls/ISwitchControls.h"
#include "plugin/EditorSizeControl.h"
#include "plugin/EditorSizeMemory.h"
#include "plugin/QuorvaneArt.h"
#include "plugin/QuorvaneParams.h"

namespace {

enum class Kind { kSwitch, kKnob, kMeter };

struct ControlPlacement {
  Kind kind;
  int resourceId;
  const char* file;
  int frames;
  int x, y;
  int paramIdx;
  const char* legend;  // a button's
};

constexpr int kBackgroundId = 102;
constexpr const char* kBackgroundFile = "resources/img/BG.png";

constexpr ControlPlacement kControls[] = {
    {Kind::kSwitch, 104, "resources/img/BYPASS.png", 2, 413, 124, QuorvaneParams::kBypass, "IN"},
    {Kind::kSwitch, 117, "resources/img/TURBO.png", 2, 497, 124, QuorvaneParams::kTurbo, "TURBO"},
    {Kind::kSwitch, 118, "resources/img/XFORMER.png", 2, 581, 124, QuorvaneParams::kXFormer, "XFORMER"},
    {Kind::kSwitch, 105, "resources/img/EXT.png", 2, 508, 365, QuorvaneParams::kExternalSidechain, "EXT SC"},
    {Kind::kKnob, 101, "resources/img/ATTACK.png", 6, 59, 402, QuorvaneParams::kAttackTime, nullptr},
    {Kind::kKnob, 113, "resources/img/RELEASE.png", 5, 252, 400, QuorvaneParams::kReleaseTime, nullptr},
    {Kind::kKnob, 112, "resources/img/RATIO.png", 6, 58, 529, QuorvaneParams::kRatio, nullptr},
    {Kind::kKnob, 103, "resources/img/BOOST.png", 121, 554, 272, QuorvaneParams::kBoost, nullptr},
    {Kind::kKnob, 106, "resources/img/HF.png", 121, 414, 272, QuorvaneParams::kHF, nullptr},
    {Kind::kKnob, 107, "resources/img/HPF.png", 121, 413, 530, QuorvaneParams::kHPF, nullptr},
    {Kind::kKnob, 108, "resources/img/MAKEUP.png", 121, 252, 272, QuorvaneParams::kMakeUpGain, nullptr},
    {Kind::kKnob, 110, "resources/img/MID.png", 121, 413, 401, QuorvaneParams::kMidGain, nullptr},
    {Kind::kKnob, 111, "resources/img/MIX.png", 121, 252, 528, QuorvaneParams::kCompressorMix, nullptr},
    {Kind::kKnob, 114, "resources/img/THRESHOLD.png", 121, 58, 271, QuorvaneParams::kThreshold, nullptr},
    {Kind::kKnob, 116, "resources/img/TRMIX.png", 121, 553, 529, QuorvaneParams::kTransientMix, nullptr},
    {Kind::kKnob, 115, "resources/img/TILT.png", 121, 553, 401, QuorvaneParams::kTransientTilt, nullptr},
    {Kind::kMeter, 109, "resources/img/METER.png", 211, 92, 57, -1, nullptr},
};

// The logo and its tagline over the buttons, where the size menu opens.
const IRECT kLogo(428, 58, 636, 108);

}  // namespace

int AttachQuorvaneEditor(IGraphics* graphics, IPlugin* plug) {
  graphics->SetScaleMemory(LoadEditorScale, [](double scale) { SaveEditorScale(scale); });
  graphics->HandleMouseOver(true);
  IBitmap background = graphics->LoadIBitmap(kBackgroundId, kBackgroundFile);
  background.mArt = graphics->AdoptArtSource(MakeFaceplateArt(graphics));
  graphics->AttachControl(new IBitmapControl(plug, 0, 0, -1, &background, IChannelBlend::kBlendClobber));

  // Every knob shows the same knob at another angle: one source, so frames are drawn once.
  IArtSource* knobs = graphics->AdoptArtSource(MakeKnobArt());
  const std::shared_ptr<LegendFaces> legends = MakeLegendFaces(graphics);
  int meterIdx = -1;
  for (const ControlPlacement& c : kControls) {
    IBitmap bitmap = graphics->LoadIBitmap(c.resourceId, c.file, c.frames);
    switch (c.kind) {
      case Kind::kSwitch:
        bitmap.mArt = graphics->AdoptArtSource(MakeSwitchArt(legends, c.legend));
        break;
      case Kind::kKnob:
        bitmap.mArt = knobs;
        break;
      case Kind::kMeter:
        bitmap.mArt = graphics->AdoptArtSource(MakeNeedleArt());
        break;
    }
    switch (c.kind) {
      case Kind::kSwitch:
        graphics->AttachControl(new ISwitchControl(plug, c.x, c.y, c.paramIdx, &bitmap));
        break;
      case Kind::kKnob:
        graphics->AttachControl(new IKnobMultiControl(plug, c.x, c.y, c.paramIdx, &bitmap));
        break;
      case Kind::kMeter:
        meterIdx = graphics->AttachControl(new IBitmapControl(plug, c.x, c.y, c.paramIdx, &bitmap));
        break;
    }
  }
  graphics->AttachControl(new EditorSizeControl(plug, kLogo));
  return meterIdx;
}
