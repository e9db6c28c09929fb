// Note and data events exchanged through event busses, and the list that carries them.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

#pragma pack(push, 16)

struct NoteOnEvent {
  int16 channel;
  int16 pitch;     // 0..127
  float tuning;    // cents
  float velocity;  // 0..1
  int32 length;
  int32 noteId;  // -1 if unknown
};

// Field order differs from NoteOnEvent: tuning comes last.
struct NoteOffEvent {
  int16 channel;
  int16 pitch;
  float velocity;
  int32 noteId;
  float tuning;
};

struct DataEvent {
  enum DataTypes : uint32 { kMidiSysEx = 0 };

  uint32 size;
  uint32 type;
  const uint8* bytes;
};

struct PolyPressureEvent {
  int16 channel;
  int16 pitch;
  float pressure;
  int32 noteId;
};

struct NoteExpressionValueEvent {
  NoteExpressionTypeID typeId;
  int32 noteId;
  NoteExpressionValue value;
};

struct NoteExpressionTextEvent {
  NoteExpressionTypeID typeId;
  int32 noteId;
  uint32 textLen;
  const TChar* text;
};

struct ChordEvent {
  int16 root;
  int16 bassNote;
  int16 mask;
  uint16 textLen;
  const TChar* text;
};

struct ScaleEvent {
  int16 root;
  int16 mask;
  uint16 textLen;
  const TChar* text;
};

struct LegacyMIDICCOutEvent {
  uint8 controlNumber;
  int8 channel;
  int8 value;
  int8 value2;
};

struct Event {
  enum EventFlags : uint16 {
    kIsLive = 1 << 0,
    kUserReserved1 = 1 << 14,
    kUserReserved2 = 1 << 15,
  };
  enum EventTypes : uint16 {
    kNoteOnEvent = 0,
    kNoteOffEvent = 1,
    kDataEvent = 2,
    kPolyPressureEvent = 3,
    kNoteExpressionValueEvent = 4,
    kNoteExpressionTextEvent = 5,
    kChordEvent = 6,
    kScaleEvent = 7,
    kLegacyMIDICCOutEvent = 65535,
  };

  int32 busIndex;
  int32 sampleOffset;
  TQuarterNotes ppqPosition;
  uint16 flags;
  uint16 type;
  union {
    NoteOnEvent noteOn;
    NoteOffEvent noteOff;
    DataEvent data;
    PolyPressureEvent polyPressure;
    NoteExpressionValueEvent noteExpressionValue;
    NoteExpressionTextEvent noteExpressionText;
    ChordEvent chord;
    ScaleEvent scale;
    LegacyMIDICCOutEvent midiCCOut;
  };
};

#pragma pack(pop)

static_assert(sizeof(NoteOnEvent) == 20 && alignof(NoteOnEvent) == 4, "NoteOnEvent");
static_assert(offsetof(NoteOnEvent, tuning) == 4 && offsetof(NoteOnEvent, noteId) == 16, "NoteOnEvent");
static_assert(sizeof(NoteOffEvent) == 16 && offsetof(NoteOffEvent, tuning) == 12, "NoteOffEvent");
static_assert(sizeof(DataEvent) == 16 && alignof(DataEvent) == 8 && offsetof(DataEvent, bytes) == 8,
              "DataEvent");
static_assert(sizeof(PolyPressureEvent) == 12, "PolyPressureEvent");
static_assert(sizeof(NoteExpressionValueEvent) == 16 && offsetof(NoteExpressionValueEvent, value) == 8,
              "NoteExpressionValueEvent");
static_assert(sizeof(NoteExpressionTextEvent) == 24 && offsetof(NoteExpressionTextEvent, text) == 16,
              "NoteExpressionTextEvent");
static_assert(sizeof(ChordEvent) == 16 && offsetof(ChordEvent, text) == 8, "ChordEvent");
static_assert(sizeof(ScaleEvent) == 16 && offsetof(ScaleEvent, text) == 8, "ScaleEvent");
static_assert(sizeof(LegacyMIDICCOutEvent) == 4 && alignof(LegacyMIDICCOutEvent) == 1,
              "LegacyMIDICCOutEvent");
static_assert(sizeof(Event) == 48 && alignof(Event) == 8, "Event");
static_assert(offsetof(Event, ppqPosition) == 8 && offsetof(Event, flags) == 16, "Event");
static_assert(offsetof(Event, type) == 18 && offsetof(Event, noteOn) == 24, "Event");

class IEventList : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);

  virtual int32 VST3ABI_CALL getEventCount() = 0;
  virtual tresult VST3ABI_CALL getEvent(int32 index, Event* e) = 0;  // copied into *e
  virtual tresult VST3ABI_CALL addEvent(Event* e) = 0;
};

}  // namespace vst3abi
