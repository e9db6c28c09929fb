// Default behaviour of a single-component effect.
#include "vst3/support/EffectComponent.h"

#include "vst3/support/Utf16.h"

#include <cstring>

using namespace vst3abi;

namespace vstsupport {

EffectComponent::EffectComponent() = default;

EffectComponent::~EffectComponent() { ReleaseHostObjects(); }

tresult EffectComponent::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!iid) return kNoInterface;
  void* found = nullptr;
  if (uidEquals(iid, FUnknown::iid))
    found = Unknown();
  else if (uidEquals(iid, IPluginBase::iid))
    found = static_cast<IPluginBase*>(static_cast<IComponent*>(this));
  else if (uidEquals(iid, IComponent::iid))
    found = static_cast<IComponent*>(this);
  else if (uidEquals(iid, IAudioProcessor::iid))
    found = static_cast<IAudioProcessor*>(this);
  else if (uidEquals(iid, IEditController::iid))
    found = static_cast<IEditController*>(this);
  else if (uidEquals(iid, IUnitInfo::iid))
    found = static_cast<IUnitInfo*>(this);
  else if (uidEquals(iid, IConnectionPoint::iid))
    found = static_cast<IConnectionPoint*>(this);
  if (!found) return kNoInterface;
  addRef();
  *obj = found;
  return kResultOk;
}

uint32 EffectComponent::addRef() { return mRefCount.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32 EffectComponent::release() {
  const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

tresult EffectComponent::initialize(FUnknown* context) {
  if (mInitialized) return kResultFalse;
  mInitialized = true;
  mHostContext = context;
  if (mHostContext) mHostContext->addRef();
  return kResultOk;
}

tresult EffectComponent::terminate() {
  ReleaseHostObjects();
  mInitialized = false;
  return kResultOk;
}

void EffectComponent::ReleaseHostObjects() {
  mAudioInputs.Clear();
  mAudioOutputs.Clear();
  mEventInputs.Clear();
  mEventOutputs.Clear();
  mParameters.Clear();
  if (mComponentHandler) {
    mComponentHandler->release();
    mComponentHandler = nullptr;
  }
  if (mHostContext) {
    mHostContext->release();
    mHostContext = nullptr;
  }
}

tresult EffectComponent::getControllerClassId(TUID) { return kNotImplemented; }

tresult EffectComponent::setIoMode(IoMode) { return kNotImplemented; }

BusList* EffectComponent::Busses(MediaType type, BusDirection dir) {
  if (type == kAudio) return dir == kInput ? &mAudioInputs : dir == kOutput ? &mAudioOutputs : nullptr;
  if (type == kEvent) return dir == kInput ? &mEventInputs : dir == kOutput ? &mEventOutputs : nullptr;
  return nullptr;
}

int32 EffectComponent::getBusCount(MediaType type, BusDirection dir) {
  const BusList* list = Busses(type, dir);
  return list ? list->Count() : 0;
}

tresult EffectComponent::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo* info) {
  BusList* list = Busses(type, dir);
  const Bus* bus = list ? list->Get(index) : nullptr;
  if (!bus || !info) return kInvalidArgument;
  std::memset(info, 0, sizeof *info);
  info->mediaType = type;
  info->direction = dir;
  info->channelCount = bus->ChannelCount(type);
  std::memcpy(info->name, bus->name, sizeof info->name);
  info->busType = bus->busType;
  info->flags = bus->flags;
  return kResultOk;
}

tresult EffectComponent::getRoutingInfo(RoutingInfo*, RoutingInfo*) { return kNotImplemented; }

tresult EffectComponent::activateBus(MediaType type, BusDirection dir, int32 index, TBool state) {
  BusList* list = Busses(type, dir);
  Bus* bus = list ? list->Get(index) : nullptr;
  if (!bus) return kInvalidArgument;
  bus->active = state != 0;
  return kResultOk;
}

tresult EffectComponent::setActive(TBool) { return kResultOk; }

tresult EffectComponent::setState(IBStream*) { return kNotImplemented; }

tresult EffectComponent::getState(IBStream*) { return kNotImplemented; }

tresult EffectComponent::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                            SpeakerArrangement* outputs, int32 numOuts) {
  if (numIns != mAudioInputs.Count() || numOuts != mAudioOutputs.Count()) return kResultFalse;
  for (int32 i = 0; i < numIns; ++i)
    if (!inputs || inputs[i] != mAudioInputs.Get(i)->arrangement) return kResultFalse;
  for (int32 i = 0; i < numOuts; ++i)
    if (!outputs || outputs[i] != mAudioOutputs.Get(i)->arrangement) return kResultFalse;
  return kResultOk;
}

tresult EffectComponent::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement* arr) {
  BusList* list = Busses(kAudio, dir);
  const Bus* bus = list ? list->Get(index) : nullptr;
  if (!bus || !arr) return kInvalidArgument;
  *arr = bus->arrangement;
  return kResultOk;
}

tresult EffectComponent::canProcessSampleSize(int32 size) {
  return size == kSample32 ? kResultOk : kResultFalse;
}

uint32 EffectComponent::getLatencySamples() { return 0; }

tresult EffectComponent::setupProcessing(ProcessSetup* setup) {
  if (!setup) return kInvalidArgument;
  mProcessSetup = *setup;
  return kResultOk;
}

tresult EffectComponent::setProcessing(TBool) { return kResultOk; }

uint32 EffectComponent::getTailSamples() { return kNoTail; }

tresult EffectComponent::setComponentState(IBStream*) { return kNotImplemented; }

