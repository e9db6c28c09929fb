// One instance of an audio-effect class, brought up and torn down the way a DAW does.
#include "host/vst3/PluginInstance.h"

#include <algorithm>
#include <cstring>

#include "host/vst3/MemoryStream.h"
#include "host/vst3/Utf8Text.h"
#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

namespace {

// Bounds for counts a broken plug-in might report.
constexpr int32 kMaxBusses = 256;
constexpr int32 kMaxParameters = 1 << 16;

bool allZero(const char* uid) {
  for (int i = 0; i < 16; ++i) {
    if (uid[i] != 0) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<PluginInstance> PluginInstance::create(Module& module, const ClassInfo& cls,
                                                       std::string* error) {
  std::unique_ptr<PluginInstance> p(new PluginInstance);
  if (!p->init(module, cls, error)) return nullptr;
  return p;
}

bool PluginInstance::init(Module& module, const ClassInfo& cls, std::string* error) {
  mClass = cls;
  IPluginFactory* factory = module.factory();
  FUnknown* context = static_cast<IHostApplication*>(module.hostContext());

  void* obj = nullptr;
  if (factory->createInstance(cls.cid.data(), IComponent::iid.bytes, &obj) != kResultOk || !obj) {
    if (error) *error = "the plug-in could not create an instance of '" + cls.name + "'";
    return false;
  }
  mComponent = Ref<IComponent>::adopt(static_cast<IComponent*>(obj));
  if (mComponent->initialize(context) != kResultOk) {
    // A component that failed to initialise is released without terminate.
    mComponent.reset();
    if (error) *error = "'" + cls.name + "' failed to initialise";
    return false;
  }
  mComponentInitialized = true;

  mProcessor = mComponent.query<IAudioProcessor>();
  if (!mProcessor) {
    if (error) *error = "'" + cls.name + "' is not an audio processor";
    return false;
  }

  mController = mComponent.query<IEditController>();
  if (mController) {
    mSingleComponent = true;
  } else {
    TUID controllerCid = {};
    if (mComponent->getControllerClassId(controllerCid) == kResultTrue && !allZero(controllerCid)) {
      obj = nullptr;
      if (factory->createInstance(controllerCid, IEditController::iid.bytes, &obj) == kResultOk && obj) {
        mController = Ref<IEditController>::adopt(static_cast<IEditController*>(obj));
        if (mController->initialize(context) == kResultOk) {
          mControllerInitialized = true;
        } else {
          mController.reset();
        }
      }
    }
  }

  if (mController && !mSingleComponent) {
    mComponentPoint = mComponent.query<IConnectionPoint>();
    mControllerPoint = mController.query<IConnectionPoint>();
    if (mComponentPoint && mControllerPoint) {
      mComponentPoint->connect(mControllerPoint.get());
      mControllerPoint->connect(mComponentPoint.get());
      mConnected = true;
    }
  }

  mHandler = Ref<ComponentHandler>::adopt(new ComponentHandler);
  if (mController) {
    mController->setComponentHandler(static_cast<IComponentHandler*>(mHandler.get()));
    // The controller learns the processor's current state the way a DAW tells it.
    if (!mSingleComponent) {
      auto stream = Ref<MemoryStream>::adopt(new MemoryStream);
      if (mComponent->getState(static_cast<IBStream*>(stream.get())) == kResultOk &&
          !stream->data().empty()) {
        stream->rewind();
        mController->setComponentState(static_cast<IBStream*>(stream.get()));
      }
    }
  }
  return true;
}

PluginInstance::~PluginInstance() {
  if (mProcessing && mProcessor) mProcessor->setProcessing(0);
  if (mActive && mComponent) mComponent->setActive(0);
  if (mConnected) {
    mComponentPoint->disconnect(mControllerPoint.get());
    mControllerPoint->disconnect(mComponentPoint.get());
  }
  mComponentPoint.reset();
  mControllerPoint.reset();
  if (mController) mController->setComponentHandler(nullptr);
  if (mControllerInitialized) mController->terminate();
  mController.reset();
  mProcessor.reset();
  if (mComponentInitialized) mComponent->terminate();
  mComponent.reset();
}

std::vector<BusDescription> PluginInstance::busses(MediaType type, BusDirection dir) const {
  std::vector<BusDescription> out;
  const int32 count = std::min(mComponent->getBusCount(type, dir), kMaxBusses);
  for (int32 i = 0; i < count; ++i) {
    BusInfo info{};
    BusDescription b;
    b.mediaType = type;
    b.direction = dir;
    b.index = i;
    if (mComponent->getBusInfo(type, dir, i, &info) == kResultOk) {
      b.name = toUtf8(info.name, 128);
      b.channelCount = std::max<int32>(0, info.channelCount);
      b.busType = info.busType;
      b.flags = info.flags;
    }
    if (type == kAudio) {
      SpeakerArrangement arr = 0;
      if (mProcessor->getBusArrangement(dir, i, &arr) == kResultOk) b.arrangement = arr;
    }
    out.push_back(std::move(b));
  }
  return out;
}

std::vector<ParameterDescription> PluginInstance::parameters() const {
  std::vector<ParameterDescription> out;
  if (!mController) return out;
  const int32 count = std::min(mController->getParameterCount(), kMaxParameters);
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (mController->getParameterInfo(i, &info) != kResultOk) continue;
    ParameterDescription p;
    p.id = info.id;
    p.title = toUtf8(info.title, 128);
    p.shortTitle = toUtf8(info.shortTitle, 128);
    p.units = toUtf8(info.units, 128);
    p.stepCount = info.stepCount;
    p.defaultNormalized = info.defaultNormalizedValue;
    p.unitId = info.unitId;
    p.flags = info.flags;
    out.push_back(std::move(p));
  }
  return out;
}

std::string PluginInstance::displayString(ParamID id, double normalized) const {
  if (!mController) return {};
  String128 text = {};
  if (mController->getParamStringByValue(id, normalized, text) != kResultOk) return {};
  return toUtf8(text, 128);
}

bool PluginInstance::saveState(std::vector<uint8_t>* componentState, std::vector<uint8_t>* controllerState,
                               std::string*) const {
  componentState->clear();
  controllerState->clear();
  auto s1 = Ref<MemoryStream>::adopt(new MemoryStream);
  if (mComponent->getState(static_cast<IBStream*>(s1.get())) == kResultOk) *componentState = s1->data();
  if (mController) {
    auto s2 = Ref<MemoryStream>::adopt(new MemoryStream);
    if (mController->getControllerState(static_cast<IBStream*>(s2.get())) == kResultOk) {
      *controllerState = s2->data();
    }
  }
  return true;
}

bool PluginInstance::loadState(const std::vector<uint8_t>& componentState,
                               const std::vector<uint8_t>& controllerState, std::string* error) {
  if (!componentState.empty()) {
    auto s1 = Ref<MemoryStream>::adopt(new MemoryStream(componentState));
    if (mComponent->setState(static_cast<IBStream*>(s1.get())) != kResultOk) {
      if (error) *error = "the plug-in refused the saved processor state";
      return false;
    }
    if (mController) {
      auto again = Ref<MemoryStream>::adopt(new MemoryStream(componentState));
      mController->setComponentState(static_cast<IBStream*>(again.get()));
    }
  }
  if (!controllerState.empty()) {
    if (!mController) {
      if (error) *error = "the state holds controller data but the plug-in has no controller";
      return false;
    }
    auto s2 = Ref<MemoryStream>::adopt(new MemoryStream(controllerState));
    if (mController->setControllerState(static_cast<IBStream*>(s2.get())) != kResultOk) {
      if (error) *error = "the plug-in refused the saved controller state";
      return false;
    }
  }
  return true;
}

}  // namespace qvhost
