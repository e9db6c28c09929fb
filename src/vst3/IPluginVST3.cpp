// The VST 3 adapter: construction, initialisation, bus arrangements, processing set-up, the
// real-time process call, the controller operations and the host-time queries.
#include "vst3/IPluginVST3.h"

#include "framework/ByteChunk.h"
#include "vst3/IPluginParameter.h"
#include "vst3/IPluginVST3View.h"
#include "vst3/abi/ContextMenu.h"
#include "vst3/abi/HostApplication.h"
#include "vst3/support/ListHostParam.h"
#include "vst3/support/Utf16.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace vst3abi;
using vstsupport::ClampNormalized;

namespace {

// Reads until n bytes have arrived or the stream has no more; streams may deliver in pieces.
int ReadUpTo(IBStream* stream, void* buffer, int n) {
  int have = 0;
  while (have < n) {
    int32 got = 0;
    if (stream->read(static_cast<unsigned char*>(buffer) + have, n - have, &got) != kResultOk || got <= 0)
      break;
    have += std::min(static_cast<int>(got), n - have);
  }
  return have;
}

}  // namespace

IPluginVST3::IPluginVST3(IPluginInstanceInfo, int nParams, const char* channelIOStr, int nPresets,
                         const char* effectName, const char* productName, const char* makerName,
                         int vendorVersion, int uniqueId, int makerId, int latency, bool plugDoesMidi,
                         bool plugDoesChunks, bool plugIsInst, int plugScChans)
    : IPlugin(nParams, channelIOStr, nPresets, effectName, productName, makerName, vendorVersion, uniqueId,
              makerId, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPIVST3),
      mSidechainChannels(std::clamp(plugScChans, 0, GetInputChannelCount())),
      mFeeder(GetInputChannelCount(), GetOutputChannelCount()) {
  SetUpEffectBuses("Main Input", "Aux Input", mSidechainChannels != 0, IsInstrument() ? nullptr : "Output");
  // An instrument's outputs are stereo busses, one per pair.
  char label[32];
  for (int i = 0; IsInstrument() && i < GetOutputChannelCount() / 2; ++i) {
    std::snprintf(label, sizeof label, "Output %i", i + 1);
    SetOutputBusLabel(i, label);
  }
}

IPluginVST3::~IPluginVST3() = default;

SpeakerArrangement IPluginVST3::getSpeakerArrForChans(int32 chans) {
  switch (chans) {
    case 1:
      return arrangements::kMono;
    case 2:
      return arrangements::kStereo;
    case 3:
      return arrangements::k30Music;
    case 4:
      return arrangements::k40Music;
    case 5:
      return arrangements::k50;
    case 6:
      return arrangements::k51;
    default:
      return arrangements::kEmpty;
  }
}

// ---- Initialisation ------------------------------------------------------------------------------

