// Quorvane construction, parameter mapping and processing entry.
#include "plugin/Quorvane.h"

#include "base/RecursiveMutex.h"
#include "graphics/IGraphics.h"
#include "plugin/MakeGraphics.h"
#include "plugin/QuorvaneEditor.h"
#include "plugin/QuorvaneIdentityCodes.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {

constexpr double kAttackMs[] = {0.1, 0.3, 10.0, 30.0, 100.0, 300.0};
constexpr double kRatios[] = {1.5, 2.0, 3.0, 4.0, 5.0, 10.0};
constexpr double kKneeFactors[] = {0.95, 0.9, 0.8, 0.7, 0.6, 0.3};
constexpr double kReleaseMs[] = {100.0, 300.0, 600.0, 1200.0, 2000.0};

// The editor's shared images may only go when no instance can still draw them.
std::atomic<int> gLiveInstances{0};

// The selector is the value truncated toward zero; false for values that select no entry.
bool Select(double value, int count, int* index) {
  if (!(value > -1.0 && value < count)) return false;
  *index = static_cast<int>(value);
  return true;
}

}  // namespace

Quorvane::Quorvane(IPluginInstanceInfo instanceInfo)
    : PluginFormatBase(instanceInfo, kNumParams, "2-2 4-2", 1, QV_ID_NAME, "", QV_ID_VENDOR,
                       QV_ID_PACKED_VERSION, quorvaneid::kPluginCode, quorvaneid::kMakerCode, 0, false, false,
                       false, 2) {
  GetParam(kBypass)->InitInt("Bypass", 1, 0, 1, "");
  GetParam(kExternalSidechain)->InitInt("External Sidechain", 0, 0, 1, "");
  GetParam(kTurbo)->InitInt("Turbo", 0, 0, 1, "");
  GetParam(kXFormer)->InitInt("XFormer", 0, 0, 1, "");
  GetParam(kAttackTime)->InitInt("Attack Time", 0, 0, 5, "");
  GetParam(kRatio)->InitInt("Ratio", 0, 0, 5, "");
  GetParam(kReleaseTime)->InitInt("Release Time", 0, 0, 4, "");

  const struct {
    int idx;
    const char* name;
    double def, min, max, shape;
  } doubles[] = {
      {kBoost, "Boost", 0.0, 0.0, 10.0, 1.0},
      {kHF, "HF", 0.0, -10.0, 0.0, 1.0},
      {kHPF, "HPF", 20.0, 20.0, 500.0, 2.0},
      {kMakeUpGain, "Make-Up Gain", 0.0, 0.0, 15.0, 1.0},
      {kMidGain, "Mid Gain", 0.0, -6.0, 6.0, 1.0},
      {kCompressorMix, "Compressor Mix", 100.0, 0.0, 100.0, 1.0},
      {kThreshold, "Threshold", 15.0, -15.0, 15.0, 1.0},
      {kTransientMix, "Transient Mix", 0.0, 0.0, 100.0, 1.0},
      {kTransientTilt, "Transient Tilt", 0.75, 0.25, 1.25, 1.0},
  };
  for (const auto& d : doubles) {
    IParam* p = GetParam(d.idx);
    p->InitDouble(d.name, d.def, d.min, d.max, 0.01, "%");
    p->SetShape(d.shape);
  }

  IGraphics* graphics = MakeGraphics(this, kQuorvaneEditorWidth, kQuorvaneEditorHeight, 0);
  mMeterIdx = AttachQuorvaneEditor(graphics, this);
  AttachGraphics(graphics);

  MakeDefaultPreset("-", 1);
  gLiveInstances.fetch_add(1, std::memory_order_relaxed);
}

Quorvane::~Quorvane() { gLiveInstances.fetch_sub(1, std::memory_order_relaxed); }

