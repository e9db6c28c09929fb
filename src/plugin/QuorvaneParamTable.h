// The parameter table: every parameter's name, range, default and, for the stepped ones, the value
// each step stands for. It is the one place they are written: the plug-in makes its parameters
// from it, the DSP settings take their defaults from it through the same mapping the plug-in
// applies to every change (ApplyQuorvaneParam), and a test holds the README's table against it.
#pragma once

#include "plugin/QuorvaneParams.h"
#include "plugin/QuorvaneSettings.h"

struct QuorvaneParamRow {
  int idx;
  const char* name;
  double def, min, max;
  // Continuous parameters: a value in min..max with this display shape. Others (switches and
  // stepped choices) take whole numbers.
  bool continuous;
  double shape;
  // A stepped choice's values, one per index min..max; null for the others.
  const double* steps;
};

// Parameters 1 .. kNumParams - 1 in index order (0 is reserved).
extern const QuorvaneParamRow kQuorvaneParamTable[QuorvaneParams::kNumParams - 1];

// A parameter's value turned into the settings the chain reads. A value that is not finite, or
// selects no step, leaves the settings as they were. The switches are read by the chain itself and
// change nothing here. Any thread; the plug-in calls it under its mutex (OnParamChange).
void ApplyQuorvaneParam(QuorvaneSettings& settings, int paramIdx, double value);
