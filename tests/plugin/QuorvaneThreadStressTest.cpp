// The plug-in's threads at once, as a host runs them: process on the audio thread (host automation
// and the meter reaching the editor's controls), the controller's setParamNormalized and
// getParamStringByValue on another, state saved and restored on a third, and the editor's edits
// and draw passes on the test's own thread. Run under ThreadSanitizer (the test command does) this shows
// whether anything is shared without the plug-in's lock or an atomic.
#include "plugin/Quorvane.h"
#include "vst3/PluginModule.h"

#include "graphics/IGraphics.h"
#include "host/vst3/MemoryStream.h"
#include "host/vst3/ParameterChanges.h"
#include "host/vst3/Ref.h"
#include "vst3/abi/ResultCodes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

using namespace vst3abi;
using qvhost::MemoryStream;
using qvhost::Ref;

namespace {
struct PlugDeleter {
  void operator()(IPluginVST3* p) const { p->release(); }
};
}  // namespace

TEST(QuorvaneThreads, ProcessStateControllerAndDrawingRunTogether) {
  std::unique_ptr<IPluginVST3, PlugDeleter> plug(MakePlug());
  auto* q = dynamic_cast<Quorvane*>(plug.get());
  ASSERT_NE(q, nullptr);
  ASSERT_EQ(q->initialize(nullptr), kResultOk);
  ProcessSetup setup{kRealtime, kSample64, 64, 48000};
  ASSERT_EQ(q->setupProcessing(&setup), kResultOk);
  q->setActive(1);
  q->setProcessing(1);
  IGraphics* gui = AttachedGraphics(q);
  ASSERT_NE(gui, nullptr);
  gui->PrepDraw();

  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0}, saves{0}, edits{0};
  std::thread audio([&] {
    std::vector<double> l(64), r(64), outL(64), outR(64);
    double* in[2] = {l.data(), r.data()};
    double* out[2] = {outL.data(), outR.data()};
    AudioBusBuffers inBus{}, outBus{};
    inBus.numChannels = outBus.numChannels = 2;
    inBus.channelBuffers64 = in;
    outBus.channelBuffers64 = out;
    qvhost::ParameterChangeList changes;
    for (long n = 0; !stop.load(std::memory_order_relaxed); ++n) {
      for (int i = 0; i < 64; i++) l[i] = r[i] = 0.8 * std::sin((n * 64 + i) * 0.05);
      changes.clear();
      changes.queueFor(static_cast<ParamID>(1 + n % 16))->addPoint(0, (n % 10) / 9.0, nullptr);
      ProcessData data{kRealtime, kSample64, 64,      1,       1,       &inBus,
                       &outBus,   &changes,  nullptr, nullptr, nullptr, nullptr};
      q->process(&data);
      blocks.fetch_add(1, std::memory_order_relaxed);
      std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
  });
  std::thread controller([&] {
    String128 text;
    for (long n = 0; !stop.load(std::memory_order_relaxed); ++n) {
      const ParamID id = static_cast<ParamID>(n % 17);
      q->setParamNormalized(id, (n % 7) / 6.0);
      q->getParamStringByValue(id, (n % 5) / 4.0, text);
      q->getParamNormalized(id);
      edits.fetch_add(1, std::memory_order_relaxed);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  std::thread state([&] {
    while (!stop.load(std::memory_order_relaxed)) {
      auto saved = Ref<MemoryStream>::adopt(new MemoryStream);
      q->getControllerState(saved.get());
      auto load = Ref<MemoryStream>::adopt(new MemoryStream(saved->data()));
      q->setControllerState(load.get());
      auto component = Ref<MemoryStream>::adopt(new MemoryStream);
      q->getState(component.get());
      component->rewind();
      q->setState(component.get());
      saves.fetch_add(1, std::memory_order_relaxed);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });

  int passes = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  for (int n = 0; std::chrono::steady_clock::now() < end; n++) {
    q->SetParameterFromGUI(1 + n % 16, (n % 3) / 2.0);  // a knob turned in the editor
    IRECT dirty;
    if (gui->IsDirty(&dirty)) {
      gui->Draw(&dirty);
      ++passes;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
  }
  stop.store(true);
  audio.join();
  controller.join();
  state.join();
  q->setProcessing(0);
  q->setActive(0);
  q->terminate();

  EXPECT_GT(blocks.load(), 100);
  EXPECT_GT(edits.load(), 100);
  EXPECT_GT(saves.load(), 20);
  EXPECT_GT(passes, 20);
}
