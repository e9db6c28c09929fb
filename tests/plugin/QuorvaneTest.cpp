// The plug-in class: identity, parameter set, parameter mapping into the DSP, the default preset and
// the processing entry.
#include "plugin/Quorvane.h"
#include "plugin/TestSignals.h"
#include "vst3/PluginModule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct PlugDeleter {
  void operator()(IPluginVST3* p) const { p->release(); }
};
using PlugPtr = std::unique_ptr<IPluginVST3, PlugDeleter>;

Quorvane* Fresh(PlugPtr& holder) {
  holder.reset(MakePlug());
  auto* q = dynamic_cast<Quorvane*>(holder.get());
  if (q) q->OnParamReset();
  return q;
}

void SetAndNotify(Quorvane* q, int idx, double value) {
  q->GetParam(idx)->SetValue(value);
  q->OnParamChange(idx);
}

}  // namespace

TEST(Quorvane, IdentityAndChannels) {
  PlugPtr holder;
  Quorvane* q = Fresh(holder);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(q) % alignof(Quorvane), 0u);  // its own operator new
  EXPECT_STREQ(q->GetEffectName(), "Quorvane");
  EXPECT_STREQ(q->GetProductName(), "");
  EXPECT_STREQ(q->GetMakerName(), "Tallowmarkworks");
  EXPECT_EQ(q->GetEffectVersion(false), 0x00010100);
  EXPECT_EQ(q->GetUniqueId(), ('Q' << 24) | ('v' << 16) | ('r' << 8) | '1');
  EXPECT_EQ(q->GetMakerId(), ('T' << 24) | ('m' << 16) | ('w' << 8) | 'k');
  EXPECT_EQ(q->GetLatency(), 0);
  EXPECT_FALSE(q->DoesMidi());
  EXPECT_FALSE(q->DoesStateChunks());
  EXPECT_FALSE(q->IsInstrument());
  EXPECT_EQ(q->GetInputChannelCount(), 4);
  EXPECT_EQ(q->GetOutputChannelCount(), 2);
  EXPECT_TRUE(q->LegalIO(2, 2));
  EXPECT_TRUE(q->LegalIO(4, 2));
  EXPECT_FALSE(q->LegalIO(3, 2));
}

TEST(Quorvane, ParameterSetAndDefaultPreset) {
  PlugPtr holder;
  Quorvane* q = Fresh(holder);
  ASSERT_EQ(q->GetParamCount(), 17);
  EXPECT_STREQ(q->GetParam(0)->GetNameForHost(), "");
  EXPECT_EQ(q->GetParam(0)->GetType(), IParam::kParamNone);

  const struct {
    int idx;
    const char* name;
    double def, min, max, shape;
    bool isInt;
  } table[] = {
      {Quorvane::kBoost, "Boost", 0, 0, 10, 1, false},
      {Quorvane::kHF, "HF", 0, -10, 0, 1, false},
      {Quorvane::kHPF, "HPF", 20, 20, 500, 2, false},
      {Quorvane::kMakeUpGain, "Make-Up Gain", 0, 0, 15, 1, false},
      {Quorvane::kMidGain, "Mid Gain", 0, -6, 6, 1, false},
      {Quorvane::kCompressorMix, "Compressor Mix", 100, 0, 100, 1, false},
      {Quorvane::kThreshold, "Threshold", 15, -15, 15, 1, false},
      {Quorvane::kTransientMix, "Transient Mix", 0, 0, 100, 1, false},
      {Quorvane::kTransientTilt, "Transient Tilt", 0.75, 0.25, 1.25, 1, false},
      {Quorvane::kAttackTime, "Attack Time", 0, 0, 5, 1, true},
      {Quorvane::kBypass, "Bypass", 1, 0, 1, 1, true},
      {Quorvane::kExternalSidechain, "External Sidechain", 0, 0, 1, 1, true},
      {Quorvane::kRatio, "Ratio", 0, 0, 5, 1, true},
      {Quorvane::kReleaseTime, "Release Time", 0, 0, 4, 1, true},
      {Quorvane::kTurbo, "Turbo", 0, 0, 1, 1, true},
      {Quorvane::kXFormer, "XFormer", 0, 0, 1, 1, true},
  };
  for (const auto& t : table) {
    SCOPED_TRACE(t.name);
    const IParam* p = q->GetParam(t.idx);
    EXPECT_STREQ(p->GetNameForHost(), t.name);
    EXPECT_EQ(p->GetType(), t.isInt ? IParam::kParamInt : IParam::kParamDouble);
    EXPECT_EQ(p->GetDefault(), t.def);
    EXPECT_EQ(p->GetValue(), t.def);
    EXPECT_EQ(p->GetMin(), t.min);
    EXPECT_EQ(p->GetMax(), t.max);
    EXPECT_EQ(p->GetShape(), t.shape);
    EXPECT_EQ(p->GetStep(), t.isInt ? 1.0 : 0.01);
    EXPECT_STREQ(p->GetLabelForHost(), t.isInt ? "" : "%");
  }

  ASSERT_EQ(q->GetPresetCount(), 1);
  EXPECT_STREQ(q->GetPresetName(0), "-");
  SetAndNotify(q, Quorvane::kBoost, 7.0);
  ASSERT_TRUE(q->RestorePreset(0));
  EXPECT_EQ(q->GetParam(Quorvane::kBoost)->GetValue(), 0.0);
  EXPECT_EQ(q->Settings().boostGain, 1.0);
}

