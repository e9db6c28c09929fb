// One object that is at once the audio component, the audio processor, the edit controller (with
// unit information) and a connection point: the base a single-component effect derives from.
// It keeps the bus lists, the host-visible parameters, the host context, the component handler and
// the last process set-up, and answers every interface call a derived effect does not override
// with a plain, safe default. One reference count serves all interfaces.
#pragma once

#include "vst3/abi/AudioProcessor.h"
#include "vst3/abi/Component.h"
#include "vst3/abi/ComponentHandler.h"
#include "vst3/abi/EditController.h"
#include "vst3/abi/Messages.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/abi/UnitInfo.h"
#include "vst3/support/BusList.h"
#include "vst3/support/ParamRegistry.h"

#include <atomic>

namespace vstsupport {

class EffectComponent : public vst3abi::IComponent,
                        public vst3abi::IAudioProcessor,
                        public vst3abi::IEditController,
                        public vst3abi::IUnitInfo,
                        public vst3abi::IConnectionPoint {
 public:
  using tresult = vst3abi::tresult;
  using int32 = vst3abi::int32;
  using uint32 = vst3abi::uint32;
  using TBool = vst3abi::TBool;
  using ParamID = vst3abi::ParamID;
  using ParamValue = vst3abi::ParamValue;

  EffectComponent();
  virtual ~EffectComponent();
  EffectComponent(const EffectComponent&) = delete;
  EffectComponent& operator=(const EffectComponent&) = delete;

  // ---- FUnknown ----
  tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  uint32 VST3ABI_CALL addRef() override;
  uint32 VST3ABI_CALL release() override;

  // ---- IPluginBase (shared by component and controller) ----
  tresult VST3ABI_CALL initialize(vst3abi::FUnknown* context) override;
  tresult VST3ABI_CALL terminate() override;

  // ---- IComponent ----
  tresult VST3ABI_CALL getControllerClassId(vst3abi::TUID classId) override;
  tresult VST3ABI_CALL setIoMode(vst3abi::IoMode mode) override;
  int32 VST3ABI_CALL getBusCount(vst3abi::MediaType type, vst3abi::BusDirection dir) override;
  tresult VST3ABI_CALL getBusInfo(vst3abi::MediaType type, vst3abi::BusDirection dir, int32 index,
                                  vst3abi::BusInfo* bus) override;
  tresult VST3ABI_CALL getRoutingInfo(vst3abi::RoutingInfo* inInfo, vst3abi::RoutingInfo* outInfo) override;
  tresult VST3ABI_CALL activateBus(vst3abi::MediaType type, vst3abi::BusDirection dir, int32 index,
                                   TBool state) override;
  tresult VST3ABI_CALL setActive(TBool state) override;
  tresult VST3ABI_CALL setState(vst3abi::IBStream* state) override;
  tresult VST3ABI_CALL getState(vst3abi::IBStream* state) override;

  // ---- IAudioProcessor ----
  tresult VST3ABI_CALL setBusArrangements(vst3abi::SpeakerArrangement* inputs, int32 numIns,
                                          vst3abi::SpeakerArrangement* outputs, int32 numOuts) override;
  tresult VST3ABI_CALL getBusArrangement(vst3abi::BusDirection dir, int32 index,
                                         vst3abi::SpeakerArrangement* arr) override;
  tresult VST3ABI_CALL canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 VST3ABI_CALL getLatencySamples() override;
  tresult VST3ABI_CALL setupProcessing(vst3abi::ProcessSetup* setup) override;
  tresult VST3ABI_CALL setProcessing(TBool state) override;
  tresult VST3ABI_CALL process(vst3abi::ProcessData* data) override = 0;
  uint32 VST3ABI_CALL getTailSamples() override;

  // ---- IEditController ----
  tresult VST3ABI_CALL setComponentState(vst3abi::IBStream* state) override;
  tresult VST3ABI_CALL setControllerState(vst3abi::IBStream* state) override;
  tresult VST3ABI_CALL getControllerState(vst3abi::IBStream* state) override;
  int32 VST3ABI_CALL getParameterCount() override;
  tresult VST3ABI_CALL getParameterInfo(int32 paramIndex, vst3abi::ParameterInfo* info) override;
  tresult VST3ABI_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                             vst3abi::String128 string) override;
  tresult VST3ABI_CALL getParamValueByString(ParamID id, vst3abi::TChar* string,
                                             ParamValue* valueNormalized) override;
  ParamValue VST3ABI_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) override;
  ParamValue VST3ABI_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) override;
  ParamValue VST3ABI_CALL getParamNormalized(ParamID id) override;
  tresult VST3ABI_CALL setParamNormalized(ParamID id, ParamValue value) override;
  tresult VST3ABI_CALL setComponentHandler(vst3abi::IComponentHandler* handler) override;
  vst3abi::IPlugView* VST3ABI_CALL createView(vst3abi::FIDString name) override;

  // ---- IUnitInfo: the root unit, the units of UnitName, the program list of ProgramListId ----
  int32 VST3ABI_CALL getUnitCount() override;
  tresult VST3ABI_CALL getUnitInfo(int32 unitIndex, vst3abi::UnitInfo* info) override;
  int32 VST3ABI_CALL getProgramListCount() override;
  tresult VST3ABI_CALL getProgramListInfo(int32 listIndex, vst3abi::ProgramListInfo* info) override;
  tresult VST3ABI_CALL getProgramName(vst3abi::ProgramListID listId, int32 programIndex,
                                      vst3abi::String128 name) override;
  tresult VST3ABI_CALL getProgramInfo(vst3abi::ProgramListID listId, int32 programIndex,
                                      vst3abi::CString attributeId,
                                      vst3abi::String128 attributeValue) override;
  tresult VST3ABI_CALL hasProgramPitchNames(vst3abi::ProgramListID listId, int32 programIndex) override;
  tresult VST3ABI_CALL getProgramPitchName(vst3abi::ProgramListID listId, int32 programIndex,
                                           vst3abi::int16 midiPitch, vst3abi::String128 name) override;
  vst3abi::UnitID VST3ABI_CALL getSelectedUnit() override;
  tresult VST3ABI_CALL selectUnit(vst3abi::UnitID unitId) override;
  tresult VST3ABI_CALL getUnitByBus(vst3abi::MediaType type, vst3abi::BusDirection dir, int32 busIndex,
                                    int32 channel, vst3abi::UnitID* unitId) override;
  tresult VST3ABI_CALL setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                          vst3abi::IBStream* data) override;

  // ---- IConnectionPoint: a single component has no peer to talk to ----
  tresult VST3ABI_CALL connect(vst3abi::IConnectionPoint* other) override;
  tresult VST3ABI_CALL disconnect(vst3abi::IConnectionPoint* other) override;
  tresult VST3ABI_CALL notify(vst3abi::IMessage* message) override;

  // ---- Edits reported to the host (UI thread only); false without a component handler ----
  tresult beginEdit(ParamID id);
  tresult performEdit(ParamID id, ParamValue valueNormalized);
  tresult endEdit(ParamID id);
  tresult restartComponent(int32 flags);

  // ---- Run-time type names ----
  virtual const char* isA() const { return "EffectComponent"; }
  virtual bool isTypeOf(const char* name, bool askBase = true) const;

  vst3abi::FUnknown* GetHostContext() const { return mHostContext; }
  vst3abi::IComponentHandler* GetComponentHandler() const { return mComponentHandler; }
  const vst3abi::ProcessSetup& GetProcessSetup() const { return mProcessSetup; }
  vst3abi::FUnknown* Unknown() { return static_cast<vst3abi::IAudioProcessor*>(this); }

 protected:
  // What IUnitInfo reports beyond the root unit. Unit i (1-based) is named UnitName(i - 1) and
  // sits below the root. The one program list is answered by its index 0 and its id, but not
  // counted: hosts reach it through the program-change parameter, whose id is the list's.
  virtual int32 UnitNameCount() { return 0; }
  virtual const char* UnitName(int32 /*idx*/) { return ""; }
  virtual vst3abi::ProgramListID ProgramListId() { return vst3abi::kNoProgramListId; }
  virtual const char* ProgramListName() { return ""; }
  virtual int32 ProgramCount() { return 0; }
  virtual const char* ProgramName(int32 /*idx*/) { return ""; }

  BusList* Busses(vst3abi::MediaType type, vst3abi::BusDirection dir);
  Bus* GetAudioInput(int idx) { return mAudioInputs.Get(idx); }
  Bus* GetAudioOutput(int idx) { return mAudioOutputs.Get(idx); }
  // Releases the host context and the component handler, forgets busses and parameters.
  void ReleaseHostObjects();

  BusList mAudioInputs;
  BusList mAudioOutputs;
  BusList mEventInputs;
  BusList mEventOutputs;
  ParamRegistry mParameters;
  vst3abi::ProcessSetup mProcessSetup{};

 private:
  std::atomic<uint32> mRefCount{1};
  bool mInitialized = false;
  vst3abi::FUnknown* mHostContext = nullptr;
  vst3abi::IComponentHandler* mComponentHandler = nullptr;
};

}  // namespace vstsupport