tresult IPluginVST3::initialize(FUnknown* context) {
  const tresult result = EffectComponent::initialize(context);
  try {
    if (context) {
      IHostApplication* app = nullptr;
      if (context->queryInterface(IHostApplication::iid.bytes, reinterpret_cast<void**>(&app)) == kResultOk &&
          app) {
        String128 name16{};
        app->getName(name16);
        char name[128];
        vstsupport::Utf16ToUtf8(name16, 128, name, sizeof name);
        SetHost(name, 0);
        app->release();
      }
    }

    if (result == kResultOk) {
      if (mSidechainChannels > 2) mSidechainChannels = 2;
      const int nIn = GetInputChannelCount();
      const int nOut = GetOutputChannelCount();

      if (const SpeakerArrangement arr = getSpeakerArrForChans(nIn - mSidechainChannels)) {
        const char* label = GetInputBusLabel(0);
        mAudioInputs.Add(label ? label : "Input", kMain, BusInfo::kDefaultActive).arrangement = arr;
      }
      if (IsInstrument()) {
        for (int i = 0; i < nOut / 2; ++i) {
          const char* label = GetOutputBusLabel(i);
          mAudioOutputs.Add(label ? label : "Output", kMain, BusInfo::kDefaultActive).arrangement =
              arrangements::kStereo;
        }
      } else {
        const char* label = GetOutputBusLabel(0);
        mAudioOutputs.Add(label ? label : "Output", kMain, BusInfo::kDefaultActive).arrangement =
            getSpeakerArrForChans(nOut);
      }
      if (mSidechainChannels) {
        const char* label = GetInputBusLabel(1);
        mAudioInputs.Add(label ? label : "Aux Input", kAux, 0).arrangement =
            getSpeakerArrForChans(mSidechainChannels);
      }
      if (DoesMidi()) mEventInputs.Add("MIDI Input", kMain, BusInfo::kDefaultActive).eventChannels = 1;

      if (GetPresetCount() > 0) {
        mParameters.Add(std::make_unique<vstsupport::HostParam>(
            "Preset", kPresetParam, "", 0.0, GetPresetCount(), ParameterInfo::kIsProgramChange, kRootUnitId));
      }
      if (!IsInstrument()) {
        auto bypass = std::make_unique<vstsupport::ListHostParam>(
            "Bypass", kBypassParam, "", ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, kRootUnitId);
        bypass->appendEntry("off");
        bypass->appendEntry("on");
        mParameters.Add(std::move(bypass));
      }
      for (int i = 0; i < GetParamCount(); ++i) {
        IParam* param = GetParam(i);
        if (!param) continue;
        const char* group = param->GetParamGroupForHost();
        UnitID unit = kRootUnitId;
        if (group && *group) {
          for (int g = 0; g < mParamGroups.GetSize(); ++g) {
            if (std::strcmp(mParamGroups.Get(g), group) == 0) {
              unit = g + 1;
              break;
            }
          }
          if (unit == kRootUnitId) {
            mParamGroups.Add(group);
            unit = mParamGroups.GetSize();
          }
        }
        mParameters.Add(std::make_unique<IPluginParameter>(param, static_cast<ParamID>(i), unit));
      }
    }

    OnHostIdentified();
    RestorePreset(0);
  } catch (...) {
    if (result == kResultOk) terminate();
    return kOutOfMemory;
  }
  return result;
}

// ---- Component -----------------------------------------------------------------------------------

tresult IPluginVST3::setActive(TBool state) {
  try {
    OnActivate(state != 0);
  } catch (...) {
    return kInternalError;
  }
  return kResultOk;
}

tresult IPluginVST3::getState(IBStream* state) { return getEditorState(state); }

tresult IPluginVST3::setState(IBStream* state) {
  if (!state) return kInvalidArgument;
  try {
    RecursiveMutexLock lock(mMutex);
    ByteChunk current;
    if (!SerializeState(&current) || current.Size() <= 0) return kResultFalse;
    const int n = current.Size();

    // The whole state must be there before anything changes: a short stream is refused.
    ByteChunk chunk;
    if (chunk.Resize(n) != n) return kOutOfMemory;
    const int have = ReadUpTo(state, chunk.Data(), n);
    int32 bypass = 0;
    int32 gotBypass = 0;
    if (have < n || state->read(&bypass, sizeof bypass, &gotBypass) != kResultOk ||
        gotBypass != static_cast<int32>(sizeof bypass) || !CheckState(&chunk, 0)) {
      return kResultFalse;
    }
    if (UnserializeState(&chunk, 0) < 0) return kResultFalse;
    SetBypassed(bypass != 0);
    RedrawParamControls();
    return kResultOk;
  } catch (...) {
    return kOutOfMemory;
  }
}

// ---- Processor set-up ----------------------------------------------------------------------------

