// The parameter table and the mapping from parameter values to DSP settings.
#include "plugin/QuorvaneParamTable.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kAttackMs[] = {0.1, 0.3, 10.0, 30.0, 100.0, 300.0};
constexpr double kRatios[] = {1.5, 2.0, 3.0, 4.0, 5.0, 10.0};
// The compressor's knee follows the ratio: softer for the gentle ratios.
constexpr double kKneeFactors[] = {0.95, 0.9, 0.8, 0.7, 0.6, 0.3};
constexpr double kReleaseMs[] = {100.0, 300.0, 600.0, 1200.0, 2000.0};

using P = QuorvaneParams;

// The selector is the value truncated toward zero; false for values that select no entry.
bool Select(double value, int count, int* index) {
  if (!(value > -1.0 && value < count)) return false;
  *index = static_cast<int>(value);
  return true;
}

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }

}  // namespace

const QuorvaneParamRow kQuorvaneParamTable[QuorvaneParams::kNumParams - 1] = {
    {P::kBoost, "Boost", 0.0, 0.0, 10.0, true, 1.0, nullptr},
    {P::kHF, "HF", 0.0, -10.0, 0.0, true, 1.0, nullptr},
    {P::kHPF, "HPF", 20.0, 20.0, 500.0, true, 2.0, nullptr},
    {P::kMakeUpGain, "Make-Up Gain", 0.0, 0.0, 15.0, true, 1.0, nullptr},
    {P::kMidGain, "Mid Gain", 0.0, -6.0, 6.0, true, 1.0, nullptr},
    {P::kCompressorMix, "Compressor Mix", 100.0, 0.0, 100.0, true, 1.0, nullptr},
    {P::kThreshold, "Threshold", 15.0, -15.0, 15.0, true, 1.0, nullptr},
    {P::kTransientMix, "Transient Mix", 0.0, 0.0, 100.0, true, 1.0, nullptr},
    {P::kTransientTilt, "Transient Tilt", 0.75, 0.25, 1.25, true, 1.0, nullptr},
    {P::kAttackTime, "Attack Time", 0, 0, 5, false, 1.0, kAttackMs},
    {P::kBypass, "Bypass", 1, 0, 1, false, 1.0, nullptr},
    {P::kExternalSidechain, "External Sidechain", 0, 0, 1, false, 1.0, nullptr},
    {P::kRatio, "Ratio", 0, 0, 5, false, 1.0, kRatios},
    {P::kReleaseTime, "Release Time", 0, 0, 4, false, 1.0, kReleaseMs},
    {P::kTurbo, "Turbo", 0, 0, 1, false, 1.0, nullptr},
    {P::kXFormer, "XFormer", 0, 0, 1, false, 1.0, nullptr},
};

void ApplyQuorvaneParam(QuorvaneSettings& s, int paramIdx, double value) {
  if (!std::isfinite(value)) return;  // a damaged value keeps the last good setting
  int sel = 0;
  switch (paramIdx) {
    case P::kBoost:
      s.boostGain = DbToGain(value);
      break;
    case P::kHF:
      s.hfDb = value;
      break;
    case P::kHPF:
      s.hpfPos = value;
      break;
    case P::kMakeUpGain:
      s.makeUpGain = DbToGain(value);
      break;
    case P::kMidGain:
      s.midGainDb = value;
      break;
    case P::kCompressorMix:
      s.compMix = value / 100.0;
      break;
    case P::kThreshold:
      s.thresholdPos = value;
      break;
    case P::kTransientMix:
      s.transientMix = value / 100.0;
      break;
    case P::kTransientTilt:
      s.transientTilt = value;
      break;
    case P::kAttackTime:
      if (Select(value, static_cast<int>(std::size(kAttackMs)), &sel)) s.attackMs = kAttackMs[sel];
      break;
    case P::kRatio:
      if (Select(value, static_cast<int>(std::size(kRatios)), &sel)) {
        s.ratio = kRatios[sel];
        s.kneeFactor = kKneeFactors[sel];
      }
      break;
    case P::kReleaseTime:
      if (Select(value, static_cast<int>(std::size(kReleaseMs)), &sel)) s.releaseMs = kReleaseMs[sel];
      break;
    default:
      break;
  }
}

QuorvaneSettings::QuorvaneSettings() {
  for (const QuorvaneParamRow& p : kQuorvaneParamTable) ApplyQuorvaneParam(*this, p.idx, p.def);
}
