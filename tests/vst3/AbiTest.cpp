// Binary-compatibility checks of our VST 3 declarations: identifier bytes, vtable slot order and
// record layouts as a plug-in or host built elsewhere sees them.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "vst3/abi/AllInterfaces.h"

using namespace vst3abi;

namespace {

// The 16 bytes a module on this platform expects, from the 32-digit text form hosts print.
std::string bytesFromText(const char* hex) {
  std::string out;
  for (int i = 0; i < 16; ++i) {
    out.push_back(static_cast<char>(std::stoul(std::string(hex + 2 * i, 2), nullptr, 16)));
  }
#if defined(_WIN32)
  // COM layout: the first word and the two halves of the second are stored little-endian.
  std::swap(out[0], out[3]);
  std::swap(out[1], out[2]);
  std::swap(out[4], out[5]);
  std::swap(out[6], out[7]);
#endif
  return out;
}

std::string bytesOf(const Uid& uid) { return std::string(uid.bytes, 16); }

struct IidCase {
  const char* name;
  const Uid& uid;
  const char* text;
};

}  // namespace

TEST(Vst3Abi, EveryInterfaceIdentifierHasTheExpectedBytes) {
  const IidCase cases[] = {
      {"FUnknown", FUnknown::iid, "0000000000000000C000000000000046"},
      {"IPluginBase", IPluginBase::iid, "22888DDB156E45AE8358B34808190625"},
      {"IPluginFactory", IPluginFactory::iid, "7A4D811C52114A1FAED9D2EE0B43BF9F"},
      {"IPluginFactory2", IPluginFactory2::iid, "0007B650F24B4C0BA464EDB9F00B2ABB"},
      {"IPluginFactory3", IPluginFactory3::iid, "4555A2ABC1234E579B12291036878931"},
      {"IPluginCompatibility", IPluginCompatibility::iid, "4AFD4B6A35D7C240A5C31414FB7D15E6"},
      {"IBStream", IBStream::iid, "C3BF6EA2309947529B6BF9901EE33E9B"},
      {"ISizeableStream", ISizeableStream::iid, "04F9549EE02F4E6E87E86A8747F4E17F"},
      {"IComponent", IComponent::iid, "E831FF31F2D54301928EBBEE25697802"},
      {"IAudioProcessor", IAudioProcessor::iid, "42043F99B7DA453CA569E79D9AAEC33D"},
      {"IAudioPresentationLatency", IAudioPresentationLatency::iid, "309ECE78EB7D4FAE8B2225D909FD08B6"},
      {"IProcessContextRequirements", IProcessContextRequirements::iid, "2A654303EF764E3D95B5FE83730EF6D0"},
      {"IEditController", IEditController::iid, "DCD7BBE37742448DA874AACC979C759E"},
      {"IEditController2", IEditController2::iid, "7F4EFE59F3204967AC27A3AEAFB63038"},
      {"IMidiMapping", IMidiMapping::iid, "DF0FF9F749B74669B63AB7327ADBF5E5"},
      {"IUnitInfo", IUnitInfo::iid, "3D4BD6B5913A4FD2A886E768A5EB92C1"},
      {"IConnectionPoint", IConnectionPoint::iid, "70A4156F6E6E4026989148BFAA60D8D1"},
      {"IComponentHandler", IComponentHandler::iid, "93A0BEA30BD045DB8E890B0CC1E46AC6"},
      {"IComponentHandler2", IComponentHandler2::iid, "F040B4B3A36045ECABCDC045B4D5A2CC"},
      {"IComponentHandler3", IComponentHandler3::iid, "69F11617D26B400DA4B6B9647B6EBBAB"},
      {"IComponentHandlerBusActivation", IComponentHandlerBusActivation::iid,
       "067D02C15B4E274DA92D90FD6EAF7240"},
      {"IContextMenu", IContextMenu::iid, "2E93C8630C9C458897DBECF5AD17817D"},
      {"IContextMenuTarget", IContextMenuTarget::iid, "3CDF2E7585D34144BF86D36BD7C4894D"},
      {"IUnitHandler", IUnitHandler::iid, "4B5147F84654486B8DAB30BA163A3C56"},
      {"IHostApplication", IHostApplication::iid, "58E595CCDB2D49698B6AAF8C36A664E5"},
      {"IPlugInterfaceSupport", IPlugInterfaceSupport::iid, "4FB58B9E9EAA4E0FAB361C1CCCB56FEA"},
      {"IMessage", IMessage::iid, "936F033BC6C047DBBB0882F813C1E613"},
      {"IAttributeList", IAttributeList::iid, "1E5F0AEBCC7F4533A254401138AD5EE4"},
      {"IStreamAttributes", IStreamAttributes::iid, "D6CE2FFCEFAF4B8C9E74F1BB12DA44B4"},
      {"IParameterChanges", IParameterChanges::iid, "A47796630BB64A56B44384A8466FEB9D"},
      {"IParamValueQueue", IParamValueQueue::iid, "01263A18ED074F6F98C9D3564686F9BA"},
      {"IEventList", IEventList::iid, "3A2C4214346349FEB2C4F397B9695A44"},
      {"IPlugView", IPlugView::iid, "5BC32507D06049EAA6151B522B755B29"},
      {"IPlugFrame", IPlugFrame::iid, "367FAF01AFA946938D4DA2A0ED0882A3"},
      {"IPlugViewContentScaleSupport", IPlugViewContentScaleSupport::iid, "65ED96908AC445258AADEF7A72EA703F"},
      {"IParameterFinder", IParameterFinder::iid, "0F618302215D4587A512073C77B9D383"},
      {"IRunLoop", IRunLoop::iid, "18C3536697764F1A9C5B83857A871389"},
      {"IEventHandler", IEventHandler::iid, "561E65C913A0496F813A2C35654D7983"},
      {"ITimerHandler", ITimerHandler::iid, "10BDD94F41424774821FAD8FECA72CA9"},
  };
  for (const IidCase& c : cases) {
    EXPECT_EQ(bytesOf(c.uid), bytesFromText(c.text)) << c.name;
    EXPECT_TRUE(uidEquals(bytesFromText(c.text).data(), c.uid)) << c.name;
  }
  // Identifiers must be pairwise distinct or queryInterface would hand out the wrong type.
  for (const IidCase& a : cases) {
    for (const IidCase& b : cases) {
      if (&a != &b) {
        EXPECT_NE(bytesOf(a.uid), bytesOf(b.uid)) << a.name << " vs " << b.name;
      }
    }
  }
  EXPECT_FALSE(uidEquals(nullptr, FUnknown::iid));
}