tresult IPluginVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                        int32 numOuts) {
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kInvalidArgument;
  try {
    SetInputChannelConnections(0, GetInputChannelCount(), false);
    SetOutputChannelConnections(0, GetOutputChannelCount(), false);

    const int nIn = numIns > 0 ? channelCount(inputs[0]) : 0;
    const int nOut = numOuts > 0 ? channelCount(outputs[0]) : 0;
    if (!LegalIO(nIn, nOut)) return kResultFalse;
    // A main input and a sidechain that together need more channels than the plug-in has cannot
    // both be fed; refuse before any bus is rebuilt.
    if (numIns > 1 && mSidechainChannels && nIn + channelCount(inputs[1]) > GetInputChannelCount())
      return kResultFalse;

    const vstsupport::Bus* in0 = mAudioInputs.Get(0);
    if (in0 && channelCount(in0->arrangement) != nIn) {
      mAudioInputs.Clear();
      mAudioInputs.Add("Input", kMain, BusInfo::kDefaultActive).arrangement = getSpeakerArrForChans(nIn);
    }
    const vstsupport::Bus* out0 = mAudioOutputs.Get(0);
    if (out0 && channelCount(out0->arrangement) != nOut) {
      mAudioOutputs.Clear();
      mAudioOutputs.Add("Output", kMain, BusInfo::kDefaultActive).arrangement = getSpeakerArrForChans(nOut);
    }

    if (numIns == 1 && mSidechainChannels == 0) return kResultOk;
    if (numIns != 2 || mSidechainChannels == 0) return kResultFalse;
    const int nSc = channelCount(inputs[1]);
    const vstsupport::Bus* in1 = mAudioInputs.Get(1);
    if (in1 && channelCount(in1->arrangement) == nSc) return kResultOk;
    mAudioInputs.Clear();
    mAudioInputs.Add("Input", kMain, BusInfo::kDefaultActive).arrangement = getSpeakerArrForChans(nIn);
    mAudioInputs.Add("Sidechain Input", kAux, 0).arrangement = getSpeakerArrForChans(nSc);
    return kResultOk;
  } catch (...) {
    return kOutOfMemory;
  }
}

tresult IPluginVST3::canProcessSampleSize(int32 size) {
  return size == kSample32 || size == kSample64 ? kResultOk : kResultFalse;
}

uint32 IPluginVST3::getLatencySamples() { return static_cast<uint32>(std::max(0, GetLatency())); }

uint32 IPluginVST3::getTailSamples() { return static_cast<uint32>(std::max(0, GetTailSize())); }

tresult IPluginVST3::setupProcessing(ProcessSetup* setup) {
  if (!setup) return kInvalidArgument;
  if (setup->symbolicSampleSize != kSample32 && setup->symbolicSampleSize != kSample64) return kResultFalse;
  if (setup->maxSamplesPerBlock <= 0 || !std::isfinite(setup->sampleRate) || setup->sampleRate <= 0.0)
    return kInvalidArgument;
  try {
    RecursiveMutexLock lock(mMutex);
    SetSampleRate(setup->sampleRate);
    // The bypass flag is kept: it may have just been restored from a saved project.
    SetBlockSize(setup->maxSamplesPerBlock);
    bool scratchOk = true;
    for (int i = 0; i < GetInputChannelCount(); ++i)
      scratchOk = scratchOk && mInChannels.Get(i)->mScratchBuf.GetSize() >= setup->maxSamplesPerBlock;
    for (int i = 0; i < GetOutputChannelCount(); ++i)
      scratchOk = scratchOk && mOutChannels.Get(i)->mScratchBuf.GetSize() >= setup->maxSamplesPerBlock;
    if (!scratchOk) {
      SetBlockSize(0);
      return kOutOfMemory;
    }
    Reset();
    mProcessSetup = *setup;
  } catch (...) {
    return kOutOfMemory;
  }
  return kResultOk;
}

// ---- Processing ----------------------------------------------------------------------------------