TEST(Quorvane, ParameterMappingIntoTheDsp) {
  PlugPtr holder;
  Quorvane* q = Fresh(holder);
  const QuorvaneSettings& s = q->Settings();
  EXPECT_EQ(s.compMix, 1.0);
  EXPECT_EQ(s.transientTilt, 0.75);

  const double attack[] = {0.1, 0.3, 10, 30, 100, 300};
  for (int i = 0; i < 6; ++i) {
    SetAndNotify(q, Quorvane::kAttackTime, i);
    EXPECT_EQ(s.attackMs, attack[i]);
  }
  const double ratio[] = {1.5, 2, 3, 4, 5, 10}, knee[] = {0.95, 0.9, 0.8, 0.7, 0.6, 0.3};
  for (int i = 0; i < 6; ++i) {
    SetAndNotify(q, Quorvane::kRatio, i);
    EXPECT_EQ(s.ratio, ratio[i]);
    EXPECT_EQ(s.kneeFactor, knee[i]);
  }
  const double release[] = {100, 300, 600, 1200, 2000};
  for (int i = 0; i < 5; ++i) {
    SetAndNotify(q, Quorvane::kReleaseTime, i);
    EXPECT_EQ(s.releaseMs, release[i]);
  }
  SetAndNotify(q, Quorvane::kBoost, 10.0);
  EXPECT_NEAR(s.boostGain, 3.16227766, 1e-8);
  SetAndNotify(q, Quorvane::kMakeUpGain, 15.0);
  EXPECT_NEAR(s.makeUpGain, 5.62341325, 1e-8);
  SetAndNotify(q, Quorvane::kCompressorMix, 40.0);
  EXPECT_DOUBLE_EQ(s.compMix, 0.4);
  SetAndNotify(q, Quorvane::kTransientMix, 25.0);
  EXPECT_DOUBLE_EQ(s.transientMix, 0.25);
  SetAndNotify(q, Quorvane::kHF, -7.5);
  EXPECT_EQ(s.hfDb, -7.5);
  SetAndNotify(q, Quorvane::kMidGain, 3.0);
  EXPECT_EQ(s.midGainDb, 3.0);
  SetAndNotify(q, Quorvane::kHPF, 300.0);
  EXPECT_EQ(s.hpfPos, 300.0);
  SetAndNotify(q, Quorvane::kTransientTilt, 1.1);
  EXPECT_EQ(s.transientTilt, 1.1);
  SetAndNotify(q, Quorvane::kThreshold, -15.0);
  EXPECT_EQ(s.thresholdPos, -15.0);

  // The switches reach the chain directly; the cached values do not move.
  const QuorvaneSettings before = s;
  for (int idx : {(int)Quorvane::kBypass, (int)Quorvane::kTurbo, (int)Quorvane::kXFormer,
                  (int)Quorvane::kExternalSidechain})
    SetAndNotify(q, idx, q->GetParam(idx)->GetInt() ? 0.0 : 1.0);
  q->OnParamChange(0);
  EXPECT_EQ(std::memcmp(&before, &s, sizeof s), 0);
  q->OnParamChange(-1);
  q->OnParamChange(17);
}

TEST(Quorvane, ThresholdPositionMapsToDecibels) {
  for (const auto& c : {std::pair<double, double>{15.0, -5.0}, {-15.0, -40.0}, {0.0, -22.5}}) {
    PlugPtr holder;
    Quorvane* q = Fresh(holder);
    SetAndNotify(q, Quorvane::kThreshold, c.first);
    q->SetSampleRate(48000.0);
    q->Reset();
    double zero[4][8] = {};
    double* in[4] = {zero[0], zero[1], zero[2], zero[3]};
    double out[2][8];
    double* o[2] = {out[0], out[1]};
    q->ProcessDoubleReplacing(in, o, 8);
    EXPECT_DOUBLE_EQ(q->Chain().ThresholdTargetDb(), c.second);
  }
}

TEST(Quorvane, ProcessingRunsTheChainWithTheCachedSettingsAndSwitches) {
  PlugPtr holder;
  Quorvane* q = Fresh(holder);
  SetAndNotify(q, Quorvane::kThreshold, -12.0);
  SetAndNotify(q, Quorvane::kRatio, 3);
  SetAndNotify(q, Quorvane::kTransientMix, 50.0);
  SetAndNotify(q, Quorvane::kXFormer, 1);
  SetAndNotify(q, Quorvane::kTurbo, 1);
  q->SetSampleRate(44100.0);
  q->Reset();
  EXPECT_EQ(q->Chain().Comp().gainComputer().ratio(), 4.0);  // "Ratio" 3
  EXPECT_EQ(q->Chain().Comp().detector().sampleRate(), 44100.0);

  auto chain = std::make_unique<QuorvaneChain>();
  QuorvaneSwitches sw;
  sw.xformer = 1;
  sw.turbo = 1;
  chain->Reset(q->Settings(), 44100.0);

  const int n = 4096;
  StereoSignal sig(n, 44100.0);
  StereoOutput viaPlug(n), viaChain(n);
  for (int pos = 0; pos < n; pos += 512) {
    double* in[4];
    for (int c = 0; c < 4; ++c) in[c] = sig.ch[c].data() + pos;
    double* o[2] = {viaPlug.l.data() + pos, viaPlug.r.data() + pos};
    q->ProcessDoubleReplacing(in, o, 512);
    double* o2[2] = {viaChain.l.data() + pos, viaChain.r.data() + pos};
    chain->Process(in, o2, 512, q->Settings(), sw, 44100.0);
  }
  EXPECT_EQ(std::memcmp(viaPlug.l.data(), viaChain.l.data(), n * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(viaPlug.r.data(), viaChain.r.data(), n * sizeof(double)), 0);
  EXPECT_LT(q->Chain().GainReductionDb(), 0.0);
}