TEST(Vst3Abi, ResultCodesAndConstantsMatchTheBinaryConvention) {
  EXPECT_EQ(kResultOk, 0);
  EXPECT_EQ(kResultTrue, 0);
  EXPECT_EQ(kResultFalse, 1);
#if defined(_WIN32)
  // Windows hosts read COM's HRESULT values.
  EXPECT_EQ(static_cast<uint32_t>(kNoInterface), 0x80004002u);
  EXPECT_EQ(static_cast<uint32_t>(kInvalidArgument), 0x80070057u);
  EXPECT_EQ(static_cast<uint32_t>(kNotImplemented), 0x80004001u);
  EXPECT_EQ(static_cast<uint32_t>(kInternalError), 0x80004005u);
  EXPECT_EQ(static_cast<uint32_t>(kNotInitialized), 0x8000FFFFu);
  EXPECT_EQ(static_cast<uint32_t>(kOutOfMemory), 0x8007000Eu);
#else
  EXPECT_EQ(kNoInterface, -1);
  EXPECT_EQ(kInvalidArgument, 2);
  EXPECT_EQ(kNotImplemented, 3);
  EXPECT_EQ(kInternalError, 4);
  EXPECT_EQ(kNotInitialized, 5);
  EXPECT_EQ(kOutOfMemory, 6);
#endif
  EXPECT_EQ(ParameterInfo::kIsBypass, 0x10000);
  EXPECT_EQ(ParameterInfo::kIsProgramChange, 0x8000);
  EXPECT_EQ(PFactoryInfo::kUnicode, 16);
  EXPECT_EQ(IContextMenuItem::kIsGroupStart, 10);
  EXPECT_EQ(IContextMenuItem::kIsGroupEnd, 17);
  EXPECT_EQ(ProcessContext::kContTimeValid, 0x20000u);
  EXPECT_EQ(IProcessContextRequirements::kNeedTransportState, 0x400u);
  EXPECT_EQ(kParamIDMappingChanged, 0x800);
  EXPECT_EQ(Event::kLegacyMIDICCOutEvent, 65535);
  EXPECT_EQ(channelCount(arrangements::kStereo), 2);
  EXPECT_EQ(channelCount(arrangements::kMono), 1);
  EXPECT_EQ(channelCount(arrangements::k71Cine), 8);
  EXPECT_EQ(kKeyBack, 1);
  EXPECT_EQ(kKeyVolumeDown, 64);
}

