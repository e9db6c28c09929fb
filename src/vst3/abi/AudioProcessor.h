// The real-time processing interface with its setup, buffer and transport records, and the two
// small processor extensions a host queries before activation.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

class IParameterChanges;
class IEventList;

enum ProcessModes : int32 { kRealtime = 0, kPrefetch = 1, kOffline = 2 };
enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 = 1 };
constexpr uint32 kNoTail = 0;
constexpr uint32 kInfiniteTail = 0xFFFFFFFFu;

#pragma pack(push, 16)

struct ProcessSetup {
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};

struct AudioBusBuffers {
  int32 numChannels;
  uint64 silenceFlags;  // bit n: channel n is all zeros
  union {
    Sample32** channelBuffers32;
    Sample64** channelBuffers64;
  };
};

struct Chord {
  uint8 keyNote;
  uint8 rootNote;
  int16 chordMask;
};

struct FrameRate {
  enum FrameRateFlags : uint32 { kPullDownRate = 1 << 0, kDropRate = 1 << 1 };

  uint32 framesPerSecond;
  uint32 flags;
};

struct ProcessContext {
  // Only fields whose bit is set are meaningful; sampleRate and projectTimeSamples always are.
  enum StatesAndFlags : uint32 {
    kPlaying = 1 << 1,
    kCycleActive = 1 << 2,
    kRecording = 1 << 3,
    kSystemTimeValid = 1 << 8,
    kProjectTimeMusicValid = 1 << 9,
    kTempoValid = 1 << 10,
    kBarPositionValid = 1 << 11,
    kCycleValid = 1 << 12,
    kTimeSigValid = 1 << 13,
    kSmpteValid = 1 << 14,
    kClockValid = 1 << 15,
    kContTimeValid = 1 << 17,
    kChordValid = 1 << 18,
  };

  uint32 state;
  SampleRate sampleRate;
  TSamples projectTimeSamples;
  int64 systemTime;  // nanoseconds
  TSamples continuousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;  // BPM
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  Chord chord;
  int32 smpteOffsetSubframes;  // 1/80 frame
  FrameRate frameRate;
  int32 samplesToNextClock;
};

struct ProcessData {
  int32 processMode;
  int32 symbolicSampleSize;
  int32 numSamples;
  int32 numInputs;   // audio input bus count
  int32 numOutputs;  // audio output bus count
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};

#pragma pack(pop)

static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8, "ProcessSetup");
static_assert(offsetof(ProcessSetup, maxSamplesPerBlock) == 8 && offsetof(ProcessSetup, sampleRate) == 16,
              "ProcessSetup");
static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8, "AudioBusBuffers");
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8 &&
                  offsetof(AudioBusBuffers, channelBuffers32) == 16,
              "AudioBusBuffers");
static_assert(sizeof(Chord) == 4 && alignof(Chord) == 2, "Chord");
static_assert(sizeof(FrameRate) == 8 && alignof(FrameRate) == 4, "FrameRate");
static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8, "ProcessContext");
static_assert(offsetof(ProcessContext, sampleRate) == 8 && offsetof(ProcessContext, systemTime) == 24,
              "ProcessContext");
static_assert(offsetof(ProcessContext, tempo) == 72 && offsetof(ProcessContext, timeSigNumerator) == 80,
              "ProcessContext");
static_assert(offsetof(ProcessContext, chord) == 88 && offsetof(ProcessContext, smpteOffsetSubframes) == 92,
              "ProcessContext");
static_assert(offsetof(ProcessContext, frameRate) == 96 &&
                  offsetof(ProcessContext, samplesToNextClock) == 104,
              "ProcessContext");
static_assert(sizeof(ProcessData) == 80 && alignof(ProcessData) == 8, "ProcessData");
static_assert(offsetof(ProcessData, numOutputs) == 16 && offsetof(ProcessData, inputs) == 24, "ProcessData");
static_assert(offsetof(ProcessData, inputParameterChanges) == 40 && offsetof(ProcessData, inputEvents) == 56,
              "ProcessData");
static_assert(offsetof(ProcessData, processContext) == 72, "ProcessData");

class IAudioProcessor : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

  virtual tresult VST3ABI_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                  SpeakerArrangement* outputs, int32 numOuts) = 0;
  virtual tresult VST3ABI_CALL getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement* arr) = 0;
  virtual tresult VST3ABI_CALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 VST3ABI_CALL getLatencySamples() = 0;
  virtual tresult VST3ABI_CALL setupProcessing(ProcessSetup* setup) = 0;
  virtual tresult VST3ABI_CALL setProcessing(TBool state) = 0;
  virtual tresult VST3ABI_CALL process(ProcessData* data) = 0;
  virtual uint32 VST3ABI_CALL getTailSamples() = 0;
};

class IAudioPresentationLatency : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x309ECE78, 0xEB7D4FAE, 0x8B2225D9, 0x09FD08B6);

  virtual tresult VST3ABI_CALL setAudioPresentationLatencySamples(BusDirection dir, int32 busIndex,
                                                                  uint32 latencyInSamples) = 0;
};

class IProcessContextRequirements : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

  // Different bit numbers from ProcessContext::StatesAndFlags.
  enum Flags : uint32 {
    kNeedSystemTime = 1 << 0,
    kNeedContinuousTimeSamples = 1 << 1,
    kNeedProjectTimeMusic = 1 << 2,
    kNeedBarPositionMusic = 1 << 3,
    kNeedCycleMusic = 1 << 4,
    kNeedSamplesToNextClock = 1 << 5,
    kNeedTempo = 1 << 6,
    kNeedTimeSignature = 1 << 7,
    kNeedChord = 1 << 8,
    kNeedFrameRate = 1 << 9,
    kNeedTransportState = 1 << 10,
  };

  virtual uint32 VST3ABI_CALL getProcessContextRequirements() = 0;
};

}  // namespace vst3abi
