// The VST 3 adapter driven directly through its interfaces, with a small test plug-in linked in:
// registration, controller conversions, processing edge cases and the state streams.
#include "TestPlug.h"
#include "vst3/abi/ResultCodes.h"

#include "host/vst3/ComponentHandler.h"
#include "host/vst3/HostContext.h"
#include "host/vst3/MemoryStream.h"
#include "host/vst3/ParameterChanges.h"
#include "host/vst3/Ref.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

// Counts every allocation of this program, so a test can prove the audio thread makes none.
// Once the replacements below are inlined, GCC takes their malloc/free pairing for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<long> gAllocations{0};

void* operator new(std::size_t n) {
  ++gAllocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace vst3abi;
using qvhost::Ref;

namespace {

std::u16string U16(const char16_t* s) { return std::u16string(s); }

// Owns one plug-in reference, initialised with a host context.
struct Instance {
  TestPlug* plug = new TestPlug;
  Ref<qvhost::HostContext> host = Ref<qvhost::HostContext>::adopt(new qvhost::HostContext("Test Host"));
  Instance() { plug->initialize(static_cast<IHostApplication*>(host.get())); }
  ~Instance() {
    plug->terminate();
    plug->release();
  }
  ParameterInfo Info(ParamID id) {
    ParameterInfo info{};
    for (int32 i = 0; i < plug->getParameterCount(); ++i) {
      plug->getParameterInfo(i, &info);
      if (info.id == id) return info;
    }
    ADD_FAILURE() << "no parameter " << id;
    return info;
  }
  void Setup(int32 sampleSize, int32 maxBlock) {
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, 48000.0};
    ASSERT_EQ(plug->setupProcessing(&setup), kResultOk);
    ASSERT_EQ(plug->setActive(1), kResultOk);
  }
};

// Host-side buffers of one block: stereo main input, stereo sidechain, stereo output.
template <class S>
struct Block {
  std::vector<std::vector<S>> main, side, out;
  std::vector<S*> mainPtr, sidePtr, outPtr;
  AudioBusBuffers inputs[2]{};
  AudioBusBuffers output{};
  ProcessData data{};

  explicit Block(int frames, double mainLevel = 1.0, double sideLevel = 0.25) {
    main.assign(2, std::vector<S>(frames, static_cast<S>(mainLevel)));
    side.assign(2, std::vector<S>(frames, static_cast<S>(sideLevel)));
    out.assign(2, std::vector<S>(frames, static_cast<S>(-7)));
    for (int c = 0; c < 2; ++c) {
      mainPtr.push_back(main[c].data());
      sidePtr.push_back(side[c].data());
      outPtr.push_back(out[c].data());
    }
    SetPtrs(inputs[0], mainPtr.data());
    SetPtrs(inputs[1], sidePtr.data());
    SetPtrs(output, outPtr.data());
    data.symbolicSampleSize = sizeof(S) == 4 ? kSample32 : kSample64;
    data.numSamples = frames;
    data.numInputs = 2;
    data.numOutputs = 1;
    data.inputs = inputs;
    data.outputs = &output;
  }
  static void SetPtrs(AudioBusBuffers& bus, S** ptrs) {
    bus.numChannels = 2;
    if constexpr (sizeof(S) == 4)
      bus.channelBuffers32 = ptrs;
    else
      bus.channelBuffers64 = ptrs;
  }
};

}  // namespace