TEST(Vst3Abi, RecordsHaveTheSharedLayoutAtRunTime) {
  // Write through the named fields and check the raw bytes land where a foreign binary reads them.
  ProcessData data{};
  data.numSamples = 0x11223344;
  data.processContext = reinterpret_cast<ProcessContext*>(static_cast<uintptr_t>(0x55));
  const auto* raw = reinterpret_cast<const unsigned char*>(&data);
  int32 numSamples = 0;
  std::memcpy(&numSamples, raw + 8, 4);
  EXPECT_EQ(numSamples, 0x11223344);
  void* ctx = nullptr;
  std::memcpy(&ctx, raw + 72, sizeof ctx);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(ctx), 0x55u);

  ParameterInfo info{};
  info.title[0] = u'G';
  info.defaultNormalizedValue = 0.25;
  info.flags = ParameterInfo::kIsBypass | ParameterInfo::kCanAutomate;
  raw = reinterpret_cast<const unsigned char*>(&info);
  char16_t firstTitleUnit = 0;
  std::memcpy(&firstTitleUnit, raw + 4, 2);
  EXPECT_EQ(firstTitleUnit, u'G');
  double def = 0;
  std::memcpy(&def, raw + 776, 8);
  EXPECT_EQ(def, 0.25);
  int32 flags = 0;
  std::memcpy(&flags, raw + 788, 4);
  EXPECT_EQ(flags, 0x10001);

  AudioBusBuffers bus{};
  double left[4] = {};
  double* channels[1] = {left};
  bus.channelBuffers64 = channels;
  raw = reinterpret_cast<const unsigned char*>(&bus);
  void* chp = nullptr;
  std::memcpy(&chp, raw + 16, sizeof chp);
  EXPECT_EQ(chp, static_cast<void*>(channels));

  Event e{};
  e.type = Event::kNoteOffEvent;
  e.noteOff.tuning = 1.5f;
  raw = reinterpret_cast<const unsigned char*>(&e);
  float tuning = 0;
  std::memcpy(&tuning, raw + 24 + 12, 4);
  EXPECT_EQ(tuning, 1.5f);

  PClassInfoW ci{};
  ci.sdkVersion[0] = u'V';
  raw = reinterpret_cast<const unsigned char*>(&ci);
  char16_t v = 0;
  std::memcpy(&v, raw + 568, 2);
  EXPECT_EQ(v, u'V');
}

#if defined(__GNUC__) && !defined(_WIN32)
namespace {
// Itanium C++ ABI: a pointer to a virtual member function stores 1 + the byte offset of its slot.
// ARM's variant (arm64 Linux and macOS) stores the offset itself and marks virtual in adj's low bit,
// since code addresses there may be odd.
template <typename M>
long slotOf(M member) {
  struct Repr {
    std::ptrdiff_t ptr;
    std::ptrdiff_t adj;
  } repr;
  static_assert(sizeof(M) == sizeof(Repr), "member pointer representation");
  std::memcpy(&repr, &member, sizeof repr);
#if defined(__aarch64__)
  const std::ptrdiff_t offset = (repr.adj & 1) ? repr.ptr : -1;
#else
  const std::ptrdiff_t offset = (repr.ptr & 1) ? repr.ptr - 1 : -1;
#endif
  return static_cast<long>(offset / static_cast<std::ptrdiff_t>(sizeof(void*)));
}
}  // namespace

