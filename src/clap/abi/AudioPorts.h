// audio-ports: the plug-in's audio inputs and outputs, scanned while deactivated.
#pragma once

#include "clap/abi/Plugin.h"

extern "C" {

static const char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
static const char CLAP_PORT_MONO[] = "mono";
static const char CLAP_PORT_STEREO[] = "stereo";

enum {
  CLAP_AUDIO_PORT_IS_MAIN = 1,
  CLAP_AUDIO_PORT_SUPPORTS_64BITS = 2,
  CLAP_AUDIO_PORT_PREFERS_64BITS = 4,
  CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 8,
};

typedef struct clap_audio_port_info {
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t flags;
  uint32_t channel_count;
  const char* port_type;
  clap_id in_place_pair;
} clap_audio_port_info_t;

typedef struct clap_plugin_audio_ports {
  // Both: main thread.
  uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
  bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input,
                      clap_audio_port_info_t* info);
} clap_plugin_audio_ports_t;

}  // extern "C"

static_assert(sizeof(clap_audio_port_info_t) == 288 && offsetof(clap_audio_port_info_t, flags) == 260 &&
                  offsetof(clap_audio_port_info_t, port_type) == 272 &&
                  offsetof(clap_audio_port_info_t, in_place_pair) == 280,
              "clap_audio_port_info layout");
static_assert(sizeof(clap_plugin_audio_ports_t) == 16, "clap_plugin_audio_ports size");
