// How an effect is run: rate, largest block, sample size and mode, sidechain, transport tempo.
// The sample size and mode take the VST 3 constants; the CLAP processor maps them.
#pragma once

#include "vst3/abi/AudioProcessor.h"

namespace qvhost {

struct ProcessConfig {
  double sampleRate = 48000;
  vst3abi::int32 maxBlock = 512;
  vst3abi::int32 symbolicSampleSize = vst3abi::kSample32;
  vst3abi::int32 processMode = vst3abi::kRealtime;
  bool sidechain = false;  // activate and feed the first aux input bus
  double tempo = 120;
};

}  // namespace qvhost
