// Shared checks of the plug-in fuzzers: one block of a sine through any format's processor must
// come out finite; the built CLAP plug-in loaded the way a host loads it.
#pragma once

#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "host/effect/EffectProcessor.h"
#include "host/vst3/BlockProcessor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

inline void ProcessesFinite(qvhost::EffectProcessor& proc, bool sidechain) {
  qvhost::ProcessConfig config;
  config.maxBlock = 64;
  config.sidechain = sidechain;
  std::string error;
  if (!proc.start(config, &error)) std::abort();
  double in[2][64], out[2][64];
  for (int i = 0; i < 64; i++) in[0][i] = in[1][i] = std::sin(i * 0.3) * 0.9;
  const double* inPtr[2] = {in[0], in[1]};
  double* outPtr[2] = {out[0], out[1]};
  if (!proc.process(inPtr, sidechain ? inPtr : nullptr, outPtr, 64, &error)) std::abort();
  for (int c = 0; c < 2; c++)
    for (int i = 0; i < 64; i++)
      if (!std::isfinite(out[c][i])) std::abort();
}

#if defined(QV_CLAP_PATH)
struct FuzzClap {
  std::unique_ptr<qvhost::ClapModule> module;
  std::unique_ptr<qvhost::ClapPlugin> plugin;
  std::vector<qvhost::ClapParameter> params;

  FuzzClap() {
    std::string error;
    module = qvhost::ClapModule::load(QV_CLAP_PATH, &error);
    plugin = module ? qvhost::ClapPlugin::create(*module, *module->find(), &error) : nullptr;
    if (!plugin) {
      std::fprintf(stderr, "cannot load %s: %s\n", QV_CLAP_PATH, error.c_str());
      std::abort();
    }
    params = plugin->parameters();
  }
};
#endif