TEST(AdapterSetup, DeclaresBussesAndParametersInHostOrder) {
  Instance inst;
  IPluginVST3* p = inst.plug;
  ASSERT_EQ(p->getBusCount(kAudio, kInput), 2);
  ASSERT_EQ(p->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(p->getBusCount(kEvent, kInput), 0);
  BusInfo bus{};
  ASSERT_EQ(p->getBusInfo(kAudio, kInput, 0, &bus), kResultOk);
  EXPECT_EQ(U16(bus.name), u"Main Input");
  EXPECT_EQ(bus.channelCount, 2);
  EXPECT_EQ(bus.busType, kMain);
  EXPECT_EQ(bus.flags, BusInfo::kDefaultActive);
  ASSERT_EQ(p->getBusInfo(kAudio, kInput, 1, &bus), kResultOk);
  EXPECT_EQ(U16(bus.name), u"Aux Input");
  EXPECT_EQ(bus.busType, kAux);
  EXPECT_EQ(bus.flags, 0u);
  ASSERT_EQ(p->getBusInfo(kAudio, kOutput, 0, &bus), kResultOk);
  EXPECT_EQ(U16(bus.name), u"Output");
  EXPECT_NE(p->getBusInfo(kAudio, kOutput, 1, &bus), kResultOk);

  ASSERT_EQ(p->getParameterCount(), 2 + TestPlug::kNumParams);
  ParameterInfo info{};
  std::vector<ParamID> ids;
  for (int32 i = 0; i < p->getParameterCount(); ++i) {
    ASSERT_EQ(p->getParameterInfo(i, &info), kResultOk);
    ids.push_back(info.id);
  }
  EXPECT_EQ(ids, (std::vector<ParamID>{IPluginVST3::kPresetParam, IPluginVST3::kBypassParam, 0, 1, 2, 3, 4}));

  info = inst.Info(IPluginVST3::kPresetParam);
  EXPECT_EQ(U16(info.title), u"Preset");
  EXPECT_EQ(info.flags, ParameterInfo::kIsProgramChange);
  EXPECT_EQ(info.stepCount, 1);
  info = inst.Info(IPluginVST3::kBypassParam);
  EXPECT_EQ(U16(info.title), u"Bypass");
  EXPECT_EQ(info.flags, 0x10009);
  EXPECT_EQ(info.stepCount, 1);

  info = inst.Info(TestPlug::kReserved);
  EXPECT_EQ(U16(info.title), u"Reserved");
  EXPECT_EQ(U16(info.units), u"");
  EXPECT_EQ(info.flags, ParameterInfo::kIsReadOnly | ParameterInfo::kIsHidden);

  info = inst.Info(TestPlug::kGain);
  EXPECT_EQ(U16(info.title), u"Gain");
  EXPECT_EQ(U16(info.units), u"%");
  EXPECT_EQ(info.stepCount, 0);
  EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
  EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, 0.5);
  EXPECT_EQ(inst.Info(TestPlug::kMode).stepCount, 3);
  EXPECT_DOUBLE_EQ(inst.Info(TestPlug::kShape).defaultNormalizedValue, 0.5);
  EXPECT_EQ(inst.Info(TestPlug::kLevel).unitId, 1);
  EXPECT_EQ(inst.Info(TestPlug::kGain).unitId, 0);
}

TEST(AdapterSetup, TerminateAndInitializeAgainRegistersOnce) {
  Instance inst;
  ASSERT_EQ(inst.plug->terminate(), kResultOk);
  EXPECT_EQ(inst.plug->getParameterCount(), 0);
  ASSERT_EQ(inst.plug->initialize(static_cast<IHostApplication*>(inst.host.get())), kResultOk);
  EXPECT_EQ(inst.plug->getParameterCount(), 2 + TestPlug::kNumParams);
  EXPECT_EQ(inst.plug->getBusCount(kAudio, kInput), 2);
  EXPECT_EQ(inst.plug->getUnitCount(), 2);
  EXPECT_EQ(inst.plug->initialize(nullptr), kResultFalse);
}

