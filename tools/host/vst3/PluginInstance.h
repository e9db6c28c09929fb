// One instance of an audio-effect class, brought up the way a DAW does: component created and
// initialised with the host context, controller found (same object or its own class), both
// connected, handler set, processor state mirrored into the controller. Busses, parameters and
// state are read through here; the processing lifecycle (arrangements, bus activation, setup,
// activation) is driven by BlockProcessor. Destruction runs everything in reverse.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/vst3/ComponentHandler.h"
#include "host/vst3/Module.h"
#include "host/vst3/Ref.h"
#include "vst3/abi/AudioProcessor.h"
#include "vst3/abi/Component.h"
#include "vst3/abi/EditController.h"
#include "vst3/abi/Messages.h"

namespace qvhost {

struct BusDescription {
  vst3abi::MediaType mediaType = vst3abi::kAudio;
  vst3abi::BusDirection direction = vst3abi::kInput;
  vst3abi::int32 index = 0;
  std::string name;
  vst3abi::int32 channelCount = 0;
  vst3abi::BusType busType = vst3abi::kMain;
  vst3abi::uint32 flags = 0;
  vst3abi::SpeakerArrangement arrangement = 0;  // audio busses only; 0 when not reported
};

struct ParameterDescription {
  vst3abi::ParamID id = vst3abi::kNoParamId;
  std::string title;
  std::string shortTitle;
  std::string units;
  vst3abi::int32 stepCount = 0;
  double defaultNormalized = 0;
  vst3abi::UnitID unitId = 0;
  vst3abi::int32 flags = 0;
};

class PluginInstance {
 public:
  static std::unique_ptr<PluginInstance> create(Module& module, const ClassInfo& cls, std::string* error);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  const ClassInfo& classInfo() const { return mClass; }
  vst3abi::IComponent* component() const { return mComponent.get(); }
  vst3abi::IAudioProcessor* processor() const { return mProcessor.get(); }
  // Null when the plug-in has no controller at all.
  vst3abi::IEditController* controller() const { return mController.get(); }
  bool singleComponent() const { return mSingleComponent; }
  bool connected() const { return mConnected; }
  ComponentHandler& handler() const { return *mHandler.get(); }

  std::vector<BusDescription> busses(vst3abi::MediaType type, vst3abi::BusDirection dir) const;
  std::vector<ParameterDescription> parameters() const;
  // The controller's text for a normalized value; empty when it has none.
  std::string displayString(vst3abi::ParamID id, double normalized) const;

  // Processor state and controller state as opaque blobs; a side that keeps none yields an empty blob.
  bool saveState(std::vector<uint8_t>* componentState, std::vector<uint8_t>* controllerState,
                 std::string* error) const;
  // Restores like a project load: processor state, the same bytes into the controller, then the
  // controller's own state. Empty blobs are skipped.
  bool loadState(const std::vector<uint8_t>& componentState, const std::vector<uint8_t>& controllerState,
                 std::string* error);

  // Lifecycle flags maintained by BlockProcessor so teardown knows how far to unwind.
  void markActive(bool active) { mActive = active; }
  void markProcessing(bool processing) { mProcessing = processing; }

 private:
  PluginInstance() = default;
  bool init(Module& module, const ClassInfo& cls, std::string* error);

  ClassInfo mClass;
  Ref<vst3abi::IComponent> mComponent;
  Ref<vst3abi::IAudioProcessor> mProcessor;
  Ref<vst3abi::IEditController> mController;
  Ref<vst3abi::IConnectionPoint> mComponentPoint;
  Ref<vst3abi::IConnectionPoint> mControllerPoint;
  Ref<ComponentHandler> mHandler;
  bool mSingleComponent = false;
  bool mComponentInitialized = false;
  bool mControllerInitialized = false;
  bool mConnected = false;
  bool mActive = false;
  bool mProcessing = false;
};

}  // namespace qvhost
