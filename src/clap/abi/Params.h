// params: the parameter list, values and texts, and the flush that exchanges events without audio.
#pragma once

#include "clap/abi/Plugin.h"

extern "C" {

static const char CLAP_EXT_PARAMS[] = "clap.params";

enum {
  CLAP_PARAM_IS_STEPPED = 1 << 0,
  CLAP_PARAM_IS_PERIODIC = 1 << 1,
  CLAP_PARAM_IS_HIDDEN = 1 << 2,
  CLAP_PARAM_IS_READONLY = 1 << 3,
  CLAP_PARAM_IS_BYPASS = 1 << 4,
  CLAP_PARAM_IS_AUTOMATABLE = 1 << 5,
  CLAP_PARAM_IS_MODULATABLE = 1 << 10,
  CLAP_PARAM_REQUIRES_PROCESS = 1 << 15,
  CLAP_PARAM_IS_ENUM = 1 << 16,
};
typedef uint32_t clap_param_info_flags;

enum {
  CLAP_PARAM_RESCAN_VALUES = 1,
  CLAP_PARAM_RESCAN_TEXT = 2,
  CLAP_PARAM_RESCAN_INFO = 4,
  CLAP_PARAM_RESCAN_ALL = 8,
};
enum { CLAP_PARAM_CLEAR_ALL = 1, CLAP_PARAM_CLEAR_AUTOMATIONS = 2, CLAP_PARAM_CLEAR_MODULATIONS = 4 };

typedef struct clap_param_info {
  clap_id id;
  clap_param_info_flags flags;
  void* cookie;
  char name[CLAP_NAME_SIZE];
  char module[CLAP_PATH_SIZE];
  double min_value;
  double max_value;
  double default_value;
} clap_param_info_t;

typedef struct clap_plugin_params {
  // main thread; get_info takes an index, the others an id
  uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin);
  bool(CLAP_ABI* get_info)(const clap_plugin_t* plugin, uint32_t param_index, clap_param_info_t* param_info);
  bool(CLAP_ABI* get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
  bool(CLAP_ABI* value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer,
                                uint32_t out_buffer_capacity);
  bool(CLAP_ABI* text_to_value)(const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text,
                                double* out_value);
  // audio thread while active, else main; never concurrent with process
  void(CLAP_ABI* flush)(const clap_plugin_t* plugin, const clap_input_events_t* in,
                        const clap_output_events_t* out);
} clap_plugin_params_t;

typedef struct clap_host_params {
  // main
  void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
  void(CLAP_ABI* clear)(const clap_host_t* host, clap_id param_id, uint32_t flags);
  // any thread but the audio thread
  void(CLAP_ABI* request_flush)(const clap_host_t* host);
} clap_host_params_t;

}  // extern "C"

static_assert(sizeof(clap_param_info_t) == 1320 && offsetof(clap_param_info_t, name) == 16 &&
                  offsetof(clap_param_info_t, module) == 272 &&
                  offsetof(clap_param_info_t, min_value) == 1296 &&
                  offsetof(clap_param_info_t, default_value) == 1312,
              "clap_param_info layout");
static_assert(sizeof(clap_plugin_params_t) == 48 && sizeof(clap_host_params_t) == 24, "params sizes");
