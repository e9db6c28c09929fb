// The audio thread writes control values while the UI thread collects and draws them, with no
// lock between the two. Run under ThreadSanitizer (-DQV_SANITIZE=thread) this shows whether any
// shared state is touched without an atomic; in any build it checks that no update is lost.
#include "graphics/GraphicsTestSupport.h"
#include "graphics/controls/IKnobControls.h"
#include "pix/PIX_MemBitmap.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {
// A meter that remembers the value it last drew.
class MeterControl : public IControl {
 public:
  MeterControl(IPlugin* plug, const IRECT& rect) : IControl(plug, rect) {}
  bool Draw(IGraphics* g) override {
    drawnValue = GetValue();
    IRECT bar = mRECT;
    bar.R = bar.L + static_cast<int>(bar.W() * drawnValue);
    return g->FillIRect(&COLOR_GREEN, &bar);
  }
  double drawnValue = -1.0;
};
}  // namespace

TEST(EngineConcurrency, AValueArrivingAcrossACleanIsNotLost) {
  // The audio thread's SetValueFromPlug split around the draw pass's SetClean.
  MeterControl meter(nullptr, IRECT(0, 0, 10, 10));
  meter.SetValueFromPlug(0.1);
  meter.SetClean();
  meter.SetValue(0.7);
  meter.SetDirty(false);
  meter.SetClean();
  meter.SetRedraw();
  EXPECT_TRUE(meter.IsDirty());
}

TEST(EngineConcurrency, AudioThreadUpdatesWhileTheEditorDraws) {
  EditorFixture ed(4, 200, 100);
  ed.plug.GetParam(1)->InitDouble("Gain", 0.0, -10.0, 10.0, 0.01, "dB");
  PIX_MemBitmap knobImage(20, 200);
  const IBitmap strip(&knobImage, 20, 200, 10);
  ed.gui->AttachPanelBackground(&COLOR_BLACK);
  auto* knob = new IKnobMultiControl(&ed.plug, 10, 10, 1, &strip);
  auto* meter = new MeterControl(&ed.plug, IRECT(50, 10, 150, 20));
  ed.gui->AttachControl(knob);
  const int meterIdx = ed.gui->AttachControl(meter);
  ed.Attach();

  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::thread audio([&] {
    // One block of 64 samples every ~1.5 ms: the meter per sample, the host's automation per block.
    for (long n = 0; !stop.load(std::memory_order_relaxed); ++n) {
      for (int s = 0; s < 64; ++s) ed.gui->SetControlFromPlug(meterIdx, ((n * 64 + s) % 1000) / 1000.0);
      ed.gui->SetParameterFromPlug(1, (n % 200) / 10.0 - 10.0, false);
      blocks.fetch_add(1, std::memory_order_relaxed);
      std::this_thread::sleep_for(std::chrono::microseconds(1500));
    }
  });

  int passes = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < end) {
    IRECT dirty;
    if (ed.gui->IsDirty(&dirty)) {
      ed.gui->Draw(&dirty);
      ++passes;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  stop.store(true);
  audio.join();

  EXPECT_GT(blocks.load(), 100);
  EXPECT_GT(passes, 50);
  // Whatever interleaving the last updates met, the editor still knows to draw them.
  for (int i = 0; i < 3; ++i) {
    IRECT dirty;
    if (ed.gui->IsDirty(&dirty)) ed.gui->Draw(&dirty);
  }
  EXPECT_EQ(meter->drawnValue, meter->GetValue());
  EXPECT_TRUE(ed.plug.log.empty());
}
