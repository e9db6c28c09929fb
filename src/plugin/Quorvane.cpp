// Quorvane construction (its parameters made from the parameter table), parameter changes and the
// processing entry.
#include "plugin/Quorvane.h"

#include "base/RecursiveMutex.h"
#include "graphics/IGraphics.h"
#include "plugin/MakeGraphics.h"
#include "plugin/QuorvaneEditor.h"
#include "plugin/QuorvaneIdentityCodes.h"
#include "plugin/QuorvaneParamTable.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {

// The editor's shared images may only go when no instance can still draw them.
std::atomic<int> gLiveInstances{0};

}  // namespace

Quorvane::Quorvane(IPluginInstanceInfo instanceInfo)
    : PluginFormatBase(instanceInfo, kNumParams, "2-2 4-2", 1, QV_ID_NAME, "", QV_ID_VENDOR,
                       QV_ID_PACKED_VERSION, quorvaneid::kPluginCode, quorvaneid::kMakerCode, 0, false, false,
                       false, 2) {
  for (const QuorvaneParamRow& p : kQuorvaneParamTable) {
    IParam* param = GetParam(p.idx);
    if (p.continuous) {
      param->InitDouble(p.name, p.def, p.min, p.max, 0.01, "%");
      param->SetShape(p.shape);
    } else {
      param->InitInt(p.name, static_cast<int>(p.def), static_cast<int>(p.min), static_cast<int>(p.max), "");
    }
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
  ApplyQuorvaneParam(mSettings, paramIdx, param->GetValue());
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
