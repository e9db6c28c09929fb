// The built bundle driven by a host that behaves as badly as real ones do: thousands of randomized
// sessions with wild sample rates and block sizes (none, one, odd, the announced maximum and more
// than it), both sample widths, the sidechain bus and setActive/setProcessing flipped between
// blocks, several points per parameter queue with invalid ids and NaN, infinite or out-of-range
// values, state saved and restored mid-stream, and input carrying NaN, Inf, 1e30 and denormals.
//
// Every block must come back finite and bounded sample by sample. The program path has no filters:
// the input saturation gives at most |in| + 0.06 (soft voicing) or 2 (transformer voicing), the
// compressor only lowers the level, the largest make-up is 15 dB (x5.62) and the dry/wet mix adds
// at most the dry sample, so |out| <= 6 (|in| + 2), where a non-finite input sample counts as
// silence. State round trips must be exact and processing must not allocate.
#include "AllocationCounter.h"
#include "TortureInputs.h"
#include "host/vst3/MemoryStream.h"
#include "host/vst3/Module.h"
#include "host/vst3/ParameterChanges.h"
#include "host/vst3/PluginInstance.h"
#include "vst3/abi/AllInterfaces.h"
#include "vst3/abi/ResultCodes.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace vst3abi;
using namespace qvhost;

namespace {

// Host-side buffers of one width for main in, sidechain in and main out, at least frames long.
struct Buffers {
  std::vector<std::vector<double>> in64, out64;
  std::vector<std::vector<float>> in32, out32;
  std::vector<double*> p64[3];
  std::vector<float*> p32[3];
  AudioBusBuffers in[2]{}, out{};

  void Prepare(bool f64, int frames) {
    const size_t n = static_cast<size_t>(frames ? frames : 1);
    in64.assign(4, std::vector<double>(n));
    out64.assign(2, std::vector<double>(n, 12345.0));
    in32.assign(4, std::vector<float>(n));
    out32.assign(2, std::vector<float>(n, 12345.0f));
    for (int b = 0; b < 3; b++) {
      p64[b].clear();
      p32[b].clear();
      for (int c = 0; c < 2; c++) {
        p64[b].push_back(b < 2 ? in64[b * 2 + c].data() : out64[c].data());
        p32[b].push_back(b < 2 ? in32[b * 2 + c].data() : out32[c].data());
      }
    }
    for (int b = 0; b < 3; b++) {
      AudioBusBuffers& bus = b < 2 ? in[b] : out;
      bus.numChannels = 2;
      bus.silenceFlags = 0;
      if (f64)
        bus.channelBuffers64 = p64[b].data();
      else
        bus.channelBuffers32 = p32[b].data();
    }
  }
};

std::vector<uint8_t> SaveController(IEditController* ctl) {
  auto s = Ref<MemoryStream>::adopt(new MemoryStream);
  EXPECT_EQ(ctl->getControllerState(s.get()), kResultOk);
  return s->data();
}

tresult LoadController(IEditController* ctl, const std::vector<uint8_t>& bytes) {
  auto s = Ref<MemoryStream>::adopt(new MemoryStream(bytes));
  return ctl->setControllerState(s.get());
}

// Checks one block's output against its main input; returns false after the first failure.
bool CheckBlock(const Buffers& b, bool f64, int frames, const char* what) {
  for (int c = 0; c < 2; c++)
    for (int i = 0; i < frames; i++) {
      const double in = f64 ? b.in64[c][i] : b.in32[c][i];
      const double out = f64 ? b.out64[c][i] : b.out32[c][i];
      const double bound = 6.0 * ((std::isfinite(in) ? std::fabs(in) : 0.0) + 2.0);
      if (!std::isfinite(out) || std::fabs(out) > bound) {
        ADD_FAILURE() << what << ": channel " << c << " sample " << i << " of " << frames << " gives " << out
                      << " for input " << in;
        return false;
      }
    }
  return true;
}

}  // namespace