tresult IPluginVST3::process(ProcessData* data) {
  if (!data) return kResultOk;
  try {
    // Inside the try: taking the lock may throw too.
    RecursiveMutexLock lock(mMutex);
    if (data->processContext) mProcessContext = *data->processContext;
    ApplyParameterChanges(data->inputParameterChanges);
    if (DoesMidi()) ApplyEvents(data->inputEvents);

    // Samples are only touched in the width the set-up announced, so host buffers of the other
    // width are never read or written past their end.
    if (data->numSamples <= 0 || GetBlockSize() <= 0 ||
        data->symbolicSampleSize != mProcessSetup.symbolicSampleSize)
      return kResultOk;
    if (mProcessSetup.symbolicSampleSize == kSample32) {
      RenderBlock<float>(*data);
    } else if (mProcessSetup.symbolicSampleSize == kSample64) {
      RenderBlock<double>(*data);
    }
  } catch (...) {
    // Nothing may unwind into the host's audio thread; the block is simply lost.
  }
  return kResultOk;
}

void IPluginVST3::ApplyParameterChanges(IParameterChanges* changes) {
  if (!changes) return;
  const int32 nQueues = changes->getParameterCount();
  for (int32 q = 0; q < nQueues; ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (!queue) continue;
    // Only the last point counts: the change takes effect for the whole block.
    const int32 nPoints = queue->getPointCount();
    int32 offset = 0;
    double value = 0.0;
    if (nPoints <= 0 || queue->getPoint(nPoints - 1, &offset, &value) != kResultOk || std::isnan(value))
      continue;
    value = ClampNormalized(value);
    const ParamID id = queue->getParameterId();
    if (id == kBypassParam) {
      const bool bypass = value > 0.5;
      if (bypass != IsBypassed()) SetBypassed(bypass);
    } else if (id == kPresetParam) {
      RestorePreset(static_cast<int>(value * GetPresetCount()));
    } else if (IsValidParamTag(id)) {
      const int idx = static_cast<int>(id);
      GetParam(idx)->SetNormalized(value);
      if (IEditorDelegate* editor = GetGraphics()) editor->SetParameterFromPlug(idx, value, true);
      OnParamChange(idx);
    }
  }
}

void IPluginVST3::ApplyEvents(IEventList* events) {
  if (!events) return;
  const int32 n = events->getEventCount();
  for (int32 i = 0; i < n; ++i) {
    Event e{};
    if (events->getEvent(i, &e) != kResultOk) continue;
    IMidiMsg msg;
    if (e.type == Event::kNoteOnEvent) {
      const float velocity = std::isnan(e.noteOn.velocity) ? 0.0f : std::clamp(e.noteOn.velocity, 0.0f, 1.0f);
      msg.MakeNoteOnMsg(e.noteOn.pitch, static_cast<int>(velocity * 127.0f), e.sampleOffset,
                        e.noteOn.channel);
      ProcessMidiMsg(&msg);
    } else if (e.type == Event::kNoteOffEvent) {
      msg.MakeNoteOffMsg(e.noteOff.pitch, e.sampleOffset, e.noteOff.channel);
      ProcessMidiMsg(&msg);
    }
  }
}

void IPluginVST3::ConnectChannels(const ProcessData& data) {
  const int nIn = GetInputChannelCount();
  const int nOut = GetOutputChannelCount();
  const int nMain = nIn - mSidechainChannels;
  const bool f32 = mProcessSetup.symbolicSampleSize == kSample32;
  auto channelPtr = [f32](const AudioBusBuffers& bus, int c) -> void* {
    if (f32) return bus.channelBuffers32 ? static_cast<void*>(bus.channelBuffers32[c]) : nullptr;
    return bus.channelBuffers64 ? static_cast<void*>(bus.channelBuffers64[c]) : nullptr;
  };

  mFeeder.Clear();
  const int numInputs = data.inputs ? data.numInputs : 0;
  if (numInputs > 0) {
    const AudioBusBuffers& main = data.inputs[0];
    for (int c = 0; c < std::min(main.numChannels, nMain); ++c) mFeeder.SetInput(c, channelPtr(main, c));
  }
  if (mSidechainChannels) {
    const vstsupport::Bus* aux = mAudioInputs.Get(1);
    const bool scActive = aux && aux->active;
    if (scActive) {
      mSidechainActive = true;
    } else if (mSidechainActive) {
      ZeroScratchBuffers();
      mSidechainActive = false;
    }
    if (scActive && numInputs > 1) {
      const AudioBusBuffers& sc = data.inputs[1];
      for (int c = 0; c < std::min(sc.numChannels, mSidechainChannels); ++c)
        mFeeder.SetInput(nMain + c, channelPtr(sc, c));
    }
  }

  const int numOutputs = data.outputs ? data.numOutputs : 0;
  int first = 0;
  for (int b = 0; b < numOutputs && first < nOut; ++b) {
    const AudioBusBuffers& bus = data.outputs[b];
    const vstsupport::Bus* own = mAudioOutputs.Get(b);
    const int ownChannels = own ? channelCount(own->arrangement) : std::max(0, bus.numChannels);
    if (own && own->active) {
      for (int c = 0; c < std::min(bus.numChannels, ownChannels) && first + c < nOut; ++c)
        mFeeder.SetOutput(first + c, channelPtr(bus, c));
    }
    first += ownChannels;
  }
  // A channel that stops being fed is disconnected and reads silence from then on.
  mFeeder.ConnectChannels(*this);
}

