// CLAP module loading.
#include "host/clap/ClapModule.h"

#include <algorithm>
#include <cctype>

#include "host/effect/PathInfo.h"
#include "host/effect/SharedLibrary.h"

namespace qvhost {

namespace {

std::string str(const char* s) { return s ? s : ""; }

// The file to open: the .clap itself on Linux and Windows, Contents/MacOS/<name> inside a macOS bundle.
std::string libraryFile(const std::string& path) {
  if (!isDirectory(path)) return path;
  std::string base = path;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string name = base.substr(base.rfind('/') + 1);
  name = name.substr(0, name.size() - 5);  // without ".clap"
  return base + "/Contents/MacOS/" + name;
}

}  // namespace

bool isClapPath(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && isPathSeparator(p.back())) p.pop_back();
  if (p.size() < 5) return false;
  std::string tail = p.substr(p.size() - 5);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  return tail == ".clap";
}

std::unique_ptr<ClapModule> ClapModule::load(const std::string& given, std::string* error) {
  // The loader searches its library path for names without a folder; hosts pass the full path to init.
  const std::string path = absolutePath(given);
  std::unique_ptr<ClapModule> m(new ClapModule);
  m->mLibraryPath = libraryFile(path);
  std::string why;
  m->mHandle = openLibrary(m->mLibraryPath, &why);
  if (!m->mHandle) {
    *error = "cannot load '" + m->mLibraryPath + "': " + why;
    return nullptr;
  }
  m->mEntry = static_cast<const clap_plugin_entry_t*>(librarySymbol(m->mHandle, "clap_entry"));
  if (!m->mEntry) {
    *error = "'" + m->mLibraryPath + "' exports no clap_entry";
    return nullptr;
  }
  const clap_version_t v = m->mEntry->clap_version;
  if (!clap_version_is_compatible(v)) {
    *error = "'" + m->mLibraryPath + "' is built for CLAP " + std::to_string(v.major) + "." +
             std::to_string(v.minor) + ", which this host cannot load";
    return nullptr;
  }
  if (!m->mEntry->init || !m->mEntry->init(path.c_str())) {
    *error = "the plug-in refused to initialise (clap_entry.init)";
    return nullptr;
  }
  m->mInitialized = true;
  m->mFactory =
      m->mEntry->get_factory
          ? static_cast<const clap_plugin_factory_t*>(m->mEntry->get_factory(CLAP_PLUGIN_FACTORY_ID))
          : nullptr;
  if (!m->mFactory || !m->mFactory->get_plugin_count || !m->mFactory->get_plugin_descriptor ||
      !m->mFactory->create_plugin) {
    *error = "'" + path + "' has no plug-in factory";
    return nullptr;
  }
  const uint32_t n = m->mFactory->get_plugin_count(m->mFactory);
  for (uint32_t i = 0; i < n; ++i) {
    const clap_plugin_descriptor_t* d = m->mFactory->get_plugin_descriptor(m->mFactory, i);
    if (!d || !d->id) continue;
    ClapDescriptorInfo info{
        str(d->id), str(d->name), str(d->vendor), str(d->url), str(d->version), str(d->description), {}};
    for (const char* const* f = d->features; f && *f; ++f) info.features.push_back(*f);
    m->mPlugins.push_back(info);
  }
  return m;
}

ClapModule::~ClapModule() {
  if (mInitialized && mEntry->deinit) mEntry->deinit();
  closeLibrary(mHandle);
}

const ClapDescriptorInfo* ClapModule::find(const std::string& nameOrId) const {
  for (const auto& p : mPlugins)
    if (nameOrId.empty() || p.name == nameOrId || p.id == nameOrId) return &p;
  return nullptr;
}

}  // namespace qvhost
