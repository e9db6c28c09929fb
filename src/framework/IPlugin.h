// IPlugin: the host-independent core of a plug-in. It owns the parameters, preset slots, channel
// records and editor, turns host buffers into the double arrays handed to ProcessDoubleReplacing,
// and carries parameter changes between host, editor and DSP. A host adapter derives from it and
// implements the host-facing pure virtual operations.
//
// Threads. "Main": the thread the host constructs, initialises, sets up, saves and restores the
// plug-in on. "Audio": the thread of the process call. "UI": the editor's thread (the main thread
// in most hosts). "Mutex": the recursive plug-in mutex (mMutex, GetMutex) is held during the call,
// by the caller or by the call itself; the audio thread holds it for each whole block, so nothing
// that holds it may wait for anything else. Calls without a note are plain reads of values set at
// construction and may come from any thread.
#pragma once

#include "base/PtrList.h"
#include "base/RecursiveMutex.h"
#include "base/StrBuf.h"
#include "base/TypedBuf.h"
#include "framework/HostIdentification.h"
#include "framework/IEditorDelegate.h"
#include "framework/IMidiMsg.h"
#include "framework/IParam.h"
#include "framework/ISysEx.h"
#include "framework/ITimeInfo.h"

#include <atomic>

class ByteChunk;
class ChannelDelayLine;
struct IPreset;

enum EAPI : int {
  kAPIVST2 = 0,
  kAPIVST3 = 1,
  kAPIAU = 2,
  kAPIRTAS = 3,
  kAPIAAX = 4,
  kAPISA = 5,
  kAPICLAP = 6,
};

class IPlugin {
 public:
  static constexpr int kMaxNameLen = 128;  // effect, product and maker names incl. terminator

  struct ChannelIO {
    int mIn;
    int mOut;
    ChannelIO(int nIn, int nOut) : mIn(nIn), mOut(nOut) {}
  };

  struct InChannel {
    bool mConnected = false;
    double** mSrc = nullptr;  // this channel's entry in the input-data array
    TypedBuf<double> mScratchBuf;
    // Host samples were copied into the scratch buffer since it was last zeroed.
    bool mScratchHoldsInput = false;
    StrBuf mLabel;
  };

  struct OutChannel {
    bool mConnected = false;
    double** mDest = nullptr;  // this channel's entry in the output-data array
    float* mFDest = nullptr;
    TypedBuf<double> mScratchBuf;
    StrBuf mLabel;
  };

  // Main (in the module's construction mutex).
  IPlugin(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
          const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId,
          int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, EAPI plugAPI);
  IPlugin(const IPlugin&) = delete;
  IPlugin& operator=(const IPlugin&) = delete;

  // ---- Virtual operations, in slot order -------------------------------------------------------
  // Main (the host's release), or the construction thread when construction fails.
  virtual ~IPlugin();