template <class Sample>
void IPluginVST3::RenderBlock(ProcessData& data) {
  ConnectChannels(data);
  mFeeder.Process<Sample>(*this, data.numSamples);
}

// ---- Controller ----------------------------------------------------------------------------------

tresult IPluginVST3::setComponentState(IBStream*) {
  // The component state holds nothing the controller does not already share with the processor.
  return kResultOk;
}

tresult IPluginVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) {
  if (!string || !IsValidParamTag(id)) return kResultFalse;
  ParamDisplayForHost(GetParam(static_cast<int>(id)), valueNormalized, string);
  return kResultOk;
}

ParamValue IPluginVST3::plainParamToNormalized(ParamID id, ParamValue plainValue) {
  if (!IsValidParamTag(id)) return plainValue;
  return GetParam(static_cast<int>(id))->GetNormalized(plainValue);
}

ParamValue IPluginVST3::getParamNormalized(ParamID id) {
  if (id == kBypassParam) return IsBypassed() ? 1.0 : 0.0;
  if (IsValidParamTag(id)) return GetParam(static_cast<int>(id))->GetNormalized();
  return 0.0;
}

tresult IPluginVST3::setParamNormalized(ParamID id, ParamValue value) {
  if (!IsValidParamTag(id)) return kResultFalse;
  if (std::isnan(value)) return kInvalidArgument;
  GetParam(static_cast<int>(id))->SetNormalized(ClampNormalized(value));
  return kResultOk;
}

IPlugView* IPluginVST3::createView(FIDString name) {
  if (!name || std::strcmp(name, "editor") != 0) return nullptr;
  IPluginVST3View* view = nullptr;
  try {
    view = new IPluginVST3View(this);
  } catch (...) {
    return nullptr;
  }
  addDependentView(view);
  return view;
}

// ---- State streams -------------------------------------------------------------------------------

tresult IPluginVST3::getEditorState(IBStream* stream) {
  if (!stream) return kInvalidArgument;
  try {
    RecursiveMutexLock lock(mMutex);
    ByteChunk chunk;
    if (!SerializeState(&chunk)) return kResultFalse;
    int32 bypass = IsBypassed() ? 1 : 0;
    if (chunk.Size() > 0) stream->write(chunk.Data(), chunk.Size(), nullptr);
    stream->write(&bypass, sizeof bypass, nullptr);
    return kResultOk;
  } catch (...) {
    return kOutOfMemory;
  }
}

tresult IPluginVST3::setEditorState(IBStream* stream) {
  if (!stream) return kInvalidArgument;
  try {
    RecursiveMutexLock lock(mMutex);
    ByteChunk chunk;
    SerializeState(&chunk);
    const int n = chunk.Size();
    if (n <= 0) return kResultFalse;
    // Nothing is applied unless every parameter byte arrived and holds a usable value.
    if (ReadUpTo(stream, chunk.Data(), n) < n || !CheckState(&chunk, 0)) return kResultFalse;
    if (UnserializeState(&chunk, 0) < 0) return kResultFalse;

    int32 bypass = 0;
    int32 gotBypass = 0;
    if (stream->read(&bypass, sizeof bypass, &gotBypass) != kResultOk) return kResultFalse;
    SetBypassed(bypass != 0);
    RedrawParamControls();
    return kResultOk;
  } catch (...) {
    return kOutOfMemory;
  }
}