// Windows' C runtime has no posix_memalign; its aligned blocks need their own free.
void* Quorvane::operator new(std::size_t size) {
#if defined(_WIN32)
  void* p = _aligned_malloc(size, alignof(Quorvane));
  if (!p) throw std::bad_alloc();
#else
  void* p = nullptr;
  if (posix_memalign(&p, alignof(Quorvane), size) != 0) throw std::bad_alloc();
#endif
  return p;
}

void Quorvane::operator delete(void* p) noexcept {
#if defined(_WIN32)
  _aligned_free(p);
#else
  std::free(p);
#endif
}

void Quorvane::Reset() {
  RecursiveMutexLock lock(mMutex);
  mChain.Reset(mSettings, GetSampleRate());
}

void Quorvane::OnParamChange(int paramIdx) {
  RecursiveMutexLock lock(mMutex);
  const IParam* param = GetParam(paramIdx);
  if (!param) return;
  const double value = param->GetValue();
  if (!std::isfinite(value)) return;  // a damaged value keeps the last good setting
  QuorvaneSettings& s = mSettings;
  int sel = 0;
  switch (paramIdx) {
    case kBoost:
      s.boostGain = std::pow(10.0, value / 20.0);
      break;
    case kHF:
      s.hfDb = value;
      break;
    case kHPF:
      s.hpfPos = value;
      break;
    case kMakeUpGain:
      s.makeUpGain = std::pow(10.0, value / 20.0);
      break;
    case kMidGain:
      s.midGainDb = value;
      break;
    case kCompressorMix:
      s.compMix = value / 100.0;
      break;
    case kThreshold:
      s.thresholdPos = value;
      break;
    case kTransientMix:
      s.transientMix = value / 100.0;
      break;
    case kTransientTilt:
      s.transientTilt = value;
      break;
    case kAttackTime:
      if (Select(value, 6, &sel)) s.attackMs = kAttackMs[sel];
      break;
    case kRatio:
      if (Select(value, 6, &sel)) {
        s.ratio = kRatios[sel];
        s.kneeFactor = kKneeFactors[sel];
      }
      break;
    case kReleaseTime:
      if (Select(value, 5, &sel)) s.releaseMs = kReleaseMs[sel];
      break;
    default:  // the switches are read by the chain on every block
      break;
  }
}

QuorvaneSwitches Quorvane::ReadSwitches() const {
  QuorvaneSwitches sw;
  sw.bypass = GetParam(kBypass)->GetInt();
  sw.externalSidechain = GetParam(kExternalSidechain)->GetInt();
  sw.turbo = GetParam(kTurbo)->GetInt();
  sw.xformer = GetParam(kXFormer)->GetInt();
  return sw;
}

// The editor reads the meter at its frame rate, so only the newest of a chunk's values can ever be
// drawn; handing over each sample's would cost the audio thread a control update per sample.
void Quorvane::SendMeter(void* self, const double* levels, int count) {
  Quorvane* plug = static_cast<Quorvane*>(self);
  if (count > 0) plug->GetGraphics()->SetControlFromPlug(plug->mMeterIdx, levels[count - 1]);
}

void Quorvane::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  const bool editor = GetGraphics() != nullptr;
  mChain.Process(inputs, outputs, nFrames, mSettings, ReadSwitches(), GetSampleRate(),
                 editor ? &Quorvane::SendMeter : nullptr, this);
}

namespace {
PluginFormatBase* NewQuorvane(IPluginInstanceInfo info) {
  static RecursiveMutex sMutex;
  RecursiveMutexLock lock(sMutex);
  try {
    return new Quorvane(info);
  } catch (...) {
    return nullptr;  // nothing may escape into the host
  }
}
}  // namespace

#if defined(QV_PLUGIN_FORMAT_CLAP)
IPluginCLAP* MakePlug(IPluginInstanceInfo info) { return NewQuorvane(info); }
#else
IPluginVST3* MakePlug() { return NewQuorvane(IPluginInstanceInfo()); }
#endif

bool InitModule() { return true; }

bool DeinitModule() {
  if (gLiveInstances.load(std::memory_order_relaxed) == 0) IGraphicsReleaseCaches();
  return true;
}
