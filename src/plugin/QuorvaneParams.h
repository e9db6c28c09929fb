// Quorvane's parameter indices, apart from the plug-in class so the editor layout and tests can
// name parameters without the plug-in API adapter.
#pragma once

struct QuorvaneParams {
  enum EParams {
    kReserved0 = 0,
    kBoost,
    kHF,
    kHPF,
    kMakeUpGain,
    kMidGain,
    kCompressorMix,
    kThreshold,
    kTransientMix,
    kTransientTilt,
    kAttackTime,
    kBypass,
    kExternalSidechain,
    kRatio,
    kReleaseTime,
    kTurbo,
    kXFormer,
    kNumParams
  };
};