TEST(AdapterSetup, UnitsAndPresetList) {
  Instance inst;
  IPluginVST3* p = inst.plug;
  UnitInfo unit{};
  ASSERT_EQ(p->getUnitCount(), 2);
  ASSERT_EQ(p->getUnitInfo(0, &unit), kResultOk);
  EXPECT_EQ(U16(unit.name), u"Root Unit");
  EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
  EXPECT_EQ(unit.programListId, kNoProgramListId);
  ASSERT_EQ(p->getUnitInfo(1, &unit), kResultOk);
  EXPECT_EQ(U16(unit.name), u"Levels");
  EXPECT_EQ(unit.id, 1);
  EXPECT_EQ(unit.parentUnitId, 0);
  EXPECT_EQ(p->getUnitInfo(2, &unit), kResultFalse);
  EXPECT_EQ(p->getUnitInfo(-1, &unit), kResultFalse);

  EXPECT_EQ(p->getProgramListCount(), 0);
  ProgramListInfo list{};
  ASSERT_EQ(p->getProgramListInfo(0, &list), kResultOk);
  EXPECT_EQ(list.id, static_cast<int32>(IPluginVST3::kPresetParam));
  EXPECT_EQ(U16(list.name), u"Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(p->getProgramListInfo(1, &list), kResultFalse);
  String128 name{};
  ASSERT_EQ(p->getProgramName(IPluginVST3::kPresetParam, 0, name), kResultOk);
  EXPECT_EQ(U16(name), u"-");
  EXPECT_EQ(p->getProgramName(7, 0, name), kResultFalse);
  EXPECT_EQ(p->getProgramInfo(IPluginVST3::kPresetParam, 0, "x", name), kNotImplemented);
  EXPECT_EQ(p->selectUnit(1), kNotImplemented);
  EXPECT_EQ(p->getSelectedUnit(), 0);
}

TEST(AdapterController, ConvertsThroughTheFrameworkParameter) {
  Instance inst;
  IPluginVST3* p = inst.plug;
  double v = -1;
  char16_t dB[] = u"12.5 dB";
  ASSERT_EQ(p->getParamValueByString(TestPlug::kLevel, dB, &v), kResultOk);
  EXPECT_DOUBLE_EQ(v, 32.5 / 40.0);
  char16_t noNumber[] = u"loud";
  ASSERT_EQ(p->getParamValueByString(TestPlug::kLevel, noNumber, &v), kResultOk);
  EXPECT_DOUBLE_EQ(v, 0.5);
  char16_t on[] = u"on", On[] = u"On";
  ASSERT_EQ(p->getParamValueByString(IPluginVST3::kBypassParam, on, &v), kResultOk);
  EXPECT_DOUBLE_EQ(v, 1.0);
  EXPECT_EQ(p->getParamValueByString(IPluginVST3::kBypassParam, On, &v), kResultFalse);

  String128 text{};
  ASSERT_EQ(p->getParamStringByValue(TestPlug::kLevel, 0.8125, text), kResultOk);
  EXPECT_EQ(U16(text), u"12.5");
  // Out-of-range values from a host stay within the parameter's range and the text buffer.
  ASSERT_EQ(p->getParamStringByValue(TestPlug::kLevel, 1e300, text), kResultOk);
  EXPECT_EQ(U16(text), u"20.0");
  EXPECT_EQ(p->getParamStringByValue(IPluginVST3::kBypassParam, 1.0, text), kResultFalse);
  EXPECT_EQ(p->getParamStringByValue(99, 0.5, text), kResultFalse);

  EXPECT_DOUBLE_EQ(p->normalizedParamToPlain(TestPlug::kLevel, 0.75), 10.0);
  EXPECT_DOUBLE_EQ(p->plainParamToNormalized(TestPlug::kLevel, 10.0), 0.75);
  EXPECT_DOUBLE_EQ(p->plainParamToNormalized(99, 42.0), 42.0);
  EXPECT_DOUBLE_EQ(p->getParamNormalized(99), 0.0);
}

TEST(AdapterController, SetParamNormalizedOnlyStoresFrameworkValues) {
  Instance inst;
  TestPlug* p = inst.plug;
  p->changed.clear();
  ASSERT_EQ(p->setParamNormalized(TestPlug::kGain, 0.25), kResultOk);
  EXPECT_DOUBLE_EQ(p->GetParam(TestPlug::kGain)->GetValue(), 0.25);
  EXPECT_DOUBLE_EQ(p->getParamNormalized(TestPlug::kGain), 0.25);
  EXPECT_TRUE(p->changed.empty());
  EXPECT_EQ(p->setParamNormalized(TestPlug::kGain, std::nan("")), kInvalidArgument);
  EXPECT_DOUBLE_EQ(p->GetParam(TestPlug::kGain)->GetValue(), 0.25);
  EXPECT_EQ(p->setParamNormalized(IPluginVST3::kBypassParam, 1.0), kResultFalse);
  EXPECT_EQ(p->setParamNormalized(IPluginVST3::kPresetParam, 1.0), kResultFalse);
  EXPECT_EQ(p->setParamNormalized(TestPlug::kNumParams, 1.0), kResultFalse);
  EXPECT_DOUBLE_EQ(p->getParamNormalized(IPluginVST3::kPresetParam), 0.0);
  p->SetBypassed(true);
  EXPECT_DOUBLE_EQ(p->getParamNormalized(IPluginVST3::kBypassParam), 1.0);
}

TEST(AdapterController, EditsReachTheComponentHandler) {
  Instance inst;
  TestPlug* p = inst.plug;
  p->BeginInformHostOfParamChange(TestPlug::kGain);  // no handler yet: nothing to call
  EXPECT_EQ(p->beginEdit(TestPlug::kGain), kResultFalse);
  auto handler = Ref<qvhost::ComponentHandler>::adopt(new qvhost::ComponentHandler);
  ASSERT_EQ(p->setComponentHandler(static_cast<IComponentHandler*>(handler.get())), kResultOk);
  p->BeginInformHostOfParamChange(TestPlug::kGain);
  EXPECT_EQ(handler->openGestures(), 1);
  p->SetParameterFromGUI(TestPlug::kMode, 0.5);
  p->EndInformHostOfParamChange(TestPlug::kGain);
  EXPECT_EQ(handler->openGestures(), 0);
  const auto edits = handler->takeEdits();
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_EQ(edits[0].id, static_cast<ParamID>(TestPlug::kMode));
  EXPECT_DOUBLE_EQ(edits[0].value, 0.5);
  p->SetLatency(32);
  EXPECT_EQ(handler->takeRestartFlags(), kLatencyChanged);
  EXPECT_EQ(p->getLatencySamples(), 32u);
}

TEST(AdapterProcessor, ArrangementsAndSampleSizes) {
  Instance inst;
  IPluginVST3* p = inst.plug;
  EXPECT_EQ(p->canProcessSampleSize(kSample32), kResultOk);
  EXPECT_EQ(p->canProcessSampleSize(kSample64), kResultOk);
  EXPECT_EQ(p->canProcessSampleSize(2), kResultFalse);
  ProcessSetup bad{kRealtime, 2, 512, 48000.0};
  EXPECT_EQ(p->setupProcessing(&bad), kResultFalse);

  SpeakerArrangement in[2] = {arrangements::kStereo, arrangements::kStereo};
  SpeakerArrangement out[1] = {arrangements::kStereo};
  EXPECT_EQ(p->setBusArrangements(in, 2, out, 1), kResultOk);
  BusInfo bus{};
  ASSERT_EQ(p->getBusInfo(kAudio, kInput, 1, &bus), kResultOk);
  EXPECT_EQ(U16(bus.name), u"Aux Input");
  EXPECT_EQ(p->setBusArrangements(in, 1, out, 1), kResultFalse);
  EXPECT_EQ(p->getBusCount(kAudio, kInput), 2);
  SpeakerArrangement mono[1] = {arrangements::kMono};
  EXPECT_EQ(p->setBusArrangements(mono, 1, mono, 1), kResultFalse);
  // Four main channels plus a sidechain would need six inputs.
  SpeakerArrangement quadAndSide[2] = {arrangements::k40Music, arrangements::kStereo};
  EXPECT_EQ(p->setBusArrangements(quadAndSide, 2, out, 1), kResultFalse);
  SpeakerArrangement arr = 0;
  ASSERT_EQ(p->getBusArrangement(kInput, 0, &arr), kResultOk);
  EXPECT_EQ(arr, arrangements::kStereo);
  EXPECT_EQ(p->setBusArrangements(nullptr, 2, out, 1), kInvalidArgument);
}

TEST(AdapterProcessor, OnlyTheLastPointOfAQueueApplies) {
  Instance inst;
  inst.Setup(kSample64, 64);
  TestPlug* p = inst.plug;
  qvhost::ParameterChangeList changes;
  auto* q = changes.queueFor(TestPlug::kGain);
  int32 idx = 0;
  q->addPoint(0, 0.1, &idx);
  q->addPoint(10, 0.9, &idx);
  q->addPoint(20, 0.3, &idx);
  changes.queueFor(kNoParamId);  // an empty queue with an unknown id is ignored
  Block<double> block(32, 1.0, 0.0);
  block.data.inputParameterChanges = &changes;
  p->changed.clear();
  ASSERT_EQ(p->process(&block.data), kResultOk);
  EXPECT_DOUBLE_EQ(p->GetParam(TestPlug::kGain)->GetValue(), 0.3);
  EXPECT_EQ(p->changed, std::vector<int>{TestPlug::kGain});
  for (int s = 0; s < 32; ++s) ASSERT_DOUBLE_EQ(block.out[0][s], 0.3) << s;
}

TEST(AdapterProcessor, BypassSwitchesAboveOneHalf) {
  Instance inst;
  inst.Setup(kSample32, 64);
  TestPlug* p = inst.plug;
  for (double value : {0.5, 0.51}) {
    qvhost::ParameterChangeList changes;
    int32 idx = 0;
    changes.queueFor(IPluginVST3::kBypassParam)->addPoint(0, value, &idx);
    Block<float> block(16, 1.0, 0.0);
    block.data.inputParameterChanges = &changes;
    ASSERT_EQ(p->process(&block.data), kResultOk);
    const bool bypassed = value > 0.5;
    EXPECT_EQ(p->IsBypassed(), bypassed);
    EXPECT_FLOAT_EQ(block.out[1][15], bypassed ? 1.0f : 0.5f) << value;
  }
}

TEST(AdapterProcessor, SidechainReadsSilenceUntilItsBusIsActive) {
  Instance inst;
  inst.Setup(kSample32, 64);
  TestPlug* p = inst.plug;
  Block<float> off(8, 1.0, 0.25);
  ASSERT_EQ(p->process(&off.data), kResultOk);
  EXPECT_FLOAT_EQ(off.out[0][7], 0.5f);

  ASSERT_EQ(p->activateBus(kAudio, kInput, 1, 1), kResultOk);
  Block<float> on(8, 1.0, 0.25);
  ASSERT_EQ(p->process(&on.data), kResultOk);
  EXPECT_FLOAT_EQ(on.out[0][7], 0.75f);
  EXPECT_FLOAT_EQ(on.out[1][0], 0.75f);

  // Switched off again: the converted sidechain samples must not be replayed.
  ASSERT_EQ(p->activateBus(kAudio, kInput, 1, 0), kResultOk);
  Block<float> offAgain(8, 1.0, 0.25);
  ASSERT_EQ(p->process(&offAgain.data), kResultOk);
  EXPECT_FLOAT_EQ(offAgain.out[0][7], 0.5f);
}

// Every way a host can stop feeding a channel: after a fed block, the starved channels read
// silence, never the previous block again.
template <class S>
void StarvedChannelsReadSilence() {
  struct Case {
    const char* name;
    void (*starve)(Block<S>&);
    bool fed[4];  // main left, main right, sidechain left, sidechain right
  };
  const Case cases[] = {
      {"no input bus", [](Block<S>& b) { b.data.numInputs = 0; }, {false, false, false, false}},
      {"no sidechain buffers", [](Block<S>& b) { b.data.numInputs = 1; }, {true, true, false, false}},
      {"fewer channels",
       [](Block<S>& b) {
         b.inputs[0].numChannels = 1;
         b.inputs[1].numChannels = 1;
       },
       {true, false, true, false}},
      {"null channel pointers",
       [](Block<S>& b) {
         b.mainPtr[0] = nullptr;
         b.sidePtr[1] = nullptr;
       },
       {false, true, true, false}},
  };
  for (const Case& c : cases) {
    Instance inst;
    inst.Setup(sizeof(S) == 4 ? kSample32 : kSample64, 64);
    TestPlug* p = inst.plug;
    ASSERT_EQ(p->activateBus(kAudio, kInput, 1, 1), kResultOk);
    Block<S> fed(32, 1.0, 0.25);
    ASSERT_EQ(p->process(&fed.data), kResultOk);
    for (int round = 0; round < 2; ++round) {
      Block<S> starved(32, 1.0, 0.25);
      c.starve(starved);
      ASSERT_EQ(p->process(&starved.data), kResultOk);
      for (int ch = 0; ch < 4; ++ch)
        EXPECT_EQ(p->peakIn[ch], c.fed[ch] ? (ch < 2 ? 1.0 : 0.25) : 0.0) << c.name << " channel " << ch;
      for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ(starved.out[ch][31], (c.fed[ch] ? 0.5 : 0.0) + (c.fed[ch + 2] ? 0.25 : 0.0)) << c.name;
    }
  }
}

TEST(AdapterProcessor, ChannelsThatStopBeingFedReadSilence) {
  StarvedChannelsReadSilence<double>();
  StarvedChannelsReadSilence<float>();
}

TEST(AdapterProcessor, SinglePrecisionAndDoublePrecisionAgree) {
  Instance a, b;
  a.Setup(kSample32, 128);
  b.Setup(kSample64, 128);
  a.plug->activateBus(kAudio, kInput, 1, 1);
  b.plug->activateBus(kAudio, kInput, 1, 1);
  Block<float> f(100);
  Block<double> d(100);
  for (int s = 0; s < 100; ++s) {
    f.main[0][s] = static_cast<float>(d.main[0][s] = std::sin(s * 0.1));
    f.side[1][s] = static_cast<float>(d.side[1][s] = std::cos(s * 0.07));
  }
  ASSERT_EQ(a.plug->process(&f.data), kResultOk);
  ASSERT_EQ(b.plug->process(&d.data), kResultOk);
  for (int c = 0; c < 2; ++c)
    for (int s = 0; s < 100; ++s) ASSERT_NEAR(f.out[c][s], d.out[c][s], 1e-6) << c << ":" << s;
}

TEST(AdapterProcessor, LongBlocksAreSlicedAndBadInputIsHarmless) {
  Instance inst;
  inst.Setup(kSample64, 16);
  TestPlug* p = inst.plug;
  Block<double> big(100, 1.0, 0.0);
  for (int s = 0; s < 100; ++s) big.main[0][s] = s;
  ASSERT_EQ(p->process(&big.data), kResultOk);
  for (int s = 0; s < 100; ++s) ASSERT_DOUBLE_EQ(big.out[0][s], 0.5 * s) << s;

  Block<double> negative(8);
  negative.data.numSamples = -5;
  ASSERT_EQ(p->process(&negative.data), kResultOk);
  EXPECT_DOUBLE_EQ(negative.out[0][0], -7.0);

  // The block's width differs from the set-up: nothing is touched.
  Block<float> wrongWidth(8);
  ASSERT_EQ(p->process(&wrongWidth.data), kResultOk);
  EXPECT_FLOAT_EQ(wrongWidth.out[0][0], -7.0f);

  ProcessData flush{};
  flush.symbolicSampleSize = kSample64;
  flush.numSamples = 16;
  flush.numInputs = 2;
  flush.numOutputs = 1;
  ASSERT_EQ(p->process(&flush), kResultOk);
  ASSERT_EQ(p->process(nullptr), kResultOk);

  // A main bus with fewer channels than declared, and a null channel pointer.
  Block<double> narrow(8, 1.0, 0.0);
  narrow.inputs[0].numChannels = 1;
  narrow.outPtr[1] = nullptr;
  ASSERT_EQ(p->process(&narrow.data), kResultOk);
  EXPECT_DOUBLE_EQ(narrow.out[0][3], 0.5);
}

TEST(AdapterProcessor, ProcessingAllocatesNothing) {
  for (int32 width : {kSample32, kSample64}) {
    Instance inst;
    inst.Setup(width, 32);
    TestPlug* p = inst.plug;
    p->changed.reserve(64);
    qvhost::ParameterChangeList changes;
    int32 idx = 0;
    changes.queueFor(TestPlug::kGain)->addPoint(0, 0.2, &idx);
    changes.queueFor(IPluginVST3::kPresetParam)->addPoint(0, 0.0, &idx);
    changes.queueFor(IPluginVST3::kBypassParam)->addPoint(0, 1.0, &idx);
    Block<float> f(100);
    Block<double> d(100);
    ProcessData& data = width == kSample32 ? f.data : d.data;
    data.inputParameterChanges = &changes;
    long before = gAllocations.load();
    int* volatile probe = new int(1);  // the counter does see this program's allocations
    delete probe;
    ASSERT_GT(gAllocations.load(), before);
    before = gAllocations.load();
    for (int round = 0; round < 4; ++round) {
      p->activateBus(kAudio, kInput, 1, round % 2);  // sidechain on and off between blocks
      ASSERT_EQ(p->process(&data), kResultOk);
    }
    EXPECT_EQ(gAllocations.load() - before, 0) << width;
  }
}

TEST(AdapterState, ControllerAndComponentStatesCarryTheSameBytes) {
  Instance inst;
  TestPlug* p = inst.plug;
  p->GetParam(TestPlug::kGain)->SetValue(0.75);
  p->SetBypassed(true);
  auto ctrl = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream);
  auto comp = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream);
  ASSERT_EQ(p->getControllerState(ctrl.get()), kResultOk);
  ASSERT_EQ(p->getState(comp.get()), kResultOk);
  const size_t size = TestPlug::kNumParams * 8 + 4;
  ASSERT_EQ(ctrl->data().size(), size);
  EXPECT_EQ(ctrl->data(), comp->data());
  double gain = 0;
  std::memcpy(&gain, ctrl->data().data() + 8 * TestPlug::kGain, 8);
  EXPECT_DOUBLE_EQ(gain, 0.75);
  EXPECT_EQ(std::vector<uint8_t>(ctrl->data().end() - 4, ctrl->data().end()),
            (std::vector<uint8_t>{1, 0, 0, 0}));

  Instance other;
  auto in = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream(comp->data()));
  ASSERT_EQ(other.plug->setState(in.get()), kResultOk);
  EXPECT_DOUBLE_EQ(other.plug->GetParam(TestPlug::kGain)->GetValue(), 0.75);
  EXPECT_TRUE(other.plug->IsBypassed());
  auto again = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream(comp->data()));
  EXPECT_EQ(other.plug->setComponentState(again.get()), kResultOk);

  // A bypass flag of 2 counts as set; the controller state alone restores everything.
  std::vector<uint8_t> bytes = ctrl->data();
  bytes[size - 4] = 2;
  Instance third;
  auto s3 = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream(bytes));
  ASSERT_EQ(third.plug->setControllerState(s3.get()), kResultOk);
  EXPECT_TRUE(third.plug->IsBypassed());
  EXPECT_DOUBLE_EQ(third.plug->GetParam(TestPlug::kGain)->GetValue(), 0.75);
}