TEST(BundleTorture, RandomizedSessionsStayFiniteBoundedExactAndAllocationFree) {
  std::string error;
  auto module = Module::load(QV_BUNDLE_PATH, &error);
  ASSERT_NE(module, nullptr) << error;
  const ClassInfo* cls = module->findAudioEffect("Quorvane");
  ASSERT_NE(cls, nullptr);

  {
    alloccount::Scope probe;
    // Kept in a volatile so an optimising build cannot elide the pair.
    int* volatile probed = new int(1);
    delete probed;
    ASSERT_GT(probe.count(), 0) << "the allocation counter sees nothing";
  }

  Torture t(20261208);
  ParameterChangeList changes;
  Buffers buf;
  ProcessContext context{};
  int sessions = 0, blocks = 0;
  for (int instance = 0; instance < 40; instance++) {
    auto inst = PluginInstance::create(*module, *cls, &error);
    ASSERT_NE(inst, nullptr) << error;
    IComponent* comp = inst->component();
    IAudioProcessor* proc = inst->processor();
    IEditController* ctl = inst->controller();
    std::vector<uint8_t> saved;
    for (int s = 0; s < 50; s++, sessions++) {
      const bool f64 = t.Chance(0.5);
      ProcessSetup setup{t.Chance(0.8) ? kRealtime : kOffline, f64 ? kSample64 : kSample32, t.MaxBlock(),
                         t.SampleRate()};
      ASSERT_EQ(proc->setupProcessing(&setup), kResultOk)
          << setup.sampleRate << " Hz, block " << setup.maxSamplesPerBlock;
      bool sidechain = t.Chance(0.5);
      comp->activateBus(kAudio, kInput, 1, sidechain);
      comp->setActive(1);
      proc->setProcessing(1);
      const int nBlocks = t.Int(1, 8);
      for (int k = 0; k < nBlocks; k++, blocks++) {
        // Hosts flip these at odd moments.
        if (t.Chance(0.05)) proc->setProcessing(t.Chance(0.5));
        if (t.Chance(0.03)) comp->setActive(t.Chance(0.7));
        if (t.Chance(0.1)) comp->activateBus(kAudio, kInput, 1, sidechain = !sidechain);
        // A state saved now is restored some blocks later, possibly in another session.
        if (t.Chance(0.08)) {
          if (saved.empty() || t.Chance(0.5)) {
            saved = SaveController(ctl);
            ASSERT_EQ(saved.size(), 140u);
          } else {
            ASSERT_EQ(LoadController(ctl, saved), kResultOk);
            ASSERT_EQ(SaveController(ctl), saved) << "state did not round-trip exactly";
          }
        }

        const int frames = t.Frames(setup.maxSamplesPerBlock);
        buf.Prepare(f64, frames);
        for (int c = 0; c < 4; c++)
          for (int i = 0; i < frames; i++) {
            const double v = t.Sample();
            buf.in64[c][i] = v;
            buf.in32[c][i] = static_cast<float>(v);
          }
        changes.clear();
        const int nQueues = t.Int(0, 4);
        for (int q = 0; q < nQueues; q++) {
          ParamValueQueue* queue = changes.queueFor(t.Id());
          const int nPoints = t.Int(1, 4);
          for (int p = 0; p < nPoints; p++) queue->addPoint(t.Int(-2, frames + 2), t.Value(), nullptr);
        }
        context.sampleRate = setup.sampleRate;
        context.tempo = t.Uniform(20, 300);
        ProcessData data{setup.processMode,
                         setup.symbolicSampleSize,
                         frames,
                         sidechain ? 2 : 1,
                         1,
                         buf.in,
                         &buf.out,
                         &changes,
                         nullptr,
                         nullptr,
                         nullptr,
                         t.Chance(0.9) ? &context : nullptr};
        long allocations;
        {
          alloccount::Scope scope;
          proc->process(&data);
          allocations = scope.count();
        }
        ASSERT_EQ(allocations, 0) << "process allocated, block of " << frames;
        if (!CheckBlock(buf, f64, frames, f64 ? "64-bit" : "32-bit")) {
          FAIL() << "session " << sessions << " block " << k << " at " << setup.sampleRate
                 << " Hz, max block " << setup.maxSamplesPerBlock;
        }
      }
      proc->setProcessing(0);
      comp->setActive(0);
    }
  }
  EXPECT_EQ(sessions, 2000);
  RecordProperty("blocks", blocks);
}
