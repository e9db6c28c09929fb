// Quorvane.clap driven by a host that behaves as badly as real ones do (the VST 3 torture test's
// sessions, through the CLAP entry points): wild rates and block sizes, both sample widths, the
// sidechain fed or missing, processing and activation flipped between blocks, several events per
// parameter with invalid ids and NaN or infinite values, state saved and restored mid-stream and
// hostile input. Every block must come back finite and bounded, state round trips must be exact
// and processing must not allocate.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "vst3/AllocationCounter.h"
#include "vst3/TortureInputs.h"

using namespace qvhost;

namespace {

struct Events {
  std::vector<clap_event_param_value_t> list;
  clap_input_events_t in{this,
                         [](const clap_input_events_t* l) {
                           return static_cast<uint32_t>(static_cast<Events*>(l->ctx)->list.size());
                         },
                         [](const clap_input_events_t* l, uint32_t i) -> const clap_event_header_t* {
                           return &static_cast<Events*>(l->ctx)->list[i].header;
                         }};
  clap_output_events_t out{nullptr,
                           [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};
};

}  // namespace

TEST(ClapTorture, RandomizedSessionsStayFiniteBoundedExactAndAllocationFree) {
  std::string error;
  auto module = ClapModule::load(QV_CLAP_PATH, &error);
  ASSERT_TRUE(module) << error;
  Torture t(20261209);
  Events events;
  events.list.reserve(64);
  int sessions = 0;
  for (int instance = 0; instance < 20; instance++) {
    auto plugin = ClapPlugin::create(*module, *module->find(), &error);
    ASSERT_TRUE(plugin) << error;
    const clap_plugin_t* p = plugin->plugin();
    std::vector<uint8_t> saved;
    for (int s = 0; s < 50; s++, sessions++) {
      const bool f64 = t.Chance(0.5);
      const int maxBlock = t.MaxBlock();
      ASSERT_TRUE(p->activate(p, t.SampleRate(), 1, static_cast<uint32_t>(maxBlock)));
      bool processing = p->start_processing(p);
      for (int k = t.Int(1, 8); k > 0; k--) {
        if (t.Chance(0.05)) {
          if (processing) p->stop_processing(p);
          processing = t.Chance(0.5) && p->start_processing(p);
        }
        if (t.Chance(0.05)) p->reset(p);
        if (t.Chance(0.08)) {
          if (saved.empty() || t.Chance(0.5)) {
            ASSERT_TRUE(plugin->saveState(&saved, &error));
            ASSERT_EQ(saved.size(), 140u);
          } else {
            ASSERT_TRUE(plugin->loadState(saved, &error)) << error;
            std::vector<uint8_t> again;
            ASSERT_TRUE(plugin->saveState(&again, &error));
            ASSERT_EQ(again, saved) << "state did not round-trip exactly";
          }
        }
        const int frames = t.Frames(maxBlock);
        const size_t n = static_cast<size_t>(std::max(frames, 1));
        std::vector<std::vector<double>> in64(4, std::vector<double>(n)),
            out64(2, std::vector<double>(n, 12345.0));
        std::vector<std::vector<float>> in32(4, std::vector<float>(n)),
            out32(2, std::vector<float>(n, 12345.0f));
        for (auto& c : in64)
          for (double& v : c) v = t.Sample();
        for (int c = 0; c < 4; c++)
          for (size_t i = 0; i < n; i++) in32[c][i] = static_cast<float>(in64[c][i]);
        double* p64[3][2] = {{in64[0].data(), in64[1].data()},
                             {in64[2].data(), in64[3].data()},
                             {out64[0].data(), out64[1].data()}};
        float* p32[3][2] = {{in32[0].data(), in32[1].data()},
                            {in32[2].data(), in32[3].data()},
                            {out32[0].data(), out32[1].data()}};
        clap_audio_buffer_t bufs[3];
        for (int b = 0; b < 3; b++) bufs[b] = {f64 ? nullptr : p32[b], f64 ? p64[b] : nullptr, 2, 0, 0};
        if (t.Chance(0.2)) bufs[1] = {nullptr, nullptr, 0, 0, 0};  // a host that feeds no sidechain
        events.list.clear();
        for (int e = t.Int(0, 6); e > 0; e--) {
          clap_event_param_value_t ev{};
          ev.header = {sizeof ev, static_cast<uint32_t>(t.Int(0, std::max(frames - 1, 0))), 0,
                       CLAP_EVENT_PARAM_VALUE, 0};
          ev.param_id = t.Id();
          ev.value = t.Value() * (t.Chance(0.5) ? 20.0 : 1.0);
          events.list.push_back(ev);
        }
        std::sort(events.list.begin(), events.list.end(),
                  [](const auto& a, const auto& b) { return a.header.time < b.header.time; });
        clap_process_t data{
            -1, static_cast<uint32_t>(frames), nullptr, bufs, &bufs[2], 2, 1, &events.in, &events.out};
        if (!processing) continue;
        long allocations;
        {
          alloccount::Scope scope;
          p->process(p, &data);
          allocations = scope.count();
        }
        ASSERT_EQ(allocations, 0) << "process allocated, block of " << frames;
        for (int c = 0; c < 2; c++)
          for (int i = 0; i < frames; i++) {
            const double x = f64 ? in64[c][i] : in32[c][i];
            const double y = f64 ? out64[c][i] : out32[c][i];
            ASSERT_TRUE(std::isfinite(y) &&
                        std::fabs(y) <= 6.0 * ((std::isfinite(x) ? std::fabs(x) : 0.0) + 2.0))
                << "session " << sessions << ": sample " << i << " gives " << y << " for " << x;
          }
      }
      if (processing) p->stop_processing(p);
      p->deactivate(p);
    }
  }
  EXPECT_EQ(sessions, 1000);
}
