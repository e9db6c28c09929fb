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

}  // namespace

Vst3Effect::Vst3Effect(std::unique_ptr<Module> module, std::unique_ptr<PluginInstance> plugin)
    : mModule(std::move(module)), mPlugin(std::move(plugin)), mParams(mPlugin->parameters()) {}

Vst3Effect::~Vst3Effect() {
  mPlugin.reset();  // before its module
}

std::string Vst3Effect::name() const { return mPlugin->classInfo().name; }

bool Vst3Effect::loadState(const PluginState& state, std::string* error) {
  const ClassInfo& c = mPlugin->classInfo();
  if (!stateBelongsTo(state, c.cid, c.vendor, c.name)) {
    *error = "it holds the state of another plug-in (class " + uidText(state.classId.data()) + ")";
    return false;
  }
  return mPlugin->loadState(state.component, state.controller, error);
}

bool Vst3Effect::saveState(PluginState* state, std::string* error) {
  const ClassInfo& c = mPlugin->classInfo();
  state->classId = c.cid;
  state->vendor = c.vendor;
  state->name = c.name;
  return mPlugin->saveState(&state->component, &state->controller, error);
}

bool Vst3Effect::resolveSetting(const std::string& arg, EffectSetting* out, std::string* error) {
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

void Vst3Effect::warnAboutIdleSidechain() const {
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

std::unique_ptr<EffectProcessor> Vst3Effect::makeProcessor() {
  return std::make_unique<BlockProcessor>(*mPlugin);
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
