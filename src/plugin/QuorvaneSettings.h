// The DSP values the parameter handler caches for the signal chain, and the four switches the chain
// reads from the parameters on every block.
#pragma once

struct QuorvaneSettings {
  // Defaults match the parameters' defaults, so a chain is usable before the first parameter sweep.
  double attackMs = 0.1;
  double boostGain = 1.0;
  double hfDb = 0.0;
  double hpfPos = 20.0;
  double makeUpGain = 1.0;
  double midGainDb = 0.0;
  double compMix = 1.0;
  double ratio = 1.5;
  double releaseMs = 100.0;
  double thresholdPos = 15.0;
  double transientMix = 0.0;
  double transientTilt = 0.75;
  double kneeFactor = 0.95;
};

struct QuorvaneSwitches {
  int bypass = 1;  // 1 processes, 0 passes the input through
  int externalSidechain = 0;
  int turbo = 0;
  int xformer = 0;
};
