// A VST 3 module loaded as a LoadedEffect: settings through the controller's own text conversion,
// a BlockProcessor to render through.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/effect/LoadedEffect.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"

namespace qvhost {

class Vst3Effect final : public LoadedEffect {
 public:
  Vst3Effect(std::unique_ptr<Module> module, std::unique_ptr<PluginInstance> plugin);
  ~Vst3Effect() override;

  std::string name() const override;
  bool loadState(const PluginState& state, std::string* error) override;
  bool saveState(PluginState* state, std::string* error) override;
  bool resolveSetting(const std::string& arg, EffectSetting* out, std::string* error) override;
  void warnAboutIdleSidechain() const override;
  std::unique_ptr<EffectProcessor> makeProcessor() override;

  // For what only a VST 3 host does (its editor window).
  Module& module() const { return *mModule; }
  PluginInstance& instance() const { return *mPlugin; }

 private:
  std::unique_ptr<Module> mModule;
  std::unique_ptr<PluginInstance> mPlugin;
  std::vector<ParameterDescription> mParams;
};

// className picks an audio-effect class by name; empty takes the first.
std::unique_ptr<LoadedEffect> loadVst3Effect(const std::string& path, const std::string& className,
                                             std::string* error);

}  // namespace qvhost
