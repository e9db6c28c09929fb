// The module's exported entry and its plug-in factory. Hosts may call init and deinit more than
// once: only the first init and the matching last deinit reach the plug-in's module hooks.
#include "clap/IPluginCLAP.h"
#include "clap/PluginModule.h"
#include "framework/PluginIdentity.h"

#include <cstring>
#include <mutex>

namespace {

std::mutex gEntryMutex;
int gInitCount = 0;

bool CallHook(bool (*hook)()) {
  try {
    return hook();
  } catch (...) {
    return false;
  }
}

bool EntryInit(const char*) {
  std::lock_guard<std::mutex> lock(gEntryMutex);
  if (gInitCount == 0 && !CallHook(InitModule)) return false;
  ++gInitCount;
  return true;
}

void EntryDeinit() {
  std::lock_guard<std::mutex> lock(gEntryMutex);
  if (gInitCount == 0) return;
  if (--gInitCount == 0) CallHook(DeinitModule);
}

// The plug-in's identity as CLAP hosts list it.
const clap_plugin_descriptor_t& PluginDescriptor() {
  static const clap_plugin_descriptor_t descriptor = [] {
    const PluginIdentity& id = GetPluginIdentity();
    return clap_plugin_descriptor_t{
        CLAP_VERSION_INIT, id.clapId,      id.name,        id.vendor, id.url, "", "",
        id.version,        id.description, id.clapFeatures};
  }();
  return descriptor;
}

uint32_t FactoryCount(const clap_plugin_factory_t*) { return 1; }

const clap_plugin_descriptor_t* FactoryDescriptor(const clap_plugin_factory_t*, uint32_t index) {
  return index == 0 ? &PluginDescriptor() : nullptr;
}

const clap_plugin_t* FactoryCreate(const clap_plugin_factory_t*, const clap_host_t* host, const char* id) {
  if (!host || !id || !clap_version_is_compatible(host->clap_version) ||
      std::strcmp(id, PluginDescriptor().id) != 0)
    return nullptr;
  IPluginInstanceInfo info;
  info.host = host;
  IPluginCLAP* plug = MakePlug(info);
  if (!plug) return nullptr;
  plug->ClapPlugin()->desc = &PluginDescriptor();
  return plug->ClapPlugin();
}

const clap_plugin_factory_t gFactory = {FactoryCount, FactoryDescriptor, FactoryCreate};

const void* EntryFactory(const char* id) {
  return id && std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0 ? &gFactory : nullptr;
}

}  // namespace

extern "C" __attribute__((visibility("default")))
const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, EntryInit, EntryDeinit, EntryFactory};
