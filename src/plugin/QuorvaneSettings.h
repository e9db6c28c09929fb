// The DSP values the parameter handler caches for the signal chain, and the four switches the chain
// reads from the parameters on every block.
#pragma once

struct QuorvaneSettings {
  // The parameters' defaults, each through the mapping the plug-in applies to a change
  // (QuorvaneParamTable), so a chain is usable before the first parameter sweep.
  QuorvaneSettings();

  double attackMs = 0.0;
  double boostGain = 0.0;
  double hfDb = 0.0;
  double hpfPos = 0.0;
  double makeUpGain = 0.0;
  double midGainDb = 0.0;
  double compMix = 0.0;
  double ratio = 0.0;
  double releaseMs = 0.0;
  double thresholdPos = 0.0;
  double transientMix = 0.0;
  double transientTilt = 0.0;
  double kneeFactor = 0.0;
};

struct QuorvaneSwitches {
  int bypass = 1;  // 1 processes, 0 passes the input through
  int externalSidechain = 0;
  int turbo = 0;
  int xformer = 0;
};
