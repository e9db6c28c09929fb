// Drives an instance through the processing lifecycle and feeds it blocks.
#include "host/vst3/BlockProcessor.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "vst3/abi/ResultCodes.h"
#include "vst3/abi/Speakers.h"

using namespace vst3abi;

namespace qvhost {

namespace {

SpeakerArrangement defaultArrangement(int channels) {
  if (channels == 1) return arrangements::kMono;
  if (channels == 2) return arrangements::kStereo;
  if (channels <= 0) return arrangements::kEmpty;
  return channels >= 64 ? ~SpeakerArrangement(0) : (SpeakerArrangement(1) << channels) - 1;
}

// Upper bound for a bus's width; nothing real comes near, and it bounds our allocations.
constexpr int kMaxBusChannels = 64;

}  // namespace

void BlockProcessor::allocate(Bus& bus, int channels) {
  bus.channels = std::clamp(channels, 0, kMaxBusChannels);
  const auto frames = static_cast<size_t>(mConfig.maxBlock);
  const auto n = static_cast<size_t>(bus.channels);
  bus.f32.assign(mConfig.symbolicSampleSize == kSample32 ? n : 0, std::vector<float>(frames));
  bus.f64.assign(mConfig.symbolicSampleSize == kSample64 ? n : 0, std::vector<double>(frames));
  bus.ptr32.clear();
  bus.ptr64.clear();
  for (auto& c : bus.f32) bus.ptr32.push_back(c.data());
  for (auto& c : bus.f64) bus.ptr64.push_back(c.data());
}

bool BlockProcessor::start(const ProcessConfig& config, std::string* error) {
  stop();
  if (!(config.sampleRate > 0) || !std::isfinite(config.sampleRate) || config.maxBlock < 1) {
    if (error) *error = "invalid processing setup";
    return false;
  }
  mConfig = config;
  IComponent* component = mPlugin.component();
  IAudioProcessor* processor = mPlugin.processor();

  auto inputs = mPlugin.busses(kAudio, kInput);
  auto outputs = mPlugin.busses(kAudio, kOutput);
  mMainIn = mSideIn = mMainOut = -1;
  for (const auto& b : inputs) {
    if (b.busType == kMain && mMainIn < 0) mMainIn = b.index;
    if (b.busType == kAux && mSideIn < 0) mSideIn = b.index;
  }
  for (const auto& b : outputs) {
    if (b.busType == kMain && mMainOut < 0) mMainOut = b.index;
  }
  if (mMainOut < 0 && !outputs.empty()) mMainOut = 0;
  if (mMainOut < 0) {
    if (error) *error = "the plug-in has no audio output";
    return false;
  }
  if (config.sidechain && mSideIn < 0) {
    if (error) *error = "the plug-in has no sidechain input";
    return false;
  }
  if (!config.sidechain) mSideIn = -1;

  // Confirm the plug-in's own arrangements, as a host does before activation.
  std::vector<SpeakerArrangement> inArr, outArr;
  for (const auto& b : inputs)
    inArr.push_back(b.arrangement ? b.arrangement : defaultArrangement(b.channelCount));
  for (const auto& b : outputs)
    outArr.push_back(b.arrangement ? b.arrangement : defaultArrangement(b.channelCount));
  processor->setBusArrangements(inArr.empty() ? nullptr : inArr.data(), static_cast<int32>(inArr.size()),
                                outArr.empty() ? nullptr : outArr.data(), static_cast<int32>(outArr.size()));
  inputs = mPlugin.busses(kAudio, kInput);
  outputs = mPlugin.busses(kAudio, kOutput);

  for (const auto& b : inputs) {
    const bool feed = b.index == mMainIn || b.index == mSideIn;
    component->activateBus(kAudio, kInput, b.index, feed ? 1 : 0);
  }
  for (const auto& b : outputs) component->activateBus(kAudio, kOutput, b.index, b.index == mMainOut ? 1 : 0);

  if (auto req = Ref<IAudioProcessor>::share(processor).query<IProcessContextRequirements>()) {
    req->getProcessContextRequirements();
  }
  if (processor->canProcessSampleSize(config.symbolicSampleSize) != kResultTrue) {
    if (error) {
      *error = std::string("the plug-in cannot process ") +
               (config.symbolicSampleSize == kSample64 ? "64-bit" : "32-bit") + " samples";
    }
    return false;
  }
  ProcessSetup setup{};
  setup.processMode = config.processMode;
  setup.symbolicSampleSize = config.symbolicSampleSize;
  setup.maxSamplesPerBlock = config.maxBlock;
  setup.sampleRate = config.sampleRate;
  if (processor->setupProcessing(&setup) != kResultOk) {
    if (error) {
      char buf[160];
      std::snprintf(buf, sizeof buf, "the plug-in refused the processing setup (%g Hz, block %d, %s)",
                    config.sampleRate, config.maxBlock,
                    config.symbolicSampleSize == kSample64 ? "64-bit" : "32-bit");
      *error = buf;
    }
    return false;
  }

  mIn.assign(inputs.size(), Bus{});
  mOut.assign(outputs.size(), Bus{});
  for (size_t i = 0; i < inputs.size(); ++i) allocate(mIn[i], inputs[i].channelCount);
  for (size_t i = 0; i < outputs.size(); ++i) allocate(mOut[i], outputs[i].channelCount);
  mInBuffers.assign(mIn.size(), AudioBusBuffers{});
  mOutBuffers.assign(mOut.size(), AudioBusBuffers{});

  if (component->setActive(1) != kResultOk) {
    if (error) *error = "the plug-in refused to activate";
    return false;
  }
  mPlugin.markActive(true);
  mLatency = processor->getLatencySamples();
  mTail = processor->getTailSamples();
  // Some plug-ins answer "not implemented" here and process all the same.
  processor->setProcessing(1);
  mPlugin.markProcessing(true);
  mRunning = true;
  mPosition = 0;
  mProcessSeconds = 0;
  mInChanges.clear();
  return true;
}

void BlockProcessor::stop() {
  if (!mRunning) return;
  mPlugin.processor()->setProcessing(0);
  mPlugin.markProcessing(false);
  mPlugin.component()->setActive(0);
  mPlugin.markActive(false);
  mRunning = false;
}

void BlockProcessor::queueParameter(ParamID id, double normalized, int32 sampleOffset) {
  if (ParamValueQueue* q = mInChanges.queueFor(id))
    q->addPoint(std::max<int32>(0, sampleOffset), normalized, nullptr);
}

void BlockProcessor::fillInput(Bus& bus, AudioBusBuffers& abb, const double* const* src, int32 frames) {
  abb.numChannels = bus.channels;
  abb.silenceFlags = 0;
  const auto n = static_cast<size_t>(frames);
  for (int c = 0; c < bus.channels; ++c) {
    const double* s = src ? src[c] : nullptr;
    bool silent = true;
    if (mConfig.symbolicSampleSize == kSample64) {
      double* d = bus.ptr64[static_cast<size_t>(c)];
      for (size_t i = 0; i < n; ++i) {
        d[i] = s ? s[i] : 0.0;
        silent = silent && d[i] == 0.0;
      }
    } else {
      float* d = bus.ptr32[static_cast<size_t>(c)];
      for (size_t i = 0; i < n; ++i) {
        d[i] = s ? static_cast<float>(s[i]) : 0.0f;
        silent = silent && d[i] == 0.0f;
      }
    }
    if (silent && c < 64) abb.silenceFlags |= uint64(1) << c;
  }
  if (mConfig.symbolicSampleSize == kSample64) {
    abb.channelBuffers64 = bus.ptr64.empty() ? nullptr : bus.ptr64.data();
  } else {
    abb.channelBuffers32 = bus.ptr32.empty() ? nullptr : bus.ptr32.data();
  }
}

bool BlockProcessor::process(const double* const* in, const double* const* sidechain, double* const* out,
                             int32 frames, std::string* error) {
  if (!mRunning || frames < 0 || frames > mConfig.maxBlock) {
    if (error) *error = "process called outside the configured block size";
    return false;
  }
  for (const auto& e : mPlugin.handler().takeEdits()) queueParameter(e.id, e.value);

  for (size_t b = 0; b < mIn.size(); ++b) {
    const auto index = static_cast<int>(b);
    const double* const* src = index == mMainIn ? in : (index == mSideIn ? sidechain : nullptr);
    fillInput(mIn[b], mInBuffers[b], src, frames);
  }
  for (size_t b = 0; b < mOut.size(); ++b) {
    AudioBusBuffers& abb = mOutBuffers[b];
    abb.numChannels = mOut[b].channels;
    abb.silenceFlags = 0;
    if (mConfig.symbolicSampleSize == kSample64) {
      for (auto* p : mOut[b].ptr64) std::fill_n(p, frames, 0.0);
      abb.channelBuffers64 = mOut[b].ptr64.empty() ? nullptr : mOut[b].ptr64.data();
    } else {
      for (auto* p : mOut[b].ptr32) std::fill_n(p, frames, 0.0f);
      abb.channelBuffers32 = mOut[b].ptr32.empty() ? nullptr : mOut[b].ptr32.data();
    }
  }

  const double seconds = static_cast<double>(mPosition) / mConfig.sampleRate;
  mContext = ProcessContext{};
  mContext.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid |
                   ProcessContext::kProjectTimeMusicValid | ProcessContext::kBarPositionValid |
                   ProcessContext::kContTimeValid;
  mContext.sampleRate = mConfig.sampleRate;
  mContext.projectTimeSamples = mPosition;
  mContext.continuousTimeSamples = mPosition;
  mContext.tempo = mConfig.tempo;
  mContext.projectTimeMusic = seconds * mConfig.tempo / 60.0;
  mContext.barPositionMusic = std::floor(mContext.projectTimeMusic / 4.0) * 4.0;
  mContext.timeSigNumerator = 4;
  mContext.timeSigDenominator = 4;

  mOutChanges.clear();
  mInEvents.clear();
  mOutEvents.clear();
  ProcessData data{};
  data.processMode = mConfig.processMode;
  data.symbolicSampleSize = mConfig.symbolicSampleSize;
  data.numSamples = frames;
  data.numInputs = static_cast<int32>(mInBuffers.size());
  data.numOutputs = static_cast<int32>(mOutBuffers.size());
  data.inputs = mInBuffers.empty() ? nullptr : mInBuffers.data();
  data.outputs = mOutBuffers.empty() ? nullptr : mOutBuffers.data();
  data.inputParameterChanges = &mInChanges;
  data.outputParameterChanges = &mOutChanges;
  data.inputEvents = &mInEvents;
  data.outputEvents = &mOutEvents;
  data.processContext = &mContext;

  const auto before = std::chrono::steady_clock::now();
  const tresult r = mPlugin.processor()->process(&data);
  mProcessSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
  mInChanges.clear();
  if (r != kResultOk) {
    if (error) *error = "the plug-in's process call failed (result " + std::to_string(r) + ")";
    return false;
  }

  if (mMainOut >= 0 && out) {
    const Bus& bus = mOut[static_cast<size_t>(mMainOut)];
    for (int c = 0; c < bus.channels; ++c) {
      if (mConfig.symbolicSampleSize == kSample64) {
        std::copy_n(bus.ptr64[static_cast<size_t>(c)], frames, out[c]);
      } else {
        std::copy_n(bus.ptr32[static_cast<size_t>(c)], frames, out[c]);
      }
    }
  }
  // Values the processor reports (meters, its own changes) reach the controller as in a DAW.
  if (IEditController* controller = mPlugin.controller()) {
    for (int32 i = 0; i < mOutChanges.getParameterCount(); ++i) {
      IParamValueQueue* q = mOutChanges.getParameterData(i);
      int32 offset = 0;
      double value = 0;
      if (q && q->getPointCount() > 0 &&
          q->getPoint(q->getPointCount() - 1, &offset, &value) == kResultTrue) {
        controller->setParamNormalized(q->getParameterId(), value);
      }
    }
  }
  mPosition += frames;
  return true;
}

}  // namespace qvhost
