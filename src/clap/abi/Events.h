// Events: the common header, parameter values and gestures, transport, and the two event lists.
#pragma once

#include "clap/abi/Version.h"

extern "C" {

typedef struct clap_event_header {
  uint32_t size;  // of the whole event; step by it, never by sizeof
  uint32_t time;  // sample offset in the block
  uint16_t space_id;
  uint16_t type;
  uint32_t flags;
} clap_event_header_t;

enum { CLAP_EVENT_IS_LIVE = 1, CLAP_EVENT_DONT_RECORD = 2 };

enum {
  CLAP_EVENT_NOTE_ON = 0,
  CLAP_EVENT_NOTE_OFF = 1,
  CLAP_EVENT_NOTE_CHOKE = 2,
  CLAP_EVENT_NOTE_END = 3,
  CLAP_EVENT_NOTE_EXPRESSION = 4,
  CLAP_EVENT_PARAM_VALUE = 5,
  CLAP_EVENT_PARAM_MOD = 6,
  CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
  CLAP_EVENT_PARAM_GESTURE_END = 8,
  CLAP_EVENT_TRANSPORT = 9,
  CLAP_EVENT_MIDI = 10,
  CLAP_EVENT_MIDI_SYSEX = 11,
  CLAP_EVENT_MIDI2 = 12,
};

typedef struct clap_event_param_value {
  clap_event_header_t header;
  clap_id param_id;
  void* cookie;
  int32_t note_id;  // -1: any
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;  // plain value
} clap_event_param_value_t;

typedef struct clap_event_param_gesture {
  clap_event_header_t header;
  clap_id param_id;
} clap_event_param_gesture_t;

enum {
  CLAP_TRANSPORT_HAS_TEMPO = 1,
  CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 2,
  CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 4,
  CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 8,
  CLAP_TRANSPORT_IS_PLAYING = 16,
  CLAP_TRANSPORT_IS_RECORDING = 32,
  CLAP_TRANSPORT_IS_LOOP_ACTIVE = 64,
  CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 128,
};

typedef struct clap_event_transport {
  clap_event_header_t header;
  uint32_t flags;
  clap_beattime song_pos_beats;
  clap_sectime song_pos_seconds;
  double tempo;
  double tempo_inc;
  clap_beattime loop_start_beats;
  clap_beattime loop_end_beats;
  clap_sectime loop_start_seconds;
  clap_sectime loop_end_seconds;
  clap_beattime bar_start;
  int32_t bar_number;
  uint16_t tsig_num;
  uint16_t tsig_denom;
} clap_event_transport_t;

typedef struct clap_input_events {
  void* ctx;
  uint32_t(CLAP_ABI* size)(const struct clap_input_events* list);
  const clap_event_header_t*(CLAP_ABI* get)(const struct clap_input_events* list, uint32_t index);
} clap_input_events_t;

typedef struct clap_output_events {
  void* ctx;
  // Copies header->size bytes; false when it could not.
  bool(CLAP_ABI* try_push)(const struct clap_output_events* list, const clap_event_header_t* event);
} clap_output_events_t;

}  // extern "C"

static_assert(sizeof(clap_event_header_t) == 16 && alignof(clap_event_header_t) == 4, "event header layout");
static_assert(sizeof(clap_event_param_value_t) == 56 && offsetof(clap_event_param_value_t, cookie) == 24 &&
                  offsetof(clap_event_param_value_t, note_id) == 32 &&
                  offsetof(clap_event_param_value_t, key) == 40 &&
                  offsetof(clap_event_param_value_t, value) == 48,
              "param value event layout");
static_assert(sizeof(clap_event_param_gesture_t) == 20, "gesture event size");
static_assert(sizeof(clap_event_transport_t) == 104 &&
                  offsetof(clap_event_transport_t, song_pos_beats) == 24 &&
                  offsetof(clap_event_transport_t, bar_start) == 88 &&
                  offsetof(clap_event_transport_t, tsig_denom) == 102,
              "transport event layout");
static_assert(sizeof(clap_input_events_t) == 24 && sizeof(clap_output_events_t) == 16, "event list sizes");
