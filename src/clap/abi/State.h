// state: the plug-in's saved state as a byte stream, and the streams it is read from and written to.
#pragma once

#include "clap/abi/Plugin.h"

extern "C" {

static const char CLAP_EXT_STATE[] = "clap.state";

typedef struct clap_istream {
  void* ctx;
  // Bytes read (may be fewer than asked), 0 at the end, -1 on error.
  int64_t(CLAP_ABI* read)(const struct clap_istream* stream, void* buffer, uint64_t size);
} clap_istream_t;

typedef struct clap_ostream {
  void* ctx;
  // Bytes written (may be fewer than asked), -1 on error.
  int64_t(CLAP_ABI* write)(const struct clap_ostream* stream, const void* buffer, uint64_t size);
} clap_ostream_t;

typedef struct clap_plugin_state {
  // Both: main thread.
  bool(CLAP_ABI* save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
  bool(CLAP_ABI* load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
} clap_plugin_state_t;

typedef struct clap_host_state {
  void(CLAP_ABI* mark_dirty)(const clap_host_t* host);  // main
} clap_host_state_t;

}  // extern "C"

static_assert(sizeof(clap_istream_t) == 16 && sizeof(clap_ostream_t) == 16, "stream sizes");
static_assert(sizeof(clap_plugin_state_t) == 16, "clap_plugin_state size");
