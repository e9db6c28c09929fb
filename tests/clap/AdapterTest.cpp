// The CLAP adapter with Quorvane on it and a host made here: editor edits reach the host as
// gesture-begin, value and gesture-end (through flush when idle, through process otherwise), the
// last value a block brings is the one the DSP gets, and the editor queue keeps gestures whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "clap/ParamEventQueue.h"
#include "plugin/Quorvane.h"

namespace {

struct FakeHost {
  clap_host_t host{};
  clap_host_params_t params{};
  int flushRequests = 0;
  std::vector<clap_event_param_value_t> out;  // gestures keep their type in header.type

  FakeHost() {
    host.clap_version = CLAP_VERSION_INIT;
    host.host_data = this;
    host.name = "test";
    host.version = "1";
    host.get_extension = [](const clap_host_t* h, const char* id) -> const void* {
      return std::string(id) == CLAP_EXT_PARAMS ? &static_cast<FakeHost*>(h->host_data)->params : nullptr;
    };
    params.rescan = [](const clap_host_t*, uint32_t) {};
    params.clear = [](const clap_host_t*, clap_id, uint32_t) {};
    params.request_flush = [](const clap_host_t* h) {
      ++static_cast<FakeHost*>(h->host_data)->flushRequests;
    };
  }
  clap_output_events_t outList() {
    return {this, [](const clap_output_events_t* l, const clap_event_header_t* e) {
              clap_event_param_value_t v{};
              std::memcpy(&v, e, std::min<size_t>(e->size, sizeof v));
              static_cast<FakeHost*>(l->ctx)->out.push_back(v);
              return true;
            }};
  }
};

struct EventList {
  std::vector<clap_event_param_value_t> events;
  clap_input_events_t list{this,
                           [](const clap_input_events_t* l) {
                             return static_cast<uint32_t>(static_cast<EventList*>(l->ctx)->events.size());
                           },
                           [](const clap_input_events_t* l, uint32_t i) -> const clap_event_header_t* {
                             return &static_cast<EventList*>(l->ctx)->events[i].header;
                           }};
  void add(clap_id id, double value, uint32_t time) {
    clap_event_param_value_t e{};
    e.header = {sizeof e, time, 0, CLAP_EVENT_PARAM_VALUE, 0};
    e.param_id = id;
    e.value = value;
    events.push_back(e);
  }
};

struct Instance {
  FakeHost host;
  IPluginCLAP* plug = nullptr;
  const clap_plugin_t* clap = nullptr;
  Instance() {
    IPluginInstanceInfo info;
    info.host = &host.host;
    plug = MakePlug(info);
    clap = plug->ClapPlugin();
    EXPECT_TRUE(clap->init(clap));
  }
  ~Instance() { clap->destroy(clap); }
  const clap_plugin_params_t* params() const {
    return static_cast<const clap_plugin_params_t*>(clap->get_extension(clap, CLAP_EXT_PARAMS));
  }
  bool process(EventList& in, int frames = 64) {
    std::vector<float> l(frames), r(frames);
    float* ch[2] = {l.data(), r.data()};
    clap_audio_buffer_t inBufs[2] = {{ch, nullptr, 2, 0, 0}, {ch, nullptr, 2, 0, 0}};
    clap_audio_buffer_t outBuf = {ch, nullptr, 2, 0, 0};
    clap_output_events_t out = host.outList();
    clap_process_t p{0, static_cast<uint32_t>(frames), nullptr, inBufs, &outBuf, 2, 1, &in.list, &out};
    return clap->process(clap, &p) == CLAP_PROCESS_CONTINUE;
  }
};

}  // namespace

