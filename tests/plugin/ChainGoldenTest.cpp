// Pins the exact sound: checksums of the per-sample reference's output for a fixed synthetic input at
// several settings. The product's chain follows the reference to within 1e-9 (ChainOracleTest), so a
// change here is a change to what users hear and must be deliberate.
// To re-pin after an intended change, run with QV_PRINT_GOLDEN=1 and copy the printed values.
#include "plugin/ReferenceChain.h"
#include "plugin/TestSignals.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

uint64_t Fnv1a(const std::vector<double>& a, uint64_t h = 1469598103934665603ull) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(a.data());
  for (size_t i = 0; i < a.size() * sizeof(double); ++i) {
    h ^= p[i];
    h *= 1099511628211ull;
  }
  return h;
}

struct Golden {
  const char* name;
  double fs;
  void (*configure)(QuorvaneSettings&, QuorvaneSwitches&);
  uint64_t checksum;
};

const Golden kGolden[] = {
    {"defaults", 48000.0, [](QuorvaneSettings&, QuorvaneSwitches&) {}, 0x4f8c4e8887454d16ull},
    {"deep compression", 44100.0,
     [](QuorvaneSettings& s, QuorvaneSwitches&) {
       s.thresholdPos = -15.0;
       s.ratio = 10.0;
       s.kneeFactor = 0.3;
       s.attackMs = 0.3;
       s.releaseMs = 300.0;
       s.makeUpGain = std::pow(10.0, 9.0 / 20.0);
     },
     0xf0ec388367c4ae05ull},
    {"everything on", 48000.0,
     [](QuorvaneSettings& s, QuorvaneSwitches& sw) {
       sw.xformer = 1;
       sw.turbo = 1;
       sw.externalSidechain = 1;
       s.transientMix = 0.5;
       s.boostGain = std::pow(10.0, 5.0 / 20.0);
       s.thresholdPos = -8.0;
     },
     0x92f5945264c36415ull},
    {"transient detector", 96000.0,
     [](QuorvaneSettings& s, QuorvaneSwitches&) {
       s.transientMix = 1.0;
       s.transientTilt = 1.25;
       s.boostGain = std::pow(10.0, 0.5);
       s.hpfPos = 180.0;
       s.midGainDb = -4.0;
       s.hfDb = -6.0;
       s.thresholdPos = -10.0;
       s.ratio = 3.0;
       s.kneeFactor = 0.8;
       s.compMix = 0.7;
     },
     0x50caeb274aa56ed2ull},
    {"bypassed", 48000.0, [](QuorvaneSettings&, QuorvaneSwitches& sw) { sw.bypass = 0; },
     0x580d40d71ca92d24ull},
};

}  // namespace

TEST(ChainGolden, OutputChecksumsArePinned) {
  const bool print = std::getenv("QV_PRINT_GOLDEN") != nullptr;
  for (const Golden& g : kGolden) {
    SCOPED_TRACE(g.name);
    QuorvaneSettings s;
    QuorvaneSwitches sw;
    g.configure(s, sw);
    auto chain = std::make_unique<ReferenceChain>();
    chain->Reset(s, g.fs);
    StereoSignal sig(24000, g.fs, 3);
    StereoOutput out(sig.frames);
    RenderInBlocks(*chain, sig, out, s, sw, g.fs, 480);
    const uint64_t sum = Fnv1a(out.r, Fnv1a(out.l));
    if (print)
      std::printf("%-20s 0x%016" PRIx64 "ull\n", g.name, sum);
    else
      EXPECT_EQ(sum, g.checksum);
  }
}