  // Main (processing set-up, activation), mutex.
  virtual void Reset();
  // A parameter's value changed: audio (host automation inside a block), UI (an edit in the
  // editor, through SetParameterFromGUI) and main (state and preset restore), always with the mutex.
  virtual void OnParamChange(int paramIdx);
  // Audio, mutex. Copies input i to output i below the smaller channel count and silences the
  // other outputs.
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames);
  // UI, right after the editor's window opened / before it closes; no mutex.
  virtual void OnGUIOpen() {}
  virtual void OnGUIClose() {}
  // Main; no mutex (no adapter of ours calls it).
  virtual void OnIdle() {}
  // Main, mutex.
  virtual void OnActivate(bool active);
  // Audio, mutex.
  virtual void ProcessMidiMsg(IMidiMsg* msg);
  virtual void ProcessSysEx(ISysEx*) {}
  // Main.
  virtual bool MidiNoteName(int noteNumber, char* noteName);
  // Main (state save and restore, presets), mutex.
  virtual bool SerializeState(ByteChunk* chunk) { return SerializeParams(chunk); }
  virtual int UnserializeState(ByteChunk* chunk, int startPos) { return UnserializeParams(chunk, startPos); }
  virtual bool CompareState(const unsigned char* incomingState, int startPos);  // with the state code
  // UI, after the host resized the editor's window at the plug-in's request.
  virtual void OnWindowResize() {}
  // Main.
  virtual bool HostRequestingAboutBox() { return false; }
  // Main, at initialisation once the host is known.
  virtual void OnHostIdentified() {}
  // UI; no mutex.
  virtual void PopupHostContextMenuForParam(int, int, int) {}
  // UI: sets the parameter, tells the host and calls OnParamChange, taking the mutex.
  virtual void SetParameterFromGUI(int idx, double normalizedValue);
  // UI (an edit gesture's begin, value and end; the value with the mutex held).
  virtual void BeginInformHostOfParamChange(int idx) = 0;
  virtual void InformHostOfParamChange(int idx, double normalizedValue) = 0;
  virtual void EndInformHostOfParamChange(int idx) = 0;
  // Main.
  virtual void InformHostOfProgramChange() = 0;
  // Audio, inside a block (mutex): the transport as the host delivered it with the block.
  virtual bool IsRenderingOffline() { return false; }
  virtual double GetSamplePos() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSig(int* numerator, int* denominator) = 0;
  virtual void GetTime(ITimeInfo* timeInfo) = 0;
  // Any thread.
  virtual EHost GetHost() { return mHost; }
  virtual EAPI GetAPI() { return mAPI; }
  // UI: asks the host for a new size of the editor's window (window units); no mutex.
  virtual void ResizeGraphics(int w, int h) = 0;
  // Main.
  virtual void HostSpecificInit() {}
  // Main (the plug-in's constructor), mutex: pushes every parameter to the editor, prepares it for
  // drawing and owns it from then on.
  virtual void AttachGraphics(IEditorDelegate* editor);
  // Any thread, mutex.
  virtual void SetLatency(int samples);
  // Audio, mutex.
  virtual bool SendMidiMsg(IMidiMsg* msg) = 0;
  virtual bool SendSysEx(ISysEx*) { return false; }
  // Main or UI, after a restore: every parameter's value to the editor's controls.
  virtual void RedrawParamControls();
  // Main.
  virtual void DirtyPTCompareState() {}
  virtual void PresetsChangedByHost() {}
  // Main (processing set-up), mutex.
  virtual void SetBlockSize(int blockSize);
  // UI: offers a right-click on a parameter's control to the host. True when the host took it (it
  // shows its own menu for the parameter), and the control then gets nothing. No mutex.
  virtual bool OfferContextClickToHost(int, int, int) { return false; }

  // ---- Accessors (any thread: values set at construction, or atomics) --------------------------
  // The sample rate and block size are set on the main thread with the mutex and read on the audio
  // thread under it.
  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  int GetParamCount() const { return mParams.GetSize(); }
  int GetPresetCount() const { return mPresets.GetSize(); }
  int GetCurrentPresetIndex() const { return mCurrentPresetIdx; }
  int GetInputChannelCount() const { return mInChannels.GetSize(); }
  int GetOutputChannelCount() const { return mOutChannels.GetSize(); }
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency.load(std::memory_order_relaxed); }
  int GetTailSize() const { return mTailSize; }
  IEditorDelegate* GetGraphics() const { return mEditor; }
  bool IsBypassed() const { return mBypassed.load(std::memory_order_relaxed); }
  void SetBypassed(bool bypassed) { mBypassed.store(bypassed, std::memory_order_relaxed); }
  bool DoesMidi() const { return mDoesMIDI; }
  bool DoesStateChunks() const { return mStateChunks; }
  bool IsInstrument() const { return mIsInst; }
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMakerName() const { return mMakerName; }
  int GetUniqueId() const { return mUniqueId; }
  int GetMakerId() const { return mMakerId; }
  // Label of bus i, or null when that bus has none.
  const char* GetInputBusLabel(int idx) const;
  const char* GetOutputBusLabel(int idx) const;
  const char* GetAPIString() const;
  static const char* GetArchString() { return "x64"; }
  RecursiveMutex* GetMutex() { return &mMutex; }

  // ---- Channel configuration and connections (main: construction and bus set-up, mutex) --------
  bool LegalIO(int nIn, int nOut) const;
  void SetInputChannelConnections(int first, int n, bool connected);
  void SetOutputChannelConnections(int first, int n, bool connected);
  bool IsInChannelConnected(int idx) const;
  bool IsOutChannelConnected(int idx) const;
  void SetInputLabel(int idx, const char* label);
  void SetOutputLabel(int idx, const char* label);
  void SetInputBusLabel(int bus, const char* label);
  void SetOutputBusLabel(int bus, const char* label);
  // What every format adapter's constructor does with the channels: all of them connected, the
  // bypass delay line (for the latency) when there are inputs, and the format's names for the main
  // input bus, the sidechain bus (labelled only when sidechain is set) and, unless null, the main
  // output bus. Construction thread.
  void SetUpEffectBuses(const char* mainIn, const char* sidechainIn, bool sidechain, const char* mainOut);

  // ---- Buffers, per processing block (caller holds the mutex) ----------------------------------
  void AttachInputBuffers(int first, int n, double** data, int nFrames);
  void AttachInputBuffers(int first, int n, float** data, int nFrames);
  void AttachOutputBuffers(int first, int n, double** data);
  void AttachOutputBuffers(int first, int n, float** data);
  // The first argument only selects the sample type.
  void ProcessBuffers(double, int nFrames);
  void ProcessBuffers(float, int nFrames);
  void ProcessBuffersAccumulating(float, int nFrames);
  void PassThroughBuffers(double, int nFrames);
  void PassThroughBuffers(float, int nFrames);
  void ZeroScratchBuffers();

  // ---- Settings (main, at set-up and initialisation; the MIDI send on audio) -------------------
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  void SetHost(const char* name, int version);
  int GetHostVersion(bool decimal);
  void GetHostVersionStr(char* out);
  int GetEffectVersion(bool decimal) const;
  void GetEffectVersionStr(char* out) const;
  double GetSamplesPerBeat();
  bool SendMidiMsgs(TypedBuf<IMidiMsg*>* msgs);

  // ---- Parameter flow (main, mutex: every OnParamChange again / every value to the host) --------
  void OnParamReset();
  void DirtyParameters();

  // ---- State, presets, program and bank files --------------------------------------------------
  // Defined with the state code (IPluginState.cpp, IPluginProgramFiles.cpp). Main; what reads or
  // writes parameter values takes the mutex (SerializeParams, UnserializeParams and all that go
  // through them).
  bool SerializeParams(ByteChunk* chunk);
  int UnserializeParams(ByteChunk* chunk, int startPos);
  // True when UnserializeParams would find a finite value for every parameter: the state loaders
  // check first, so a damaged chunk is refused whole instead of half applied.
  bool CheckParams(ByteChunk* chunk, int startPos) const;
  // Goes with SerializeState/UnserializeState: a plug-in that overrides those overrides this too.
  virtual bool CheckState(ByteChunk* chunk, int startPos) const { return CheckParams(chunk, startPos); }
  static void InitChunkWithFrameworkVer(ByteChunk* chunk);
  static int GetFrameworkVerFromChunk(ByteChunk* chunk, int* pos);

  void MakeDefaultPreset(const char* name = nullptr, int nPresets = 1);
  void MakePreset(const char* name, ...);
  void MakePresetFromNamedParams(const char* name, int nParamsNamed, ...);
  void MakePresetFromChunk(const char* name, ByteChunk* chunk);
  void MakePresetFromBlob(const char* name, const char* blob, int sizeOfChunk);
  void EnsureDefaultPreset();
  void PruneUninitializedPresets();
  bool RestorePreset(int idx);
  bool RestorePreset(const char* name);
  const char* GetPresetName(int idx);
  void ModifyCurrentPreset(const char* name = nullptr);
  bool SerializePresets(ByteChunk* chunk);
  int UnserializePresets(ByteChunk* chunk, int startPos);

  void DumpPresetSrcCode(const char* path, const char** paramNames);
  void DumpPresetBlob(const char* path);
  void DumpBankBlob(const char* path);

  bool SaveProgramAsFXP(StrBuf* path);
  bool SaveBankAsFXB(StrBuf* path);
  bool LoadProgramFromFXP(StrBuf* path);
  bool LoadBankFromFXB(StrBuf* path);
  // ---- End of state block ----------------------------------------------------------------------

 protected:
  PtrList<ChannelIO> mChannelIO;
  RecursiveMutex mMutex;
  char mEffectName[kMaxNameLen];
  char mProductName[kMaxNameLen];
  char mMakerName[kMaxNameLen];
  int mUniqueId;
  int mMakerId;
  int mVersion;
  EAPI mAPI;
  EHost mHost = kHostUninit;
  int mHostVersion = 0;
  bool mStateChunks;
  bool mIsInst;
  bool mDoesMIDI;
  // Written by the audio thread, read by the host's controller thread without the lock.
  std::atomic<bool> mBypassed{false};
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  // Set from the host's threads, read by the host's latency query without the lock.
  std::atomic<int> mLatency;
  int mTailSize = 0;
  ChannelDelayLine* mDelay = nullptr;
  IEditorDelegate* mEditor = nullptr;  // owned
  PtrList<IParam> mParams;
  PtrList<IPreset> mPresets;
  TypedBuf<double*> mInData;
  TypedBuf<double*> mOutData;
  PtrList<InChannel> mInChannels;
  PtrList<OutChannel> mOutChannels;
  PtrList<StrBuf> mInputBusLabels;
  PtrList<StrBuf> mOutputBusLabels;
  // Group names the host adapter reports as units; the texts belong to the parameters.
  PtrList<const char> mParamGroups;

 private:
  // Frames every scratch buffer is known to hold, so the per-block size check is one comparison.
  int mScratchFrames = 0;

  void ParseChannelIO(const char* channelIOStr);
  // Grows scratch buffers that are shorter than nFrames, keeping every data slot that pointed at
  // a scratch buffer pointing at its new storage.
  void EnsureScratchSize(int nFrames);
  void ResizeScratchBuffers(int nFrames, bool zeroAll);
  // Both AttachInputBuffers: the host's samples (float or double) copied into the scratch buffers.
  template <class Sample>
  void AttachInputs(int first, int n, Sample** data, int nFrames);
  void ConvertOutputsToFloat(int nFrames, bool accumulate);
  void PassThroughDouble(int nFrames);
};