// Hosts restore a project before they set up processing; the bypass the user saved must survive
// the set-up, in sound, in the host's view of the parameter and in the next save.
TEST(AdapterState, ProcessingSetUpKeepsARestoredBypass) {
  Instance saved;
  saved.plug->SetBypassed(true);
  auto bytes = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream);
  ASSERT_EQ(saved.plug->getState(bytes.get()), kResultOk);

  Instance inst;
  TestPlug* p = inst.plug;
  auto in = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream(bytes->data()));
  ASSERT_EQ(p->setState(in.get()), kResultOk);
  inst.Setup(kSample64, 64);
  inst.Setup(kSample32, 128);  // a second set-up, as on a sample-rate change
  EXPECT_DOUBLE_EQ(p->getParamNormalized(IPluginVST3::kBypassParam), 1.0);
  Block<float> block(16, 1.0, 0.0);
  ASSERT_EQ(p->process(&block.data), kResultOk);
  EXPECT_FLOAT_EQ(block.out[0][15], 1.0f);  // passed through, not processed (0.5)
  auto again = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream);
  ASSERT_EQ(p->getState(again.get()), kResultOk);
  EXPECT_EQ(again->data(), bytes->data());
}

TEST(AdapterState, ShortComponentStateChangesNothing) {
  Instance inst;
  TestPlug* p = inst.plug;
  auto ctrl = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream);
  p->getControllerState(ctrl.get());
  std::vector<uint8_t> bytes = ctrl->data();
  double loud = 0.9;
  std::memcpy(bytes.data() + 8 * TestPlug::kGain, &loud, 8);
  for (size_t keep : {size_t(0), size_t(12), bytes.size() - 1}) {
    auto s = Ref<qvhost::MemoryStream>::adopt(
        new qvhost::MemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.begin() + keep)));
    EXPECT_EQ(p->setState(s.get()), kResultFalse) << keep;
    EXPECT_DOUBLE_EQ(p->GetParam(TestPlug::kGain)->GetValue(), 0.5) << keep;
  }
  EXPECT_EQ(p->setState(nullptr), kInvalidArgument);
}

