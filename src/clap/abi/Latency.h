// latency: the plug-in's delay in samples, which may only change while it is being activated.
#pragma once

#include "clap/abi/Plugin.h"

extern "C" {

static const char CLAP_EXT_LATENCY[] = "clap.latency";

typedef struct clap_plugin_latency {
  uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);  // main, activating or active
} clap_plugin_latency_t;

typedef struct clap_host_latency {
  void(CLAP_ABI* changed)(const clap_host_t* host);  // main, only inside activate
} clap_host_latency_t;

}  // extern "C"
