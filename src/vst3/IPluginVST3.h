// IPluginVST3: the plug-in framework presented to a VST 3 host. One object is both the audio
// processor and the edit controller: the framework's IPlugin supplies parameters, presets,
// channels and buffers; the single-component effect base supplies the VST 3 interfaces, busses
// and host-visible parameters. A concrete plug-in derives from this class.
//
// Threads, as VST 3 hosts call: "main" is the host's UI/main thread (initialize, set-up, state,
// controller calls, views), "audio" the process call. The notes say where the plug-in's mutex
// (IPlugin::GetMutex) is taken; no call waits for anything while holding it.
#pragma once

#include "framework/HostBlockFeeder.h"
#include "framework/IPlugin.h"
#include "vst3/IPluginInstanceInfo.h"
#include "vst3/abi/Events.h"
#include "vst3/abi/ParameterChanges.h"
#include "vst3/abi/PlugView.h"
#include "vst3/abi/Stream.h"
#include "vst3/support/EffectComponent.h"

#include <vector>

class IPluginVST3View;

class IPluginVST3 : public IPlugin, public vstsupport::EffectComponent {
 public:
  // Ids of the adapter's own parameters, beside the framework parameters whose ids are their
  // indices.
  static constexpr ParamID kBypassParam = 0x62706173;  // "bpas"
  static constexpr ParamID kPresetParam = 0x70727374;  // "prst"

  // Main (the factory's createInstance).
  IPluginVST3(IPluginInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
              const char* effectName, const char* productName, const char* makerName, int vendorVersion,
              int uniqueId, int makerId, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
              int plugScChans);
  ~IPluginVST3() override;

  // Speaker arrangement for a channel count (empty for counts without one).
  static vst3abi::SpeakerArrangement getSpeakerArrForChans(int32 chans);

  // ---- IPluginBase (main) ----
  // Identifies the host, declares the busses and parameters, restores preset 0 (mutex).
  tresult VST3ABI_CALL initialize(vst3abi::FUnknown* context) override;

  // ---- IComponent (main) ----
  // OnActivate, which takes the mutex.
  tresult VST3ABI_CALL setActive(TBool state) override;
  // The component state carries the same bytes as the controller state; both take the mutex.
  tresult VST3ABI_CALL setState(vst3abi::IBStream* state) override;
  tresult VST3ABI_CALL getState(vst3abi::IBStream* state) override;

  // ---- IAudioProcessor (main, except process) ----
  tresult VST3ABI_CALL setBusArrangements(vst3abi::SpeakerArrangement* inputs, int32 numIns,
                                          vst3abi::SpeakerArrangement* outputs, int32 numOuts) override;
  tresult VST3ABI_CALL canProcessSampleSize(int32 symbolicSampleSize) override;
  // Any thread (an atomic).
  uint32 VST3ABI_CALL getLatencySamples() override;
  // Mutex: the sample rate, block size and Reset.
  tresult VST3ABI_CALL setupProcessing(vst3abi::ProcessSetup* setup) override;
  // Audio: the whole block (parameter changes, events, DSP) under the mutex.
  tresult VST3ABI_CALL process(vst3abi::ProcessData* data) override;
  uint32 VST3ABI_CALL getTailSamples() override;

  // ---- IEditController (main, without the mutex) ----
  tresult VST3ABI_CALL setComponentState(vst3abi::IBStream* state) override;
  tresult VST3ABI_CALL setControllerState(vst3abi::IBStream* state) override { return setEditorState(state); }
  tresult VST3ABI_CALL getControllerState(vst3abi::IBStream* state) override { return getEditorState(state); }
  tresult VST3ABI_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                             vst3abi::String128 string) override;
  ParamValue VST3ABI_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) override;
  ParamValue VST3ABI_CALL getParamNormalized(ParamID id) override;
  tresult VST3ABI_CALL setParamNormalized(ParamID id, ParamValue value) override;
  vst3abi::IPlugView* VST3ABI_CALL createView(vst3abi::FIDString name) override;

  // ---- State streams (main, mutex) ----
  // The framework state chunk followed by the 4-byte bypass flag.
  tresult getEditorState(vst3abi::IBStream* stream);
  tresult setEditorState(vst3abi::IBStream* stream);

  // ---- IPlugin: the host-facing operations (threads as IPlugin states: gestures and resizing on
  // the UI thread, the transport queries on audio inside a block) ----
  void PopupHostContextMenuForParam(int idx, int x, int y) override;
  // The host owns every parameter's context menu: the click is its, menu or not.
  bool OfferContextClickToHost(int idx, int x, int y) override;
  void BeginInformHostOfParamChange(int idx) override;
  void InformHostOfParamChange(int idx, double normalizedValue) override;
  void EndInformHostOfParamChange(int idx) override;
  void InformHostOfProgramChange() override {}
  bool IsRenderingOffline() override;
  double GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  void ResizeGraphics(int w, int h) override;
  void SetLatency(int samples) override;
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  // ---- Open editor views (main) ----
  void addDependentView(IPluginVST3View* view);
  // Forgets every view, whichever one is named. A view calls it as it goes, so the list never
  // names a destroyed view.
  void removeDependentView(IPluginVST3View* view);

  vstsupport::Bus* getAudioInput(int idx) { return GetAudioInput(idx); }
  vstsupport::Bus* getAudioOutput(int idx) { return GetAudioOutput(idx); }

  const char* isA() const override { return "IPluginVST3"; }
  bool isTypeOf(const char* name, bool askBase = true) const override;

 protected:
  // Units are the parameter groups; the program list holds the presets under the "Preset" id.
  int32 UnitNameCount() override { return mParamGroups.GetSize(); }
  const char* UnitName(int32 idx) override { return mParamGroups.Get(idx); }
  vst3abi::ProgramListID ProgramListId() override {
    return static_cast<vst3abi::ProgramListID>(kPresetParam);
  }
  const char* ProgramListName() override { return "Factory Presets"; }
  int32 ProgramCount() override { return GetPresetCount(); }
  const char* ProgramName(int32 idx) override { return GetPresetName(idx); }

 private:
  template <class Sample>
  void RenderBlock(vst3abi::ProcessData& data);
  void ApplyParameterChanges(vst3abi::IParameterChanges* changes);
  void ApplyEvents(vst3abi::IEventList* events);
  // Decides which channels the host feeds this block and remembers their buffers.
  void ConnectChannels(const vst3abi::ProcessData& data);
  bool IsValidParamTag(ParamID id) const {
    return id < static_cast<ParamID>(GetParamCount()) && GetParam(id);
  }

  int mSidechainChannels;
  bool mSidechainActive = false;
  vst3abi::ProcessContext mProcessContext{};
  std::vector<IPluginVST3View*> mViews;

  // The host's buffers of this block, per channel; sized at construction.
  HostBlockFeeder mFeeder;
};
