// IPlugin construction, destruction, the base behaviour of the virtual hooks and the settings.
#include "framework/IPlugin.h"

#include "base/CopyCString.h"
#include "base/CurrentTime.h"
#include "base/Trace.h"
#include "framework/ChannelDelayLine.h"
#include "framework/IPreset.h"
#include "framework/Version.h"

#include <cstring>

namespace {
// Names are cut to 127 characters rather than overrunning their 128-byte fields.
void CopyName(char* dst, const char* src) { CopyCString(dst, IPlugin::kMaxNameLen, src); }
}  // namespace

IPlugin::IPlugin(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                 const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId,
                 int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, EAPI plugAPI)
    : mUniqueId(uniqueId),
      mMakerId(makerId),
      mVersion(vendorVersion),
      mAPI(plugAPI),
      mStateChunks(plugDoesChunks),
      mIsInst(plugIsInst),
      mDoesMIDI(plugDoesMidi),
      mLatency(latency),
      mInData(static_cast<int>(8 * sizeof(double*))),
      mOutData(static_cast<int>(8 * sizeof(double*))) {
  Trace(__func__, __LINE__, "%s:%s", effectName ? effectName : "", CurrentTime());

  CopyName(mEffectName, effectName);
  CopyName(mProductName, productName);
  CopyName(mMakerName, makerName);

  for (int i = 0; i < nParams; ++i) mParams.Add(new IParam());
  for (int i = 0; i < nPresets; ++i) mPresets.Add(new IPreset());

  ParseChannelIO(channelIOStr);
}

IPlugin::~IPlugin() {
  Trace(__func__, __LINE__, "%s", mEffectName);

  delete mEditor;
  mEditor = nullptr;
  mParams.Empty(true);
  mPresets.Empty(true);
  mInChannels.Empty(true);
  mOutChannels.Empty(true);
  mChannelIO.Empty(true);
  mInputBusLabels.Empty(true);
  mOutputBusLabels.Empty(true);
  delete mDelay;
  mDelay = nullptr;
}

void IPlugin::Reset() { RecursiveMutexLock lock(mMutex); }

void IPlugin::OnParamChange(int) { RecursiveMutexLock lock(mMutex); }

void IPlugin::OnActivate(bool) { RecursiveMutexLock lock(mMutex); }

void IPlugin::ProcessMidiMsg(IMidiMsg* msg) { SendMidiMsg(msg); }

bool IPlugin::MidiNoteName(int, char* noteName) {
  if (noteName) noteName[0] = '\0';
  return false;
}

void IPlugin::AttachGraphics(IEditorDelegate* editor) {
  if (!editor) return;
  RecursiveMutexLock lock(mMutex);
  for (int i = 0, n = GetParamCount(); i < n; ++i)
    editor->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  editor->PrepDraw();
  // A second editor replaces the first; the base owns whichever is attached.
  if (mEditor != editor) delete mEditor;
  mEditor = editor;
}

void IPlugin::SetLatency(int samples) {
  // The delay line's storage is reallocated here while the audio thread may be reading it.
  RecursiveMutexLock lock(mMutex);
  mLatency.store(samples, std::memory_order_relaxed);
  if (mDelay) mDelay->SetDelay(samples);
}

void IPlugin::SetBlockSize(int blockSize) {
  if (blockSize < 0) blockSize = 0;
  if (blockSize == mBlockSize) return;
  ResizeScratchBuffers(blockSize, true);
  mBlockSize = blockSize;
}

const char* IPlugin::GetInputBusLabel(int idx) const {
  StrBuf* label = mInputBusLabels.Get(idx);
  return label ? label->Get() : nullptr;
}

const char* IPlugin::GetOutputBusLabel(int idx) const {
  StrBuf* label = mOutputBusLabels.Get(idx);
  return label ? label->Get() : nullptr;
}

const char* IPlugin::GetAPIString() const {
  switch (mAPI) {
    case kAPIVST2:
      return "VST2";
    case kAPIVST3:
      return "VST3";
    case kAPIAU:
      return "AU";
    case kAPIRTAS:
      return "RTAS";
    case kAPIAAX:
      return "AAX";
    case kAPISA:
      return "Standalone";
    case kAPICLAP:
      return "CLAP";
  }
  return "";
}

void IPlugin::SetHost(const char* name, int version) {
  mHost = LookUpHost(name);
  mHostVersion = version;
}

// GetHost comes first in both: it is the hook through which an adapter that identifies its host
// only when asked would set the version (ours identify it at initialisation, with SetHost).
int IPlugin::GetHostVersion(bool decimal) {
  GetHost();
  return decimal ? GetDecimalVersion(mHostVersion) : mHostVersion;
}

void IPlugin::GetHostVersionStr(char* out) {
  GetHost();
  GetVersionStr(mHostVersion, out);
}

int IPlugin::GetEffectVersion(bool decimal) const { return decimal ? GetDecimalVersion(mVersion) : mVersion; }

void IPlugin::GetEffectVersionStr(char* out) const { GetVersionStr(mVersion, out); }

double IPlugin::GetSamplesPerBeat() {
  double tempo = GetTempo();
  return tempo > 0.0 ? mSampleRate * 60.0 / tempo : 0.0;
}

bool IPlugin::SendMidiMsgs(TypedBuf<IMidiMsg*>* msgs) {
  bool ok = true;
  if (!msgs) return ok;
  IMidiMsg** list = msgs->Get();
  for (int i = 0, n = msgs->GetSize(); i < n; ++i) ok &= SendMidiMsg(list[i]);
  return ok;
}