TEST(ClapAdapter, EditorEditsReachTheHostAsGesturesThroughFlushOrProcess) {
  Instance inst;
  const auto* params = inst.params();
  // Idle: the edit asks for a flush, and the flush hands over begin, the plain value, end.
  inst.plug->BeginInformHostOfParamChange(Quorvane::kThreshold);
  inst.plug->SetParameterFromGUI(Quorvane::kThreshold, 0.25);
  inst.plug->EndInformHostOfParamChange(Quorvane::kThreshold);
  EXPECT_GE(inst.host.flushRequests, 1);
  double v = 0;
  ASSERT_TRUE(params->get_value(inst.clap, Quorvane::kThreshold, &v));
  EXPECT_EQ(v, -7.5);  // current before the host has heard
  EventList none;
  clap_output_events_t out = inst.host.outList();
  params->flush(inst.clap, &none.list, &out);
  ASSERT_EQ(inst.host.out.size(), 3u);
  EXPECT_EQ(inst.host.out[0].header.type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(inst.host.out[1].header.type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(inst.host.out[1].value, -7.5);
  EXPECT_EQ(inst.host.out[2].header.type, CLAP_EVENT_PARAM_GESTURE_END);
  for (const auto& e : inst.host.out) EXPECT_EQ(e.param_id, static_cast<clap_id>(Quorvane::kThreshold));

  // Processing: the next block carries them, and nothing asks the host to flush from in there.
  inst.host.out.clear();
  ASSERT_TRUE(inst.clap->activate(inst.clap, 48000, 1, 64));
  inst.plug->BeginInformHostOfParamChange(Quorvane::kRatio);
  inst.plug->SetParameterFromGUI(Quorvane::kRatio, 1.0);
  inst.plug->EndInformHostOfParamChange(Quorvane::kRatio);
  const int requests = inst.host.flushRequests;
  ASSERT_TRUE(inst.process(none));
  EXPECT_EQ(inst.host.flushRequests, requests);
  ASSERT_EQ(inst.host.out.size(), 3u);
  EXPECT_EQ(inst.host.out[1].value, 5.0);
  inst.clap->deactivate(inst.clap);
}

TEST(ClapAdapter, TheLastValueOfABlockIsTheOneTheChainGets) {
  Instance inst;
  ASSERT_TRUE(inst.clap->activate(inst.clap, 48000, 1, 64));
  EventList in;
  in.add(Quorvane::kThreshold, -10.0, 0);
  in.add(Quorvane::kThreshold, 2.0, 10);
  in.add(Quorvane::kThreshold, std::nan(""), 20);  // ignored, not stored
  in.add(Quorvane::kRatio, 2.7, 30);               // stepped: lands on a step
  in.add(IPluginCLAP::kBypassParam, 1.0, 40);
  in.add(9999, 1.0, 50);  // no such parameter
  ASSERT_TRUE(inst.process(in));
  auto* q = static_cast<Quorvane*>(inst.plug);
  EXPECT_EQ(q->Settings().thresholdPos, 2.0);
  EXPECT_EQ(q->GetParam(Quorvane::kRatio)->GetValue(), 3.0);
  EXPECT_TRUE(q->IsBypassed());
  inst.clap->deactivate(inst.clap);
}

TEST(ClapAdapter, AFullEditorQueueKeepsGesturesWholeAndTheLatestValue) {
  ParamEventQueue q(4);
  EXPECT_TRUE(q.Push(ParamEventQueue::Kind::kBegin, 7, 0));
  for (int i = 0; i < 100; ++i) q.Push(ParamEventQueue::Kind::kValue, 7, i);
  EXPECT_TRUE(q.Push(ParamEventQueue::Kind::kEnd, 7, 0));
  ASSERT_EQ(q.Size(), 4u);
  EXPECT_EQ(q[0].kind, ParamEventQueue::Kind::kBegin);
  EXPECT_EQ(q[2].value, 99.0);
  EXPECT_EQ(q[3].kind, ParamEventQueue::Kind::kEnd);
  q.Consume(3);
  ASSERT_EQ(q.Size(), 1u);
  EXPECT_EQ(q[0].kind, ParamEventQueue::Kind::kEnd);
}

// The main ports are offered as an in-place pair: a host may hand the same buffers in and out.
TEST(ClapAdapter, InPlaceBuffersGiveTheSameOutputAsSeparateOnes) {
  for (bool f64 : {false, true}) {
    std::vector<std::vector<double>> results;
    for (bool inPlace : {false, true}) {
      Instance inst;
      ASSERT_TRUE(inst.clap->activate(inst.clap, 48000, 1, 256));
      EventList in;
      in.add(Quorvane::kThreshold, -15.0, 0);
      in.add(Quorvane::kMakeUpGain, 6.0, 0);
      in.add(Quorvane::kXFormer, 1.0, 0);
      std::vector<double> l64(256), r64(256), ol64(256), or64(256), key(256, 0.0);
      std::vector<float> l32(256), r32(256), ol32(256), or32(256), key32(256, 0.0f);
      std::vector<double> all;
      for (int block = 0; block < 8; ++block) {
        for (int i = 0; i < 256; ++i) {
          const double t = (block * 256 + i) / 48000.0;
          l64[i] = 0.8 * std::sin(t * 2000.0);
          r64[i] = 0.6 * std::sin(t * 3100.0);
          l32[i] = static_cast<float>(l64[i]);
          r32[i] = static_cast<float>(r64[i]);
        }
        double* in64[2] = {l64.data(), r64.data()};
        double* out64[2] = {inPlace ? l64.data() : ol64.data(), inPlace ? r64.data() : or64.data()};
        double* key64[2] = {key.data(), key.data()};
        float* in32[2] = {l32.data(), r32.data()};
        float* out32[2] = {inPlace ? l32.data() : ol32.data(), inPlace ? r32.data() : or32.data()};
        float* k32[2] = {key32.data(), key32.data()};
        clap_audio_buffer_t ins[2] = {{f64 ? nullptr : in32, f64 ? in64 : nullptr, 2, 0, 0},
                                      {f64 ? nullptr : k32, f64 ? key64 : nullptr, 2, 0, 0}};
        clap_audio_buffer_t outs = {f64 ? nullptr : out32, f64 ? out64 : nullptr, 2, 0, 0};
        clap_output_events_t out = inst.host.outList();
        clap_process_t p{-1, 256, nullptr, ins, &outs, 2, 1, &in.list, &out};
        ASSERT_EQ(inst.clap->process(inst.clap, &p), CLAP_PROCESS_CONTINUE);
        in.events.clear();
        for (int c = 0; c < 2; ++c)
          for (int i = 0; i < 256; ++i) all.push_back(f64 ? out64[c][i] : out32[c][i]);
      }
      inst.clap->deactivate(inst.clap);
      results.push_back(all);
    }
    EXPECT_TRUE(results[0] == results[1]) << (f64 ? "64-bit" : "32-bit");
  }
}
