// The VST 3 side of loadEffect.
#include "host/vst3/Vst3Effect.h"

#include <cctype>
#include <cstdio>

#include "host/effect/LoadedEffect.h"
#include "host/vst3/BlockProcessor.h"
#include "host/vst3/Module.h"
#include "host/vst3/ParameterSetting.h"
#include "host/vst3/PluginInstance.h"

namespace qvhost {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class Vst3Effect final : public LoadedEffect {
 public:
  Vst3Effect(std::unique_ptr<Module> module, std::unique_ptr<PluginInstance> plugin)
      : mModule(std::move(module)), mPlugin(std::move(plugin)), mParams(mPlugin->parameters()) {}
  ~Vst3Effect() override {
    mPlugin.reset();  // before its module
  }

  std::string name() const override { return mPlugin->classInfo().name; }

  bool loadState(const PluginState& state, std::string* error) override {
    const ClassInfo& c = mPlugin->classInfo();
    if (!stateBelongsTo(state, c.cid, c.vendor, c.name)) {
      *error = "it holds the state of another plug-in (class " + uidText(state.classId.data()) + ")";
      return false;
    }
    return mPlugin->loadState(state.component, state.controller, error);
  }

  bool saveState(PluginState* state, std::string* error) override {
    const ClassInfo& c = mPlugin->classInfo();
    state->classId = c.cid;
    state->vendor = c.vendor;
    state->name = c.name;
    return mPlugin->saveState(&state->component, &state->controller, error);
  }

  bool resolveSetting(const std::string& arg, EffectSetting* out, std::string* error) override {
    ParameterSetting setting;
    ResolvedSetting resolved;
    if (!splitSetting(arg, &setting, error) ||
        !qvhost::resolveSetting(*mPlugin, mParams, setting, &resolved, error))
      return false;
    // The controller shows the value too, as it would for a DAW's automation lane.
    mPlugin->controller()->setParamNormalized(resolved.id, resolved.normalized);
    *out = EffectSetting{resolved.id, resolved.title, resolved.normalized,
                         resolved.display.empty() ? setting.value : resolved.display};
    return true;
  }

  void warnAboutIdleSidechain() const override {
    if (!mPlugin->controller()) return;
    for (const auto& p : mParams) {
      if (p.stepCount != 1 || lower(p.title).find("sidechain") == std::string::npos) continue;
      if (mPlugin->controller()->getParamNormalized(p.id) >= 0.5) {
        std::fprintf(stderr,
                     "warning: \"%s\" is on, but no --sidechain was given: the plug-in's sidechain input "
                     "stays silent\n",
                     p.title.c_str());
      }
    }
  }

  std::unique_ptr<EffectProcessor> makeProcessor() override {
    return std::make_unique<BlockProcessor>(*mPlugin);
  }

  Module& module() const { return *mModule; }
  PluginInstance& instance() const { return *mPlugin; }

 private:
  std::unique_ptr<Module> mModule;
  std::unique_ptr<PluginInstance> mPlugin;
  std::vector<ParameterDescription> mParams;
};

}  // namespace

bool vst3Parts(LoadedEffect& effect, Module** module, PluginInstance** instance) {
  auto* vst3 = dynamic_cast<Vst3Effect*>(&effect);
  if (!vst3) return false;
  *module = &vst3->module();
  *instance = &vst3->instance();
  return true;
}

std::unique_ptr<LoadedEffect> loadVst3Effect(const std::string& path, const std::string& className,
                                             std::string* error) {
  auto module = Module::load(path, error);
  if (!module) return nullptr;
  const ClassInfo* cls = module->findAudioEffect(className);
  if (!cls) {
    *error = className.empty() ? "the module '" + module->libraryPath() + "' has no audio-effect class"
                               : "the module has no audio-effect class named \"" + className + "\"";
    return nullptr;
  }
  auto plugin = PluginInstance::create(*module, *cls, error);
  if (!plugin) return nullptr;
  return std::make_unique<Vst3Effect>(std::move(module), std::move(plugin));
}

}  // namespace qvhost
