// The class factory a module exports, the class descriptions it hands out, the plug-in base
// interface, and the module's exported entry points.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

// Keep an includer's #pragma pack from reaching these layouts; natural alignment on 64-bit.
#pragma pack(push, 16)

struct PFactoryInfo {
  enum FactoryFlags : int32 {
    kNoFlags = 0,
    kClassesDiscardable = 1 << 0,
    kLicenseCheck = 1 << 1,
    kComponentNonDiscardable = 1 << 3,
    kUnicode = 1 << 4,
  };
  enum { kNameSize = 64, kURLSize = 256, kEmailSize = 128 };

  char8 vendor[kNameSize];
  char8 url[kURLSize];
  char8 email[kEmailSize];
  int32 flags;
};

struct PClassInfo {
  enum ClassCardinality : int32 { kManyInstances = 0x7FFFFFFF };
  enum { kCategorySize = 32, kNameSize = 64 };

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char8 name[kNameSize];
};

struct PClassInfo2 {
  enum { kVendorSize = 64, kVersionSize = 64, kSubCategoriesSize = 128 };

  TUID cid;
  int32 cardinality;
  char8 category[PClassInfo::kCategorySize];
  char8 name[PClassInfo::kNameSize];
  uint32 classFlags;
  char8 subCategories[kSubCategoriesSize];
  char8 vendor[kVendorSize];
  char8 version[kVersionSize];
  char8 sdkVersion[kVersionSize];
};

// Only name, vendor, version and sdkVersion are UTF-16; category and subCategories stay 8-bit.
struct PClassInfoW {
  TUID cid;
  int32 cardinality;
  char8 category[PClassInfo::kCategorySize];
  char16 name[PClassInfo::kNameSize];
  uint32 classFlags;
  char8 subCategories[PClassInfo2::kSubCategoriesSize];
  char16 vendor[PClassInfo2::kVendorSize];
  char16 version[PClassInfo2::kVersionSize];
  char16 sdkVersion[PClassInfo2::kVersionSize];
};

#pragma pack(pop)

static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4, "PFactoryInfo");
static_assert(offsetof(PFactoryInfo, url) == 64 && offsetof(PFactoryInfo, email) == 320, "PFactoryInfo");
static_assert(offsetof(PFactoryInfo, flags) == 448, "PFactoryInfo");
static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4, "PClassInfo");
static_assert(offsetof(PClassInfo, cardinality) == 16 && offsetof(PClassInfo, category) == 20, "PClassInfo");
static_assert(offsetof(PClassInfo, name) == 52, "PClassInfo");
static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4, "PClassInfo2");
static_assert(offsetof(PClassInfo2, classFlags) == 116 && offsetof(PClassInfo2, subCategories) == 120,
              "PClassInfo2");
static_assert(offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, version) == 312, "PClassInfo2");
static_assert(offsetof(PClassInfo2, sdkVersion) == 376, "PClassInfo2");
static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4, "PClassInfoW");
static_assert(offsetof(PClassInfoW, name) == 52 && offsetof(PClassInfoW, classFlags) == 180, "PClassInfoW");
static_assert(offsetof(PClassInfoW, subCategories) == 184 && offsetof(PClassInfoW, vendor) == 312,
              "PClassInfoW");
static_assert(offsetof(PClassInfoW, version) == 440 && offsetof(PClassInfoW, sdkVersion) == 568,
              "PClassInfoW");

// Category strings of factory classes.
constexpr const char* kAudioEffectClass = "Audio Module Class";
constexpr const char* kControllerClass = "Component Controller Class";
constexpr const char* kCompatibilityClass = "Plugin Compatibility Class";
constexpr const char* kTestClass = "Test Class";

// Sub-category strings; several are joined with '|'.
constexpr const char* kFxSubCategory = "Fx";
constexpr const char* kFxDynamicsSubCategory = "Fx|Dynamics";
constexpr const char* kFxEQSubCategory = "Fx|EQ";
constexpr const char* kFxMasteringSubCategory = "Fx|Mastering";
constexpr const char* kFxToolsSubCategory = "Fx|Tools";
constexpr const char* kAnalyzerSubCategory = "Analyzer";
constexpr const char* kStereoSubCategory = "Stereo";
constexpr const char* kMonoSubCategory = "Mono";
constexpr const char* kOnlyRealTimeSubCategory = "OnlyRT";
constexpr const char* kNoOfflineProcessSubCategory = "NoOfflineProcess";
constexpr const char* kInstrumentSubCategory = "Instrument";

// Component class flags (PClassInfo2::classFlags).
enum ComponentFlags : uint32 {
  kDistributable = 1 << 0,
  kSimpleModeSupported = 1 << 1,
};

class IPluginBase : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

  virtual tresult VST3ABI_CALL initialize(FUnknown* context) = 0;
  virtual tresult VST3ABI_CALL terminate() = 0;
};

class IPluginFactory : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

  virtual tresult VST3ABI_CALL getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 VST3ABI_CALL countClasses() = 0;
  virtual tresult VST3ABI_CALL getClassInfo(int32 index, PClassInfo* info) = 0;
  // cid and iid are 16 raw bytes each; the result is owned +1 by the caller.
  virtual tresult VST3ABI_CALL createInstance(FIDString cid, FIDString interfaceId, void** obj) = 0;
};

class IPluginFactory2 : public IPluginFactory {
 public:
  static constexpr Uid iid = makeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

  virtual tresult VST3ABI_CALL getClassInfo2(int32 index, PClassInfo2* info) = 0;
};

class IPluginFactory3 : public IPluginFactory2 {
 public:
  static constexpr Uid iid = makeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);

  virtual tresult VST3ABI_CALL getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult VST3ABI_CALL setHostContext(FUnknown* context) = 0;
};

class IBStream;

// Lives in a class of category kCompatibilityClass; writes a UTF-8 JSON5 array into the stream.
class IPluginCompatibility : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x4AFD4B6A, 0x35D7C240, 0xA5C31414, 0xFB7D15E6);

  virtual tresult VST3ABI_CALL getCompatibilityJSON(IBStream* stream) = 0;
};

// Exported C entry points of a module, as a host looks them up.
using GetFactoryProc = IPluginFactory*(VST3ABI_CALL*)();
using ModuleEntryProc = bool (*)(void* sharedLibraryHandle);  // Linux
using ModuleExitProc = bool (*)();                            // Linux
using BundleEntryProc = bool (*)(void* bundleRef);            // macOS, a CFBundleRef
using BundleExitProc = bool (*)();                            // macOS
using InitDllProc = bool (*)();                               // Windows
using ExitDllProc = bool (*)();                               // Windows
constexpr const char* kGetFactoryProcName = "GetPluginFactory";
constexpr const char* kModuleEntryProcName = "ModuleEntry";
constexpr const char* kModuleExitProcName = "ModuleExit";
constexpr const char* kBundleEntryProcName = "bundleEntry";
constexpr const char* kBundleExitProcName = "bundleExit";
constexpr const char* kInitDllProcName = "InitDll";
constexpr const char* kExitDllProcName = "ExitDll";

}  // namespace vst3abi
