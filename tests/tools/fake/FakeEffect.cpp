// A tiny VST 3 effect module built on our declarations, for driving the host library end to end:
// a single-component gain with 32 samples of latency, a sidechain input mixed in at half level,
// two parameters both titled "Bypass", a stepped "Mode", a read-only "Meter" it reports back, and
// distinct processor and controller state. Every host call is appended to a log the test reads.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "vst3/abi/AllInterfaces.h"

using namespace vst3abi;

namespace {

std::string gLog;
int gEntries = 0;

void note(const std::string& s) {
  gLog += s;
  gLog += ';';
}

constexpr Uid kClassId = makeUid(0x51560001, 0x46414B45, 0x45464645, 0x43540001);
constexpr ParamID kGain = 0, kMode = 5, kMeter = 6, kEngage = 11, kHostBypass = 0x62706173;
constexpr uint32 kLatency = 32;

void copyTitle(String128 dst, const char* src) {
  size_t i = 0;
  for (; src[i] && i < 127; ++i) dst[i] = static_cast<char16>(src[i]);
  dst[i] = 0;
}

std::string narrow(const TChar* s) {
  std::string out;
  for (size_t i = 0; s[i] && i < 128; ++i) out.push_back(static_cast<char>(s[i]));
  return out;
}

class FakeEffect final : public IComponent, public IAudioProcessor, public IEditController {
 public:
  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IPluginBase::iid) ||
        uidEquals(iid, IComponent::iid)) {
      *obj = static_cast<IComponent*>(this);
    } else if (uidEquals(iid, IAudioProcessor::iid)) {
      *obj = static_cast<IAudioProcessor*>(this);
    } else if (uidEquals(iid, IEditController::iid)) {
      *obj = static_cast<IEditController*>(this);
    } else {
      *obj = nullptr;
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 VST3ABI_CALL addRef() override { return ++mRefs; }
  uint32 VST3ABI_CALL release() override {
    const uint32 n = --mRefs;
    if (n == 0) {
      note("destroyed");
      delete this;
    }
    return n;
  }

  tresult VST3ABI_CALL initialize(FUnknown* context) override {
    void* app = nullptr;
    if (!context || context->queryInterface(IHostApplication::iid.bytes, &app) != kResultOk)
      return kResultFalse;
    String128 name = {};
    static_cast<IHostApplication*>(app)->getName(name);
    static_cast<IHostApplication*>(app)->release();
    note("initialize:" + narrow(name));
    return kResultOk;
  }
  tresult VST3ABI_CALL terminate() override {
    note("terminate");
    return kResultOk;
  }

  // IComponent
  tresult VST3ABI_CALL getControllerClassId(TUID) override { return kResultFalse; }
  tresult VST3ABI_CALL setIoMode(IoMode) override { return kResultOk; }
  int32 VST3ABI_CALL getBusCount(MediaType type, BusDirection dir) override {
    return type == kAudio ? (dir == kInput ? 2 : 1) : 0;
  }
  tresult VST3ABI_CALL getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo* bus) override {
    if (type != kAudio || index < 0 || index >= getBusCount(type, dir)) return kInvalidArgument;
    *bus = BusInfo{};
    bus->mediaType = kAudio;
    bus->direction = dir;
    bus->channelCount = 2;
    bus->busType = index == 0 ? kMain : kAux;
    bus->flags = index == 0 ? uint32(BusInfo::kDefaultActive) : 0u;
    copyTitle(bus->name, dir == kOutput ? "Output" : (index == 0 ? "Main Input" : "Aux Input"));
    return kResultOk;
  }
  tresult VST3ABI_CALL getRoutingInfo(RoutingInfo*, RoutingInfo*) override { return kNotImplemented; }
  tresult VST3ABI_CALL activateBus(MediaType type, BusDirection dir, int32 index, TBool state) override {
    if (type == kAudio && dir == kInput && index == 1) mAuxActive = state != 0;
    note("activateBus:" + std::to_string(dir) + "/" + std::to_string(index) + "=" + std::to_string(state));
    return kResultOk;
  }
  tresult VST3ABI_CALL setActive(TBool state) override {
    note("setActive:" + std::to_string(state));
    if (state) std::memset(mDelay, 0, sizeof mDelay);
    return kResultOk;
  }
  tresult VST3ABI_CALL setState(IBStream* s) override {
    double v[4] = {};
    int32 got = 0;
    if (!s || s->read(v, sizeof v, &got) != kResultOk || got != static_cast<int32>(sizeof v))
      return kResultFalse;
    mGainNorm = v[0], mEngage = v[1], mHostBypass = v[2], mMode = v[3];
    note("setState");
    return kResultOk;
  }
  tresult VST3ABI_CALL getState(IBStream* s) override {
    double v[4] = {mGainNorm, mEngage, mHostBypass, mMode};
    return s && s->write(v, sizeof v, nullptr) == kResultOk ? kResultOk : kResultFalse;
  }

  // IAudioProcessor
  tresult VST3ABI_CALL setBusArrangements(SpeakerArrangement* in, int32 nIn, SpeakerArrangement* out,
                                          int32 nOut) override {
    const bool ok = nIn == 2 && nOut == 1 && in[0] == arrangements::kStereo &&
                    in[1] == arrangements::kStereo && out[0] == arrangements::kStereo;
    note(ok ? "setBusArrangements" : "setBusArrangements:refused");
    return ok ? kResultTrue : kResultFalse;
  }
  tresult VST3ABI_CALL getBusArrangement(BusDirection, int32, SpeakerArrangement* arr) override {
    *arr = arrangements::kStereo;
    return kResultOk;
  }
  tresult VST3ABI_CALL canProcessSampleSize(int32 size) override {
    return size == kSample32 || size == kSample64 ? kResultTrue : kResultFalse;
  }
  uint32 VST3ABI_CALL getLatencySamples() override { return kLatency; }
  tresult VST3ABI_CALL setupProcessing(ProcessSetup* setup) override {
    mSampleSize = setup->symbolicSampleSize;
    note("setupProcessing:" + std::to_string(static_cast<long>(setup->sampleRate)) + "/" +
         std::to_string(setup->maxSamplesPerBlock) + "/" + (mSampleSize == kSample64 ? "64" : "32"));
    return kResultOk;
  }
  tresult VST3ABI_CALL setProcessing(TBool state) override {
    note("setProcessing:" + std::to_string(state));
    return kResultOk;
  }
  tresult VST3ABI_CALL process(ProcessData* data) override {
    if (IParameterChanges* changes = data->inputParameterChanges) {
      for (int32 i = 0; i < changes->getParameterCount(); ++i) {
        IParamValueQueue* q = changes->getParameterData(i);
        int32 offset = 0;
        double v = 0;
        if (!q || q->getPoint(q->getPointCount() - 1, &offset, &v) != kResultTrue) continue;
        setParamNormalized(q->getParameterId(), v);
        note("change:" + std::to_string(q->getParameterId()) + "@" + std::to_string(offset));
      }
    }
    if (data->numSamples == 0 || data->numOutputs == 0) return kResultOk;
    if (data->symbolicSampleSize != mSampleSize) return kInvalidArgument;
    const double gain = std::pow(10.0, (mGainNorm * 48.0 - 24.0) / 20.0);
    const bool pass = mEngage < 0.5 || mHostBypass >= 0.5;
    double peak = 0;
    for (int32 i = 0; i < data->numSamples; ++i) {
      for (int c = 0; c < 2; ++c) {
        const double in = sample(data->inputs[0], c, i);
        const double side = mAuxActive ? 0.5 * sample(data->inputs[1], 0, i) : 0.0;
        const double y = pass ? in : in * gain + side;
        double* line = mDelay[c];
        const double out = line[mDelayPos];
        line[mDelayPos] = y;
        put(data->outputs[0], c, i, out);
        peak = std::fmax(peak, std::fabs(out));
      }
      mDelayPos = (mDelayPos + 1) % kLatency;
    }
    if (data->outputParameterChanges) {
      int32 index = 0;
      const ParamID id = kMeter;
      if (IParamValueQueue* q = data->outputParameterChanges->addParameterData(&id, &index)) {
        q->addPoint(0, std::fmin(1.0, peak), &index);
      }
    }
    return kResultOk;
  }
  uint32 VST3ABI_CALL getTailSamples() override { return kLatency; }

  // IEditController
  tresult VST3ABI_CALL setComponentState(IBStream* s) override {
    note("setComponentState");
    double v[4] = {};
    int32 got = 0;
    if (!s || s->read(v, sizeof v, &got) != kResultOk || got != static_cast<int32>(sizeof v))
      return kResultFalse;
    return kResultOk;
  }
  tresult VST3ABI_CALL setControllerState(IBStream* s) override {
    char tag[4] = {};
    int32 got = 0;
    if (!s || s->read(tag, 4, &got) != kResultOk || got != 4 || std::memcmp(tag, "VIEW", 4) != 0)
      return kResultFalse;
    note("setControllerState");
    return kResultOk;
  }
  tresult VST3ABI_CALL getControllerState(IBStream* s) override {
    char tag[4] = {'V', 'I', 'E', 'W'};
    return s && s->write(tag, 4, nullptr) == kResultOk ? kResultOk : kResultFalse;
  }
  int32 VST3ABI_CALL getParameterCount() override { return 6; }
  tresult VST3ABI_CALL getParameterInfo(int32 index, ParameterInfo* info) override {
    static const struct {
      ParamID id;
      const char* title;
      const char* units;
      int32 steps;
      double def;
      int32 flags;
    } params[] = {
        {kGain, "Gain", "dB", 0, 0.5, ParameterInfo::kCanAutomate},
        {kEngage, "Bypass", "", 1, 1.0, ParameterInfo::kCanAutomate},
        {kHostBypass, "Bypass", "", 1, 0.0, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass},
        {kMode, "Mode", "", 2, 0.0, ParameterInfo::kCanAutomate | ParameterInfo::kIsList},
        {kMeter, "Meter", "", 0, 0.0, ParameterInfo::kIsReadOnly},
        {7, "Ghost", "", 0, 0.0, 0},
    };
    if (index < 0 || index >= 6) return kInvalidArgument;
    *info = ParameterInfo{};
    info->id = params[index].id;
    copyTitle(info->title, params[index].title);
    copyTitle(info->shortTitle, params[index].title);
    copyTitle(info->units, params[index].units);
    info->stepCount = params[index].steps;
    info->defaultNormalizedValue = params[index].def;
    info->flags = params[index].flags;
    return kResultOk;
  }
  tresult VST3ABI_CALL getParamStringByValue(ParamID id, ParamValue v, String128 out) override {
    char buf[64];
    static const char* modes[] = {"Soft", "Medium", "Hard"};
    switch (id) {
      case kGain:
        std::snprintf(buf, sizeof buf, "%.1f", normalizedParamToPlain(id, v));
        break;
      case kMode:
        std::snprintf(buf, sizeof buf, "%s", modes[std::lround(std::fmin(1, std::fmax(0, v)) * 2)]);
        break;
      case kEngage:
      case kHostBypass:
        std::snprintf(buf, sizeof buf, "%s", v >= 0.5 ? "1" : "0");
        break;
      case kMeter:
        std::snprintf(buf, sizeof buf, "%.3f", v);
        break;
      default:
        return kResultFalse;  // "Ghost" has no text at all
    }
    copyTitle(out, buf);
    return kResultOk;
  }
  tresult VST3ABI_CALL getParamValueByString(ParamID id, TChar* text, ParamValue* out) override {
    const std::string s = narrow(text);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str()) return kResultFalse;
    if (id != kGain && id != kEngage && id != kHostBypass) return kResultFalse;
    *out = plainParamToNormalized(id, v);  // deliberately unclamped, as many plug-ins are
    return kResultOk;
  }
  ParamValue VST3ABI_CALL normalizedParamToPlain(ParamID id, ParamValue v) override {
    return id == kGain ? v * 48.0 - 24.0 : v;
  }
  ParamValue VST3ABI_CALL plainParamToNormalized(ParamID id, ParamValue v) override {
    return id == kGain ? (v + 24.0) / 48.0 : v;
  }
  ParamValue VST3ABI_CALL getParamNormalized(ParamID id) override {
    switch (id) {
      case kGain:
        return mGainNorm;
      case kEngage:
        return mEngage;
      case kHostBypass:
        return mHostBypass;
      case kMode:
        return mMode;
      case kMeter:
        return mMeter;
      default:
        return 0;
    }
  }
  tresult VST3ABI_CALL setParamNormalized(ParamID id, ParamValue v) override {
    switch (id) {
      case kGain:
        mGainNorm = v;
        break;
      case kEngage:
        mEngage = v;
        break;
      case kHostBypass:
        mHostBypass = v;
        break;
      case kMode:
        mMode = v;
        break;
      case kMeter:
        mMeter = v;
        break;
      default:
        return kResultFalse;
    }
    return kResultOk;
  }
  tresult VST3ABI_CALL setComponentHandler(IComponentHandler* handler) override {
    note(handler ? "setComponentHandler" : "setComponentHandler:null");
    return kResultOk;
  }
  IPlugView* VST3ABI_CALL createView(FIDString) override { return nullptr; }

 private:
  double sample(const AudioBusBuffers& b, int c, int32 i) const {
    if (b.numChannels <= c) return 0;
    return mSampleSize == kSample64 ? b.channelBuffers64[c][i] : b.channelBuffers32[c][i];
  }
  void put(AudioBusBuffers& b, int c, int32 i, double v) const {
    if (mSampleSize == kSample64) {
      b.channelBuffers64[c][i] = v;
    } else {
      b.channelBuffers32[c][i] = static_cast<float>(v);
    }
  }

  uint32 mRefs = 1;
  int32 mSampleSize = kSample32;
  bool mAuxActive = false;
  double mGainNorm = 0.5, mEngage = 1.0, mHostBypass = 0.0, mMode = 0.0, mMeter = 0.0;
  double mDelay[2][kLatency] = {};
  uint32 mDelayPos = 0;
};

