// The plug-in descriptor and the instance record with its lifecycle functions.
#pragma once

#include "clap/abi/Host.h"
#include "clap/abi/Process.h"

extern "C" {

typedef struct clap_plugin_descriptor {
  clap_version_t clap_version;
  const char* id;    // mandatory, reverse-DNS
  const char* name;  // mandatory
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* version;
  const char* description;
  const char* const* features;  // null-terminated
} clap_plugin_descriptor_t;

typedef struct clap_plugin {
  const clap_plugin_descriptor_t* desc;
  void* plugin_data;
  // main
  bool(CLAP_ABI* init)(const struct clap_plugin* plugin);
  // main, deactivated
  void(CLAP_ABI* destroy)(const struct clap_plugin* plugin);
  // main, deactivated; may allocate
  bool(CLAP_ABI* activate)(const struct clap_plugin* plugin, double sample_rate, uint32_t min_frames_count,
                           uint32_t max_frames_count);
  // main, active
  void(CLAP_ABI* deactivate)(const struct clap_plugin* plugin);
  // audio, active
  bool(CLAP_ABI* start_processing)(const struct clap_plugin* plugin);
  void(CLAP_ABI* stop_processing)(const struct clap_plugin* plugin);
  void(CLAP_ABI* reset)(const struct clap_plugin* plugin);
  clap_process_status(CLAP_ABI* process)(const struct clap_plugin* plugin, const clap_process_t* process);
  // any thread, from init on
  const void*(CLAP_ABI* get_extension)(const struct clap_plugin* plugin, const char* id);
  // main
  void(CLAP_ABI* on_main_thread)(const struct clap_plugin* plugin);
} clap_plugin_t;

}  // extern "C"

static_assert(sizeof(clap_plugin_descriptor_t) == 88, "clap_plugin_descriptor size");
static_assert(offsetof(clap_plugin_descriptor_t, id) == 16 &&
                  offsetof(clap_plugin_descriptor_t, version) == 64 &&
                  offsetof(clap_plugin_descriptor_t, features) == 80,
              "clap_plugin_descriptor offsets");
static_assert(sizeof(clap_plugin_t) == 96, "clap_plugin size");
static_assert(offsetof(clap_plugin_t, init) == 16 && offsetof(clap_plugin_t, process) == 72 &&
                  offsetof(clap_plugin_t, on_main_thread) == 88,
              "clap_plugin offsets");
