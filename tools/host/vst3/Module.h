// Loading a VST 3 module the way a DAW does: find the library inside the bundle, open it, call the
// module entry, get the class factory and read its class list. Unloads in the reverse order.
// A Module must outlive every PluginInstance created from it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/vst3/HostContext.h"
#include "host/vst3/Ref.h"
#include "vst3/abi/Factory.h"

namespace qvhost {

struct FactoryInfo {
  std::string vendor;
  std::string url;
  std::string email;
  vst3abi::int32 flags = 0;
};

struct ClassInfo {
  int index = 0;
  std::array<char, 16> cid{};
  std::string category;
  std::string name;
  std::string subCategories;
  std::string vendor;
  std::string version;
  std::string sdkVersion;
  vst3abi::uint32 classFlags = 0;
  vst3abi::int32 cardinality = 0;
};

// The 32 upper-case hex digits hosts print for a class or interface identifier.
std::string uidText(const char* uid16);

// The shared library a path names: BUNDLE.vst3 -> BUNDLE.vst3/Contents/<arch>-linux/BUNDLE.so, or the
// path itself when it already is a shared object. Empty with a message when it is neither.
std::string resolveModulePath(const std::string& path, std::string* error);

class Module {
 public:
  static std::unique_ptr<Module> load(const std::string& path, std::string* error);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const std::string& libraryPath() const { return mLibraryPath; }
  vst3abi::IPluginFactory* factory() const { return mFactory.get(); }
  HostContext* hostContext() const { return mContext.get(); }
  const FactoryInfo& factoryInfo() const { return mFactoryInfo; }
  const std::vector<ClassInfo>& classes() const { return mClasses; }
  // The first class of category "Audio Module Class", optionally the one with this name.
  const ClassInfo* findAudioEffect(const std::string& name = std::string()) const;

 private:
  Module() = default;
  bool open(const std::string& path, std::string* error);
  void readClasses();

  std::string mLibraryPath;
  void* mHandle = nullptr;  // dlopen handle, or the CFBundleRef on macOS
  bool (*mExit)() = nullptr;
  Ref<vst3abi::IPluginFactory> mFactory;
  Ref<HostContext> mContext;
  FactoryInfo mFactoryInfo;
  std::vector<ClassInfo> mClasses;
};

}  // namespace qvhost
