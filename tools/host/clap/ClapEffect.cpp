// The CLAP side of loadEffect: settings through the plug-in's own text parsing, the state file
// holding the plug-in's state blob, a ClapProcessor to render through.
#include "host/clap/ClapEffect.h"

#include <cctype>
#include <cstdio>

#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "host/clap/ClapProcessor.h"
#include "host/effect/LoadedEffect.h"
#include "host/vst3/ParameterSetting.h"

namespace qvhost {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The state file's 16-byte class field for a CLAP plug-in: two FNV-1a hashes of its id.
std::array<char, 16> stateIdFor(const std::string& id) {
  std::array<char, 16> out{};
  uint64_t h[2] = {0xcbf29ce484222325ull, 0x84222325cbf29ce4ull};
  for (unsigned char c : id) {
    for (uint64_t& x : h) x = (x ^ c) * 0x100000001b3ull;
  }
  for (int i = 0; i < 16; ++i) out[static_cast<size_t>(i)] = static_cast<char>(h[i / 8] >> (8 * (i % 8)));
  return out;
}

class ClapEffect final : public LoadedEffect {
 public:
  ClapEffect(std::unique_ptr<ClapModule> module, std::unique_ptr<ClapPlugin> plugin)
      : mModule(std::move(module)), mPlugin(std::move(plugin)), mParams(mPlugin->parameters()) {}
  ~ClapEffect() override { mPlugin.reset(); }

  std::string name() const override { return mPlugin->descriptor().name; }

  bool loadState(const PluginState& state, std::string* error) override {
    const ClapDescriptorInfo& d = mPlugin->descriptor();
    if (!stateBelongsTo(state, stateIdFor(d.id), d.vendor, d.name)) {
      *error = "it holds the state of another plug-in";
      return false;
    }
    return mPlugin->loadState(state.component, error);
  }

  bool saveState(PluginState* state, std::string* error) override {
    const ClapDescriptorInfo& d = mPlugin->descriptor();
    state->classId = stateIdFor(d.id);
    state->vendor = d.vendor;
    state->name = d.name;
    state->controller.clear();
    return mPlugin->saveState(&state->component, error);
  }

  bool resolveSetting(const std::string& arg, EffectSetting* out, std::string* error) override {
    return resolveClapSetting(*mPlugin, mParams, arg, out, error);
  }

  void warnAboutIdleSidechain() const override {
    for (const auto& p : mParams) {
      double v = 0;
      if (!(p.flags & CLAP_PARAM_IS_STEPPED) || p.max - p.min != 1 ||
          lower(p.name).find("sidechain") == std::string::npos || !mPlugin->value(p.id, &v) ||
          v < p.min + 0.5)
        continue;
      std::fprintf(stderr,
                   "warning: \"%s\" is on, but no --sidechain was given: the plug-in's sidechain input "
                   "stays silent\n",
                   p.name.c_str());
    }
  }

  std::unique_ptr<EffectProcessor> makeProcessor() override {
    return std::make_unique<ClapProcessor>(*mPlugin);
  }

  ClapPlugin& plugin() const { return *mPlugin; }

 private:
  std::unique_ptr<ClapModule> mModule;
  std::unique_ptr<ClapPlugin> mPlugin;
  std::vector<ClapParameter> mParams;
};

}  // namespace

ClapPlugin* clapPlugin(LoadedEffect& effect) {
  auto* clap = dynamic_cast<ClapEffect*>(&effect);
  return clap ? &clap->plugin() : nullptr;
}

bool resolveClapSetting(const ClapPlugin& plugin, const std::vector<ClapParameter>& params,
                        const std::string& arg, EffectSetting* out, std::string* error) {
  ParameterSetting setting;
  if (!splitSetting(arg, &setting, error)) return false;
  if (!plugin.params()) {
    *error = "the plug-in has no parameters";
    return false;
  }
  const ClapParameter* found = nullptr;
  for (const auto& p : params) {
    if (lower(p.name) != lower(setting.key) && std::to_string(p.id) != setting.key) continue;
    if (found) {
      *error = "more than one parameter is called \"" + setting.key + "\"; give its id instead";
      return false;
    }
    found = &p;
  }
  if (!found) {
    *error = "the plug-in has no parameter \"" + setting.key + "\" (see quorvane-host info)";
    return false;
  }
  if (found->flags & CLAP_PARAM_IS_READONLY) {
    *error = "\"" + found->name + "\" is read-only";
    return false;
  }
  double value = 0;
  if (!plugin.params()->text_to_value(plugin.plugin(), found->id, setting.value.c_str(), &value) ||
      !(value >= found->min && value <= found->max)) {
    *error = "\"" + setting.value + "\" is not a value of \"" + found->name + "\" (" +
             plugin.text(found->id, found->min) + " to " + plugin.text(found->id, found->max) + ")";
    return false;
  }
  *out = EffectSetting{found->id, found->name, value, plugin.text(found->id, value)};
  return true;
}

std::unique_ptr<LoadedEffect> loadClapEffect(const std::string& path, const std::string& name,
                                             std::string* error) {
  auto module = ClapModule::load(path, error);
  if (!module) return nullptr;
  const ClapDescriptorInfo* desc = module->find(name);
  if (!desc) {
    *error =
        name.empty() ? "'" + path + "' offers no plug-in" : "'" + path + "' has no plug-in \"" + name + "\"";
    return nullptr;
  }
  auto plugin = ClapPlugin::create(*module, *desc, error);
  if (!plugin) return nullptr;
  return std::make_unique<ClapEffect>(std::move(module), std::move(plugin));
}

}  // namespace qvhost