#define EXPECT_SLOT(Iface, method, n) EXPECT_EQ(slotOf(&Iface::method), n) << #Iface "::" #method

TEST(Vst3Abi, VtableSlotsFollowTheBinaryOrder) {
  EXPECT_SLOT(FUnknown, queryInterface, 0);
  EXPECT_SLOT(FUnknown, release, 2);
  EXPECT_SLOT(IPluginBase, terminate, 4);
  EXPECT_SLOT(IPluginFactory, createInstance, 6);
  EXPECT_SLOT(IPluginFactory2, getClassInfo2, 7);
  EXPECT_SLOT(IPluginFactory3, getClassInfoUnicode, 8);
  EXPECT_SLOT(IPluginFactory3, setHostContext, 9);

  EXPECT_SLOT(IComponent, getControllerClassId, 5);
  EXPECT_SLOT(IComponent, getBusInfo, 8);
  EXPECT_SLOT(IComponent, activateBus, 10);
  EXPECT_SLOT(IComponent, setActive, 11);
  EXPECT_SLOT(IComponent, getState, 13);

  EXPECT_SLOT(IAudioProcessor, setBusArrangements, 3);
  EXPECT_SLOT(IAudioProcessor, getLatencySamples, 6);
  EXPECT_SLOT(IAudioProcessor, setupProcessing, 7);
  EXPECT_SLOT(IAudioProcessor, process, 9);
  EXPECT_SLOT(IAudioProcessor, getTailSamples, 10);
  EXPECT_SLOT(IProcessContextRequirements, getProcessContextRequirements, 3);

  EXPECT_SLOT(IEditController, setComponentState, 5);
  EXPECT_SLOT(IEditController, setControllerState, 6);
  EXPECT_SLOT(IEditController, getControllerState, 7);
  EXPECT_SLOT(IEditController, getParameterInfo, 9);
  EXPECT_SLOT(IEditController, getParamValueByString, 11);
  EXPECT_SLOT(IEditController, plainParamToNormalized, 13);
  EXPECT_SLOT(IEditController, setParamNormalized, 15);
  EXPECT_SLOT(IEditController, createView, 17);
  EXPECT_SLOT(IEditController2, openAboutBox, 5);

  EXPECT_SLOT(IUnitInfo, getProgramInfo, 8);
  EXPECT_SLOT(IUnitInfo, getUnitByBus, 13);
  EXPECT_SLOT(IUnitInfo, setUnitProgramData, 14);
  EXPECT_SLOT(IConnectionPoint, notify, 5);
  EXPECT_SLOT(IMessage, getAttributes, 5);
  EXPECT_SLOT(IAttributeList, getBinary, 10);

  EXPECT_SLOT(IComponentHandler, restartComponent, 6);
  EXPECT_SLOT(IComponentHandler2, finishGroupEdit, 6);
  EXPECT_SLOT(IComponentHandler3, createContextMenu, 3);
  EXPECT_SLOT(IContextMenu, popup, 7);
  EXPECT_SLOT(IHostApplication, createInstance, 4);

  EXPECT_SLOT(IBStream, read, 3);
  EXPECT_SLOT(IBStream, tell, 6);
  EXPECT_SLOT(IParameterChanges, addParameterData, 5);
  EXPECT_SLOT(IParamValueQueue, getPoint, 5);
  EXPECT_SLOT(IParamValueQueue, addPoint, 6);
  EXPECT_SLOT(IEventList, addEvent, 5);

  EXPECT_SLOT(IPlugView, onKeyDown, 7);
  EXPECT_SLOT(IPlugView, getSize, 9);
  EXPECT_SLOT(IPlugView, setFrame, 12);
  EXPECT_SLOT(IPlugView, checkSizeConstraint, 14);
  EXPECT_SLOT(IPlugFrame, resizeView, 3);
  EXPECT_SLOT(IRunLoop, unregisterTimer, 6);
}
#endif
