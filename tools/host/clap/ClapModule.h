// Loading a CLAP plug-in the way a DAW does: open the shared object (inside the bundle on macOS),
// find clap_entry, check its version, init it with the path and read the plug-in factory's
// descriptors. Unloads in the reverse order. A ClapModule must outlive every ClapPlugin made from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "clap/abi/Entry.h"

namespace qvhost {

struct ClapDescriptorInfo {
  std::string id, name, vendor, url, version, description;
  std::vector<std::string> features;
};

// Whether a path names a CLAP plug-in (by its ".clap" ending, in any letter case).
bool isClapPath(const std::string& path);

class ClapModule {
 public:
  static std::unique_ptr<ClapModule> load(const std::string& path, std::string* error);
  ~ClapModule();
  ClapModule(const ClapModule&) = delete;
  ClapModule& operator=(const ClapModule&) = delete;

  const std::string& libraryPath() const { return mLibraryPath; }
  const clap_plugin_entry_t& entry() const { return *mEntry; }
  const clap_plugin_factory_t* factory() const { return mFactory; }
  const std::vector<ClapDescriptorInfo>& plugins() const { return mPlugins; }
  // The first plug-in, or the one with this name or id; null when there is none.
  const ClapDescriptorInfo* find(const std::string& nameOrId = std::string()) const;

 private:
  ClapModule() = default;

  std::string mLibraryPath;
  void* mHandle = nullptr;
  const clap_plugin_entry_t* mEntry = nullptr;
  bool mInitialized = false;
  const clap_plugin_factory_t* mFactory = nullptr;
  std::vector<ClapDescriptorInfo> mPlugins;
};

}  // namespace qvhost
