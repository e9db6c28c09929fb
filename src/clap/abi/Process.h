// One processing call: frames, transport, audio buffers per port and the event lists.
#pragma once

#include "clap/abi/Events.h"

extern "C" {

typedef int32_t clap_process_status;
enum {
  CLAP_PROCESS_ERROR = 0,
  CLAP_PROCESS_CONTINUE = 1,
  CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
  CLAP_PROCESS_TAIL = 3,
  CLAP_PROCESS_SLEEP = 4,
};

typedef struct clap_audio_buffer {
  // Exactly one of the two is used.
  float** data32;
  double** data64;
  uint32_t channel_count;
  uint32_t latency;
  uint64_t constant_mask;
} clap_audio_buffer_t;

typedef struct clap_process {
  int64_t steady_time;  // -1 when unknown
  uint32_t frames_count;
  const clap_event_transport_t* transport;  // null: free-running host
  const clap_audio_buffer_t* audio_inputs;
  clap_audio_buffer_t* audio_outputs;
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;
  const clap_input_events_t* in_events;
  const clap_output_events_t* out_events;
} clap_process_t;

}  // extern "C"

static_assert(sizeof(clap_audio_buffer_t) == 32 && offsetof(clap_audio_buffer_t, constant_mask) == 24,
              "clap_audio_buffer layout");
static_assert(sizeof(clap_process_t) == 64, "clap_process size");
static_assert(offsetof(clap_process_t, transport) == 16 &&
                  offsetof(clap_process_t, audio_inputs_count) == 40 &&
                  offsetof(clap_process_t, in_events) == 48 && offsetof(clap_process_t, out_events) == 56,
              "clap_process offsets");