// ---- Framework operations ------------------------------------------------------------------------

bool IPluginVST3::OfferContextClickToHost(int idx, int x, int y) {
  PopupHostContextMenuForParam(idx, x, y);
  return true;
}

void IPluginVST3::PopupHostContextMenuForParam(int idx, int x, int y) {
  IComponentHandler* handler = GetComponentHandler();
  if (!handler || mViews.empty()) return;
  IComponentHandler3* handler3 = nullptr;
  if (handler->queryInterface(IComponentHandler3::iid.bytes, reinterpret_cast<void**>(&handler3)) !=
          kResultOk ||
      !handler3)
    return;
  const ParamID id = static_cast<ParamID>(idx);
  if (IContextMenu* menu = handler3->createContextMenu(mViews.front(), &id)) {
    menu->popup(x, y);
    menu->release();
  }
  handler3->release();
}

void IPluginVST3::BeginInformHostOfParamChange(int idx) { beginEdit(static_cast<ParamID>(idx)); }

void IPluginVST3::InformHostOfParamChange(int idx, double normalizedValue) {
  performEdit(static_cast<ParamID>(idx), normalizedValue);
}

void IPluginVST3::EndInformHostOfParamChange(int idx) { endEdit(static_cast<ParamID>(idx)); }

bool IPluginVST3::IsRenderingOffline() { return mProcessSetup.processMode == kOffline; }

double IPluginVST3::GetSamplePos() { return static_cast<double>(mProcessContext.projectTimeSamples); }

double IPluginVST3::GetTempo() { return mProcessContext.tempo; }

void IPluginVST3::GetTimeSig(int* numerator, int* denominator) {
  if (numerator) *numerator = mProcessContext.timeSigNumerator;
  if (denominator) *denominator = mProcessContext.timeSigDenominator;
}

void IPluginVST3::GetTime(ITimeInfo* timeInfo) {
  if (!timeInfo) return;
  timeInfo->mTempo = mProcessContext.tempo;
  timeInfo->mSamplePos = static_cast<double>(mProcessContext.projectTimeSamples);
  timeInfo->mPPQPos = mProcessContext.projectTimeMusic;
  timeInfo->mLastBar = mProcessContext.barPositionMusic;
  timeInfo->mCycleStart = mProcessContext.cycleStartMusic;
  timeInfo->mCycleEnd = mProcessContext.cycleEndMusic;
  timeInfo->mNumerator = mProcessContext.timeSigNumerator;
  timeInfo->mDenominator = mProcessContext.timeSigDenominator;
  timeInfo->mTransportIsRunning = (mProcessContext.state & ProcessContext::kPlaying) != 0;
  timeInfo->mTransportLoopEnabled = (mProcessContext.state & ProcessContext::kCycleActive) != 0;
}

void IPluginVST3::ResizeGraphics(int w, int h) {
  if (GetGraphics() && !mViews.empty()) mViews.front()->resize(w, h);
}

void IPluginVST3::SetLatency(int samples) {
  IPlugin::SetLatency(samples);
  restartComponent(kLatencyChanged);
}

void IPluginVST3::addDependentView(IPluginVST3View* view) {
  if (!view) return;
  try {
    mViews.push_back(view);
  } catch (...) {
    // Unlisted, the view still works; only resize requests and context menus pass it by.
  }
}

void IPluginVST3::removeDependentView(IPluginVST3View*) { mViews.clear(); }

bool IPluginVST3::isTypeOf(const char* name, bool askBase) const {
  if (name && std::strcmp(name, "IPluginVST3") == 0) return true;
  return askBase && EffectComponent::isTypeOf(name, true);
}