namespace {

// A stream that delivers its bytes and then either fails or succeeds with nothing.
class EndingStream : public IBStream {
 public:
  EndingStream(std::vector<uint8_t> bytes, bool failAtEnd) : mBytes(std::move(bytes)), mFail(failAtEnd) {}
  tresult VST3ABI_CALL queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return 1; }
  uint32 VST3ABI_CALL release() override { return 1; }
  tresult VST3ABI_CALL read(void* buffer, int32 n, int32* got) override {
    const int32 left = static_cast<int32>(mBytes.size() - mPos);
    if (left == 0 && mFail) return kResultFalse;
    const int32 k = std::min(n, left);
    std::memcpy(buffer, mBytes.data() + mPos, k);
    mPos += k;
    if (got) *got = k;
    return kResultOk;
  }
  tresult VST3ABI_CALL write(void*, int32, int32*) override { return kResultFalse; }
  tresult VST3ABI_CALL seek(int64, int32, int64*) override { return kResultFalse; }
  tresult VST3ABI_CALL tell(int64*) override { return kResultFalse; }

 private:
  std::vector<uint8_t> mBytes;
  size_t mPos = 0;
  bool mFail;
};

}  // namespace

TEST(AdapterState, MissingBypassFlagKeepsOrClearsItByReadResult) {
  Instance inst;
  TestPlug* p = inst.plug;
  auto ctrl = Ref<qvhost::MemoryStream>::adopt(new qvhost::MemoryStream);
  p->GetParam(TestPlug::kGain)->SetValue(0.125);
  p->getControllerState(ctrl.get());
  std::vector<uint8_t> params(ctrl->data().begin(), ctrl->data().end() - 4);
  p->GetParam(TestPlug::kGain)->SetValue(0.5);

  p->SetBypassed(true);
  EndingStream failing(params, true);
  p->changed.clear();
  EXPECT_EQ(p->setControllerState(&failing), kResultFalse);
  EXPECT_DOUBLE_EQ(p->GetParam(TestPlug::kGain)->GetValue(), 0.125);
  EXPECT_EQ(p->changed.size(), static_cast<size_t>(TestPlug::kNumParams));
  EXPECT_TRUE(p->IsBypassed());

  EndingStream empty(params, false);
  EXPECT_EQ(p->setControllerState(&empty), kResultOk);
  EXPECT_FALSE(p->IsBypassed());
}

