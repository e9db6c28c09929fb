// GetPluginFactory: the module's one class factory, created on first use and shared afterwards.
// Its one class is the effect, whose instances the plug-in makes.
#include "vst3/IPluginVST3.h"
#include "vst3/ModuleClassInfo.h"
#include "vst3/PluginModule.h"
#include "vst3/support/ClassFactory.h"
#include "vst3/support/Utf16.h"

#include <cstring>
#include <mutex>

using namespace vst3abi;

namespace {

vstsupport::ClassFactory* gPluginFactory = nullptr;
std::mutex gFactoryMutex;

void ForgetFactory(vstsupport::ClassFactory* factory) {
  // Called from the factory's destructor; the last release may come from any thread.
  std::lock_guard<std::mutex> lock(gFactoryMutex);
  if (gPluginFactory == factory) gPluginFactory = nullptr;
}

FUnknown* createInstance(void*) {
  try {
    IPluginVST3* plug = MakePlug();
    return plug ? plug->Unknown() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

const PFactoryInfo& FactoryInfo() {
  static const PFactoryInfo info = [] {
    PFactoryInfo i{};
    vstsupport::CopyPadded(moduleinfo::kVendor, i.vendor, sizeof i.vendor);
    vstsupport::CopyPadded(moduleinfo::kVendorUrl, i.url, sizeof i.url);
    vstsupport::CopyPadded(moduleinfo::kVendorEmail, i.email, sizeof i.email);
    i.flags = PFactoryInfo::kUnicode;
    return i;
  }();
  return info;
}

const PClassInfo2& ComponentClass() {
  static const PClassInfo2 info = [] {
    PClassInfo2 c{};
    const Uid cid = makeUid(moduleinfo::GUID_DATA1, moduleinfo::GUID_DATA2, moduleinfo::GUID_DATA3,
                            moduleinfo::GUID_DATA4);
    std::memcpy(c.cid, cid.bytes, sizeof c.cid);
    c.cardinality = PClassInfo::kManyInstances;
    vstsupport::CopyPadded(kAudioEffectClass, c.category, sizeof c.category);
    vstsupport::CopyPadded(moduleinfo::kClassName, c.name, sizeof c.name);
    c.classFlags = kSimpleModeSupported;
    vstsupport::CopyPadded(moduleinfo::kSubCategories, c.subCategories, sizeof c.subCategories);
    vstsupport::CopyPadded("", c.vendor, sizeof c.vendor);
    vstsupport::CopyPadded(moduleinfo::kVersion, c.version, sizeof c.version);
    vstsupport::CopyPadded(moduleinfo::kSdkVersion, c.sdkVersion, sizeof c.sdkVersion);
    return c;
  }();
  return info;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) IPluginFactory* VST3ABI_CALL GetPluginFactory() {
  try {
    std::unique_lock<std::mutex> lock(gFactoryMutex);
    if (gPluginFactory) {
      gPluginFactory->addRef();
      return gPluginFactory;
    }
    auto* factory = new vstsupport::ClassFactory(FactoryInfo(), ForgetFactory);
    if (!factory->registerClass(ComponentClass(), createInstance)) {
      lock.unlock();  // the factory's destructor takes the lock
      factory->release();
      return nullptr;
    }
    gPluginFactory = factory;
    return factory;
  } catch (...) {
    return nullptr;
  }
}
