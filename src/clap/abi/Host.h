// The host record a plug-in instance receives at creation.
#pragma once

#include "clap/abi/Version.h"

extern "C" {

typedef struct clap_host {
  clap_version_t clap_version;
  void* host_data;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  // Any thread; forbidden before the plug-in's init.
  const void*(CLAP_ABI* get_extension)(const struct clap_host* host, const char* extension_id);
  // Any thread.
  void(CLAP_ABI* request_restart)(const struct clap_host* host);
  void(CLAP_ABI* request_process)(const struct clap_host* host);
  // The host calls the plug-in's on_main_thread soon after, on the main thread.
  void(CLAP_ABI* request_callback)(const struct clap_host* host);
} clap_host_t;

}  // extern "C"

static_assert(sizeof(clap_host_t) == 88, "clap_host size");
static_assert(offsetof(clap_host_t, host_data) == 16 && offsetof(clap_host_t, get_extension) == 56 &&
                  offsetof(clap_host_t, request_callback) == 80,
              "clap_host offsets");