TEST(AdapterObject, InterfacesShareOneObjectAndCount) {
  auto* plug = new TestPlug;
  void* obj = nullptr;
  ASSERT_EQ(plug->queryInterface(IEditController::iid.bytes, &obj), kResultOk);
  auto* ctrl = static_cast<IEditController*>(obj);
  ASSERT_EQ(ctrl->queryInterface(FUnknown::iid.bytes, &obj), kResultOk);
  FUnknown* unknown = static_cast<FUnknown*>(obj);
  ASSERT_EQ(plug->queryInterface(FUnknown::iid.bytes, &obj), kResultOk);
  EXPECT_EQ(obj, unknown);
  ASSERT_EQ(plug->queryInterface(IUnitInfo::iid.bytes, &obj), kResultOk);
  EXPECT_EQ(plug->queryInterface(IPluginFactory::iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  // A view holds a reference on its plug-in while it exists.
  IPlugView* view = plug->createView("editor");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->release(), 0u);
  EXPECT_TRUE(plug->isTypeOf("IPluginVST3"));
  EXPECT_TRUE(plug->isTypeOf("EffectComponent", true));
  EXPECT_FALSE(plug->isTypeOf("EffectComponent", false));
  // One creation reference plus four queries.
  EXPECT_EQ(plug->release(), 4u);
  plug->release();
  plug->release();
  plug->release();
  EXPECT_EQ(unknown->release(), 0u);
}
