// The editor layout as data: every control's class, parameter, rectangle and film strip, and the
// meter's place in the control list, checked against the images the bundle ships.
#include "graphics/BitmapStorage.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/IBitmapControl.h"
#include "graphics/controls/IKnobControls.h"
#include "graphics/controls/ISwitchControls.h"
#include "pix/PIX_PNG.h"
#include "plugin/EditorSizeControl.h"
#include "plugin/Quorvane.h"
#include "vst3/PluginModule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <typeinfo>

namespace {

enum class Kind { kBackground, kSwitch, kKnob, kMeter };

struct Entry {
  Kind kind;
  int id;
  const char* file;
  int frames, x, y, param;
};

const Entry kLayout[] = {
    {Kind::kBackground, 102, "BG.png", 1, 0, 0, -1},
    {Kind::kSwitch, 104, "BYPASS.png", 2, 413, 124, 11},
    {Kind::kSwitch, 117, "TURBO.png", 2, 497, 124, 15},
    {Kind::kSwitch, 118, "XFORMER.png", 2, 581, 124, 16},
    {Kind::kSwitch, 105, "EXT.png", 2, 508, 365, 12},
    {Kind::kKnob, 101, "ATTACK.png", 6, 59, 402, 10},
    {Kind::kKnob, 113, "RELEASE.png", 5, 252, 400, 14},
    {Kind::kKnob, 112, "RATIO.png", 6, 58, 529, 13},
    {Kind::kKnob, 103, "BOOST.png", 121, 554, 272, 1},
    {Kind::kKnob, 106, "HF.png", 121, 414, 272, 2},
    {Kind::kKnob, 107, "HPF.png", 121, 413, 530, 3},
    {Kind::kKnob, 108, "MAKEUP.png", 121, 252, 272, 4},
    {Kind::kKnob, 110, "MID.png", 121, 413, 401, 5},
    {Kind::kKnob, 111, "MIX.png", 121, 252, 528, 6},
    {Kind::kKnob, 114, "THRESHOLD.png", 121, 58, 271, 7},
    {Kind::kKnob, 116, "TRMIX.png", 121, 553, 529, 8},
    {Kind::kKnob, 115, "TILT.png", 121, 553, 401, 9},
    {Kind::kMeter, 109, "METER.png", 211, 92, 57, -1},
};

std::string ImagePath(const char* file) { return std::string(QV_IMAGE_DIR) + "/" + file; }

// Width and height from the PNG header, read apart from the image loader.
void ImageSize(const char* file, int* w, int* h) {
  std::ifstream f(ImagePath(file), std::ios::binary);
  unsigned char head[24] = {};
  f.read(reinterpret_cast<char*>(head), sizeof head);
  const auto word = [&head](int at) {
    return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
  };
  *w = word(16);
  *h = word(20);
}

const std::type_info& ClassOf(Kind kind) {
  switch (kind) {
    case Kind::kSwitch:
      return typeid(ISwitchControl);
    case Kind::kKnob:
      return typeid(IKnobMultiControl);
    default:
      return typeid(IBitmapControl);
  }
}

}  // namespace

TEST(QuorvaneEditor, LayoutMatchesTheTableAndTheFilmStrips) {
  // Outside a bundle the editor finds no resources; the images are put in the cache it reads first.
  for (const Entry& e : kLayout) {
    if (!BitmapStorage::Shared().Find(e.id))
      BitmapStorage::Shared().Add(PIX_LoadPNG(ImagePath(e.file).c_str()), e.id);
    ASSERT_NE(BitmapStorage::Shared().Find(e.id), nullptr) << e.file;
  }
  std::unique_ptr<IPluginVST3, void (*)(IPluginVST3*)> holder(MakePlug(),
                                                              [](IPluginVST3* p) { p->release(); });
  auto* q = dynamic_cast<Quorvane*>(holder.get());
  ASSERT_NE(q, nullptr);
  auto* g = dynamic_cast<IGraphics*>(q->GetGraphics());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->Width(), 664);
  EXPECT_EQ(g->Height(), 662);
  // The film strips, then the logo's size menu on top.
  ASSERT_EQ(g->NControls(), 19);
  EXPECT_EQ(q->MeterIdx(), 17);
  EXPECT_TRUE(typeid(*g->GetControl(18)) == typeid(EditorSizeControl));

  for (int i = 0; i < 18; ++i) {
    const Entry& e = kLayout[i];
    IControl* c = g->GetControl(i);
    EXPECT_TRUE(typeid(*c) == ClassOf(e.kind)) << e.file << " is a " << typeid(*c).name();
    EXPECT_EQ(c->ParamIdx(), e.param) << e.file;
    int w = 0, h = 0;
    ImageSize(e.file, &w, &h);
    EXPECT_EQ(*c->GetRECT(), IRECT(e.x, e.y, e.x + w, e.y + h / e.frames)) << e.file;
    if (auto* b = dynamic_cast<IBitmapControl*>(c)) {
      EXPECT_EQ(b->GetBitmap()->N, e.frames) << e.file;
    }
  }

  // No reduction shows the first frame, half scale the middle one, full attenuation the last.
  auto* meter = dynamic_cast<IBitmapControl*>(g->GetControl(q->MeterIdx()));
  ASSERT_NE(meter, nullptr);
  for (auto [value, frame] : {std::pair{0.0, 1}, {0.5, 106}, {1.0, 211}}) {
    g->SetControlFromPlug(q->MeterIdx(), value);
    EXPECT_EQ(BitmapFrameForValue(meter->GetBitmap()->N, meter->GetValue()), frame) << value;
  }
}