tresult EffectComponent::setControllerState(IBStream*) { return kNotImplemented; }

tresult EffectComponent::getControllerState(IBStream*) { return kNotImplemented; }

int32 EffectComponent::getParameterCount() { return mParameters.Count(); }

tresult EffectComponent::getParameterInfo(int32 paramIndex, ParameterInfo* info) {
  const HostParam* param = mParameters.GetByIndex(paramIndex);
  if (!param || !info) return kResultFalse;
  *info = param->getInfo();
  return kResultOk;
}

tresult EffectComponent::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) {
  const HostParam* param = mParameters.Get(id);
  if (!param || !string) return kResultFalse;
  param->toString(valueNormalized, string);
  return kResultOk;
}

tresult EffectComponent::getParamValueByString(ParamID id, TChar* string, ParamValue* valueNormalized) {
  const HostParam* param = mParameters.Get(id);
  if (!param || !string || !valueNormalized) return kResultFalse;
  double v = 0.0;
  if (!param->fromString(string, v)) return kResultFalse;
  *valueNormalized = v;
  return kResultOk;
}

ParamValue EffectComponent::normalizedParamToPlain(ParamID id, ParamValue valueNormalized) {
  const HostParam* param = mParameters.Get(id);
  return param ? param->toPlain(valueNormalized) : valueNormalized;
}

ParamValue EffectComponent::plainParamToNormalized(ParamID id, ParamValue plainValue) {
  const HostParam* param = mParameters.Get(id);
  return param ? param->toNormalized(plainValue) : plainValue;
}

ParamValue EffectComponent::getParamNormalized(ParamID id) {
  const HostParam* param = mParameters.Get(id);
  return param ? param->getNormalized() : 0.0;
}

tresult EffectComponent::setParamNormalized(ParamID id, ParamValue value) {
  HostParam* param = mParameters.Get(id);
  if (!param) return kResultFalse;
  param->setNormalized(value);
  return kResultOk;
}

tresult EffectComponent::setComponentHandler(IComponentHandler* handler) {
  if (handler == mComponentHandler) return kResultOk;
  if (handler) handler->addRef();
  if (mComponentHandler) mComponentHandler->release();
  mComponentHandler = handler;
  return kResultOk;
}

IPlugView* EffectComponent::createView(FIDString) { return nullptr; }

int32 EffectComponent::getUnitCount() { return UnitNameCount() + 1; }

tresult EffectComponent::getUnitInfo(int32 unitIndex, UnitInfo* info) {
  if (!info) return kInvalidArgument;
  if (unitIndex < 0 || unitIndex > UnitNameCount()) return kResultFalse;
  std::memset(info, 0, sizeof *info);
  info->id = unitIndex == 0 ? kRootUnitId : unitIndex;
  info->parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
  Utf8ToUtf16(unitIndex == 0 ? "Root Unit" : UnitName(unitIndex - 1), info->name, 128);
  info->programListId = kNoProgramListId;
  return kResultOk;
}

int32 EffectComponent::getProgramListCount() { return 0; }

tresult EffectComponent::getProgramListInfo(int32 listIndex, ProgramListInfo* info) {
  if (listIndex != 0 || !info || ProgramListId() == kNoProgramListId) return kResultFalse;
  std::memset(info, 0, sizeof *info);
  info->id = ProgramListId();
  Utf8ToUtf16(ProgramListName(), info->name, 128);
  info->programCount = ProgramCount();
  return kResultOk;
}

tresult EffectComponent::getProgramName(ProgramListID listId, int32 programIndex, String128 name) {
  if (listId == kNoProgramListId || listId != ProgramListId() || !name) return kResultFalse;
  Utf8ToUtf16(ProgramName(programIndex), name, 128);
  return kResultOk;
}

tresult EffectComponent::getProgramInfo(ProgramListID, int32, CString, String128) { return kNotImplemented; }

tresult EffectComponent::hasProgramPitchNames(ProgramListID, int32) { return kNotImplemented; }

tresult EffectComponent::getProgramPitchName(ProgramListID, int32, int16, String128) {
  return kNotImplemented;
}

UnitID EffectComponent::getSelectedUnit() { return kRootUnitId; }

tresult EffectComponent::selectUnit(UnitID) { return kNotImplemented; }

tresult EffectComponent::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID*) {
  return kNotImplemented;
}

tresult EffectComponent::setUnitProgramData(int32, int32, IBStream*) { return kNotImplemented; }

tresult EffectComponent::connect(IConnectionPoint* other) { return other ? kResultOk : kInvalidArgument; }

tresult EffectComponent::disconnect(IConnectionPoint* other) { return other ? kResultOk : kInvalidArgument; }

tresult EffectComponent::notify(IMessage*) { return kResultFalse; }

tresult EffectComponent::beginEdit(ParamID id) {
  return mComponentHandler ? mComponentHandler->beginEdit(id) : kResultFalse;
}

tresult EffectComponent::performEdit(ParamID id, ParamValue valueNormalized) {
  return mComponentHandler ? mComponentHandler->performEdit(id, valueNormalized) : kResultFalse;
}

tresult EffectComponent::endEdit(ParamID id) {
  return mComponentHandler ? mComponentHandler->endEdit(id) : kResultFalse;
}

tresult EffectComponent::restartComponent(int32 flags) {
  return mComponentHandler ? mComponentHandler->restartComponent(flags) : kResultFalse;
}

bool EffectComponent::isTypeOf(const char* name, bool) const {
  return name && std::strcmp(name, "EffectComponent") == 0;
}

}  // namespace vstsupport
