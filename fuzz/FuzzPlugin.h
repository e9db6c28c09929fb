// The framework fuzzers' plug-in: the shared fake with every parameter kind, four named preset slots
// and, by default, the state-is-chunk flag, so all four program and bank forms are accepted. After
// any load its parameters must still be finite and inside their ranges.
#pragma once

#include "support/FakePlugin.h"

#include <cstdio>
#include <cstdlib>

constexpr int kFuzzUniqueId = 0x51764678;  // "QvFx": the seed corpora carry it

inline FakePlugin::Options FuzzPluginOptions(bool stateChunks = true) {
  FakePlugin::Options o;
  o.nPresets = 4;
  o.stateChunks = stateChunks;
  o.uniqueId = kFuzzUniqueId;
  o.presetName = "-";
  o.logCalls = false;
  return o;
}

// Aborts (a finding) when a loader let a parameter leave its range or become non-finite.
inline void AbortUnlessSane(const FakePlugin& plug) {
  const int i = plug.FirstParamOutOfRange();
  if (i < 0) return;
  const IParam* p = plug.GetParam(i);
  std::fprintf(stderr, "parameter %d holds %g outside %g..%g\n", i, p->GetValue(), p->GetMin(), p->GetMax());
  std::abort();
}
