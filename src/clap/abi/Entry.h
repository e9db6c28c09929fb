// The module's one exported data symbol and the plug-in factory it hands out.
#pragma once

#include "clap/abi/Plugin.h"

extern "C" {

typedef struct clap_plugin_entry {
  clap_version_t clap_version;
  // Any thread, never concurrently with another call into the module. May be called repeatedly.
  bool(CLAP_ABI* init)(const char* plugin_path);
  void(CLAP_ABI* deinit)(void);
  // Any thread; null for an unknown factory.
  const void*(CLAP_ABI* get_factory)(const char* factory_id);
} clap_plugin_entry_t;

static const char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

typedef struct clap_plugin_factory {
  // All three: any thread.
  uint32_t(CLAP_ABI* get_plugin_count)(const struct clap_plugin_factory* factory);
  const clap_plugin_descriptor_t*(CLAP_ABI* get_plugin_descriptor)(const struct clap_plugin_factory* factory,
                                                                   uint32_t index);
  // Must not call the host; the host pointer stays valid until after destroy.
  const clap_plugin_t*(CLAP_ABI* create_plugin)(const struct clap_plugin_factory* factory,
                                                const clap_host_t* host, const char* plugin_id);
} clap_plugin_factory_t;

}  // extern "C"

static_assert(sizeof(clap_plugin_entry_t) == 40, "clap_plugin_entry size");
static_assert(offsetof(clap_plugin_entry_t, init) == 16 && offsetof(clap_plugin_entry_t, get_factory) == 32,
              "clap_plugin_entry offsets");
static_assert(sizeof(clap_plugin_factory_t) == 24, "clap_plugin_factory size");
