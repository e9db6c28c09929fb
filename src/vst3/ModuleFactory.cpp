// GetPluginFactory: the module's one class factory, created on first use and shared afterwards.
// Its one class is the effect, whose instances the plug-in makes.
#include "framework/PluginIdentity.h"
#include "vst3/IPluginVST3.h"
#include "vst3/PluginModule.h"
#include "vst3/support/ClassFactory.h"
#include "vst3/support/Utf16.h"

#include <cstring>
#include <mutex>

using namespace vst3abi;

namespace {

// The interface version the class was built against, as hosts show it.
constexpr const char* kSdkVersion = "VST 3.6.12";

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
    const PluginIdentity& id = GetPluginIdentity();
    PFactoryInfo i{};
    vstsupport::CopyPadded(id.vendor, i.vendor, sizeof i.vendor);
    vstsupport::CopyPadded(id.url, i.url, sizeof i.url);
    vstsupport::CopyPadded(id.email, i.email, sizeof i.email);
    i.flags = PFactoryInfo::kUnicode;
    return i;
  }();
  return info;
}

const PClassInfo2& ComponentClass() {
  static const PClassInfo2 info = [] {
    const PluginIdentity& id = GetPluginIdentity();
    PClassInfo2 c{};
    const uint32_t* w = id.vst3ClassWords;
    const Uid cid = makeUid(w[0], w[1], w[2], w[3]);
    std::memcpy(c.cid, cid.bytes, sizeof c.cid);
    c.cardinality = PClassInfo::kManyInstances;
    vstsupport::CopyPadded(kAudioEffectClass, c.category, sizeof c.category);
    vstsupport::CopyPadded(id.name, c.name, sizeof c.name);
    c.classFlags = kSimpleModeSupported;
    vstsupport::CopyPadded(id.vst3SubCategories, c.subCategories, sizeof c.subCategories);
    vstsupport::CopyPadded("", c.vendor, sizeof c.vendor);
    vstsupport::CopyPadded(id.version, c.version, sizeof c.version);
    vstsupport::CopyPadded(kSdkVersion, c.sdkVersion, sizeof c.sdkVersion);
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