class FakeFactory final : public IPluginFactory {
 public:
  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IPluginFactory::iid)) {
      *obj = this;
      addRef();
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return ++mRefs; }
  uint32 VST3ABI_CALL release() override {
    const uint32 n = --mRefs;
    if (n == 0) {
      note("factoryReleased");
      delete this;
    }
    return n;
  }
  tresult VST3ABI_CALL getFactoryInfo(PFactoryInfo* info) override {
    *info = PFactoryInfo{};
    std::snprintf(info->vendor, sizeof info->vendor, "Fake Vendor");
    info->flags = PFactoryInfo::kUnicode;
    return kResultOk;
  }
  int32 VST3ABI_CALL countClasses() override { return 2; }
  tresult VST3ABI_CALL getClassInfo(int32 index, PClassInfo* info) override {
    if (index < 0 || index > 1) return kInvalidArgument;
    *info = PClassInfo{};
    // A non-effect class first, so the host has to pick by category.
    std::memcpy(info->cid, index == 1 ? kClassId.bytes : makeUid(1, 2, 3, 4).bytes, 16);
    info->cardinality = PClassInfo::kManyInstances;
    std::snprintf(info->category, sizeof info->category, "%s", index == 1 ? kAudioEffectClass : kTestClass);
    std::snprintf(info->name, sizeof info->name, "%s", index == 1 ? "Fake Gain" : "Fake Test");
    return kResultOk;
  }
  tresult VST3ABI_CALL createInstance(FIDString cid, FIDString iid, void** obj) override {
    *obj = nullptr;
    if (!uidEquals(cid, kClassId)) return kNoInterface;
    auto* effect = new FakeEffect;
    const tresult r = effect->queryInterface(iid, obj);
    effect->release();
    return r;
  }

 private:
  uint32 mRefs = 1;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) bool ModuleEntry(void*) {
  ++gEntries;
  note("ModuleEntry");
  return true;
}

__attribute__((visibility("default"))) bool ModuleExit() {
  note("ModuleExit");
  return --gEntries >= 0;
}

__attribute__((visibility("default"))) IPluginFactory* GetPluginFactory() { return new FakeFactory; }

// Test hooks: the call log since the last reset.
__attribute__((visibility("default"))) const char* FakeEffectLog() { return gLog.c_str(); }
__attribute__((visibility("default"))) void FakeEffectResetLog() { gLog.clear(); }
}
