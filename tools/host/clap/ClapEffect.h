// A CLAP plug-in loaded as a LoadedEffect, and its command-line settings.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "host/effect/LoadedEffect.h"

namespace qvhost {

class ClapEffect final : public LoadedEffect {
 public:
  ClapEffect(std::unique_ptr<ClapModule> module, std::unique_ptr<ClapPlugin> plugin);
  ~ClapEffect() override;

  std::string name() const override;
  bool loadState(const PluginState& state, std::string* error) override;
  bool saveState(PluginState* state, std::string* error) override;
  bool resolveSetting(const std::string& arg, EffectSetting* out, std::string* error) override;
  void warnAboutIdleSidechain() const override;
  std::unique_ptr<EffectProcessor> makeProcessor() override;

  // For what only a CLAP host does (its editor window).
  ClapPlugin& plugin() const { return *mPlugin; }

 private:
  std::unique_ptr<ClapModule> mModule;
  std::unique_ptr<ClapPlugin> mPlugin;
  std::vector<ClapParameter> mParams;
};

// name picks a plug-in by name or id; empty takes the first.
std::unique_ptr<LoadedEffect> loadClapEffect(const std::string& path, const std::string& name,
                                             std::string* error);

// "Title=value" (or "id=value") through the plug-in's own text parsing; false with a message for
// an unknown, ambiguous or read-only parameter or a value the plug-in does not take.
bool resolveClapSetting(const ClapPlugin& plugin, const std::vector<ClapParameter>& params,
                        const std::string& arg, EffectSetting* out, std::string* error);

}  // namespace qvhost
